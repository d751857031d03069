// Colours, a transparent background and a logo, as the files hold them: Qt's
// readers and poppler give back the pixels, palette or alpha written, and the
// real decoders read the symbol; the logo's bound is held at the largest
// size each level allows and refused one step above.
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>

#include "image/StyledImage.h"
#include "image/StyledSymbol.h"
#include "qr/QrStandard.h"
#include "tests/support/Decode.h"
#include "tests/support/Poppler.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

constexpr Rgb Navy{0x1a, 0x23, 0x7e}, Cream{0xff, 0xf8, 0xe1}, Teal{0x00, 0x4d, 0x40};

// A solid square as dark as the modules: the hardest logo for a decoder.
std::shared_ptr<const RgbaImage> SolidLogo(Rgb colour) {
  RgbaImage logo{8, 8, {}};
  for (int i = 0; i < 64; ++i) logo.pixels.insert(logo.pixels.end(), {colour.red, colour.green, colour.blue, 255});
  return std::make_shared<const RgbaImage>(std::move(logo));
}

Symbol QrSymbol(const std::string& data, QrLevel level, int version = 0) {
  SymbolRequest request;
  request.data = data;
  request.level = level;
  request.version = version;
  const SymbolResult made = MakeSymbol(request);
  EXPECT_TRUE(made.Ok());
  return made.symbol;
}

// The picture on white, as paper shows a transparent background.
std::optional<std::string> DecodeOnWhite(const RgbaImage& image) {
  const std::vector<uint8_t> grey = CompositeGrey(image, White);
  return DecodeImage(grey.data(), image.width, image.height, DecodeFormat::QrCode, true);
}

RgbaImage Pixels(const QImage& picture) {
  const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
  RgbaImage image{rgba.width(), rgba.height(), {}};
  for (int y = 0; y < rgba.height(); ++y)
    image.pixels.insert(image.pixels.end(), rgba.constScanLine(y), rgba.constScanLine(y) + 4 * rgba.width());
  return image;
}

bool Near(QRgb pixel, Rgb colour, int alpha, int tolerance) {
  return std::abs(qRed(pixel) - colour.red) <= tolerance && std::abs(qGreen(pixel) - colour.green) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue) <= tolerance && qAlpha(pixel) == alpha;
}

TEST(Style, EveryRasterFormatHoldsTheColoursAndTransparencyAndDecodes) {
  const std::string data = "https://example.com/style";
  const struct {
    std::string_view format;
    Rgb foreground, background;
    bool transparent, logo;
    bool keepsAlpha;  // PNG and GIF keep a clear background; BMP and JPEG are written on white
    int tolerance;    // JPEG's loss
  } cases[] = {
      {"png", Navy, Cream, false, false, false, 0},  {"png", Teal, White, true, false, true, 0},
      {"png", Navy, White, true, true, true, 0},     {"png", Navy, Cream, false, true, false, 0},
      {"gif", Navy, Cream, false, false, false, 0},  {"gif", Teal, White, true, true, true, 0},
      {"bmp", Navy, Cream, false, false, false, 0},  {"bmp", Teal, White, true, true, false, 0},
      {"jpg", Navy, Cream, false, false, false, 24}, {"jpg", Teal, White, true, true, false, 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + (c.transparent ? " clear" : "") + (c.logo ? " logo" : ""));
    const Symbol symbol = QrSymbol(data, QrLevel::H);
    SymbolStyle style{c.foreground, c.background, c.transparent, c.logo ? SolidLogo({200, 30, 30}) : nullptr, {}};
    ImageOptions options;
    options.scale = 6;
    ASSERT_TRUE(ApplyStyle(symbol, style, options).Ok());
    std::string bytes;
    ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName(c.format), options, bytes).Ok());
    const QImage image = QImage::fromData(QByteArray::fromStdString(bytes));
    ASSERT_FALSE(image.isNull());
    // The finder's corner module is dark; the quiet zone is the background.
    const int corner = options.quietZone * options.scale + 2;
    EXPECT_TRUE(Near(image.pixel(corner, corner), c.foreground, 255, c.tolerance)) << std::hex << image.pixel(corner, corner);
    const QRgb quiet = image.pixel(1, 1);
    if (c.keepsAlpha) EXPECT_EQ(qAlpha(quiet), 0);
    else EXPECT_TRUE(Near(quiet, c.transparent ? White : c.background, 255, c.tolerance)) << std::hex << quiet;
    if (c.logo) {
      const int middle = image.width() / 2;
      EXPECT_TRUE(Near(image.pixel(middle, middle), {200, 30, 30}, 255, c.format == "gif" ? 26 : c.tolerance + 1));
    }
    EXPECT_EQ(DecodeOnWhite(Pixels(image)), data);
  }
}

