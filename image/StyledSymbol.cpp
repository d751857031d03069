#include "image/StyledSymbol.h"

#include "qr/QrStandard.h"

namespace quillet {

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
  fit.largestShare = static_cast<double>(fit.largestSide) / side;
  const int pad = style.logoShare ? LogoPadSide(symbol.version, *style.logoShare)
                                  : DefaultLogoPad(symbol.version, symbol.level);
  fit.damage = LogoPadDamage(symbol.version, symbol.level, pad);
  if (fit.largestSide < MinLogoPad) fit.failure = LogoFailure::NoRoom;
  else if (!fit.damage.Allowed()) fit.failure = LogoFailure::TooLarge;
  if (!fit.Ok()) return fit;
  auto placement = std::make_shared<LogoPlacement>();
  placement->logo = style.logo;
  placement->first = LogoPadFirst(side, pad);
  placement->side = pad;
  placement->kept = ModulesKeptInPad(symbol.version, pad);
  options.logo = std::move(placement);
  return fit;
}

}  // namespace quillet
