// A fuzz target's property: a violation aborts, which libFuzzer reports with
// the input that caused it.
#pragma once

#include <cstdlib>

inline void Require(bool condition) {
  if (!condition) std::abort();
}
