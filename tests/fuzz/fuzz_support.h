#pragma once
// What every fuzz target shares: a property that must hold stops the run.

#include <cstdlib>

namespace quarnel::fuzz {

// libFuzzer reports an abort as a crash and keeps the input that made it.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace quarnel::fuzz
