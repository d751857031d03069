// The command line's print options: module size in millimetres, vector
// files, and --verify, whose failure is exit status 5 naming the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/CliRun.h"
#include "content/CodePage.h"
#include "image/LabelSheet.h"
#include "tests/cli/ImageFiles.h"
#include "tests/support/Poppler.h"

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
      {"qr jpeg", {"qr", "--text", "hello", "--scale", "2"}, "A.JPG", ExitOk, ""},
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
    EXPECT_TRUE(fs::exists(path)) << "the file stays, read back or not";
  }
}

TEST(CliPrint, ModuleMillimetresSetTheScaleAndSayWhenOff) {
  TempFolder folder;
  const std::string path = folder.File("mm.png");
  // 0.5 mm at 96 dpi is 1.89 pixels: 2, which prints at 0.529 mm.
  const Outcome run = RunWords({"qr", "--text", "hi", "--module-mm", "0.5", "-o", path});
  EXPECT_EQ(run.status, ExitOk);
  EXPECT_EQ(run.err, "quillet-cli: a module of 0.5 mm is 2 pixels at 96 dpi, which prints at 0.529 mm\n");
  EXPECT_EQ(ImageFile(path).width(), (21 + 4) * 2);
  // 0.34 mm at 300 dpi is 4.02 pixels: close enough to say nothing.
  const Outcome close = RunWords({"qr", "--text", "hi", "--module-mm", "0.34", "--dpi", "300", "-o", path});
  EXPECT_EQ(close.err, "");
  const QImage image = ImageFile(path);
  EXPECT_EQ(image.width(), (21 + 4) * 4);
  EXPECT_NEAR(image.dotsPerMeterX(), 300 / 0.0254, 1);
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
    const std::string caption = texts[i] + (i < 9 ? " #0" : " #") + std::to_string(i + 1);
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
  EXPECT_TRUE(fs::exists(folder.File("out/1.png")));
  const Outcome fine = RunWords({"qr", "--batch", folder.File("rows.csv"), "-o", folder.File("qr"), "--verify"});
  EXPECT_EQ(fine.status, ExitOk) << fine.err;
}

// -o - pipes a PDF page exactly the symbol's size, SVG, and text two module
// rows a line.
TEST(CliPrint, VectorAndTextFormatsToStandardOutput) {
  TempFolder folder;
  const Outcome run = RunWords({"qr", "--text", "hi", "--scale", "3", "--dpi", "72", "-o", "-", "--format", "pdf", "--verify"});
  ASSERT_EQ(run.status, ExitOk) << run.err;
  WriteBytes(folder.File("piped.pdf"), run.out);
  const auto size = PdfPageSizePoints(folder.File("piped.pdf"));
  ASSERT_TRUE(size);
  EXPECT_NEAR(size->first, (21 + 4) * 3, 0.01);
  EXPECT_EQ(RunWords({"dm", "--text", "a", "-o", "-", "--format", "svg"}).out.rfind("<?xml", 0), 0u);
  const std::string text = RunWords({"dm", "--text", "a", "-o", "-", "--format", "utf8", "--quiet-zone", "1"}).out;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);  // 10 + 2 module rows
}

}  // namespace
