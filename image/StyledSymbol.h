// A symbol in a style: the image options that draw it, with the logo placed
// where the symbol's error correction can spare the modules, and the symbol
// grown to the size its logo asks for.
#pragma once

#include <optional>

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
  int largestSide = 0;      // modules, the pad's longer side
  double largestShare = 0;  // of the symbol's side, by the pad's longer side
  int version = 0;          // of the symbol, for messages
  QrLevel level = DefaultQrLevel;
  bool Ok() const { return failure == LogoFailure::None; }
};

// Pads are measured by their longer side: a share is of the symbol's side,
// and the pad's box and the modules it clears follow the style's logo and
// logo pad (LogoPadMask).

// The pad's longer side a style's logo asks for on a symbol of `version`:
// the share's (DefaultLogoShare when unset), or with LargestLogoShare the
// largest the bound allows.
int LogoPadAsked(int version, QrLevel level, const SymbolStyle& style);

// The pad ApplyStyle places: the one asked for, but for a logo whose size
// was not given on a symbol too small for DefaultLogoShare (a version
// chosen), the largest the bound allows.
int LogoPadPlaced(int version, QrLevel level, const SymbolStyle& style);

// The share of its side the longer side of the style's largest pad on a
// symbol makes: the figure a refusal names and the style dialog's slider
// reaches.
double LargestLogoShareOf(int version, QrLevel level, const SymbolStyle& style);
// The largest share of any version from `version` up: what a symbol that
// grows for its logo can reach.
double LargestLogoShareFrom(int version, QrLevel level, const SymbolStyle& style);

// The smallest version from `version` up whose bound allows the pad the
// style's logo asks for; 0 when no version does.
int VersionForLogo(int version, QrLevel level, const SymbolStyle& style);

// The symbol of `request` with the style's logo: with no version chosen, a
// QR Code takes the smallest version, at least `smallest`, that holds its
// data and whose bound allows the logo's size, as it grows for data. With a
// version chosen it is made as asked, and ApplyStyle refuses a logo too large.
// `encoder`, when given, keeps the symbol as MakeSymbol's does.
SymbolResult MakeSymbolForLogo(const SymbolRequest& request, const SymbolStyle& style,
                               CQrCodeEncoder* encoder = nullptr, int smallest = 0);
// The same for a style, with or without a logo: without one, a QR Code of
// no version chosen takes at least `smallest`.
SymbolResult MakeStyledSymbol(const SymbolRequest& request, const SymbolStyle& style,
                              CQrCodeEncoder* encoder = nullptr, int smallest = 0);

// Whether the symbol of `request` may grow for a logo: a QR Code of no
// version chosen.
bool GrowsForLogo(const SymbolRequest& request);

// Copies the style into `options` and, when it has a logo, places it on
// `symbol`; on failure `options` has no logo. A logo whose size was not
// given takes DefaultLogoShare, or the largest pad when a chosen version
// allows less.
LogoFit ApplyStyle(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options);

// A logo asks for the strongest level unless the user chose one.
constexpr QrLevel LevelWithLogo(bool levelChosen, QrLevel chosen) { return levelChosen ? chosen : QrLevel::H; }

}  // namespace quillet
