// Read-back verification: files that read back are reported so, with the
// decoder that read them; files that do not, or read as other bytes, are not.
#include <gtest/gtest.h>

#include "image/PrintFormats.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"
#include "verify/ReadBack.h"

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

// Every file format of the table, as the program writes it, reads back; cut
// to half its length between write and check, none does.
TEST(ReadBack, EveryWrittenFormatReadsBackAndATruncatedOneDoesNot) {
  TempFolder folder;
  const ImageOptions options{3, 2, 150};
  for (const ImageFormat& format : ImageFormats()) {
    if (format.extensions.empty()) continue;
    for (const Subject& subject : Subjects()) {
      const std::string path = folder.File(std::string(subject.name) + std::string(format.extensions.front()));
      SCOPED_TRACE(path);
      ASSERT_TRUE(SaveImageFile(subject.matrix, options, path).Ok());
      const ReadBackResult result = VerifySymbolFile(path, subject.matrix, options, subject.symbology, subject.payload);
      EXPECT_TRUE(result.Ok()) << result.detail;
      EXPECT_EQ(result.decoder, subject.decoder);
      if (format.name == "svg" || format.name == "pdf" || format.name == "eps") continue;
      std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
      const ReadBackResult cut = VerifySymbolFile(path, subject.matrix, options, subject.symbology, subject.payload);
      EXPECT_EQ(cut.status, ReadBackStatus::NotRead) << cut.detail;
    }
  }
}

// A real blind spot: the largest Data Matrix at one pixel per module is read
// by neither libdmtx nor zxing-cpp, and the risk named is the scale.
TEST(ReadBack, LargestDataMatrixAtOnePixelPerModuleIsReported) {
  TempFolder folder;
  const std::string text(1500, 'A');
  const ModuleMatrix matrix = OurDm(text);
  const std::string path = folder.File("large.png");
  const ImageOptions options{1, 2, 96};
  ASSERT_TRUE(SaveImageFile(matrix, options, path).Ok());
  const ReadBackResult result = VerifySymbolFile(path, matrix, options, Symbology::DataMatrix, text);
  EXPECT_EQ(result.status, ReadBackStatus::NotRead);
  EXPECT_EQ(result.detail, "neither libdmtx nor zxing-cpp found the symbol");
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("png"), options), ReadBackRisk::OnePixelModules);
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("jpg"), {2, 2, 96}), ReadBackRisk::JpegAtSmallScale);
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("png"), {4, 0, 96}), ReadBackRisk::NoQuietZone);
  EXPECT_EQ(LikelyReadBackRisk(*FindFormatByName("jpg"), {3, 2, 96}), ReadBackRisk::None);
}

// Damaged files of every kind are reported, never read past their end.
TEST(ReadBack, DamagedHeadersAreNotRead) {
  const Subject subject = Subjects()[0];
  std::string bmp("BM", 2);
  bmp.resize(54, '\xff');  // a header claiming a huge image
  const std::string damaged[] = {
      std::string("\x89PNG\r\n\x1a\n", 8) + std::string(40, '\x7f'),
      std::string("\xff\xd8\xff\xe0", 4) + std::string(30, '\x01'),
      "GIF89a" + std::string(20, '\xff'),
      bmp,
      "BM",
  };
  for (const std::string& bytes : damaged) {
    const ReadBackResult result = VerifySymbolBytes(bytes, subject.matrix, {}, subject.symbology, subject.payload);
    EXPECT_EQ(result.status, ReadBackStatus::NotRead) << result.detail;
    EXPECT_EQ(result.detail.find("the image cannot be read: "), 0u) << result.detail;
  }
}

// Vector files are checked by their modules at the file's scale.
TEST(ReadBack, VectorFilesReadBack) {
  TempFolder folder;
  for (const Subject& subject : Subjects())
    for (const auto& [extension, writer] : {std::pair<const char*, ImageWriter>{".pdf", WritePdf}, {".eps", WriteEps}}) {
      SCOPED_TRACE(std::string(subject.name) + extension);
      std::string bytes;
      const ImageOptions options{3, 2, 300};
      ASSERT_TRUE(writer(subject.matrix, options, bytes).Ok());
      const std::string path = folder.File(std::string(subject.name) + extension);
      WriteBytes(path, bytes);
      const ReadBackResult result = VerifySymbolFile(path, subject.matrix, options, subject.symbology, subject.payload);
      EXPECT_TRUE(result.Ok()) << result.detail;
      EXPECT_EQ(result.decoder, subject.decoder);
      // The bytes of another payload are not a read-back.
      const ReadBackResult other = VerifySymbolFile(path, subject.matrix, options, subject.symbology, "other");
      EXPECT_EQ(other.status, ReadBackStatus::DifferentBytes) << other.detail;
    }
}

TEST(ReadBack, FileThatIsGoneOrNoImageIsReported) {
  TempFolder folder;
  const Subject subject = Subjects()[0];
  const ReadBackResult gone = VerifySymbolFile(folder.File("gone.png"), subject.matrix, {}, subject.symbology, subject.payload);
  EXPECT_EQ(gone.status, ReadBackStatus::CannotCheck);
  WriteBytes(folder.File("text.png"), "not an image");
  const ReadBackResult text = VerifySymbolFile(folder.File("text.png"), subject.matrix, {}, subject.symbology, subject.payload);
  EXPECT_EQ(text.status, ReadBackStatus::NotRead);
  EXPECT_EQ(text.detail, "the file is not an image a reader recognises");
}

// The largest Data Matrix, whose interleave the zxing-cpp of Debian 12
// misreads, reads back through libdmtx; a blank image through nobody.
TEST(ReadBack, PixelsOfTheLargestDataMatrix) {
  const std::string text(1500, 'A');
  const ModuleMatrix matrix = OurDm(text);
  ASSERT_EQ(matrix.Columns(), 144);
  const int scale = 2, quiet = 2, side = (144 + 2 * quiet) * scale;
  std::vector<uint8_t> pixels(static_cast<size_t>(side) * side, 255);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int mx = x / scale - quiet, my = y / scale - quiet;
      if (mx >= 0 && my >= 0 && mx < 144 && my < 144 && matrix.IsDark(mx, my)) pixels[static_cast<size_t>(y) * side + x] = 0;
    }
  const ReadBackResult result = VerifySymbolPixels(pixels.data(), side, side, Symbology::DataMatrix, text);
  EXPECT_TRUE(result.Ok()) << result.detail;
  EXPECT_EQ(result.decoder, "libdmtx");
  std::vector<uint8_t> blank(pixels.size(), 255);
  const ReadBackResult none = VerifySymbolPixels(blank.data(), side, side, Symbology::QrCode, text);
  EXPECT_EQ(none.status, ReadBackStatus::NotRead);
  EXPECT_EQ(none.detail, "neither zxing-cpp nor zbar found the symbol");
}

}  // namespace
