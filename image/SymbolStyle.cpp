#include "image/SymbolStyle.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace quillet {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

double Linear(uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

std::optional<Rgb> ParseColour(std::string_view text) {
  if (text.size() != 7 || text[0] != '#') return std::nullopt;
  uint8_t channels[3];
  for (int i = 0; i < 3; ++i) {
    const int high = HexDigit(text[1 + 2 * i]), low = HexDigit(text[2 + 2 * i]);
    if (high < 0 || low < 0) return std::nullopt;
    channels[i] = static_cast<uint8_t>(high * 16 + low);
  }
  return Rgb{channels[0], channels[1], channels[2]};
}

std::string FormatColour(Rgb colour) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string text = "#";
  for (uint8_t channel : {colour.red, colour.green, colour.blue}) {
    text += Digits[channel >> 4];
    text += Digits[channel & 15];
  }
  return text;
}

std::optional<double> ParseLogoShare(std::string_view text) {
  if (text == "max") return LargestLogoShare;
  const bool percent = text.ends_with('%');
  if (percent) text.remove_suffix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  // No share is above 1: "50" means what "50%" does.
  if (percent || value > 1) value /= 100;
  if (!(value >= MinLogoShare && value <= MaxLogoShare)) return std::nullopt;
  return value;
}

double RelativeLuminance(Rgb colour) {
  return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) + 0.0722 * Linear(colour.blue);
}

double ContrastRatio(Rgb a, Rgb b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

namespace {

StyleCheck CheckDark(Rgb dark, const SymbolStyle& style, ContrastAllowance allowed) {
  const Rgb background = style.transparentBackground ? White : style.background;
  StyleCheck check;
  check.ratio = ContrastRatio(dark, background);
  check.dark = dark;
  check.subject = FormatColour(dark) + " on " +
                  (style.transparentBackground ? std::string("none") : FormatColour(background));
  if (check.ratio < MinContrastRatio && !allowed.lowContrast)
    check.failure = StyleFailure::LowContrast;
  else if (RelativeLuminance(dark) > RelativeLuminance(background) && !allowed.inverted)
    check.failure = StyleFailure::Inverted;
  return check;
}

}  // namespace

StyleCheck CheckContrast(const SymbolStyle& style, ContrastAllowance allowed) {
  std::vector<Rgb> darks{style.foreground};
  if (style.HasGradient()) {
    darks.push_back(*style.foreground2);
    if (RelativeLuminance(darks[1]) > RelativeLuminance(darks[0])) std::swap(darks[0], darks[1]);
  }
  if (style.EyeColour() != style.foreground) darks.push_back(style.EyeColour());
  StyleCheck check;
  for (const Rgb dark : darks)
    if (check = CheckDark(dark, style, allowed); !check.Ok()) break;
  return check;
}

}  // namespace quillet
