// Label sheets: symbols in a grid of columns x rows on paper pages, each at
// its physical size with a caption centred under it, as many pages as needed.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "symbol/ModuleMatrix.h"
#include "image/PhysicalSize.h"

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
  ImageOptions symbol;  // module size (scale at dpi) and quiet zone of every symbol
};

class LabelSheetWriter {
 public:
  virtual ~LabelSheetWriter() = default;
  // The next label, in rows from the top left, starting a page when the last is full.
  // False, with the reason, when the label does not fit a cell; nothing is placed then.
  virtual bool AddLabel(const ModuleMatrix& matrix, std::string_view captionUtf8, std::string* error) = 0;
  // Completes the document. False when it has no label or could not be written.
  virtual bool Finish(std::string* error) = 0;
  virtual int Labels() const = 0;
  virtual int Pages() const = 0;
};
