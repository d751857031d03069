#include "image/PhysicalSize.h"

#include <cmath>

namespace quillet {

namespace {

// Whole pixels are said when they miss a module's side by more than this
// share, a whole symbol's (which is what the user measured) by more than the other.
constexpr double ModuleTolerance = 0.05;
constexpr double SymbolTolerance = 0.02;

// Clamped far beyond any size the command line takes (a metre at 10000 dpi
// is 393701 pixels), so that an absurd size is refused for its true size and
// nothing overflows.
int NearestWholePixels(double mm, int dpi) {
  constexpr double MostPixels = 1 << 20;
  return static_cast<int>(std::clamp(std::round(mm * dpi / MillimetresPerInch), 1.0, MostPixels));
}

}  // namespace

ModuleScale ScaleForModuleMillimetres(double moduleMm, int dpi) {
  ModuleScale result;
  result.scale = NearestWholePixels(moduleMm, dpi);
  result.moduleMm = result.scale * MillimetresPerInch / dpi;
  result.requestedMm = moduleMm;
  result.dpi = dpi;
  result.offRequest = std::abs(result.moduleMm - moduleMm) > ModuleTolerance * moduleMm;
  return result;
}

ModuleScale ScaleForSymbolMillimetres(double symbolMm, int modules, int dpi) {
  ModuleScale result = ScaleForModuleMillimetres(symbolMm / std::max(modules, 1), dpi);
  result.requestedMm = symbolMm;
  result.modules = std::max(modules, 1);
  result.offRequest = std::abs(result.OffShare()) > SymbolTolerance;
  return result;
}

ModuleScale RasterScale(const ImageOptions& options, int columns, int rows) {
  if (options.symbolMm > 0)
    return ScaleForSymbolMillimetres(options.symbolMm, ModulesASide(options, columns, rows), options.dpi);
  if (options.moduleMm > 0) return ScaleForModuleMillimetres(options.moduleMm, options.dpi);
  ModuleScale given;
  given.scale = options.scale;
  given.dpi = options.dpi;
  return given;
}

ImageOptions SizedForSymbol(const ImageOptions& options, const ModuleMatrix& matrix) {
  ImageOptions sized = options;
  if (AsksPrintedSize(options) && options.dpi > 0 && !matrix.Empty())
    sized.scale = RasterScale(options, matrix.Columns(), matrix.Rows()).scale;
  return sized;
}

}  // namespace quillet
