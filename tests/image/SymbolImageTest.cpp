#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "datamatrix/DmEncoder.h"
#include "image/ImageWriters.h"
#include "image/SymbolImage.h"
#include "qr/QrCodeEncoder.h"
#include "tests/image/TestSymbols.h"
#include "tests/support/Decode.h"

namespace {

ModuleMatrix OurQr(const std::string& data) {
  const auto encoder = std::make_unique<CQrCodeEncoder>();
  EXPECT_EQ(encoder->EncodeData(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int32_t>(data.size())), 0);
  return ModuleMatrix::FromQr(*encoder);
}

ModuleMatrix OurDm(const std::string& text) {
  DmEncodeParams params;
  int size = DmSmallestSquare;
  const auto grid = DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size);
  return grid ? ModuleMatrix::FromDm(*grid) : ModuleMatrix();
}

// Pixels further than `tolerance` from the rule: a pixel is black exactly when
// it falls in a dark module's square, counted from the quiet zone's corner.
int WrongPixels(const QImage& image, const ModuleMatrix& matrix, int scale, int quiet, int tolerance) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  int wrong = 0;
  for (int py = 0; py < grey.height(); ++py)
    for (int px = 0; px < grey.width(); ++px) {
      const int x = px / scale - quiet, y = py / scale - quiet;
      const bool dark = x >= 0 && y >= 0 && x < matrix.Columns() && y < matrix.Rows() && matrix.IsDark(x, y);
      wrong += std::abs(grey.constScanLine(py)[px] - (dark ? 0 : 255)) > tolerance;
    }
  return wrong;
}

TEST(SymbolImage, PixelsAreTheDarkModulesSquares) {
  const int cases[][4] = {{21, 21, 1, 0}, {18, 8, 5, 2}, {10, 10, 7, 1}, {177, 177, 16, 2}};  // columns, rows, scale, quiet
  for (const auto& [columns, rows, scale, quiet] : cases) {
    const ModuleMatrix matrix = PatternMatrix(columns, rows, columns + scale);
    const QImage image = RenderSymbol(matrix, scale, quiet);
    ASSERT_EQ(image.size(), QSize(columns + 2 * quiet, rows + 2 * quiet) * scale);
    EXPECT_EQ(WrongPixels(image, matrix, scale, quiet, 0), 0) << columns << "x" << rows << " scale " << scale;
  }
}

// A version 1 QR symbol at scale 4 is 100 pixels square, dark from (8, 8) on;
// a 10x10 Data Matrix at scale 1 is 14 square, dark from (2, 2) on.
TEST(SymbolImage, ExamplesHaveTheirSizeAndFirstDarkPixel) {
  const std::tuple<ModuleMatrix, int, int, int> cases[] = {
      {OurQr(std::string("\x01\x10", 2) + "CARD:N:a;;"), 21, 4, 100}, {OurDm("123"), 10, 1, 14}};
  for (const auto& [matrix, modules, scale, side] : cases) {
    ASSERT_EQ(matrix.Columns(), modules);
    const QImage image = RenderSymbol(matrix, scale, SavedQuietZoneModules);
    ASSERT_EQ(image.size(), QSize(side, side));
    int first = 0;
    while (first < side * side && qGray(image.pixel(first % side, first / side)) != 0) ++first;
    EXPECT_EQ(first, 2 * scale * side + 2 * scale);
  }
}

// Our SVG drawn back, if it is one path of runs "M x y h w v1 h-w z" with crisp edges.
QImage RasteriseSvg(const QByteArray& svg) {
  const QString text = QString::fromUtf8(svg);
  const auto head =
      QRegularExpression(R"re(width="(\d+)" height="(\d+)" viewBox="0 0 (\d+) \d+" shape-rendering="crispEdges")re").match(text);
  const auto path = QRegularExpression(R"re(<path fill="#000000" d="((?:M\d+ \d+h(\d+)v1h-\2z)*)"/>)re").match(text);
  if (!head.hasMatch() || !path.hasMatch() || text.count("<path") != 1) return {};
  const int scale = head.captured(1).toInt() / head.captured(3).toInt();
  QImage image(head.captured(1).toInt(), head.captured(2).toInt(), QImage::Format_Grayscale8);
  image.fill(255);
  for (auto it = QRegularExpression(R"(M(\d+) (\d+)h(\d+))").globalMatch(path.captured(1)); it.hasNext();) {
    const auto m = it.next();
    const int x = m.captured(1).toInt(), y = m.captured(2).toInt(), width = m.captured(3).toInt();
    for (int py = y * scale; py < (y + 1) * scale; ++py)
      for (int px = x * scale; px < (x + width) * scale; ++px) image.scanLine(py)[px] = 0;
  }
  return image;
}

// Our symbols saved in every format read back as the symbol and decode with zxing-cpp.
// Scale 3 gives odd widths, where row padding goes wrong.
TEST(SymbolImage, EverySavedFormatReadsBackAndDecodes) {
  QTemporaryDir dir;
  const std::string qrData = std::string("\x01\x10", 2) + "CUSTOM:TEXT:hello;;", dmText = "Quillet DM 2024";
  const std::tuple<DecodeFormat, ModuleMatrix, std::string> symbols[] = {
      {DecodeFormat::QrCode, OurQr(qrData), qrData}, {DecodeFormat::DataMatrix, OurDm(dmText), dmText}};
  for (const auto& [format, matrix, text] : symbols)
    for (const QString extension : {"bmp", "png", "gif", "jpg", "svg"}) {
      SCOPED_TRACE(extension.toStdString() + " " + text);
      const QString path = dir.filePath("symbol." + extension);
      const SaveResult result = SaveSymbolFile(matrix, 3, path);
      ASSERT_TRUE(result.ok) << result.error.toStdString();
      const QImage image = extension == "svg" ? RasteriseSvg(ReadFile(path)) : QImage(path);
      ASSERT_EQ(image.size(), QSize(matrix.Columns() + 4, matrix.Rows() + 4) * 3);
      if (extension == "jpg") {  // close to black and white: only ringing at edges, no pixel on the wrong side
        EXPECT_EQ(WrongPixels(image, matrix, 3, SavedQuietZoneModules, 127), 0);
        EXPECT_LT(WrongPixels(image, matrix, 3, SavedQuietZoneModules, 80), image.width() * image.height() / 20);
      } else {
        EXPECT_EQ(WrongPixels(image, matrix, 3, SavedQuietZoneModules, 0), 0);
      }
      std::vector<uint8_t> pixels;
      const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
      for (int y = 0; y < grey.height(); ++y)
        pixels.insert(pixels.end(), grey.constScanLine(y), grey.constScanLine(y) + grey.width());
      EXPECT_EQ(DecodeImage(pixels.data(), grey.width(), grey.height(), format), text);
    }
}

}  // namespace
