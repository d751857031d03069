#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <cstdlib>

#include "image/ImageWriters.h"
#include "image/SymbolImage.h"
#include "tests/image/TestSymbols.h"

namespace {

// The image in a saved file, read back by Qt, or by our SVG reader.
QImage ReadBack(const QString& path) {
  if (path.endsWith(".svg")) return RasteriseSvg(ReadFile(path)).value_or(QImage());
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);  // the content, not the name, says what was written
  return reader.read();
}

QByteArray FormatOfContent(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  return reader.format();
}

// Count of pixels that differ from the symbol by more than `tolerance`.
int WrongPixels(const QImage& image, const ModuleMatrix& matrix, int scale, int tolerance) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  int wrong = 0;
  for (int py = 0; py < grey.height(); ++py)
    for (int px = 0; px < grey.width(); ++px)
      wrong += std::abs(grey.constScanLine(py)[px] - ExpectedPixel(matrix, scale, SavedQuietZoneModules, px, py)) >
               tolerance;
  return wrong;
}

struct FormatCase {
  const char* extension;
  QByteArray contentFormat;  // what Qt recognises in the bytes; empty for SVG
  int tolerance;             // JPEG is lossy
};

const FormatCase FormatCases[] = {
    {"bmp", "bmp", 0}, {"dib", "bmp", 0}, {"png", "png", 0}, {"gif", "gif", 0},
    {"jpg", "jpeg", 80}, {"JPEG", "jpeg", 80}, {"svg", "", 0},
};

class EveryFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(EveryFormat, ReadsBackAsTheSymbolAndDecodes) {
  ScratchFolder folder;
  for (const auto format : {DecodeFormat::QrCode, DecodeFormat::DataMatrix}) {
    const std::string text = format == DecodeFormat::QrCode ? "QR: Quillet 12345" : "DM: Quillet 12345";
    const ModuleMatrix matrix = ZxingSymbol(format, text);
    for (const int scale : {1, 4}) {
      SCOPED_TRACE(text + " scale " + std::to_string(scale));
      const QString path = folder.Path(QString("symbol%1.%2").arg(scale).arg(GetParam().extension));
      const SaveResult result = SaveSymbolFile(matrix, scale, path);
      ASSERT_TRUE(result.ok) << result.error.toStdString();
      EXPECT_TRUE(result.error.isEmpty());
      if (!GetParam().contentFormat.isEmpty()) {
        EXPECT_EQ(FormatOfContent(path), GetParam().contentFormat);
      }
      const QImage image = ReadBack(path);
      ASSERT_FALSE(image.isNull());
      EXPECT_EQ(image.width(), (matrix.Columns() + 4) * scale);
      EXPECT_EQ(image.height(), (matrix.Rows() + 4) * scale);
      if (GetParam().tolerance == 0) {
        EXPECT_EQ(WrongPixels(image, matrix, scale, 0), 0);
      } else {
        // Close to black and white: only edge ringing, and no pixel flips sides.
        EXPECT_EQ(WrongPixels(image, matrix, scale, 127), 0);
        EXPECT_LT(WrongPixels(image, matrix, scale, GetParam().tolerance), image.width() * image.height() / 20);
      }
      if (scale == 4) {
        const auto pixels = GreyPixels(image);
        EXPECT_EQ(DecodeImage(pixels.data(), image.width(), image.height(), format), text);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SavedFiles, EveryFormat, testing::ValuesIn(FormatCases),
                         [](const auto& info) { return std::string(info.param.extension); });

TEST(SavedFiles, SvgIsOnePathWithCrispEdgesAndAModuleViewBox) {
  ScratchFolder folder;
  const ModuleMatrix matrix = ZxingSymbol(DecodeFormat::QrCode, "hello");
  ASSERT_TRUE(SaveSymbolFile(matrix, 5, folder.Path("a.svg")).ok);
  const QByteArray svg = ReadFile(folder.Path("a.svg"));
  EXPECT_EQ(svg.count("<path"), 1);
  EXPECT_TRUE(svg.contains("shape-rendering=\"crispEdges\""));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 25 25\""));
  EXPECT_TRUE(svg.contains("width=\"125\" height=\"125\""));
}

TEST(SavedFiles, PngTypedWithTheBmpEntryIsSavedAsPng) {
  ScratchFolder folder;
  const QString path = AppendDefaultExtension(folder.Path("typed.png"), 1);
  ASSERT_TRUE(SaveSymbolFile(PatternMatrix(21, 21, 5), 2, path).ok);
  EXPECT_EQ(FormatOfContent(folder.Path("typed.png")), "png");
}

TEST(SavedFiles, NameWithoutExtensionAndJpegEntryGivesAJpgFile) {
  ScratchFolder folder;
  const QString path = AppendDefaultExtension(folder.Path("plain"), 2);
  ASSERT_TRUE(SaveSymbolFile(PatternMatrix(21, 21, 5), 2, path).ok);
  EXPECT_EQ(folder.Entries(), QStringList{"plain.jpg"});
  EXPECT_EQ(FormatOfContent(path), "jpeg");
}

TEST(SavedFiles, AnExistingFileIsReplaced) {
  ScratchFolder folder;
  const QString path = folder.Path("a.png");
  WriteFile(path, "old content");
  ASSERT_TRUE(SaveSymbolFile(PatternMatrix(21, 21, 5), 1, path).ok);
  EXPECT_EQ(ReadBack(path).width(), 25);
  EXPECT_EQ(folder.Entries(), QStringList{"a.png"});
}

struct RefusedCase {
  std::string name;
  QString fileName;  // in the scratch folder
  const char* reasonPart;
};

const RefusedCase RefusedCases[] = {
    {"TextExtension", "a.txt", "\".txt\""},
    {"NoExtension", "a", "no extension"},
    {"DotOnly", "a.", "\".\""},
    {"MissingFolder", "missing/a.png", "does not exist"},
    {"NameIsAFolder", "sub.png", "is a folder"},
};

class Refused : public testing::TestWithParam<RefusedCase> {};

// A refused save names the reason and writes nothing.
TEST_P(Refused, WritesNothingAndSaysWhy) {
  ScratchFolder folder;
  QDir(folder.Path("")).mkdir("sub.png");
  const QStringList before = folder.Entries();
  const SaveResult result = SaveSymbolFile(PatternMatrix(21, 21, 5), 4, folder.Path(GetParam().fileName));
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.error.contains(GetParam().reasonPart)) << result.error.toStdString();
  EXPECT_EQ(folder.Entries(), before);
}

