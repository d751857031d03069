// Label sheets: symbols in a grid of columns x rows on paper pages, each at
// its physical size with a caption centred under it, as many pages as needed.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "symbol/ModuleMatrix.h"
#include "image/PhysicalSize.h"

namespace quillet {

struct PaperSize {
  std::string_view name;  // as the command line takes it
  double widthMm;
  double heightMm;
};

constexpr PaperSize PaperSizes[] = {
    {"A4", 210.0, 297.0},
    {"A5", 148.0, 210.0},
    {"Letter", 215.9, 279.4},
};

// The paper named `name`, ignoring case; null when there is none.
const PaperSize* FindPaperSize(std::string_view name);
// "A4, A5 or Letter", for messages.
std::string PaperSizeNames();

// Every page keeps this margin on all four sides; the rest is split into
// equal cells, one label centred in each.
constexpr double SheetMarginMm = 10.0;

struct LabelSheetLayout {
  PaperSize paper = PaperSizes[0];
  int columns = 1;
  int rows = 1;
  // Module size (scale at dpi, or a printed size, drawn exactly), quiet zone
  // and style of every symbol.
  ImageOptions symbol;
};

// A caption's line under its symbol: the font size and the line's height in font sizes.
constexpr double LabelCaptionPoints = 8.0;
constexpr double LabelCaptionLineFactor = 1.3;

// A label (symbol, quiet zone, frame and caption) against the cell it must fit, in millimetres.
struct LabelFit {
  double widthMm = 0;
  double heightMm = 0;
  double cellWidthMm = 0;
  double cellHeightMm = 0;
  double captionMm = 0;  // of heightMm
  bool Fits() const { return widthMm <= cellWidthMm && heightMm <= cellHeightMm; }
};
// Inline: the print module, loaded on first use, draws with it too.
inline LabelFit FitLabel(const LabelSheetLayout& layout, int moduleColumns, int moduleRows, bool caption) {
  const PrintedExtent framed = FramedMillimetres(layout.symbol, moduleColumns, moduleRows);
  LabelFit fit;
  fit.captionMm = caption ? LabelCaptionPoints * LabelCaptionLineFactor * MillimetresPerInch / PointsPerInch : 0.0;
  fit.widthMm = framed.widthMm;
  fit.heightMm = framed.heightMm + fit.captionMm;
  fit.cellWidthMm = (layout.paper.widthMm - 2 * SheetMarginMm) / layout.columns;
  fit.cellHeightMm = (layout.paper.heightMm - 2 * SheetMarginMm) / layout.rows;
  return fit;
}

// Why a sheet could not be begun, take a label, or be finished; each front
// end words it.
enum class SheetFailure {
  None,
  NoCells,        // the layout has no column, row, scale or dpi
  NoPrintModule,  // `subject`: the loader's own message
  LabelTooLarge,  // `fit`: the label against its cell
  NoLabel,        // finished with no label
  Drawing,        // `subject`: the drawing library's own message
};

struct SheetProblem {
  SheetFailure failure = SheetFailure::None;
  std::string subject;
  LabelFit fit;
  explicit operator bool() const { return failure != SheetFailure::None; }
};

class LabelSheetWriter {
 public:
  virtual ~LabelSheetWriter() = default;
  // The next label, in rows from the top left, starting a page when the last is full.
  // `drawn`: the layout's symbol options as this symbol is drawn and was
  // read back (SizedForSymbol, its logo placed); its size is the layout's.
  // False, with the reason, when the label does not fit a cell; nothing is placed then.
  virtual bool AddLabel(const ModuleMatrix& matrix, const ImageOptions& drawn, std::string_view captionUtf8,
                        SheetProblem* problem) = 0;
  // Completes the document. False when it has no label or could not be written.
  virtual bool Finish(SheetProblem* problem) = 0;
  virtual int Labels() const = 0;
  virtual int Pages() const = 0;
};

}  // namespace quillet
