// The logo's pad follows the logo: its box keeps the logo's aspect ratio,
// and the shape pad clears only the modules under the logo's opaque pixels
// and a margin of one. Both decoders read what is drawn, and the bound
// counts the modules cleared, so that a round logo may be larger than a
// square one at the same level.
#include <gtest/gtest.h>

#include <cmath>

#include "image/LogoMask.h"
#include "image/StyledImage.h"
#include "image/StyledSymbol.h"
#include "qr/QrStandard.h"
#include "tests/support/Decode.h"
#include "tests/support/Poppler.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

constexpr Rgb Red{200, 30, 30};

// `width` x `height` pixels of red where `inside` holds, clear elsewhere.
std::shared_ptr<const RgbaImage> Logo(int width, int height, const std::function<bool(double, double)>& inside) {
  RgbaImage logo{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t alpha = inside((x + 0.5) / width, (y + 0.5) / height) ? 255 : 0;
      logo.pixels.insert(logo.pixels.end(), {Red.red, Red.green, Red.blue, alpha});
    }
  return std::make_shared<const RgbaImage>(std::move(logo));
}

std::shared_ptr<const RgbaImage> RoundLogo() {
  return Logo(64, 64, [](double x, double y) { return std::hypot(x - 0.5, y - 0.5) <= 0.5; });
}
std::shared_ptr<const RgbaImage> OpaqueLogo(int width, int height) {
  return Logo(width, height, [](double, double) { return true; });
}

SymbolStyle WithLogo(std::shared_ptr<const RgbaImage> logo, LogoPad pad, std::optional<double> share = std::nullopt) {
  SymbolStyle style;
  style.logo = std::move(logo);
  style.logoPad = pad;
  style.logoShare = share;
  return style;
}

std::optional<std::string> DecodeOnWhite(const RgbaImage& image) {
  const std::vector<uint8_t> grey = CompositeGrey(image, White);
  return DecodeImage(grey.data(), image.width, image.height, DecodeFormat::QrCode, true);
}

