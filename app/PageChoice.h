// What a page's user chose, as work made from the page (a batch) takes it
// over: the lists' choices, not what the last symbol grew to.
#pragma once

#include "qr/QrLevel.h"

struct PageChoice {
  int operatorFormat = 1;  // QR
  int tab = 0;             // QR: the content type, from 0
  QrLevel level = DefaultQrLevel;  // QR
  int version = 0;         // QR: the smallest version; 0 chooses automatically
  int dmSize = 0;          // DM: the smallest square's size index
  int scale = 4;           // pixels per module
};
