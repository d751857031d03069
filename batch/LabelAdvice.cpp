#include "batch/LabelAdvice.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

// Floors that a quotient a hair below a whole number due to rounding does not lose a step.
int Whole(double value) { return static_cast<int>(std::floor(value + 1e-9)); }

}  // namespace

LabelAdvice AdviseLabel(const LabelSheetLayout& layout, int moduleColumns, int moduleRows, bool caption) {
  LabelAdvice advice;
  advice.fit = FitLabel(layout, moduleColumns, moduleRows, caption);
  advice.modules = moduleColumns;
  const LabelFit& fit = advice.fit;
  const double printableWidth = layout.paper.widthMm - 2 * SheetMarginMm;
  const double printableHeight = layout.paper.heightMm - 2 * SheetMarginMm;
  const int across = std::min(layout.columns, Whole(printableWidth / fit.widthMm));
  const int down = std::min(layout.rows, Whole(printableHeight / fit.heightMm));
  if (across >= 1 && down >= 1) {
    advice.mostColumns = across;
    advice.mostRows = down;
  }
  const int quiet = 2 * layout.symbol.quietZone;
  const double moduleMm = VectorModuleMm(layout.symbol, moduleColumns, moduleRows);
  const double roomWidth = fit.cellWidthMm, roomHeight = fit.cellHeightMm - fit.captionMm;
  const double largest = std::min(roomWidth / (moduleColumns + quiet), roomHeight / (moduleRows + quiet));
  if (const int pixels = Whole(largest * layout.symbol.dpi / MillimetresPerInch); pixels >= 1)
    advice.largestModuleMm = pixels * MillimetresPerInch / layout.symbol.dpi;
  advice.mostModules = std::max(0, Whole(std::min(roomWidth, roomHeight) / moduleMm) - quiet);
  return advice;
}

}  // namespace quillet
