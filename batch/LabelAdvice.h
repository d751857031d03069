// A label sheet whose labels do not fit their cells: how large the label and
// the cell are, and what would make it fit, for each front end to word.
#pragma once

#include "image/LabelSheet.h"

namespace quillet {

struct LabelAdvice {
  LabelFit fit;
  int modules = 0;            // the symbol's width in modules
  int mostColumns = 0;        // labels across a page at which it fits; 0 when none
  int mostRows = 0;           // and down
  double largestModuleMm = 0; // the largest module that fits, in whole pixels at the sheet's dpi; 0 when none
  int mostModules = 0;        // the widest symbol that fits at this module size; 0 when none
};

LabelAdvice AdviseLabel(const LabelSheetLayout& layout, int moduleColumns, int moduleRows, bool caption);

}  // namespace quillet
