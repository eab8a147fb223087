// How many GDI objects this process holds, to show that code gives back what it
// makes.
#pragma once

namespace test_support {

// The system's count; where it answers 0 (Wine), each slot of the handle table
// is asked for its type instead (a handle with a zero upper word matches whatever
// generation the slot holds).
int LiveGdiObjects();

}  // namespace test_support