// The vector formats draw the modules in the colours, the background only
// when there is one, and the logo's pad over them.
TEST(Style, VectorFormatsDrawTheColoursAndThePad) {
  const std::string data = "https://example.com/vector";
  const Symbol symbol = QrSymbol(data, QrLevel::H);
  ImageOptions options;
  ASSERT_TRUE(ApplyStyle(symbol, {Navy, White, true, SolidLogo(Navy), {}}, options).Ok());
  std::string svg, pdf;
  ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName("svg"), options, svg).Ok());
  EXPECT_NE(svg.find("<path fill=\"#1a237e\""), std::string::npos);
  EXPECT_EQ(svg.find("<rect"), std::string::npos);
  EXPECT_NE(svg.find("<image x=\""), std::string::npos);
  ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName("pdf"), options, pdf).Ok());
  TempFolder folder;
  WriteBytes(folder.File("styled.pdf"), pdf);
  const std::vector<GreyImage> pages = RenderPdfPages(folder.File("styled.pdf"), 300);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(DecodeImage(pages[0].pixels.data(), pages[0].width, pages[0].height, DecodeFormat::QrCode), data);
}

// At the largest pad each level allows at versions 1, 10 and 40, both
// decoders read the symbol with a dark logo; one step above is refused.
TEST(Style, LargestLogoDecodesWithBothDecodersAndOneStepAboveIsRefused) {
  for (const int version : {1, 10, 40})
    for (const QrLevelRow& row : QrLevels) {
      SCOPED_TRACE("version " + std::to_string(version) + " level " + row.letter);
      const Symbol symbol = QrSymbol("HELLO", row.level, version);
      ASSERT_EQ(symbol.version, version);
      const int largest = LargestLogoPad(version, row.level);
      if (largest < MinLogoPad) {
        ImageOptions options;
        EXPECT_EQ(ApplyStyle(symbol, {Black, White, false, SolidLogo(Black), {}}, options).failure, LogoFailure::NoRoom);
        continue;
      }
      const double side = qr::SideOf(version);
      for (const int pad : {largest, largest + 2}) {
        ImageOptions options;
        options.scale = version == 40 ? 2 : 4;
        const LogoFit fit = ApplyStyle(symbol, {Black, White, false, SolidLogo({200, 30, 30}), (pad + 0.5) / side}, options);
        EXPECT_EQ(fit.damage.padSide, pad);
        if (pad > largest) {
          EXPECT_EQ(fit.failure, LogoFailure::TooLarge);
          EXPECT_EQ(fit.largestSide, largest);
          continue;
        }
        ASSERT_TRUE(fit.Ok());
        EXPECT_EQ(DecodeOnWhite(RenderStyledSymbol(symbol.matrix, options)), symbol.data);
      }
    }
}

