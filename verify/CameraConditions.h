// The ways a camera sees a printed symbol that a styled symbol is read under,
// beside the plain symbol of the same modules: a style may lose nothing the
// plain symbol keeps. One table, read by the read-back, --dump, the pages'
// verdict and the tests. Header only: the decoders' module reads it too.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "symbol/Symbology.h"

namespace quillet {

enum class CameraEffect {
  AsPrinted,    // the file's own pixels: the options' scale, as the printed size at its dpi gives it
  Blur,         // Gaussian, `amount` modules wide: twice its standard deviation
  FewPixels,    // resampled down to `amount` pixels per module
  Tilt,         // seen `amount` degrees off square, turned about the vertical axis
  Jpeg,         // compressed at quality `amount`
  UnevenLight,  // light falling across the symbol to `amount` of itself at the far corner
  Noise,        // sensor noise, Gaussian, `amount` grey levels of standard deviation, a fixed seed
};

struct CameraCondition {
  std::string_view name;  // for --dump and messages, English under every locale
  CameraEffect effect;
  double amount;
  // A nearby, harsher amount the plain symbol must read under too before a
  // style is blamed for a loss: where the plain symbol reads only by luck
  // (a pixel's shift decides at that tilt), the yardstick says nothing.
  double harsher;
  CameraCondition AtHarsher() const { return {name, effect, harsher, harsher}; }
};

// The conditions styles lose most often come first (the tilt: circle eyes,
// dots and logos; the noise: light colours), so that a check that stops at
// the first loss gives up a symbol that must grow after a view or two.
inline constexpr CameraCondition CameraConditions[] = {
    {"as printed", CameraEffect::AsPrinted, 0, 0},
    {"tilt of 25 degrees", CameraEffect::Tilt, 25, 30},
    {"sensor noise", CameraEffect::Noise, 20, 25},
    {"blur of half a module", CameraEffect::Blur, 0.5, 0.6},
    // Fewer pixels than two a module no camera app asks a user to hold.
    {"2 pixels per module", CameraEffect::FewPixels, 2, 2},
    {"JPEG at quality 40", CameraEffect::Jpeg, 40, 30},
    {"uneven lighting", CameraEffect::UnevenLight, 0.4, 0.3},
};
inline constexpr int AsPrintedCondition = 0;
static_assert(CameraConditions[AsPrintedCondition].effect == CameraEffect::AsPrinted);
inline constexpr int CameraConditionCount = static_cast<int>(std::size(CameraConditions));

// The pixels per module a symbol is drawn at before the camera's effects
// (all but AsPrinted, which keeps the file's scale): the same view whatever
// scale the file has.
inline constexpr int CameraModulePixels = 4;

enum class CameraReading : uint8_t {
  NotTried,  // the plain symbol, where the styled one read: nothing to compare
  Read,      // exactly the bytes encoded (the plain symbol: at the harsher amount too)
  NotRead,
  Misread,   // other bytes
};

// One decoder under one condition, for the styled symbol and the plain one.
struct ConditionReading {
  int condition = 0;  // into CameraConditions
  std::string decoder;
  CameraReading styled = CameraReading::NotTried;
  CameraReading plain = CameraReading::NotTried;

  // The style lost what the plain symbol keeps with margin.
  bool Lost() const { return styled != CameraReading::Read && plain == CameraReading::Read; }
};

// The decoders a symbol is read by under the camera's conditions: for QR Code
// zxing-cpp and zbar, for Data Matrix libdmtx and zxing-cpp.
inline std::span<const std::string_view> CameraDecoders(Symbology symbology) {
  static constexpr std::string_view qr[] = {"zxing-cpp", "zbar"}, dm[] = {"libdmtx", "zxing-cpp"};
  using Names = std::span<const std::string_view>;
  return symbology == Symbology::DataMatrix ? Names(dm) : Names(qr);
}

// The conditions in which some decoder read the symbol exactly.
inline int ConditionsRead(const std::vector<ConditionReading>& readings) {
  std::vector<bool> read(CameraConditionCount, false);
  for (const ConditionReading& reading : readings)
    if (reading.styled == CameraReading::Read) read[static_cast<size_t>(reading.condition)] = true;
  return static_cast<int>(std::count(read.begin(), read.end(), true));
}

}  // namespace quillet
