// A symbol in a style: the image options that draw it, with the logo placed
// where the symbol's error correction can spare the modules.
#pragma once

#include "image/ImageFormats.h"
#include "qr/LogoBound.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

enum class LogoFailure {
  None,
  NotQrCode,  // Data Matrix has no logo
  TooLarge,   // the size asked for destroys too much; `largestShare` is what the level allows
  NoRoom,     // the symbol cannot spare even the smallest pad
};

struct LogoFit {
  LogoFailure failure = LogoFailure::None;
  LogoDamage damage;        // of the pad placed, or of the one refused
  int largestSide = 0;      // modules
  double largestShare = 0;  // of the symbol's side
  int version = 0;          // of the symbol, for messages
  QrLevel level = DefaultQrLevel;
  bool Ok() const { return failure == LogoFailure::None; }
};

// Copies the style into `options` and, when it has a logo, places it on
// `symbol`; on failure `options` has no logo.
LogoFit ApplyStyle(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options);

// A logo asks for the strongest level unless the user chose one.
constexpr QrLevel LevelWithLogo(bool levelChosen, QrLevel chosen) { return levelChosen ? chosen : QrLevel::H; }

}  // namespace quillet
