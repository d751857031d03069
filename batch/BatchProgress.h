// A running batch's rate and the time it has left, as both front ends show them.
#pragma once

#include "batch/BatchJob.h"

namespace quillet {

struct BatchPace {
  double rowsPerSecond = 0;
  double secondsLeft = -1;  // -1 while the total or the rate is unknown
};

// `seconds` since the batch started.
BatchPace PaceOf(const BatchProgress& progress, double seconds);

}  // namespace quillet
