// The command line's print options: module size in millimetres, label
// sheets and terminal drawings.
#include <gtest/gtest.h>

#include <regex>

#include "content/CodePage.h"
#include "image/LabelSheet.h"
#include "tests/cli/CliFiles.h"
#include "tests/support/Poppler.h"

using namespace quillet;

namespace {

// What a written file measures: a raster file's side in pixels and the dpi
// it records, a vector file's side in millimetres, and what decodes from it
// (PNG as Qt reads it, PDF as poppler draws it; no independent SVG renderer
// is installed, so an SVG is measured only).
struct Measured {
  int pixels = 0;
  double dpi = 0;
  double widthMm = 0, heightMm = 0;
  std::optional<std::string> decoded;
};

Measured Measure(const std::string& path, DecodeFormat format) {
  Measured m;
  if (path.ends_with(".png")) {
    const QImage image = ImageFile(path);
    m.pixels = image.width();
    m.dpi = image.dotsPerMeterX() * 0.0254;
    m.widthMm = m.heightMm = image.width() / m.dpi * 25.4;
    m.decoded = DecodePicture(image, format);
  } else if (path.ends_with(".pdf")) {
    const auto points = PdfPageSizePoints(path);
    if (!points) return m;
    m.widthMm = points->first / 72 * 25.4;
    m.heightMm = points->second / 72 * 25.4;
    const std::vector<GreyImage> pages = RenderPdfPages(path, 300);
    if (!pages.empty()) m.decoded = DecodeImage(pages[0].pixels.data(), pages[0].width, pages[0].height, format);
  } else {
    std::smatch size;
    const std::string svg = ReadBytes(path);
    if (!std::regex_search(svg, size, std::regex(R"re(width="([0-9.]+)mm" height="([0-9.]+)mm")re"))) return m;
    m.widthMm = std::stod(size[1]);
    m.heightMm = std::stod(size[2]);
  }
  return m;
}

// Printed sizes past the slider's 16 pixels a module, vector files at exactly
// the size asked for, raster files in whole pixels at the dpi they record
// (300 unless told), said when more than 2 % off a symbol's size.
TEST(CliPrint, PrintedSizesAreWrittenAsAsked) {
  const struct {
    std::string options, file;
    int pixels;              // PNG: the side; 0 for a vector file
    double dpi;              // PNG: recorded
    double widthMm, heightMm;
    std::string err;
  } cases[] = {
      {"qr --text hello --verify", "default.png", 100, 300, 8.47, 8.47, ""},  // read back: nothing said
      // 5 cm, version 1: 25 modules of 23.6 pixels, 24 whole ones print 50.8 mm (1.6 % off).
      {"qr --text hello --version 1 --size-mm 50", "5cm.png", 600, 300, 50.8, 50.8, ""},
      {"qr --text hello --version 1 --size-mm 50", "5cm.pdf", 0, 0, 50, 50, ""},
      {"qr --text hello --module-mm 0.8 --dpi 600", "m08.pdf", 0, 0, 20, 20, ""},
      {"qr --text hello --module-mm 0.5 --dpi 96", "m05-96.svg", 0, 0, 12.5, 12.5, ""},
      // 0.5 mm at 96 dpi is 1.89 pixels: 2, said.
      {"qr --text hello --module-mm 0.5 --dpi 96", "m05-96.png", 50, 96, 13.23, 13.23,
       "quillet-cli: a module of 0.5 mm is 2 pixels at 96 dpi, which prints at 0.529 mm\n"},
      {"qr --text hello --version 1 --size-mm 20 --dpi 150", "off.png", 125, 150, 21.17, 21.17,
       "quillet-cli: a symbol of 20.0 mm (25 modules a side with its quiet zone) is 5 pixels per module at 150 dpi, "
       "which prints at 21.2 mm\n"},
      {"qr --text hello --version 1 --size-mm 20 --dpi 150", "off.pdf", 0, 0, 20, 20, ""},
      // The smallest rectangle, 8 x 18 with its quiet zone 12 x 22: its longer side.
      {"dm --text hello --size rect --size-mm 30", "rect.pdf", 0, 0, 30, 30.0 * 12 / 22, ""},
  };
  TempFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options + " " + c.file);
    const std::string path = folder.File(c.file);
    const CliOutcome run = Cli(c.options + " -o " + path);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_EQ(run.err, c.err);
    const DecodeFormat format = c.options.starts_with("dm") ? DecodeFormat::DataMatrix : DecodeFormat::QrCode;
    const Measured m = Measure(path, format);
    EXPECT_EQ(m.pixels, c.pixels);
    if (c.pixels) EXPECT_NEAR(m.dpi, c.dpi, 0.05);  // pHYs keeps whole pixels a metre
    EXPECT_NEAR(m.widthMm, c.widthMm, 0.01);
    EXPECT_NEAR(m.heightMm, c.heightMm, 0.01);
    if (!c.file.ends_with(".svg")) EXPECT_EQ(m.decoded, "hello");
  }
}

