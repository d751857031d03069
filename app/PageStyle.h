// The style a page draws, saves, copies and hands to batch with (its plain
// record is the style's model), and what the dialog needs to show of it.
#pragma once

#include <QString>

#include "model/StyleState.h"

namespace quillet {

// How large a logo the page's symbol takes, for the dialog's slider.
struct LogoRoom {
  bool allowed = false;     // the symbology takes a logo at all
  double largestShare = 0;  // of the symbol's side: what its level allows at the version shown
  double shownShare = 0;    // the share drawn: the chosen one, or the default
  int padModules = 0;       // the pad's side
  QString note;             // why there is no logo, or what bounds its size
};

}  // namespace quillet
