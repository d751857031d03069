// Logo files as PNG or JPEG, whatever their bytes: each is refused with a
// reason or read whole (a large PNG scaled down), never larger than a logo
// may be.
#include <string>

#include "tests/support/Require.h"
#include "verify/LogoFile.h"
#include "verify/module/ImageReaders.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  LogoReadProblem problem;
  const auto logo = ReadRasterRgba(SniffFileKind(bytes), bytes, MaxLogoSide, &problem);
  if (!logo) {
    Require(problem.failure != LogoFileFailure::None);
    return 0;
  }
  Require(logo->width >= 1 && logo->height >= 1 && logo->width <= MaxLogoSide && logo->height <= MaxLogoSide);
  Require(logo->pixels.size() == static_cast<size_t>(logo->width) * logo->height * 4);
  return 0;
}
