#include "image/PhysicalSize.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double NoticeTolerance = 0.05;

std::string Millimetres(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g mm", mm);
  return text;
}

}  // namespace

ModuleScale ScaleForModuleMillimetres(double moduleMm, int dpi) {
  ModuleScale result;
  result.scale = std::max(1, static_cast<int>(std::lround(moduleMm * dpi / MillimetresPerInch)));
  result.moduleMm = result.scale * MillimetresPerInch / dpi;
  if (std::abs(result.moduleMm - moduleMm) > NoticeTolerance * moduleMm)
    result.notice = "a module of " + Millimetres(moduleMm) + " is " + std::to_string(result.scale) + " pixel" +
                    (result.scale == 1 ? "" : "s") + " at " + std::to_string(dpi) + " dpi, which prints at " +
                    Millimetres(result.moduleMm);
  return result;
}

double PrintedMillimetres(int modules, const ImageOptions& options) {
  return (modules + 2.0 * options.quietZone) * options.scale * MillimetresPerInch / options.dpi;
}
