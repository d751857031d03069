#include "image/StyledSymbol.h"

#include <algorithm>

#include "qr/QrStandard.h"

namespace quillet {

namespace {

bool LogoFits(int version, QrLevel level, int pad) {
  return pad >= MinLogoPad && LogoPadDamage(version, level, pad).Allowed();
}

double ShareOfSide(int pad, int version) { return static_cast<double>(pad) / qr::SideOf(version); }

SymbolResult Make(const SymbolRequest& request, CQrCodeEncoder* encoder) {
  return encoder ? MakeSymbol(request, *encoder) : MakeSymbol(request);
}

}  // namespace

int LogoPadAsked(int version, QrLevel level, std::optional<double> share) {
  if (share && *share >= LargestLogoShare) return LargestLogoPad(version, level);
  return LogoPadSide(version, share.value_or(DefaultLogoShare));
}

int LogoPadPlaced(int version, QrLevel level, std::optional<double> share) {
  const int pad = LogoPadAsked(version, level, share);
  return share || LogoFits(version, level, pad) ? pad : LargestLogoPad(version, level);
}

double LargestLogoShareFrom(int version, QrLevel level) {
  double largest = 0;
  for (int v = std::max(version, 1); v <= qr::MaxVersion; ++v) largest = std::max(largest, LargestLogoShareOf(v, level));
  return largest;
}

double LargestLogoShareOf(int version, QrLevel level) {
  return ShareOfSide(LargestLogoPad(version, level), version);
}

int VersionForLogo(int version, QrLevel level, std::optional<double> share) {
  for (int v = std::max(version, 1); v <= qr::MaxVersion; ++v)
    if (LogoFits(v, level, LogoPadAsked(v, level, share))) return v;
  return 0;
}

bool GrowsForLogo(const SymbolRequest& request) {
  return request.symbology == Symbology::QrCode && request.version == 0;
}

SymbolResult MakeSymbolForLogo(const SymbolRequest& request, std::optional<double> share, CQrCodeEncoder* encoder,
                               int smallest) {
  const bool grows = GrowsForLogo(request);
  SymbolRequest grown = request;
  if (grows) grown.version = std::clamp(smallest, 0, qr::MaxVersion);
  SymbolResult result = Make(grown, encoder);
  if (!grows || !result.Ok()) return result;
  // No version allows the size asked: the symbol stays as small as its data
  // lets it, and ApplyStyle's refusal names what it allows.
  const int version = VersionForLogo(result.symbol.version, result.symbol.level, share);
  if (version == 0 || version == result.symbol.version) return result;
  grown.version = version;
  return Make(grown, encoder);
}

SymbolResult MakeStyledSymbol(const SymbolRequest& request, const SymbolStyle& style, CQrCodeEncoder* encoder,
                              int smallest) {
  if (style.logo) return MakeSymbolForLogo(request, style.logoShare, encoder, smallest);
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
  fit.largestSide = LargestLogoPad(symbol.version, symbol.level);
  fit.largestShare = ShareOfSide(fit.largestSide, symbol.version);
  const int pad = LogoPadPlaced(symbol.version, symbol.level, style.logoShare);
  fit.damage = LogoPadDamage(symbol.version, symbol.level, pad);
  if (fit.largestSide < MinLogoPad) fit.failure = LogoFailure::NoRoom;
  else if (!fit.damage.Allowed()) fit.failure = LogoFailure::TooLarge;
  if (!fit.Ok()) return fit;
  auto placement = std::make_shared<LogoPlacement>();
  placement->logo = style.logo;
  placement->first = LogoPadFirst(side, pad);
  placement->side = pad;
  options.logo = std::move(placement);
  return fit;
}

}  // namespace quillet
