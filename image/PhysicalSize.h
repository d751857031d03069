// Pixels, modules and millimetres: how large a symbol prints.
#pragma once

#include <string>

#include "image/ImageFormats.h"

namespace quillet {

// The resolution the pages quote the printed size at: a common office printer.
constexpr int PreviewPrintDpi = 300;
constexpr double MillimetresPerInch = 25.4;
constexpr double PointsPerInch = 72.0;

struct ModuleScale {
  int scale = 1;            // whole pixels per module
  double moduleMm = 0.0;    // what that scale prints at the given dpi
  double requestedMm = 0.0;
  int dpi = 0;
  bool offRequest = false;  // moduleMm is more than 5 % off the request: worth telling the user
};

// The whole number of pixels nearest moduleMm * dpi / 25.4, at least 1.
ModuleScale ScaleForModuleMillimetres(double moduleMm, int dpi);

// The side of an image of `modules` plus the quiet zone, printed at `dpi`.
double PrintedMillimetres(int modules, const ImageOptions& options);

}  // namespace quillet
