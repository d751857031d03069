#include "image/PhysicalSize.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

constexpr double NoticeTolerance = 0.05;

}  // namespace

ModuleScale ScaleForModuleMillimetres(double moduleMm, int dpi) {
  ModuleScale result;
  result.scale = std::max(1, static_cast<int>(std::lround(moduleMm * dpi / MillimetresPerInch)));
  result.moduleMm = result.scale * MillimetresPerInch / dpi;
  result.requestedMm = moduleMm;
  result.dpi = dpi;
  result.offRequest = std::abs(result.moduleMm - moduleMm) > NoticeTolerance * moduleMm;
  return result;
}

double PrintedMillimetres(int modules, const ImageOptions& options) {
  return (modules + 2.0 * options.quietZone) * options.scale * MillimetresPerInch / options.dpi;
}

}  // namespace quillet