// The box follows the logo: a 3:1 banner gets a wide, short pad, a tall
// logo a narrow, high one, and a logo beyond 4:1 a pad of 4:1.
TEST(LogoPad, TheBoxKeepsTheLogosAspectRatioUpToFourToOne) {
  const struct {
    const char* name;
    int logoWidth, logoHeight, longSide;
    int width, height;
  } cases[] = {
      {"square", 8, 8, 9, 9, 9},    {"3:1 banner", 90, 30, 21, 21, 7}, {"1:3 tall", 30, 90, 21, 7, 21},
      {"8:1 banner", 160, 20, 21, 21, 5}, {"small banner", 90, 30, 5, 5, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PadMask mask = LogoPadMask(WithLogo(OpaqueLogo(c.logoWidth, c.logoHeight), LogoPad::Shape), c.longSide);
    EXPECT_EQ(mask.width, c.width);
    EXPECT_EQ(mask.height, c.height);
    EXPECT_EQ(mask.Count(), c.width * c.height);  // an opaque logo is its whole box
  }
}

// The shape pad clears fewer modules than its box where the logo is clear
// (a round logo leaves the box's corners), and the whole box for an opaque
// one; the square pad always clears the box.
TEST(LogoPad, TheShapePadClearsOnlyWhatTheOutlineNeeds) {
  const struct {
    const char* name;
    std::shared_ptr<const RgbaImage> logo;
    int longSide;
    bool fewer;
  } cases[] = {
      {"round, 9: the margin fills the box", RoundLogo(), 9, false},
      {"round, 13", RoundLogo(), 13, true},
      {"round, 21", RoundLogo(), 21, true},
      {"opaque, 9", OpaqueLogo(8, 8), 9, false}, {"opaque banner, 21", OpaqueLogo(90, 30), 21, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PadMask shape = LogoPadMask(WithLogo(c.logo, LogoPad::Shape), c.longSide);
    const PadMask square = LogoPadMask(WithLogo(c.logo, LogoPad::Square), c.longSide);
    EXPECT_EQ(square.Count(), square.width * square.height);
    EXPECT_EQ(shape.width, square.width);
    EXPECT_EQ(shape.height, square.height);
    if (c.fewer) {
      EXPECT_LT(shape.Count(), square.Count());
      EXPECT_FALSE(shape.Clears(0, 0));  // a corner the disc stays more than a module away from
      EXPECT_TRUE(shape.Clears(shape.width / 2, 0));  // the margin around the disc's top
    } else {
      EXPECT_EQ(shape.Count(), square.Count());
    }
    // The bound counts the modules cleared: the shape destroys no more.
    const LogoDamage shaped = LogoPadDamage(10, QrLevel::H, shape), boxed = LogoPadDamage(10, QrLevel::H, square);
    EXPECT_EQ(shaped.cleared, shape.Count());
    for (size_t b = 0; b < boxed.blocks.size(); ++b) EXPECT_LE(shaped.blocks[b].destroyed, boxed.blocks[b].destroyed);
  }
}

// A round logo's largest pad with the shape pad is at least the square
// pad's, and larger where the box's corners are what stopped it.
TEST(LogoPad, ARoundLogoMayBeLargerWithTheShapePad) {
  bool larger = false;
  for (const int version : {2, 5, 10, 25, 40})
    for (const QrLevel level : {QrLevel::M, QrLevel::H}) {
      SCOPED_TRACE("version " + std::to_string(version) + " level " + QrLevelLetter(level));
      const double shape = LargestLogoShareOf(version, level, WithLogo(RoundLogo(), LogoPad::Shape));
      const double square = LargestLogoShareOf(version, level, WithLogo(RoundLogo(), LogoPad::Square));
      EXPECT_GE(shape, square);
      larger = larger || shape > square;
    }
  EXPECT_TRUE(larger);
}

// Both decoders read the symbol as written, at the default size and the
// largest, in pixels and in a PDF; nothing of the logo is drawn on a module
// the pad leaves, so every module outside the cleared ones is as encoded.
TEST(LogoPad, RoundBannerAndSquarePadsDecodeAndLeaveTheOtherModulesAlone) {
  const std::string data = "https://example.com/logo-pad";
  const struct {
    const char* name;
    std::shared_ptr<const RgbaImage> logo;
    LogoPad pad;
    std::optional<double> share;
  } cases[] = {
      {"round, shape", RoundLogo(), LogoPad::Shape, std::nullopt},
      {"round, shape, largest", RoundLogo(), LogoPad::Shape, LargestLogoShare},
      {"round, square", RoundLogo(), LogoPad::Square, std::nullopt},
      {"3:1 banner", Logo(90, 30, [](double x, double y) { return x > 0.05 && x < 0.95 && y > 0.1 && y < 0.9; }),
       LogoPad::Shape, 0.3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SymbolRequest request;
    request.data = data;
    request.level = QrLevel::H;
    const SymbolStyle style = WithLogo(c.logo, c.pad, c.share);
    const SymbolResult made = MakeStyledSymbol(request, style);
    ASSERT_TRUE(made.Ok());
    ImageOptions options;
    options.scale = 4;
    const LogoFit fit = ApplyStyle(made.symbol, style, options);
    ASSERT_TRUE(fit.Ok());
    const LogoPlacement& placement = *options.logo;
    EXPECT_EQ(fit.damage.cleared, placement.mask.Count());
    const RgbaImage image = RenderStyledSymbol(made.symbol.matrix, options);
    EXPECT_EQ(DecodeOnWhite(image), data);
    const ModuleMatrix& matrix = made.symbol.matrix;
    int kept = 0;
    for (int y = 0; y < matrix.Rows(); ++y)
      for (int x = 0; x < matrix.Columns(); ++x) {
        const int u = x - placement.column, v = y - placement.row;
        if (u >= 0 && v >= 0 && u < placement.mask.width && v < placement.mask.height && placement.mask.Clears(u, v))
          continue;
        const int cx = (x + options.quietZone) * 4 + 2, cy = (y + options.quietZone) * 4 + 2;
        const uint8_t red = image.pixels[(static_cast<size_t>(cy) * image.width + cx) * 4];
        kept += (red == 0) == matrix.IsDark(x, y);
      }
    EXPECT_EQ(kept, matrix.Columns() * matrix.Rows() - placement.mask.Count());
    std::string pdf;
    ASSERT_TRUE(EncodeImage(matrix, *FindFormatByName("pdf"), options, pdf).Ok());
    TempFolder folder;
    WriteBytes(folder.File("logo.pdf"), pdf);
    const std::vector<GreyImage> pages = RenderPdfPages(folder.File("logo.pdf"), 300);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(DecodeImage(pages[0].pixels.data(), pages[0].width, pages[0].height, DecodeFormat::QrCode), data);
  }
}

}  // namespace
