// Pixels, modules and millimetres: how large a symbol prints.
#pragma once

#include <algorithm>
#include <string>

#include "image/ImageFormats.h"
#include "image/SymbolFrame.h"

namespace quillet {

constexpr double MillimetresPerInch = 25.4;
constexpr double PointsPerInch = 72.0;

// Whole pixels per module for a printed size, and how far they put it.
struct ModuleScale {
  int scale = 1;            // whole pixels per module
  double moduleMm = 0.0;    // what that scale prints at the given dpi
  double requestedMm = 0.0; // the module's side asked for, or with `modules` the symbol's
  int modules = 0;          // the symbol's side with its quiet zone, when its whole side was asked for
  int dpi = 0;
  bool offRequest = false;  // more than 5 % off a module's side, 2 % off a symbol's: worth telling the user
  double PrintedMm() const { return modules > 0 ? modules * moduleMm : moduleMm; }
  // How far the print is off the request, as a share of it: -0.03 is 3 % short.
  double OffShare() const { return requestedMm > 0 ? PrintedMm() / requestedMm - 1.0 : 0.0; }
};

// The whole number of pixels nearest moduleMm * dpi / 25.4, at least 1.
ModuleScale ScaleForModuleMillimetres(double moduleMm, int dpi);
// The same for a symbol `modules` a side, quiet zone included, printed `symbolMm` a side.
ModuleScale ScaleForSymbolMillimetres(double symbolMm, int modules, int dpi);

// The longer side of a symbol of columns x rows with the options' quiet
// zone, and its frame when the style has one, in modules: what a printed
// size of the whole symbol divides.
inline int ModulesASide(const ImageOptions& options, int columns, int rows) {
  const FrameLayout framed = LayOutFrame(options.style, columns, rows, options.quietZone);
  return std::max(framed.width, framed.height);
}

inline bool AsksPrintedSize(const ImageOptions& options) { return options.symbolMm > 0 || options.moduleMm > 0; }

// A module's printed side as the vector formats draw it, exactly what was
// asked for. Inline: the print module draws with it too.
inline double VectorModuleMm(const ImageOptions& options, int columns, int rows) {
  if (options.symbolMm > 0) return options.symbolMm / ModulesASide(options, columns, rows);
  if (options.moduleMm > 0) return options.moduleMm;
  return options.scale * MillimetresPerInch / options.dpi;
}

// The image's width and height as the vector formats print it, frame
// included: what a page quotes and a label sheet's cell must hold.
struct PrintedExtent {
  double widthMm = 0, heightMm = 0;
};
inline PrintedExtent FramedMillimetres(const ImageOptions& options, int columns, int rows) {
  const FrameLayout framed = LayOutFrame(options.style, columns, rows, options.quietZone);
  const double module = VectorModuleMm(options, columns, rows);
  return {framed.width * module, framed.height * module};
}

// The raster formats' whole pixels per module for the printed size the
// options ask for on a symbol of columns x rows; with none, their scale.
ModuleScale RasterScale(const ImageOptions& options, int columns, int rows);

// The options with their scale set for `matrix` from the printed size they
// ask for, if any; the same options for every format and the read-back.
ImageOptions SizedForSymbol(const ImageOptions& options, const ModuleMatrix& matrix);

}  // namespace quillet
