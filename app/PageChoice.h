// What a page's user chose, as work made from the page (a batch) takes it
// over: the lists' choices, not what the last symbol grew to.
#pragma once

#include "app/PageStyle.h"
#include "symbol/SymbolRequest.h"

struct PageChoice {
  SymbolSettings symbol;
  int operatorFormat = 1;  // QR
  int tab = 0;             // QR: the content type, from 0
  int scale = 4;           // pixels per module
  PageStyle style;
};
