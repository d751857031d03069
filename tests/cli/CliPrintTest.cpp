// The command line's print options: module size in millimetres, label
// sheets, terminal drawings, and --verify, whose failure is exit status 5
// naming the file.
#include <gtest/gtest.h>

#include "image/LabelSheet.h"
#include "tests/cli/CliFiles.h"
#include "tests/support/Poppler.h"

using namespace quillet;

namespace {

// Every format reads back (ReadBack's tests); here the status and the message.
TEST(CliPrint, VerifyFailsOnlyWhenTheImageDoesNotReadBack) {
  TempFolder folder;
  const CliOutcome good = Cli("qr --text 客服hello -o " + folder.File("a.png") + " --verify");
  EXPECT_EQ(good.status, ExitOk);
  EXPECT_EQ(good.err, "");
  const std::string large = folder.File("large.png");
  const CliOutcome bad = Cli("dm --scale 1 --text " + std::string(1500, 'A') + " -o " + large + " --verify");
  EXPECT_EQ(bad.status, ExitNotReadBack);
  EXPECT_EQ(bad.err.rfind("quillet-cli: '" + large + "' does not read back: neither libdmtx nor zxing-cpp found "
                          "the symbol; modules of one pixel", 0), 0u) << bad.err;
  EXPECT_TRUE(fs::exists(large)) << "the file stays, read back or not";
}

TEST(CliPrint, ModuleMillimetresSetTheScaleAndSayWhenOff) {
  TempFolder folder;
  const std::string path = folder.File("mm.png");
  // 0.5 mm at 96 dpi is 1.89 pixels: 2, which prints at 0.529 mm.
  const CliOutcome run = Cli("qr --text hi --module-mm 0.5 -o " + path);
  EXPECT_EQ(run.status, ExitOk);
  EXPECT_EQ(run.err, "quillet-cli: a module of 0.5 mm is 2 pixels at 96 dpi, which prints at 0.529 mm\n");
  EXPECT_EQ(ImageFile(path).width(), (21 + 4) * 2);
  // 0.34 mm at 300 dpi is 4.02 pixels: close enough to say nothing.
  const CliOutcome close = Cli("qr --text hi --module-mm 0.34 --dpi 300 -o " + path);
  EXPECT_EQ(close.err, "");
  const QImage image = ImageFile(path);
  EXPECT_EQ(image.width(), (21 + 4) * 4);
  EXPECT_NEAR(image.dotsPerMeterX(), 300 / 0.0254, 1);
}

// A batch as a label sheet: 14 rows of mixed Chinese and ASCII on A5, 2 x 3
// a page, give three pages; each cell's symbol decodes to its row's text in
// UTF-8, the cells after the last are empty, and pdftotext finds
// every caption in the font the file carries.
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
  const CliOutcome run = Cli("qr --batch " + folder.File("rows.csv") + " -o " + pdf +
                            " --sheet A5 --columns 2 --rows 3 --caption #{row}:{text} --module-mm 0.6 --verify");
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_NE(run.err.find("'" + pdf + "': 3 pages\n14 written, 0 failed\n"), std::string::npos) << run.err;
  std::vector<std::optional<std::string>> expected(3 * 6);  // three pages, the last four cells empty
  for (size_t i = 0; i < texts.size(); ++i) expected[i] = texts[i];
  EXPECT_EQ(DecodeSheetCells(pdf, 2, 3, SheetMarginMm), expected);
  const auto size = PdfPageSizePoints(pdf);
  ASSERT_TRUE(size);
  EXPECT_NEAR(size->first, 148 / 25.4 * 72, 0.1);
  EXPECT_NEAR(size->second, 210 / 25.4 * 72, 0.1);
  // The caption font travels with the file, as a subset with a text mapping.
  EXPECT_NE(CommandOutput("pdffonts '" + pdf + "'").find("yes yes yes"), std::string::npos);
  const std::string text = PdfText(pdf);
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string caption = (i < 9 ? "#0" : "#") + std::to_string(i + 1) + ":" + texts[i];
    EXPECT_NE(text.find(caption), std::string::npos) << caption;
  }
}

// The terminal drawings as a terminal shows them, four pixels a half block:
// utf8's blocks light on a dark background, utf8i's dark on a light one.
TEST(CliPrint, TerminalDrawingsScanOnTheirBackground) {
  const struct {
    const char* format;
    uint8_t block, background;
  } cases[] = {{"utf8", 255, 0}, {"utf8i", 0, 255}};
  for (const auto& c : cases) {
    const CliOutcome run = Cli(std::string("qr --text 终端扫码 -o - --format ") + c.format);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    std::vector<std::string> lines;  // one half block a character
    std::istringstream text(run.out);
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    constexpr int Cell = 4;
    const int width = static_cast<int>(QString::fromStdString(lines[0]).size()) * Cell;
    QImage picture(width, static_cast<int>(lines.size()) * 2 * Cell, QImage::Format_Grayscale8);
    for (size_t row = 0; row < lines.size(); ++row) {
      const QString glyphs = QString::fromStdString(lines[row]);
      for (int x = 0; x < width; ++x)
        for (int half = 0; half < 2; ++half) {
          const QChar glyph = glyphs[x / Cell];
          const bool drawn = glyph == u'\u2588' || glyph == (half ? u'\u2584' : u'\u2580');
          for (int y = 0; y < Cell; ++y)
            picture.scanLine((static_cast<int>(row) * 2 + half) * Cell + y)[x] = drawn ? c.block : c.background;
        }
    }
    EXPECT_EQ(DecodePicture(picture, DecodeFormat::QrCode), "终端扫码") << c.format;
  }
}

}  // namespace
