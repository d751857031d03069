// The command line's print options: module size in millimetres, vector
// files, and --verify, whose failure is exit status 5 naming the file.
#include <gtest/gtest.h>

#include <QImage>

#include <sstream>

#include "cli/CliRun.h"
#include "content/CodePage.h"
#include "image/LabelSheet.h"
#include "tests/support/Poppler.h"
#include "tests/support/TempFolder.h"

namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome RunWords(std::vector<std::string> words) {
  std::ostringstream out, err;
  const int status = RunCli(words, out, err);
  return {status, out.str(), err.str()};
}

struct VerifyCase {
  const char* name;
  std::vector<std::string> words;  // before -o FILE --verify
  const char* file;
  int status;
  const char* message;  // part of standard error; empty: nothing there
};

TEST(CliPrint, VerifyFailsOnlyWhenTheImageDoesNotReadBack) {
  const std::string largest(1500, 'A');
  const VerifyCase cases[] = {
      {"qr png", {"qr", "--text", "客服 hello"}, "a.png", ExitOk, ""},
      {"qr jpeg", {"qr", "--text", "hello", "--scale", "2"}, "a.jpg", ExitOk, ""},
      {"qr pdf", {"qr", "--field", "N=张三", "--field", "M=13800138000"}, "card.pdf", ExitOk, ""},
      {"dm eps", {"dm", "--text", "Serial 000123", "--quiet-zone", "1"}, "a.eps", ExitOk, ""},
      {"dm 144x144 at one pixel", {"dm", "--text", largest, "--scale", "1"}, "large.png", ExitNotReadBack,
       "does not read back: neither libdmtx nor zxing-cpp found the symbol; modules of one pixel"},
  };
  TempFolder folder;
  for (const VerifyCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> words = c.words;
    const std::string path = folder.File(c.file);
    words.insert(words.end(), {"-o", path, "--verify"});
    const Outcome run = RunWords(words);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (*c.message == '\0') EXPECT_EQ(run.err, "");
    else EXPECT_EQ(run.err.find("quillet-cli: '" + path + "' " + c.message), 0u) << run.err;
    EXPECT_TRUE(std::filesystem::exists(path)) << "the file stays, read back or not";
  }
}

TEST(CliPrint, ModuleMillimetresSetTheScaleAndSayWhenOff) {
  TempFolder folder;
  const std::string path = folder.File("mm.png");
  // 0.5 mm at 96 dpi is 1.89 pixels: 2, which prints at 0.529 mm.
  const Outcome run = RunWords({"qr", "--text", "hi", "--module-mm", "0.5", "-o", path});
  EXPECT_EQ(run.status, ExitOk);
  EXPECT_EQ(run.err, "quillet-cli: a module of 0.5 mm is 2 pixels at 96 dpi, which prints at 0.529 mm\n");
  EXPECT_EQ(QImage(QString::fromStdString(path)).width(), (21 + 4) * 2);
  // 0.34 mm at 300 dpi is 4.02 pixels: close enough to say nothing.
  const Outcome close = RunWords({"qr", "--text", "hi", "--module-mm", "0.34", "--dpi", "300", "-o", path});
  EXPECT_EQ(close.err, "");
  const QImage image(QString::fromStdString(path));
  EXPECT_EQ(image.width(), (21 + 4) * 4);
  EXPECT_NEAR(image.dotsPerMeterX(), 300 / 0.0254, 1);
}

TEST(CliPrint, ModuleMillimetresMistakesAreUsageErrors) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--module-mm", "0.3", "--scale", "2"}, "give --scale or --module-mm, not both"},
      {{"--module-mm", "2", "--dpi", "600"}, "--module-mm 2 at --dpi 600 is 47 pixels per module; the most is 16"},
      {{"--module-mm", "-1"}, "--module-mm takes a size in millimetres such as 0.5, not '-1'"},
      {{"--module-mm", "1mm"}, "--module-mm takes a size in millimetres such as 0.5, not '1mm'"},
  };
  for (const auto& [extra, message] : cases) {
    std::vector<std::string> words = {"qr", "--text", "hi", "-o", "x.png"};
    words.insert(words.end(), extra.begin(), extra.end());
    const Outcome run = RunWords(words);
    EXPECT_EQ(run.status, ExitUsage);
    EXPECT_EQ(run.err.find("quillet-cli: " + message), 0u) << run.err;
  }
  const Outcome text = RunWords({"qr", "--text", "hi", "-o", "-", "--format", "utf8", "--verify"});
  EXPECT_EQ(text.status, ExitUsage);
  EXPECT_EQ(text.err.find("quillet-cli: --verify checks an image file; utf8 is text"), 0u) << text.err;
}

