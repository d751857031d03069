// Read-back verification: files that read back are reported so, with the
// decoder that read them; files that do not, or read as other bytes, are not.
#include <gtest/gtest.h>

#include "image/PrintFormats.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"
#include "verify/ReadBack.h"

using namespace quillet;

namespace {

const std::string QrPayload = "\x01\x10" "CARD:N:\xd5\xc5\xc8\xfd;M:13800138000;;";  // GBK name
const std::string DmPayload = "Serial 000123";

struct Subject {
  const char* name;
  ModuleMatrix matrix;
  Symbology symbology;
  std::string payload;
  const char* decoder;
};

std::vector<Subject> Subjects() {
  return {{"qr", OurQr(QrPayload), Symbology::QrCode, QrPayload, "zxing-cpp"},
          {"dm", OurDm(DmPayload), Symbology::DataMatrix, DmPayload, "libdmtx"}};
}

// Every file format of the table, as the program writes it, reads back, and
// not as another payload; a raster file cut to half its length does not.
TEST(ReadBack, EveryWrittenFormatReadsBackAndATruncatedOneDoesNot) {
  TempFolder folder;
  const ImageOptions options{3, 2, 150};
  for (const ImageFormat& format : ImageFormats()) {
    if (format.extensions.empty()) continue;
    for (const Subject& s : Subjects()) {
      const std::string path = folder.File(std::string(s.name) + std::string(format.extensions.front()));
      SCOPED_TRACE(path);
      ASSERT_TRUE(SaveImageFile(s.matrix, options, path).Ok());
      const ReadBackResult result = VerifySymbolFile(path, s.matrix, options, s.symbology, s.payload);
      EXPECT_TRUE(result.Ok()) << int(result.fault);
      EXPECT_EQ(result.decoder, s.decoder);
      EXPECT_EQ(VerifySymbolFile(path, s.matrix, options, s.symbology, "other").status, ReadBackStatus::DifferentBytes);
      if (format.name == "svg" || format.name == "pdf" || format.name == "eps") continue;
      std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
      const ReadBackResult cut = VerifySymbolFile(path, s.matrix, options, s.symbology, s.payload);
      EXPECT_EQ(cut.status, ReadBackStatus::NotRead);
    }
  }
}

// A real blind spot: the largest Data Matrix at one pixel per module is read
// by neither libdmtx nor zxing-cpp, and the risk named is the scale. At two
// pixels libdmtx reads it (the zxing-cpp of Debian 12 misreads its interleave).
TEST(ReadBack, LargestDataMatrixReadsBackOnlyAtTwoPixelsPerModule) {
  TempFolder folder;
  const std::string text(1500, 'A');
  const ModuleMatrix matrix = OurDm(text);
  ASSERT_EQ(matrix.Columns(), 144);
  for (const int scale : {1, 2}) {
    const std::string path = folder.File("large" + std::to_string(scale) + ".png");
    const ImageOptions options{scale, 2, 96};
    ASSERT_TRUE(SaveImageFile(matrix, options, path).Ok());
    const ReadBackResult result = VerifySymbolFile(path, matrix, options, Symbology::DataMatrix, text);
    if (scale == 2) EXPECT_EQ(result.decoder, "libdmtx");
    else EXPECT_EQ(result.decoders, (std::vector<std::string>{"libdmtx", "zxing-cpp"}));
  }
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("png"), {1, 2, 96}), ReadBackRisk::OnePixelModules);
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("jpg"), {2, 2, 96}), ReadBackRisk::JpegAtSmallScale);
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("png"), {4, 0, 96}), ReadBackRisk::NoQuietZone);
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("jpg"), {3, 2, 96}), ReadBackRisk::None);
}

// Damaged, missing and blank images are reported, never read past their end
// (each reader's refusals: ReadSymbols' tests).
TEST(ReadBack, DamagedMissingAndBlankImagesAreNotRead) {
  const Subject s = Subjects()[0];
  std::string bmp("BM", 2);
  bmp.resize(54, '\xff');  // a header claiming a huge image
  for (const std::string& bytes : {std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\x7f'), bmp}) {
    const ReadBackResult result = VerifySymbolBytes(bytes, s.matrix, {}, s.symbology, s.payload);
    EXPECT_EQ(result.status, ReadBackStatus::NotRead);
    EXPECT_EQ(result.fault, ReadBackFault::ImageBroken);
    EXPECT_NE(result.image.failure, ImageReadFailure::None);
  }
  TempFolder folder;
  EXPECT_EQ(VerifySymbolFile(folder.File("gone.png"), s.matrix, {}, s.symbology, s.payload).fault,
            ReadBackFault::FileNotOpened);
  WriteBytes(folder.File("text.png"), "not an image");
  const ReadBackResult text = VerifySymbolFile(folder.File("text.png"), s.matrix, {}, s.symbology, s.payload);
  EXPECT_EQ(text.status, ReadBackStatus::NotRead);
  EXPECT_EQ(text.fault, ReadBackFault::NotAnImage);
  const std::vector<uint8_t> blank(100 * 100, 255);
  const ReadBackResult none = VerifySymbolPixels(blank.data(), 100, 100, Symbology::QrCode, s.payload);
  EXPECT_EQ(none.status, ReadBackStatus::NotRead);
  EXPECT_EQ(none.decoders, (std::vector<std::string>{"zxing-cpp", "zbar"}));
}

}  // namespace
