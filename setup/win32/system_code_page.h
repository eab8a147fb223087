// The running system's ANSI code page, for the portable code that walks ANSI
// texts (ansi_text.h). Shared by the installer and its task tool.
#pragma once

#include "ansi_text.h"

namespace setup {

// Its lead bytes and the upper-case forms of its single-byte letters.
CodePage SystemCodePage();

}  // namespace setup
