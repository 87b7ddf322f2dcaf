// A fuzz target's own assertion: a broken promise aborts, so libFuzzer and the
// replay driver both report the input, whatever NDEBUG says.
#pragma once

#include <cstdlib>

namespace fuzzing {

inline void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace fuzzing
