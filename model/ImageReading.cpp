#include "model/ImageReading.h"

namespace quillet {

void ImageReading::StopCurrent() {
  if (busy_) stop_->store(true);
  busy_ = false;
  ++generation_;
}

unsigned ImageReading::Start(unsigned long revision) {
  StopCurrent();
  // A fresh flag: the stopped read may still be looking at the old one.
  stop_ = std::make_shared<ReadStop>(false);
  busy_ = true;
  revision_ = revision;
  return generation_;
}

void ImageReading::Cancel() {
  if (busy_) StopCurrent();
}

bool ImageReading::Finish(unsigned generation, unsigned long revision) {
  if (!busy_ || generation != generation_) return false;
  busy_ = false;
  return revision == revision_;
}

}  // namespace quillet
