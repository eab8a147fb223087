// Marks that the main dialog sets as its start-up passes from one phase to the
// next, so that the timing program can tell where the time goes. Setting one
// costs a counter read.
#pragma once

namespace startup_phases {

struct Mark {
  const char* name;    // the phase that ends here
  long long counter;   // QueryPerformanceCounter
};

void MarkEnd(const char* phase);
int Count();
const Mark* Marks();
void Clear();

}  // namespace startup_phases
