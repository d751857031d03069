#include "image/PhysicalSize.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

// Whole pixels are said when they miss a module's side by more than this
// share, a whole symbol's (which is what the user measured) by more than the other.
constexpr double NoticeTolerance = 0.05;
constexpr double SymbolTolerance = 0.02;

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

ModuleScale ScaleForSymbolMillimetres(double symbolMm, int modules, int dpi) {
  ModuleScale result = ScaleForModuleMillimetres(symbolMm / std::max(modules, 1), dpi);
  result.requestedMm = symbolMm;
  result.modules = std::max(modules, 1);
  result.offRequest = std::abs(result.OffShare()) > SymbolTolerance;
  return result;
}

double PrintedMillimetres(int modules, const ImageOptions& options) {
  return (modules + 2.0 * options.quietZone) * options.scale * MillimetresPerInch / options.dpi;
}

}  // namespace quillet
