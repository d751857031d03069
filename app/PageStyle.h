// The style a page draws, saves, copies and hands to batch with: the core's
// record, what the user allowed of the contrast rule, and where the logo
// came from.
#pragma once

#include <QString>

#include "image/SymbolStyle.h"

struct PageStyle {
  SymbolStyle style;
  ContrastAllowance allowed;
  QString logoFile;  // shown in the dialog; the logo itself is loaded once, into `style`
};

// How large a logo the page's symbol takes, for the dialog's slider.
struct LogoRoom {
  bool allowed = false;     // the symbology takes a logo at all
  double largestShare = 0;  // of the symbol's side: what its level allows at the version shown
  double shownShare = 0;    // the share drawn: the chosen one, or the default
  int padModules = 0;       // the pad's side
  QString note;             // why there is no logo, or what bounds its size
};
