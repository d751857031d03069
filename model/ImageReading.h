// Reading a symbol from an image runs off the window's thread, one read at a
// time. Each read is a generation: a newer read, Esc, or a change to the
// pages since it started makes its result stale, and a stale result is
// dropped, so that a slow read never overwrites what the user did meanwhile.
#pragma once

#include <memory>

#include "verify/ReadSymbols.h"

namespace quillet {

class ImageReading {
 public:
  // A read starts while the pages are at `revision`; the one under way, if
  // any, is stopped. Its generation, which its result comes back with.
  unsigned Start(unsigned long revision);
  // What the read started last checks between its stages.
  std::shared_ptr<const ReadStop> Stop() const { return stop_; }
  bool Busy() const { return busy_; }
  // Esc: the read under way is stopped and its result will be dropped.
  void Cancel();
  // The read of `generation` ended, the pages now at `revision`. True when
  // its result is to be shown: the read under way, with the pages as they
  // were when it started.
  bool Finish(unsigned generation, unsigned long revision);

 private:
  void StopCurrent();

  unsigned generation_ = 0;
  unsigned long revision_ = 0;
  bool busy_ = false;
  std::shared_ptr<ReadStop> stop_ = std::make_shared<ReadStop>(false);
};

}  // namespace quillet
