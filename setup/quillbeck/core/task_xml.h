// The task that starts a program at log-on, as the Task Scheduler 2.0 XML that
// RegisterTask takes (schema version 1.2, Windows Vista). The choices and why:
//  - a log-on trigger without a user: it fires at the log-on of any user;
//  - the principal is the Users group (S-1-5-32-545) with the highest rights
//    available, so the program runs in the session of whoever logs on, elevated
//    for an administrator: UAC silently skips elevated programs in the Run key,
//    which is why Vista starts the component this way;
//  - one instance per log-on (several users may be logged on), no time limit,
//    neither kept from starting nor stopped on batteries, normal priority
//    (the default would start a resident input program below normal), and the
//    program's own folder as the working folder.
#pragma once

#include <string>

namespace quillbeck {

// &, <, >, " and ' as entities: paths may hold & and '.
std::u16string EscapeXml(const std::u16string& text);

std::u16string TaskXml(const std::u16string& program, const std::u16string& workingFolder);

}  // namespace quillbeck
