// The camera's conditions applied to a symbol's grey pixels, and the
// symbol read under each by every decoder of its symbology.
#pragma once

#include "verify/CameraConditions.h"
#include "verify/module/ImageReaders.h"

namespace quillet {

// Each `factor` x `factor` square of pixels as their mean.
GreyPixels Reduced(const GreyPixels& image, int factor);

// `image`, modules of `scale` pixels, as a camera sees it under `condition`
// (not AsPrinted). Deterministic: the noise has a fixed seed.
GreyPixels SeenUnder(const GreyPixels& image, const CameraCondition& condition, int scale);

// The styled and the plain symbol, modules of `scale` pixels. A frame makes
// the styled picture larger than the plain one.
struct CameraViews {
  const uint8_t* styled = nullptr;
  int width = 0, height = 0;
  const uint8_t* plain = nullptr;  // null: the styled pixels are the plain symbol's
  int plainWidth = 0, plainHeight = 0;
  int scale = 0;
  bool untilLoss = false;  // stop at the first condition the style loses
};

// Every condition but AsPrinted, by every decoder. The plain symbol is read
// only where the styled one was not.
std::vector<ConditionReading> ReadUnderConditions(const CameraViews& views, Symbology symbology,
                                                  std::string_view expected);

}  // namespace quillet
