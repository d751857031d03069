// Every writer's bytes read back by Qt's image readers (an independent
// decoder of each format) as exactly the saving rule's pixels, and real
// symbols in every format decode with the real decoders.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <tuple>

#include "image/ImageFormats.h"
#include "tests/support/Decode.h"
#include "tests/support/Symbols.h"

namespace {

ImageOptions Options(int scale, int quiet = SavedQuietZoneModules, int dpi = DefaultDpi) {
  ImageOptions options;
  options.scale = scale;
  options.quietZone = quiet;
  options.dpi = dpi;
  return options;
}

std::string Encoded(const ModuleMatrix& matrix, std::string_view format, const ImageOptions& options) {
  std::string bytes;
  const ImageResult result = EncodeImage(matrix, *FindFormatByName(format), options, bytes);
  EXPECT_TRUE(result.Ok()) << DescribeImageFailure(result);
  return bytes;
}

// Our SVG drawn back, if it is one path of runs "M x y h w v1 h-w z" over a
// white rectangle, in module units.
QImage RasteriseSvg(const std::string& svg, int scale) {
  const QString text = QString::fromStdString(svg);
  const auto head = QRegularExpression(R"re(viewBox="0 0 (\d+) (\d+)" shape-rendering="crispEdges")re").match(text);
  const auto path = QRegularExpression(R"re(<path fill="#000000" d="((?:M\d+ \d+h(\d+)v1h-\2z)*)"/>)re").match(text);
  if (!head.hasMatch() || !path.hasMatch() || text.count("<path") != 1) return {};
  QImage image(head.captured(1).toInt() * scale, head.captured(2).toInt() * scale, QImage::Format_Grayscale8);
  image.fill(255);
  for (auto it = QRegularExpression(R"(M(\d+) (\d+)h(\d+))").globalMatch(path.captured(1)); it.hasNext();) {
    const auto m = it.next();
    const int x = m.captured(1).toInt(), y = m.captured(2).toInt(), width = m.captured(3).toInt();
    for (int py = y * scale; py < (y + 1) * scale; ++py)
      for (int px = x * scale; px < (x + width) * scale; ++px) image.scanLine(py)[px] = 0;
  }
  return image;
}

QImage ReadBack(const std::string& bytes, std::string_view format, int scale) {
  if (format == "svg") return RasteriseSvg(bytes, scale);
  return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()))
      .convertToFormat(QImage::Format_Grayscale8);
}

// Pixels further than `tolerance` from the rule: a pixel is black exactly when
// it falls in a dark module's square, counted from the quiet zone's corner.
int WrongPixels(const QImage& grey, const ModuleMatrix& matrix, int scale, int quiet, int tolerance) {
  int wrong = 0;
  for (int py = 0; py < grey.height(); ++py)
    for (int px = 0; px < grey.width(); ++px) {
      const int x = px / scale - quiet, y = py / scale - quiet;
      const bool dark = x >= 0 && y >= 0 && x < matrix.Columns() && y < matrix.Rows() && matrix.IsDark(x, y);
      wrong += std::abs(grey.constScanLine(py)[px] - (dark ? 0 : 255)) > tolerance;
    }
  return wrong;
}

void ExpectRulePixels(const QImage& image, const ModuleMatrix& matrix, int scale, int quiet, std::string_view format) {
  ASSERT_EQ(image.size(), QSize(matrix.Columns() + 2 * quiet, matrix.Rows() + 2 * quiet) * scale);
  if (format == "jpg") {  // close to black and white: only ringing at edges, no pixel on the wrong side
    EXPECT_EQ(WrongPixels(image, matrix, scale, quiet, 127), 0);
    EXPECT_LT(WrongPixels(image, matrix, scale, quiet, 80), image.width() * image.height() / 20);
  } else {
    EXPECT_EQ(WrongPixels(image, matrix, scale, quiet, 0), 0);
  }
}

constexpr std::string_view PictureFormats[] = {"bmp", "jpg", "gif", "png", "svg"};

// Odd widths (row padding of BMP, bit packing of PNG), rectangles, no quiet
// zone and the largest symbol at the largest scale.
TEST(Writers, EveryFormatHoldsExactlyTheRulePixels) {
  const int cases[][4] = {{21, 21, 1, 0}, {18, 8, 5, 2}, {10, 10, 7, 1}, {25, 25, 3, 2}, {177, 177, 16, 2}};
  for (const auto& [columns, rows, scale, quiet] : cases)
    for (std::string_view format : PictureFormats) {
      SCOPED_TRACE(std::string(format) + " " + std::to_string(columns) + "x" + std::to_string(rows) + " scale " +
                   std::to_string(scale) + " quiet " + std::to_string(quiet));
      const ModuleMatrix matrix = PatternMatrix(columns, rows, columns + scale);
      ExpectRulePixels(ReadBack(Encoded(matrix, format, Options(scale, quiet)), format, scale), matrix, scale, quiet,
                       format);
    }
}