// A logo is a wish the symbol grows to meet: with no version chosen the
// symbol takes the smallest version whose bound allows the share asked
// (one version less refuses it), nothing of the symbol is drawn over the
// logo, and both decoders read it. A version chosen stays, and refuses.
TEST(Style, ALogoGrowsTheSymbolToItsSizeWithNothingDrawnOverIt) {
  const std::string v7 = "https://example.com/" + std::string(40, 'q');  // 60 bytes: version 7 at H
  constexpr Rgb Red{200, 30, 30};
  const struct {
    std::string data;
    std::optional<double> share;
    int chosenVersion;
    int version, pad;  // 0, 0: refused
  } cases[] = {
      {"hello world", std::nullopt, 0, 2, 5},  // 22 % of 25 modules
      {"hello world", 0.3, 0, 6, 13},  // 12.3 of 41 modules: the nearest odd side
      {"hello world", LargestLogoShare, 0, 2, 5},
      {"hello world", 0.3, 2, 0, 0},
      {"hello", std::nullopt, 1, 1, 3},  // a chosen version takes the largest below the default
      {v7, std::nullopt, 0, 7, 9},             // the centre alignment pattern goes under the pad
      {v7, 0.25, 0, 7, 11},
      {"hello world", 0.5, 0, 0, 0},           // no version spares half its side
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.data.substr(0, 12) + " share " + std::to_string(c.share.value_or(0)) + " version " +
                 std::to_string(c.chosenVersion));
    SymbolRequest request;
    request.data = c.data;
    request.level = QrLevel::H;
    request.version = c.chosenVersion;
    const SymbolStyle style{Black, White, false, SolidLogo(Red), c.share};
    const SymbolResult made = MakeStyledSymbol(request, style);
    ASSERT_TRUE(made.Ok());
    ImageOptions options;
    options.scale = 4;
    const LogoFit fit = ApplyStyle(made.symbol, style, options);
    if (c.version == 0) {
      EXPECT_EQ(fit.failure, LogoFailure::TooLarge);
      continue;
    }
    ASSERT_TRUE(fit.Ok());
    EXPECT_EQ(made.symbol.version, c.version);
    EXPECT_EQ(fit.damage.padSide, c.pad);
    // Grown for the logo, not the data: one version less does not carry it.
    request.version = 0;
    if (c.chosenVersion == 0 && c.version > MakeSymbol(request).symbol.version) {
      ImageOptions smaller;
      request.version = c.version - 1;
      SymbolStyle asked = style;
      asked.logoShare = c.share.value_or(DefaultLogoShare);
      EXPECT_FALSE(ApplyStyle(MakeSymbol(request).symbol, asked, smaller).Ok());
    }
    const RgbaImage image = RenderStyledSymbol(made.symbol.matrix, options);
    // The pad's middle is logo, not a module drawn over it.
    const int middle = (options.quietZone * 2 + made.symbol.matrix.Columns()) * options.scale / 2;
    const uint8_t* centre = &image.pixels[(static_cast<size_t>(middle) * image.width + middle) * 4];
    EXPECT_EQ((Rgb{centre[0], centre[1], centre[2]}), Red);
    EXPECT_EQ(DecodeOnWhite(image), c.data);
  }
}

TEST(Style, ContrastBelowThreeToOneAndInvertedColoursAreRefusedUnlessAllowed) {
  const struct {
    Rgb foreground, background;
    bool transparent;
    ContrastAllowance allowed;
    StyleFailure expected;
    double ratio;
  } cases[] = {
      {Black, White, false, {}, StyleFailure::None, 21.0},
      {Navy, Cream, false, {}, StyleFailure::None, 12.47},
      // #767676 is the familiar 4.54:1 grey; #959595 on white is just under
      // 3:1 and #949494 just over.
      {{0x76, 0x76, 0x76}, White, false, {}, StyleFailure::None, 4.54},
      {{0x95, 0x95, 0x95}, White, false, {}, StyleFailure::LowContrast, 3.00},
      {{0x94, 0x94, 0x94}, White, false, {}, StyleFailure::None, 3.03},
      {{0x95, 0x95, 0x95}, White, false, {true, false}, StyleFailure::None, 3.00},
      {White, Black, false, {}, StyleFailure::Inverted, 21.0},
      {White, Black, false, {false, true}, StyleFailure::None, 21.0},
      // A clear background is judged as white paper.
      {{0xee, 0xee, 0xee}, Black, true, {}, StyleFailure::LowContrast, 1.16},
  };
  for (const auto& c : cases) {
    const StyleCheck check = CheckContrast({c.foreground, c.background, c.transparent, nullptr, {}}, c.allowed);
    SCOPED_TRACE(check.subject);
    EXPECT_EQ(check.failure, c.expected);
    EXPECT_NEAR(check.ratio, c.ratio, 0.01);
  }
}

}  // namespace
