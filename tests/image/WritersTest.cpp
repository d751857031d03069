// Every writer's bytes read back by Qt's image readers (an independent
// decoder of each format) as exactly the saving rule's pixels, and the
// resolution where each format records it. The terminal drawings are read
// back by the command line's tests.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "cli/Words.h"
#include "image/ImageFormats.h"
#include "tests/support/Decode.h"
#include "tests/support/Symbols.h"

using namespace quillet;

namespace {

std::string Encoded(const ModuleMatrix& matrix, std::string_view format, const ImageOptions& options) {
  std::string bytes;
  const ImageResult result = EncodeImage(matrix, *FindFormatByName(format), options, bytes);
  EXPECT_TRUE(result.Ok()) << DescribeImageFailure(result);
  return bytes;
}

// Our SVG drawn back, if it is one path of runs "M x y h w v1 h-w z" over a
// white rectangle, in module units.
GreyImage RasteriseSvg(const std::string& svg, int scale) {
  const QString text = QString::fromStdString(svg);
  const auto head = QRegularExpression(R"re(viewBox="0 0 (\d+) (\d+)" shape-rendering="crispEdges")re").match(text);
  const auto path = QRegularExpression(R"re(<path fill="#000000" d="((?:M\d+ \d+h(\d+)v1h-\2z)*)"/>)re").match(text);
  if (!head.hasMatch() || !path.hasMatch() || text.count("<path") != 1) return {};
  GreyImage image{head.captured(1).toInt() * scale, head.captured(2).toInt() * scale, {}};
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 255);
  for (auto it = QRegularExpression(R"(M(\d+) (\d+)h(\d+))").globalMatch(path.captured(1)); it.hasNext();) {
    const auto m = it.next();
    const int x = m.captured(1).toInt(), y = m.captured(2).toInt(), width = m.captured(3).toInt();
    for (int py = y * scale; py < (y + 1) * scale; ++py)
      std::fill_n(image.pixels.begin() + py * image.width + x * scale, width * scale, 0);
  }
  return image;
}

GreyImage ReadBack(const std::string& bytes, std::string_view format, int scale) {
  if (format == "svg") return RasteriseSvg(bytes, scale);
  const QImage image = QImage::fromData(QByteArray::fromStdString(bytes)).convertToFormat(QImage::Format_Grayscale8);
  GreyImage grey{image.width(), image.height(), {}};
  for (int y = 0; y < image.height(); ++y)
    grey.pixels.insert(grey.pixels.end(), image.constScanLine(y), image.constScanLine(y) + image.width());
  return grey;
}

// Pixels further than `tolerance` from the rule: a pixel is black exactly when
// it falls in a dark module's square, counted from the quiet zone's corner.
int WrongPixels(const GreyImage& grey, const ModuleMatrix& matrix, const ImageOptions& o, int tolerance) {
  int wrong = 0;
  for (int py = 0; py < grey.height; ++py)
    for (int px = 0; px < grey.width; ++px) {
      const int x = px / o.scale - o.quietZone, y = py / o.scale - o.quietZone;
      const bool dark = x >= 0 && y >= 0 && x < matrix.Columns() && y < matrix.Rows() && matrix.IsDark(x, y);
      wrong += std::abs(grey.pixels[py * grey.width + px] - (dark ? 0 : 255)) > tolerance;
    }
  return wrong;
}

constexpr std::string_view PictureFormats[] = {"bmp", "jpg", "gif", "png", "svg"};

// Odd widths (row padding of BMP, bit packing of PNG), rectangles, no quiet
// zone and the largest symbol at the largest scale. JPEG is close to black
// and white: only ringing at edges, no pixel on the wrong side.
TEST(Writers, EveryFormatHoldsExactlyTheRulePixels) {
  const int cases[][4] = {{21, 21, 1, 0}, {18, 8, 5, 2}, {10, 10, 7, 1}, {25, 25, 3, 2}, {177, 177, 16, 2}};
  for (const auto& [columns, rows, scale, quiet] : cases)
    for (std::string_view format : PictureFormats) {
      SCOPED_TRACE(testing::Message() << format << " " << columns << "x" << rows << " scale " << scale << " q " << quiet);
      const ModuleMatrix matrix = PatternMatrix(columns, rows, columns + scale);
      const ImageOptions options{scale, quiet};
      const GreyImage image = ReadBack(Encoded(matrix, format, options), format, scale);
      ASSERT_EQ(std::make_pair(image.width, image.height),
                std::make_pair((columns + 2 * quiet) * scale, (rows + 2 * quiet) * scale));
      EXPECT_EQ(WrongPixels(image, matrix, options, format == "jpg" ? 127 : 0), 0);
      if (format == "jpg") {
        EXPECT_LT(WrongPixels(image, matrix, options, 80), image.width * image.height / 20);
      }
    }
}

// The dpi lands where each format records resolution; a PNG is one bit of
// grey a pixel, the smallest form of a two-level image.
TEST(Writers, ResolutionIsRecorded) {
  const ModuleMatrix matrix = PatternMatrix(21, 21, 7);
  for (const int dpi : {72, 96, 300, 600}) {
    SCOPED_TRACE(dpi);
    const int perMetre = static_cast<int>(std::lround(dpi / 0.0254));
    for (std::string_view format : {"png", "bmp"}) {
      const QImage image = QImage::fromData(QByteArray::fromStdString(Encoded(matrix, format, {4, 2, dpi})));
      EXPECT_EQ(std::make_pair(image.dotsPerMeterX(), image.dotsPerMeterY()), std::make_pair(perMetre, perMetre));
    }
    // JFIF keeps whole dots per inch: density unit 1, then X and Y.
    const std::string jpeg = Encoded(matrix, "jpg", {4, 2, dpi});
    const auto word = [&](int at) { return static_cast<uint8_t>(jpeg[at]) << 8 | static_cast<uint8_t>(jpeg[at + 1]); };
    ASSERT_EQ(jpeg.substr(6, 5), std::string("JFIF\0", 5));
    EXPECT_EQ(std::make_tuple(jpeg[13], word(14), word(16)), std::make_tuple(char(1), dpi, dpi));
  }
  const std::string png = Encoded(matrix, "png", ImageOptions{4});
  ASSERT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(std::make_pair(png[24], png[25]), std::make_pair('\1', '\0'));  // bit depth 1, grey
  // 25 modules of 4 pixels at 96 dpi are 100/96 inch; at the default 300 dpi 100/300.
  const std::string svg = Encoded(matrix, "svg", ImageOptions{4, 2, 96});
  EXPECT_NE(svg.find(R"(width="26.458mm" height="26.458mm" viewBox="0 0 25 25")"), std::string::npos) << svg;
  const std::string byDefault = Encoded(matrix, "svg", ImageOptions{4});
  EXPECT_NE(byDefault.find(R"(width="8.467mm" height="8.467mm")"), std::string::npos) << byDefault;
}

}  // namespace