// In batch each row's symbol gets the size asked for, whatever its version;
// the files whose whole pixels miss it are said once, after the rows.
TEST(CliPrint, BatchRowsAndLabelsTakeTheSymbolSize) {
  TempFolder folder;
  const std::string rows[] = {"a", std::string(100, 'b'), std::string(600, 'c')};
  WriteBytes(folder.File("rows.csv"), "text\n" + rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n");
  const CliOutcome run = Cli("qr --batch " + folder.File("rows.csv") + " -o " + folder.File("out") + " --size-mm 30");
  ASSERT_EQ(run.status, ExitOk) << run.err;
  // At 300 dpi, version 1 (25 modules with the quiet zone) takes 14.2 pixels a
  // module, 14 print 29.6 mm; version 6 (45) 7.9, 8 print 30.5 mm; version 19
  // (97) 3.65, 4 print 32.9 mm, 9.5 % off.
  EXPECT_EQ(run.err, "quillet-cli: 1 file prints off the size asked for, in whole pixels per module; row 3: a symbol "
                     "of 30.0 mm (97 modules a side with its quiet zone) is 4 pixels per module at 300 dpi, which "
                     "prints at 32.9 mm\n3 written, 0 failed\n");
  const int sides[] = {25 * 14, 45 * 8, 97 * 4};
  for (int row = 0; row < 3; ++row) {
    const Measured m = Measure(folder.File("out/" + std::to_string(row + 1) + ".png"), DecodeFormat::QrCode);
    EXPECT_EQ(m.pixels, sides[row]) << row;
    EXPECT_NEAR(m.dpi, 300, 0.01);
    EXPECT_EQ(m.decoded, rows[row]);
  }
  // On a label sheet, exactly: version 1's 21 modules span 21/25 of 40 mm.
  const std::string pdf = folder.File("labels.pdf");
  const CliOutcome sheet = Cli("qr --batch " + folder.File("rows.csv") + " -o " + pdf +
                               " --sheet A4 --columns 2 --rows 2 --size-mm 40");
  ASSERT_EQ(sheet.status, ExitOk) << sheet.err;
  const GreyImage page = RenderPdfPages(pdf, 254)[0];  // 10 pixels a millimetre
  EXPECT_NEAR(DarkPixelsBox(page, page.width / 2, page.height / 2).Width() / 10.0, 40.0 * 21 / 25, 0.2);
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

// A styled sheet prints every label in its style, each read back as a
// single symbol is: every cell decodes with zxing-cpp and zbar from the page
// as poppler draws it, the colours are on the page, and a style that does
// not read back fails its rows rather than printing them.
TEST(CliPrint, StyledLabelSheetsReadBackInTheirStyle) {
  TempFolder folder;
  WriteBytes(folder.File("logo.svg"),
             R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40"><circle cx="20" cy="20" r="18" fill="#c62828"/></svg>)");
  const std::vector<std::string> rows = {"https://example.com/1", "hello", "李四 13800138000"};
  WriteBytes(folder.File("rows.csv"), "text\n" + rows[0] + "\n" + rows[1] + "\n" + rows[2] + "\n");
  const std::string batch = "qr --batch " + folder.File("rows.csv") + " --sheet A5 --columns 2 --rows 2 --size-mm 45 ";
  const struct {
    std::string options;
    Rgb onPage;  // a colour of the style, found on the page
  } cases[] = {
      {"--preset brand", {0x1a, 0x23, 0x7e}},
      {"--preset dots --logo " + folder.File("logo.svg"), {0xc6, 0x28, 0x28}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string pdf = folder.File("labels.pdf");
    const CliOutcome run = Cli(batch + c.options + " -o " + pdf);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_EQ(DecodeSheetCells(pdf, 2, 2, SheetMarginMm),
              (std::vector<std::optional<std::string>>{rows[0], rows[1], rows[2], std::nullopt}));
    CommandOutput("pdftoppm -r 50 -png -singlefile '" + pdf + "' '" + folder.File("page") + "'");
    const QImage page = ImageFile(folder.File("page.png")).convertToFormat(QImage::Format_RGB32);
    bool found = false;
    for (int y = 0; y < page.height() && !found; ++y)
      for (int x = 0; x < page.width() && !found; ++x) {
        const QColor pixel = page.pixelColor(x, y);
        found = std::abs(pixel.red() - c.onPage.red) + std::abs(pixel.green() - c.onPage.green) +
                    std::abs(pixel.blue() - c.onPage.blue) < 12;
      }
    EXPECT_TRUE(found);
    fs::remove(pdf);
  }
  // zbar reads no inverted symbol: no row prints, and there is no sheet.
  const std::string pdf = folder.File("inverted.pdf");
  const CliOutcome inverted = Cli(batch + "--fg #ffffff --bg #000000 --allow-inverted -o " + pdf);
  EXPECT_EQ(inverted.status, ExitSomeRowsFailed);
  EXPECT_NE(inverted.err.find("row 1: "), std::string::npos) << inverted.err;
  EXPECT_NE(inverted.err.find("0 written, 3 failed"), std::string::npos) << inverted.err;
  EXPECT_FALSE(fs::exists(pdf));
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