// A batch as a label sheet: 14 rows of mixed Chinese and ASCII on A5, 2 x 3
// a page, give three pages; each cell's symbol decodes to its row's text in
// code page 936, the cells after the last are empty, and pdftotext finds
// every caption.
TEST(CliPrint, BatchLabelSheetOfMixedCaptions) {
  TempFolder folder;
  const char* names[] = {"张三", "李四 Li Si", "王五", "Zhao Liu", "客服热线"};
  std::vector<std::string> texts;
  std::string csv = "text\n";
  for (int i = 1; i <= 14; ++i) {
    texts.push_back(std::string(names[i % 5]) + " " + std::to_string(100 + i));
    csv += texts.back() + "\n";
  }
  WriteBytes(folder.File("rows.csv"), csv);
  const std::string pdf = folder.File("labels.pdf");
  const Outcome run = RunWords({"qr", "--batch", folder.File("rows.csv"), "-o", pdf, "--sheet", "A5", "--columns", "2",
                                "--rows", "3", "--caption", "{text} #{row}", "--module-mm", "0.6", "--verify"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_NE(run.err.find("'" + pdf + "': 3 pages\n14 written, 0 failed\n"), std::string::npos) << run.err;
  std::vector<std::optional<std::string>> expected(3 * 6);  // three pages, the last four cells empty
  for (size_t i = 0; i < texts.size(); ++i) expected[i] = Utf8ToCodePage(texts[i]);
  EXPECT_EQ(DecodeSheetCells(pdf, 2, 3, SheetMarginMm), expected);
  const std::string text = PdfText(pdf);
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string row = std::to_string(i + 1);
    const std::string caption = texts[i] + " #" + (row.size() == 1 ? "0" + row : row);
    EXPECT_NE(text.find(caption), std::string::npos) << caption;
  }
}

// In a batch a file that does not read back fails its row (status 4) and stays.
TEST(CliPrint, BatchRowThatDoesNotReadBackFails) {
  TempFolder folder;
  WriteBytes(folder.File("rows.csv"), "text\n" + std::string(1500, 'A') + "\nshort\n");
  const Outcome run = RunWords({"dm", "--batch", folder.File("rows.csv"), "-o", folder.File("out"), "--scale", "1",
                                "--name", "{row}.png", "--verify"});
  EXPECT_EQ(run.status, ExitSomeRowsFailed);
  EXPECT_NE(run.err.find("row 1: '1.png' does not read back: neither libdmtx nor zxing-cpp found the symbol"),
            std::string::npos) << run.err;
  EXPECT_TRUE(std::filesystem::exists(folder.File("out/1.png")));
  const Outcome fine = RunWords({"qr", "--batch", folder.File("rows.csv"), "-o", folder.File("qr"), "--verify"});
  EXPECT_EQ(fine.status, ExitOk) << fine.err;
}

TEST(CliPrint, SheetOptionsGoTogether) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"-o", "x.pdf", "--sheet", "A4"}, "--sheet needs --columns C and --rows R"},
      {{"-o", "dir", "--columns", "2"}, "--columns, --rows and --caption go with --sheet"},
      {{"-o", "x", "--sheet", "A4", "--columns", "2", "--rows", "3"}, "--sheet writes a PDF: give -o FILE.pdf"},
      {{"-o", "x.pdf", "--sheet", "B5"}, "--sheet takes A4, A5 or Letter, not 'B5'"},
      {{"-o", "x.pdf", "--sheet", "a4", "--columns", "2", "--rows", "3", "--name", "{row}.svg"},
       "--sheet writes one PDF: no --name"},
  };
  for (const auto& [extra, message] : cases) {
    std::vector<std::string> words = {"qr", "--batch", "rows.csv"};
    words.insert(words.end(), extra.begin(), extra.end());
    const Outcome run = RunWords(words);
    EXPECT_EQ(run.status, ExitUsage);
    EXPECT_EQ(run.err.find("quillet-cli: " + message), 0u) << run.err;
  }
}

// -o - --format pdf pipes a page exactly the symbol's size.
TEST(CliPrint, PdfToStandardOutput) {
  TempFolder folder;
  const Outcome run = RunWords({"qr", "--text", "hi", "--scale", "3", "--dpi", "72", "-o", "-", "--format", "pdf", "--verify"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  const std::string path = folder.File("piped.pdf");
  WriteBytes(path, run.out);
  const auto size = PdfPageSizePoints(path);
  ASSERT_TRUE(size);
  EXPECT_NEAR(size->first, (21 + 4) * 3, 0.01);
}

}  // namespace
