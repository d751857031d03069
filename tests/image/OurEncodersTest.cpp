#include <gtest/gtest.h>

#include <QImageReader>
#include <memory>

#include "image/ImageWriters.h"
#include "image/SymbolImage.h"
#include "datamatrix/DmEncoder.h"
#include "qr/QrCodeEncoder.h"
#include "tests/image/TestSymbols.h"

namespace {

std::unique_ptr<CQrCodeEncoder> EncodeQr(const std::string& data, int minimumVersion = 0) {
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->Version = minimumVersion;
  EXPECT_EQ(encoder->EncodeData(data.data(), static_cast<int32_t>(data.size())), 0);
  return encoder;
}

TEST(OurEncoders, NothingEncodedYetIsNoSymbol) {
  const auto encoder = std::make_unique<CQrCodeEncoder>();
  EXPECT_TRUE(ModuleMatrix::FromQr(*encoder).Empty());
}

TEST(OurEncoders, QrMatrixIsTheEncodersModules) {
  for (const int version : {1, 7, 40}) {
    const auto encoder = EncodeQr("Quillet", version);
    const ModuleMatrix matrix = ModuleMatrix::FromQr(*encoder);
    ASSERT_EQ(matrix.Columns(), 17 + 4 * encoder->Version);
    ASSERT_EQ(matrix.Rows(), matrix.Columns());
    for (int x = 0; x < matrix.Columns(); ++x)
      for (int y = 0; y < matrix.Rows(); ++y)
        ASSERT_EQ(matrix.IsDark(x, y), encoder->Modules[x * 177 + y] == 1) << x << "," << y;
  }
}

TEST(OurEncoders, Version1AtScale4IsSaved100SquareWithFirstDarkPixelAt8_8) {
  const auto encoder = EncodeQr(std::string("\x01\x10", 2) + "CARD:N:a;;");
  ASSERT_EQ(encoder->Version, 1);
  ScratchFolder folder;
  ASSERT_TRUE(SaveSymbolFile(ModuleMatrix::FromQr(*encoder), 4, folder.Path("v1.png")).ok);
  const QImage image = QImage(folder.Path("v1.png")).convertToFormat(QImage::Format_Grayscale8);
  ASSERT_EQ(image.size(), QSize(100, 100));
  int first = -1;
  for (int i = 0; i < 100 * 100 && first < 0; ++i)
    if (image.constScanLine(i / 100)[i % 100] < 128) first = i;
  EXPECT_EQ(first, 8 * 100 + 8);
}

// Our QR symbol saved in every format decodes to the bytes given to the encoder.
TEST(OurEncoders, QrSavedInEveryFormatDecodes) {
  const std::string data = std::string("\x01\x10", 2) + "CUSTOM:TEXT:hello;;";
  const ModuleMatrix matrix = ModuleMatrix::FromQr(*EncodeQr(data));
  ScratchFolder folder;
  for (const char* extension : {"bmp", "jpg", "gif", "png", "svg"}) {
    SCOPED_TRACE(extension);
    const QString path = folder.Path(QString("qr.") + extension);
    ASSERT_TRUE(SaveSymbolFile(matrix, 4, path).ok);
    const QImage image = QString(extension) == "svg" ? RasteriseSvg(ReadFile(path)).value_or(QImage()) : QImage(path);
    ASSERT_FALSE(image.isNull());
    const auto pixels = GreyPixels(image);
    EXPECT_EQ(DecodeImage(pixels.data(), image.width(), image.height(), DecodeFormat::QrCode), data);
  }
}

std::unique_ptr<DmModuleGrid> EncodeDm(const std::string& text) {
  DmEncodeParams params;
  int size = DmSmallestSquare;
  auto grid = DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size);
  EXPECT_NE(grid, nullptr);
  return grid;
}

TEST(OurEncoders, DmMatrixIsTheGridWithZeroDark) {
  const auto grid = EncodeDm("Quillet Data Matrix");
  const ModuleMatrix matrix = ModuleMatrix::FromDm(*grid);
  ASSERT_EQ(matrix.Columns(), grid->Columns());
  ASSERT_EQ(matrix.Rows(), grid->Rows());
  for (int x = 0; x < matrix.Columns(); ++x)
    for (int y = 0; y < matrix.Rows(); ++y) ASSERT_EQ(matrix.IsDark(x, y), grid->At(x, y) == 0) << x << "," << y;
}

TEST(OurEncoders, Dm10x10AtScale1IsSaved14Square) {
  const auto grid = EncodeDm("123");
  ASSERT_EQ(grid->Rows(), 10);
  ScratchFolder folder;
  ASSERT_TRUE(SaveSymbolFile(ModuleMatrix::FromDm(*grid), 1, folder.Path("dm.bmp")).ok);
  EXPECT_EQ(QImage(folder.Path("dm.bmp")).size(), QSize(14, 14));
}

TEST(OurEncoders, DmSavedInEveryFormatDecodes) {
  const std::string text = "Quillet DM 2024";
  const ModuleMatrix matrix = ModuleMatrix::FromDm(*EncodeDm(text));
  ScratchFolder folder;
  for (const char* extension : {"bmp", "jpg", "gif", "png", "svg"}) {
    SCOPED_TRACE(extension);
    const QString path = folder.Path(QString("dm.") + extension);
    ASSERT_TRUE(SaveSymbolFile(matrix, 4, path).ok);
    const QImage image = QString(extension) == "svg" ? RasteriseSvg(ReadFile(path)).value_or(QImage()) : QImage(path);
    ASSERT_FALSE(image.isNull());
    const auto pixels = GreyPixels(image);
    EXPECT_EQ(DecodeImage(pixels.data(), image.width(), image.height(), DecodeFormat::DataMatrix), text);
  }
}

}  // namespace
