// What a page's user chose, as work made from the page (a batch) takes it
// over: the lists' choices, not what the last symbol grew to.
#pragma once

#include "model/StyleState.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

struct PageChoice {
  SymbolSettings symbol;
  FormatTab contentPage;  // QR
  int scale = 4;           // pixels per module
  PageStyle style;
};

}  // namespace quillet
