// The words for styles, logos and the images read: colours refused, a logo
// too large, a file that is no image.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/Translate.h"
#include "cli/Words.h"

namespace quillet {

namespace {

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Share(double share) { return Fixed(share, 2); }

std::string SymbolName(const LogoFit& fit) {
  return Fill(_("version {1} at level {2}"), {std::to_string(fit.version), std::string(1, QrLevelLetter(fit.level))});
}

std::string_view ReadingWord(CameraReading reading) {
  switch (reading) {
    case CameraReading::Read: return "read";
    case CameraReading::NotRead: return "not read";
    case CameraReading::Misread: return "misread";
    case CameraReading::NotTried: break;
  }
  return "not tried";
}

// One line a decoder under a condition: the plain symbol's reading where it was needed.
std::string ConditionLine(const ConditionReading& reading) {
  std::string line = "condition " + std::string(CameraConditions[reading.condition].name) + ": " + reading.decoder +
                     " " + std::string(ReadingWord(reading.styled));
  if (reading.plain != CameraReading::NotTried) line += ", plain " + std::string(ReadingWord(reading.plain));
  return line + (reading.Lost() ? ", lost\n" : "\n");
}

std::string AdviceWords(const StyleAdvice& advice) {
  std::vector<std::string_view> helps;
  if (advice.smallerLogo) helps.push_back(_("a smaller logo"));
  if (advice.higherLevel) helps.push_back(_("a higher level"));
  if (advice.moreContrast) helps.push_back(_("more contrast"));
  return helps.empty() ? std::string() : Fill(_("; {1} would help"), {Alternatives(helps)});
}

}  // namespace

std::string DescribeConditionLost(const ReadBackResult& result) {
  const ConditionReading* lost = LostCondition(result);
  if (!lost) return {};
  return Fill(_("{1} does not read it under the camera condition \"{2}\", where it reads the plain symbol{3}"),
              {lost->decoder, CameraConditions[lost->condition].name, AdviceWords(result.advice)});
}

std::string DescribeStyleCheck(const StyleCheck& check) {
  // Cut, not rounded: 2.995 is below 3:1 and must not read "3.00:1".
  const double ratio = std::floor(check.ratio * 100) / 100;
  const std::string ratioText = Fixed(ratio, 2);
  if (check.frame)
    return Fill(_("the frame colour {1} (contrast ratio {2}:1) is below the {3}:1 its caption needs to be read: "
                  "give a darker --frame-fg, or --allow-low-contrast"),
                {check.subject, ratioText, Fixed(MinContrastRatio, 0)});
  switch (check.failure) {
    case StyleFailure::LowContrast:
      return Fill(_("the colours {1} (contrast ratio {2}:1) are below the {3}:1 scanners need: choose colours "
                    "further apart, or give --allow-low-contrast"),
                  {check.subject, ratioText, Fixed(MinContrastRatio, 0)});
    case StyleFailure::Inverted:
      return Fill(_("the colours {1} (contrast ratio {2}:1) put light modules on a dark background, which many "
                    "readers do not try: give --allow-inverted"),
                  {check.subject, ratioText});
    case StyleFailure::None: break;
  }
  return {};
}

std::string DescribeCaptionDrawing(const CaptionCheck& check) {
  switch (check.problem) {
    case CaptionProblem::MissingCharacter:
      return "--frame: " + DescribeImageFailure({ImageFailure::CaptionCharacter, check.subject});
    case CaptionProblem::NeedsShaping:
      return "--frame: " + DescribeImageFailure({ImageFailure::CaptionScript, check.subject});
    default: return {};
  }
}

namespace {

// What the readers found: "16-bit BMP", "no image in the GIF", or the library's message.
std::string ReadDetailWords(ImageReadDetail detail, const std::string& message, int number) {
  switch (detail) {
    case ImageReadDetail::LibraryMessage: return message;
    case ImageReadDetail::GifError: return Fill(_("GIF error {1}"), {std::to_string(number)});
    case ImageReadDetail::NoGifImage: return _("no image in the GIF");
    case ImageReadDetail::JpegScans: return Fill(_("JPEG of more than {1} scans"), {std::to_string(number)});
    case ImageReadDetail::OldBmpHeader: return _("old-style BMP header");
    case ImageReadDetail::CompressedBmp: return _("compressed BMP");
    case ImageReadDetail::BmpBits: return Fill(_("{1}-bit BMP"), {std::to_string(number)});
    case ImageReadDetail::BmpPaletteIndex: return _("BMP pixel outside its palette");
    case ImageReadDetail::SvgUnreadable: return _("unreadable SVG");
    case ImageReadDetail::SvgNotDrawn: return _("the SVG cannot be drawn");
    case ImageReadDetail::None: break;
  }
  return {};
}

}  // namespace

std::string DescribeImageReadProblem(const ImageReadProblem& problem) {
  const std::string detail = ReadDetailWords(problem.detail, problem.subject, problem.number);
  switch (problem.failure) {
    case ImageReadFailure::None: return {};
    case ImageReadFailure::CannotOpen: return std::strerror(problem.error);
    case ImageReadFailure::NotAnImage: return _("not a PNG, JPEG, GIF or BMP image");
    case ImageReadFailure::Unsupported: return Fill(_("a {1}, which cannot be read"), {detail});
    case ImageReadFailure::TooLarge:
      if (problem.subject.empty()) return _("the file is larger than any image");
      return Fill(_("too large: {1} pixels, more than the {2} megapixels an image may have"),
                  {problem.subject, std::to_string(MaxImagePixels / 1'000'000)});
    case ImageReadFailure::Truncated: return _("the file is cut short");
    case ImageReadFailure::Damaged: return Fill(_("the image is damaged ({1})"), {detail});
    case ImageReadFailure::NoDecoders: return Fill(_("the decoders cannot be loaded: {1}"), {problem.subject});
  }
  return {};
}

std::string LogoShareWords() {
  return Fill(_("{1} to {2} (or {3}% to {4}%), or max for the largest the symbol allows"),
              {Fixed(MinLogoShare, 2), Fixed(MaxLogoShare, 1), Fixed(100 * MinLogoShare, 0), Fixed(100 * MaxLogoShare, 0)});
}

std::string DescribeLogoFit(const LogoFit& fit) {
  switch (fit.failure) {
    case LogoFailure::NotQrCode: return _("Data Matrix symbols carry no logo; a logo goes in a QR Code");
    case LogoFailure::NoRoom:
      return Fill(fit.level == QrLevel::H
                      ? _("a QR Code of {1} cannot spare the modules of even the smallest logo; give a larger --version")
                      : _("a QR Code of {1} cannot spare the modules of even the smallest logo; give --level H"),
                  {SymbolName(fit)});
    case LogoFailure::TooLarge: {
      // The codeword figures are for --dump; the refusal says what would fit.
      const std::string percent = std::to_string(static_cast<int>(std::floor(fit.largestShare * 100)));
      const std::string level(1, QrLevelLetter(fit.level));
      return Fill(fit.level == QrLevel::H
                      ? _("the logo is too large for this symbol: at most {1}% of its side at level {2}; a smaller "
                          "logo or a larger symbol (--version) would fit")
                      : _("the logo is too large for this symbol: at most {1}% of its side at level {2}; a smaller "
                          "logo, a larger symbol (--version) or a higher level (--level H) would fit"),
                  {percent, level});
    }
    case LogoFailure::None: break;
  }
  return {};
}

std::string DescribeLogoFile(const LogoFileResult& result) {
  const std::string& file = result.subject;
  switch (result.failure) {
    case LogoFileFailure::CannotOpen:
      return Fill(_("cannot read the logo '{1}': {2}"), {file, std::strerror(result.error)});
    case LogoFileFailure::TooLarge:
      return Fill(_("the logo '{1}' is larger than a logo may be ({2} MB, {3} pixels a side)"),
                  {file, std::to_string(MaxLogoFileBytes >> 20), std::to_string(MaxLogoSourceSide)});
    case LogoFileFailure::NotALogo: return Fill(_("the logo '{1}' is neither a PNG, a JPEG nor an SVG image"), {file});
    case LogoFileFailure::Unreadable:
      return Fill(_("the logo '{1}' cannot be read as an image: {2}"),
                  {file, ReadDetailWords(result.reason, result.detail, 0)});
    case LogoFileFailure::NoReader: return Fill(_("cannot read logos: {1}"), {result.detail});
    case LogoFileFailure::None: break;
  }
  return {};
}

std::string DescribeStyledNotReadBack(const ReadBackResult& check) {
  return Fill(_("the styled symbol does not read back, so it is not written: {1}"), {DescribeReadBackFault(check)});
}

// Under --dump, for scripts: English under every locale, as the rows' header
// line is. (The reason of a failed read-back is a sentence, and translated.)
std::string DescribeStyleReport(const LogoFit& fit, const ReadBackResult& check) {
  std::string report;
  if (fit.damage.padSide > 0) {
    if (!fit.Ok()) report += "logo refused\n";
    report += "logo " + std::to_string(fit.damage.padWidth) + " x " + std::to_string(fit.damage.padHeight) +
              " modules (" + std::to_string(fit.damage.cleared) + " cleared), largest " + std::to_string(fit.largestSide) +
              " (" + Share(fit.largestShare) + " of the side)\n";
    for (size_t b = 0; b < fit.damage.blocks.size(); ++b) {
      const BlockDamage& block = fit.damage.blocks[b];
      report += "block " + std::to_string(b + 1) + " destroyed " + std::to_string(block.destroyed) + " of " +
                std::to_string(block.correctable) + " correctable (at most " + std::to_string(block.Allowed()) + ")\n";
    }
    if (fit.damage.centreAlignmentLost) report += "centre alignment pattern under the logo\n";
    if (fit.damage.coversFixedPattern) report += "covers a fixed pattern\n";
  }
  if (!fit.Ok()) return report;
  if (check.levelRaisedFrom) report += std::string("level raised from ") + QrLevelLetter(*check.levelRaisedFrom) + "\n";
  if (check.versionGrownFrom > 0) report += "version grown from " + std::to_string(check.versionGrownFrom) + "\n";
  report += check.Ok() ? "read back by " + check.decoder + "\n" : "not read back: " + DescribeReadBackFault(check) + "\n";
  for (const ConditionReading& reading : check.conditions) report += ConditionLine(reading);
  if (!check.conditions.empty())
    report += "conditions read " + std::to_string(ConditionsRead(check.conditions)) + " of " +
              std::to_string(CameraConditionCount) + "\n";
  return report;
}

}  // namespace quillet