// Our symbols in every format decode with zxing-cpp and zbar or libdmtx. A
// version 1 QR symbol at scale 4 is 100 pixels square, a 10x10 Data Matrix
// 56; both are dark from (8, 8) on, past the saved quiet zone.
TEST(Writers, RealSymbolsDecodeInEveryFormat) {
  const std::string qrData = std::string("\x01\x10", 2) + "CARD:N:a;;", dmText = "123";
  const std::tuple<DecodeFormat, ModuleMatrix, std::string, int> symbols[] = {
      {DecodeFormat::QrCode, OurQr(qrData), qrData, 100}, {DecodeFormat::DataMatrix, OurDm(dmText), dmText, 56}};
  for (const auto& [decodeFormat, matrix, text, side] : symbols)
    for (std::string_view format : PictureFormats) {
      SCOPED_TRACE(std::string(format) + " " + text);
      const QImage grey = ReadBack(Encoded(matrix, format, Options(4)), format, 4);
      ASSERT_EQ(grey.size(), QSize(side, side));
      std::vector<uint8_t> pixels;
      for (int y = 0; y < grey.height(); ++y)
        pixels.insert(pixels.end(), grey.constScanLine(y), grey.constScanLine(y) + grey.width());
      EXPECT_EQ(std::ranges::find_if(pixels, [](uint8_t p) { return p < 128; }) - pixels.begin(), 8 * side + 8);
      EXPECT_EQ(DecodeImage(pixels.data(), grey.width(), grey.height(), decodeFormat), text);
    }
}

// The terminal drawing: two module rows a line, light modules drawn, the
// quiet zone included; read back into modules it decodes.
TEST(Writers, HalfBlockTextDecodesWithLightAsDark) {
  const std::string data = std::string("\x01\x10", 2) + "CARD:N:terminal;;";
  const ModuleMatrix matrix = OurQr(data);
  std::vector<std::string> light;  // [y][x]: '1' light
  std::istringstream text(Encoded(matrix, "utf8", Options(4)));
  for (std::string line; std::getline(text, line);) {
    std::string upper, lower;
    for (size_t at = 0; at < line.size(); at += line[at] == ' ' ? 1 : 3) {
      const std::string_view glyph = std::string_view(line).substr(at, line[at] == ' ' ? 1 : 3);
      upper += glyph == "\u2588" || glyph == "\u2580" ? '1' : '0';
      lower += glyph == "\u2588" || glyph == "\u2584" ? '1' : '0';
    }
    light.insert(light.end(), {upper, lower});
  }
  const size_t side = matrix.Columns() + 4;
  ASSERT_EQ(light.size(), side + 1);  // an odd side: the last half line stays dark
  EXPECT_EQ(light[0], std::string(side, '1'));
  EXPECT_EQ(light[side], std::string(side, '0'));
  const auto dark = [&](int x, int y) { return light[y + 2][x + 2] == '0'; };
  EXPECT_EQ(DecodeModules(matrix.Columns(), matrix.Rows(), dark, DecodeFormat::QrCode), data);
}

// The dpi lands where each format records resolution.
TEST(Writers, ResolutionIsRecorded) {
  const ModuleMatrix matrix = PatternMatrix(21, 21, 7);
  for (const int dpi : {72, 96, 300, 600}) {
    SCOPED_TRACE(dpi);
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    for (std::string_view format : {"png", "bmp"}) {
      const QImage image = QImage::fromData(QByteArray::fromStdString(Encoded(matrix, format, Options(4, 2, dpi))));
      EXPECT_EQ(image.dotsPerMeterX(), perMetre) << format;
      EXPECT_EQ(image.dotsPerMeterY(), perMetre) << format;
    }
    // JFIF keeps whole dots per inch: density unit 1, then X and Y.
    const std::string jpeg = Encoded(matrix, "jpg", Options(4, 2, dpi));
    ASSERT_EQ(jpeg.substr(6, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(jpeg[13], 1);
    EXPECT_EQ((static_cast<uint8_t>(jpeg[14]) << 8) | static_cast<uint8_t>(jpeg[15]), dpi);
    EXPECT_EQ((static_cast<uint8_t>(jpeg[16]) << 8) | static_cast<uint8_t>(jpeg[17]), dpi);
  }
  // 25 modules of 4 pixels at 96 dpi are 100/96 inch.
  const std::string svg = Encoded(matrix, "svg", Options(4));
  const std::string png = Encoded(matrix, "png", Options(4));
  EXPECT_EQ(png.substr(12, 4) + char(png[24] + '0') + char(png[25] + '0'), "IHDR10");  // one bit of grey a pixel
  EXPECT_NE(svg.find(R"(width="26.458mm" height="26.458mm" viewBox="0 0 25 25")"), std::string::npos) << svg;
}

TEST(Writers, RefuseWhatCannotBeDrawn) {
  const std::tuple<ModuleMatrix, ImageOptions, ImageFailure, std::string> cases[] = {
      {ModuleMatrix(), Options(4), ImageFailure::NoSymbol, "there is no symbol to save"},
      {PatternMatrix(21, 21, 5), Options(0), ImageFailure::BadScale, "scale 0 is outside 1 to 16"},
      {PatternMatrix(21, 21, 5), Options(17), ImageFailure::BadScale, "scale 17 is outside 1 to 16"},
      {PatternMatrix(21, 21, 5), Options(4, -1), ImageFailure::BadQuietZone, "quiet zone of -1 modules"},
      {PatternMatrix(21, 21, 5), Options(4, 2, 0), ImageFailure::BadDpi, "dpi 0 is outside"},
  };
  for (const auto& [matrix, options, failure, message] : cases)
    for (const ImageFormat& format : ImageFormats()) {
      std::string bytes;
      const ImageResult result = EncodeImage(matrix, format, options, bytes);
      EXPECT_EQ(result.failure, failure) << format.name;
      EXPECT_NE(DescribeImageFailure(result).find(message), std::string::npos) << DescribeImageFailure(result);
      EXPECT_TRUE(bytes.empty());
    }
}

}  // namespace
