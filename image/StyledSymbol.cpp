#include "image/StyledSymbol.h"

#include <algorithm>

#include "image/LogoMask.h"
#include "qr/QrStandard.h"

namespace quillet {

namespace {

bool LogoFits(int version, QrLevel level, const SymbolStyle& style, int pad) {
  return pad >= MinLogoPad && LogoPadDamage(version, level, LogoPadMask(style, pad)).Allowed();
}

int LargestPad(int version, QrLevel level, const SymbolStyle& style) {
  return LargestLogoPad(version, level, LogoPadMasks(style));
}

double ShareOfSide(int pad, int version) { return static_cast<double>(pad) / qr::SideOf(version); }

SymbolResult Make(const SymbolRequest& request, CQrCodeEncoder* encoder) {
  return encoder ? MakeSymbol(request, *encoder) : MakeSymbol(request);
}

}  // namespace

int LogoPadAsked(int version, QrLevel level, const SymbolStyle& style) {
  const std::optional<double> share = style.logoShare;
  if (share && *share >= LargestLogoShare) return LargestPad(version, level, style);
  return LogoPadSide(version, share.value_or(DefaultLogoShare));
}

int LogoPadPlaced(int version, QrLevel level, const SymbolStyle& style) {
  const int pad = LogoPadAsked(version, level, style);
  return style.logoShare || LogoFits(version, level, style, pad) ? pad : LargestPad(version, level, style);
}

double LargestLogoShareFrom(int version, QrLevel level, const SymbolStyle& style) {
  double largest = 0;
  for (int v = std::max(version, 1); v <= qr::MaxVersion; ++v)
    largest = std::max(largest, LargestLogoShareOf(v, level, style));
  return largest;
}

double LargestLogoShareOf(int version, QrLevel level, const SymbolStyle& style) {
  return ShareOfSide(LargestPad(version, level, style), version);
}

int VersionForLogo(int version, QrLevel level, const SymbolStyle& style) {
  for (int v = std::max(version, 1); v <= qr::MaxVersion; ++v)
    if (LogoFits(v, level, style, LogoPadAsked(v, level, style))) return v;
  return 0;
}

bool GrowsForLogo(const SymbolRequest& request) {
  return request.symbology == Symbology::QrCode && request.version == 0;
}

SymbolResult MakeSymbolForLogo(const SymbolRequest& request, const SymbolStyle& style, CQrCodeEncoder* encoder,
                               int smallest) {
  const bool grows = GrowsForLogo(request);
  SymbolRequest grown = request;
  if (grows) grown.version = std::clamp(smallest, 0, qr::MaxVersion);
  SymbolResult result = Make(grown, encoder);
  if (!grows || !result.Ok()) return result;
  // No version allows the size asked: the symbol stays as small as its data
  // lets it, and ApplyStyle's refusal names what it allows.
  const int version = VersionForLogo(result.symbol.version, result.symbol.level, style);
  if (version == 0 || version == result.symbol.version) return result;
  grown.version = version;
  return Make(grown, encoder);
}

SymbolResult MakeStyledSymbol(const SymbolRequest& request, const SymbolStyle& style, CQrCodeEncoder* encoder,
                              int smallest) {
  if (style.logo) return MakeSymbolForLogo(request, style, encoder, smallest);
  SymbolRequest grown = request;
  if (GrowsForLogo(request)) grown.version = std::clamp(smallest, 0, qr::MaxVersion);
  return Make(grown, encoder);
}

LogoFit ApplyStyle(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options) {
  options.style = style;
  options.logo.reset();
  LogoFit fit;
  if (!style.logo) return fit;
  if (symbol.symbology != Symbology::QrCode) {
    fit.failure = LogoFailure::NotQrCode;
    return fit;
  }
  fit.version = symbol.version;
  fit.level = symbol.level;
  const int side = qr::SideOf(symbol.version);
  fit.largestSide = LargestPad(symbol.version, symbol.level, style);
  fit.largestShare = ShareOfSide(fit.largestSide, symbol.version);
  PadMask mask = LogoPadMask(style, LogoPadPlaced(symbol.version, symbol.level, style));
  fit.damage = LogoPadDamage(symbol.version, symbol.level, mask);
  if (fit.largestSide < MinLogoPad) fit.failure = LogoFailure::NoRoom;
  else if (!fit.damage.Allowed()) fit.failure = LogoFailure::TooLarge;
  if (!fit.Ok()) return fit;
  auto placement = std::make_shared<LogoPlacement>();
  placement->logo = style.logo;
  placement->column = LogoPadFirst(side, mask.width);
  placement->row = LogoPadFirst(side, mask.height);
  placement->mask = std::move(mask);
  options.logo = std::move(placement);
  return fit;
}

}  // namespace quillet
