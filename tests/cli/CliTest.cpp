#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include "cli/CliRun.h"
#include "tests/support/Decode.h"

namespace {

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

CliOutcome Cli(std::vector<std::string> words, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunCli(words, in, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Decodes the rows that --dump prints after its header line.
std::optional<std::string> DecodeDump(const std::string& out, DecodeFormat format) {
  const std::vector<std::string> lines = Lines(out);
  if (lines.size() < 2) return std::nullopt;
  const std::vector<std::string> rows(lines.begin() + 1, lines.end());
  return DecodeModules(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
                       [&](int x, int y) { return rows[y][x] == '1'; }, format);
}

std::optional<std::string> DecodePicture(const QImage& picture, DecodeFormat format) {
  const QImage image = picture.convertToFormat(QImage::Format_Grayscale8);
  if (image.isNull()) return std::nullopt;
  std::vector<uint8_t> pixels;
  for (int y = 0; y < image.height(); ++y)
    pixels.insert(pixels.end(), image.constScanLine(y), image.constScanLine(y) + image.width());
  return DecodeImage(pixels.data(), image.width(), image.height(), format);
}

std::optional<std::string> DecodeFile(const QString& path, DecodeFormat format) {
  return DecodePicture(QImage(path), format);
}

const std::string Prefix = "\x01\x10";

TEST(Cli, QrDumpHeaderAndRowsDecodeToTheTextInCodePage936) {
  const CliOutcome run = Cli({"qr", "--text", "客服 hello", "--level", "q", "--dump"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0].rfind("version 1 level Q mask ", 0), 0u) << lines[0];
  for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].find_first_not_of("01"), std::string::npos);
  EXPECT_EQ(DecodeDump(run.out, DecodeFormat::QrCode), "\xBF\xCD\xB7\xFE hello");
}

TEST(Cli, QrRequestedVersionIsALowerBound) {
  const CliOutcome run = Cli({"qr", "--text", "A", "--version", "5", "--level", "H", "--dump"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_EQ(Lines(run.out)[0].rfind("version 5 level H mask ", 0), 0u);
  EXPECT_EQ(Lines(run.out).size(), 1u + 37u);
}

TEST(Cli, ContentModeComposesAsTheQrPageAndWritesADecodableImage) {
  QTemporaryDir dir;
  const QString path = dir.filePath("x.png");
  const CliOutcome run = Cli({"qr", "--operator", "3", "--type", "8", "--field", "TEXT=hello", "-o", path.toStdString()});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_EQ(DecodeFile(path, DecodeFormat::QrCode), Prefix + "CUSTOM:TEXT:hello;;");
  EXPECT_EQ(QImage(path).width(), (25 + 4) * 4);  // 21 bytes take version 2 at level M
}

TEST(Cli, ContentFieldsFollowSlotOrderAndCarryLineBreaks) {
  const CliOutcome run = Cli({"qr", "--type", "1", "--field", "TXT=a\\nb", "--field", "TO=sales", "--field", "SUB=Hi", "--dump"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_EQ(DecodeDump(run.out, DecodeFormat::QrCode), Prefix + "MAIL:SUB:Hi;TO:sales;TXT:a\r\nb;;");
}

TEST(Cli, DmDumpListsCodewordsThenRows) {
  const CliOutcome run = Cli({"dm", "--text", "A", "--dump"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "rows 10 columns 10 codewords 66 129 70 138 234 82 82 95");
  EXPECT_EQ(DecodeDump(run.out, DecodeFormat::DataMatrix), "A");
}

TEST(Cli, DmWritesEveryImageFormat) {
  QTemporaryDir dir;
  for (const char* name : {"a.bmp", "a.png", "a.gif", "A.JPG"}) {
    const QString path = dir.filePath(name);
    const CliOutcome run = Cli({"dm", "--text", "Quillet 二维码", "--scale", "3", "-o", path.toStdString()});
    ASSERT_EQ(run.status, ExitOk) << name << run.err;
    EXPECT_EQ(DecodeFile(path, DecodeFormat::DataMatrix), "Quillet \xB6\xFE\xCE\xAC\xC2\xEB") << name;
  }
}

struct FailureCase {
  std::vector<std::string> words;
  int status;
  std::string messagePart;
};

TEST(Cli, FailuresExitWithTheirStatusAndAReason) {
  QTemporaryDir dir;
  const std::string tooLong = dir.filePath("long.bin").toStdString();
  std::ofstream(tooLong, std::ios::binary) << std::string(2954, 'x');
  const std::string fits = dir.filePath("fits.bin").toStdString();
  std::ofstream(fits, std::ios::binary) << std::string(2953, 'x');
  const std::string missingFolder = dir.filePath("no/such/folder/x.png").toStdString();

  const std::vector<FailureCase> cases = {
      {{"qr", "--level", "L", "--data-file", tooLong, "--dump"}, ExitDoesNotFit, "2954 bytes"},
      {{"qr", "--data-file", dir.filePath("absent").toStdString(), "--dump"}, ExitUsage,
       "cannot read '" + dir.filePath("absent").toStdString() + "': No such file or directory"},
      {{"qr", "--data-file", dir.path().toStdString(), "--dump"}, ExitUsage, "Is a directory"},
      {{"qr", "--text", "", "--dump"}, ExitUsage, "empty"},
      {{"qr", "--text", "a", "-o", dir.filePath("x.txt").toStdString()}, ExitUsage, "image format"},
      {{"qr", "--text", "a", "-o", missingFolder}, ExitWriteFailed, "cannot write '" + missingFolder + "': the folder"},
      {{"qr", "--field", "SUB=x", "--dump"}, ExitUsage, "N, M, TEL, EM, TIL, DIV, COR, ADR, ZIP, FAX, URL"},
      {{"qr", "--field", "TEXT=x", "--dump"}, ExitUsage, "field 'TEXT' is not on \"名片\" of 中国移动v1.0; its fields are N, M"},
      {{"qr", "--operator", "3", "--type", "5", "--field", "N=x", "--dump"}, ExitUsage, "not on \"WAP业务\" of 中国联通"},
      {{"qr", "--operator", "2", "--type", "7", "--field", "N=x", "--dump"}, ExitUsage, "not a tab of 中国移动v2.0"},
      {{"qr", "--field", "N=", "--dump"}, ExitUsage, "every field is empty"},
      {{"dm", "--scheme", "x12", "--text", "lower", "--dump"}, ExitDoesNotFit, "cannot be encoded"},
      {{"dm", "--size", "0", "--text", "ABCDEF", "--dump"}, ExitDoesNotFit, "fits no size"},
  };
  for (const FailureCase& c : cases) {
    const CliOutcome run = Cli(c.words);
    EXPECT_EQ(run.status, c.status) << c.messagePart << "\n" << run.err;
    EXPECT_NE(run.err.find(c.messagePart), std::string::npos) << run.err;
  }
  EXPECT_EQ(Cli({"qr", "--level", "L", "--data-file", fits, "--dump"}).status, ExitOk);
}

// Each image format through standard output reads back and decodes.
TEST(Cli, StandardOutputCarriesTheImageInTheChosenFormat) {
  for (const char* format : {"", "png", "jpg", "gif", "bmp"}) {
    std::vector<std::string> words = {"qr", "--text", "piped", "-o", "-", "--scale", "2"};
    if (*format) words.insert(words.end(), {"--format", format});
    const CliOutcome run = Cli(words);
    ASSERT_EQ(run.status, ExitOk) << format << run.err;
    const QImage image = QImage::fromData(QByteArray::fromStdString(run.out));
    EXPECT_EQ(image.width(), (21 + 4) * 2) << format;
    EXPECT_EQ(DecodePicture(image, DecodeFormat::QrCode), "piped") << format;
  }
  const CliOutcome svg = Cli({"dm", "--text", "a", "-o", "-", "--format", "svg"});
  EXPECT_EQ(svg.out.rfind("<?xml", 0), 0u);
  const CliOutcome text = Cli({"dm", "--text", "a", "-o", "-", "--format", "utf8", "--quiet-zone", "1"});
  EXPECT_EQ(Lines(text.out).size(), 6u);  // 10 + 2 module rows, two a line
}

TEST(Cli, DataFileDashReadsStandardInputAsItIs) {
  const std::string bytes("\x00\xFF\r\n binary", 10);
  const CliOutcome run = Cli({"qr", "--data-file", "-", "--dump"}, bytes);
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_EQ(DecodeDump(run.out, DecodeFormat::QrCode), bytes);
  EXPECT_EQ(Cli({"dm", "--data-file", "-", "--dump"}, "").status, ExitUsage);
}

TEST(Cli, VersionAndUsageOfTheCommandUsed) {
  const CliOutcome version = Cli({"--version"});
  EXPECT_EQ(version.status, ExitOk);
  EXPECT_EQ(version.out.rfind("quillet-cli ", 0), 0u);
  EXPECT_NE(version.out.find_first_of("0123456789"), std::string::npos);
  const CliOutcome dm = Cli({"dm", "--level", "H", "--text", "a", "--dump"});
  EXPECT_EQ(dm.status, ExitUsage);
  EXPECT_NE(dm.err.find("Usage: quillet-cli dm"), std::string::npos) << dm.err;
  const CliOutcome qr = Cli({"qr", "--size", "3", "--text", "a", "--dump"});
  EXPECT_NE(qr.err.find("Usage: quillet-cli qr"), std::string::npos) << qr.err;
}

}  // namespace