INSTANTIATE_TEST_SUITE_P(SavedFiles, Refused, testing::ValuesIn(RefusedCases),
                         [](const auto& info) { return info.param.name; });

TEST(SavedFiles, ExistingFileSurvivesAnUnknownExtension) {
  ScratchFolder folder;
  WriteFile(folder.Path("notes.txt"), "keep me");
  EXPECT_FALSE(SaveSymbolFile(PatternMatrix(21, 21, 5), 4, folder.Path("notes.txt")).ok);
  EXPECT_EQ(ReadFile(folder.Path("notes.txt")), "keep me");
}

TEST(SavedFiles, NoSymbolOrBadScaleIsRefused) {
  ScratchFolder folder;
  EXPECT_FALSE(SaveSymbolFile(ModuleMatrix(), 4, folder.Path("a.png")).ok);
  EXPECT_FALSE(SaveSymbolFile(PatternMatrix(21, 21, 5), 0, folder.Path("a.png")).ok);
  EXPECT_FALSE(SaveSymbolFile(PatternMatrix(21, 21, 5), 17, folder.Path("a.png")).ok);
  EXPECT_TRUE(folder.Entries().isEmpty());
}

// A folder nobody may create files in, even root: the kernel's /proc.
TEST(SavedFiles, UnwritableFolderGivesAnError) {
  const SaveResult result = SaveSymbolFile(PatternMatrix(21, 21, 5), 4, "/proc/quillet-symbol.png");
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.error.contains("\"/proc\"")) << result.error.toStdString();
  EXPECT_FALSE(QFile::exists("/proc/quillet-symbol.png"));
}

TEST(SavedFiles, ReadOnlyFolderKeepsItsFileAndGivesPermissionDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  ScratchFolder folder;
  WriteFile(folder.Path("a.png"), "keep me");
  QFile::setPermissions(folder.Path(""), QFile::ReadOwner | QFile::ExeOwner);
  const SaveResult result = SaveSymbolFile(PatternMatrix(21, 21, 5), 4, folder.Path("a.png"));
  QFile::setPermissions(folder.Path(""), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.error.contains("ermission")) << result.error.toStdString();
  EXPECT_EQ(ReadFile(folder.Path("a.png")), "keep me");
}

// A write that runs out of room (here the file size limit, as a full disk
// would) leaves the old file whole and no partial file behind.
TEST(SavedFiles, FailedWriteLeavesNoTruncatedFile) {
  ScratchFolder folder;
  WriteFile(folder.Path("big.bmp"), "keep me");
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit oldLimit{};
  getrlimit(RLIMIT_FSIZE, &oldLimit);
  rlimit small = oldLimit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const SaveResult result = SaveSymbolFile(PatternMatrix(177, 177, 5), 16, folder.Path("big.bmp"));
  const SaveResult fresh = SaveSymbolFile(PatternMatrix(177, 177, 5), 16, folder.Path("new.bmp"));
  setrlimit(RLIMIT_FSIZE, &oldLimit);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.error.contains("too large")) << result.error.toStdString();
  EXPECT_FALSE(fresh.ok);
  EXPECT_EQ(ReadFile(folder.Path("big.bmp")), "keep me");
  EXPECT_EQ(folder.Entries(), QStringList{"big.bmp"});
}

}  // namespace

namespace {

TEST(SavedFiles, NonAsciiPathsAreWrittenAndReadBack) {
  ScratchFolder folder;
  const QString path = folder.Path(QStringLiteral("二维码 ü.png"));
  const SaveResult result = SaveSymbolFile(PatternMatrix(21, 21, 5), 2, path);
  ASSERT_TRUE(result.ok) << result.error.toStdString();
  EXPECT_EQ(QImage(path).size(), QSize(50, 50));
}

}  // namespace
