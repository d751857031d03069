// Physical size, PDF and EPS of one symbol, and label sheets, checked with
// poppler (pdfinfo, pdftoppm, pdftotext) and zxing-cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <tuple>

#include "image/PrintFormats.h"
#include "tests/support/Decode.h"
#include "tests/support/Poppler.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

// The nearest whole scale, with a notice when it prints more than 5 % off (the
// command line's tests read its words); the printed size counts the quiet zone.
TEST(PhysicalSize, ModuleMillimetresGiveTheNearestWholeScale) {
  const std::tuple<double, int, int, bool> cases[] = {  // module mm, dpi, scale, notice
      {0.254, 100, 1, false},  // exactly one pixel
      {0.33, 300, 4, false},   // 3.9 px: 0.339 mm, 2.6 % off
      {0.5, 96, 2, true},      // 1.9 px: 0.529 mm, 5.8 % off
      {0.1, 96, 1, true},      // below one pixel: still one
      {1.0, 600, 24, false},   {0.4, 1200, 19, false}};
  for (const auto& [moduleMm, dpi, scale, notice] : cases) {
    const ModuleScale result = ScaleForModuleMillimetres(moduleMm, dpi);
    EXPECT_EQ(result.scale, scale) << moduleMm << " mm at " << dpi;
    EXPECT_EQ(result.offRequest, notice);
  }
}

// A whole symbol's side is said when whole pixels put it more than 2 % off,
// a module's at 5 %; either asked for, the scale follows it past the slider's 16.
TEST(PhysicalSize, SymbolMillimetresGiveTheNearestWholeScale) {
  const std::tuple<double, int, int, int, bool> cases[] = {  // symbol mm, modules, dpi, scale, notice
      {50, 25, 300, 24, false},   // 23.6 px: 50.8 mm, 1.6 % off
      {20, 25, 150, 5, true},     // 4.7 px: 21.2 mm, 5.8 % off
      {20, 25, 100, 3, true},     // 3.1 px: 19.05 mm, 4.8 % off
      {30, 21, 600, 34, false},   // 33.7 px: 30.2 mm, 0.9 % off
      {2, 148, 300, 1, true}};    // below one pixel: still one
  for (const auto& [symbolMm, modules, dpi, scale, notice] : cases) {
    const ModuleScale result = ScaleForSymbolMillimetres(symbolMm, modules, dpi);
    EXPECT_EQ(result.scale, scale) << symbolMm << " mm at " << dpi;
    EXPECT_EQ(result.offRequest, notice) << symbolMm << " mm at " << dpi;
  }
  // The options' printed size, for a 21 x 21 symbol with two quiet modules a side.
  ImageOptions options{4, 2, 300};
  options.symbolMm = 50;
  EXPECT_EQ(RasterScale(options, 21, 21).scale, 24);
  EXPECT_NEAR(VectorModuleMm(options, 21, 21), 2.0, 1e-12);
  options = {4, 2, 600};
  options.moduleMm = 0.8;
  EXPECT_EQ(SizedForSymbol(options, PatternMatrix(21, 21, 1)).scale, 19);
  EXPECT_NEAR(VectorModuleMm(options, 21, 21), 0.8, 1e-12);
}

struct VectorCase {
  const char* name;
  ModuleMatrix matrix;
  std::string payload;
  DecodeFormat format;
  ImageOptions options;
};

std::vector<VectorCase> VectorCases() {
  const std::string qr = "\x01\x10" "CARD:N:Zhang San;M:13800138000;;", longer(300, 'q');
  return {{"qr-96dpi", OurQr(qr), qr, DecodeFormat::QrCode, {4, 2, 96}},
          {"qr-v10-300dpi-q4", OurQr(longer), longer, DecodeFormat::QrCode, {3, 4, 300}},
          {"dm-square-q1", OurDm("Serial 000123"), "Serial 000123", DecodeFormat::DataMatrix, {5, 1, 150}},
          {"dm-rectangle", OurDm("ABC123", DmSmallestRectangle), "ABC123", DecodeFormat::DataMatrix, {4, 2, 72}}};
}

double SidePoints(int modules, const ImageOptions& options) {
  return (modules + 2 * options.quietZone) * options.scale * 72.0 / options.dpi;
}

// The PDF page is the symbol with its quiet zone at its physical size, and
// rendered at the file's dpi it decodes to the payload. The EPS bounding box
// is the same size, and the same symbol gives the same bytes: no time stamp.
TEST(VectorFiles, PageIsTheSymbolAtItsSizeAndDecodes) {
  TempFolder folder;
  for (const VectorCase& c : VectorCases()) {
    SCOPED_TRACE(c.name);
    const double width = SidePoints(c.matrix.Columns(), c.options), height = SidePoints(c.matrix.Rows(), c.options);
    std::string pdf, eps, again;
    ASSERT_TRUE(WritePdf(c.matrix, c.options, pdf).Ok());
    const std::string path = folder.File(std::string(c.name) + ".pdf");
    WriteBytes(path, pdf);
    const auto size = PdfPageSizePoints(path);
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->first, width, 0.01);
    EXPECT_NEAR(size->second, height, 0.01);
    const std::vector<GreyImage> pages = RenderPdfPages(path, c.options.dpi);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].width, (c.matrix.Columns() + 2 * c.options.quietZone) * c.options.scale);
    EXPECT_EQ(DecodeImage(pages[0].pixels.data(), pages[0].width, pages[0].height, c.format), c.payload);

    ASSERT_TRUE(WriteEps(c.matrix, c.options, eps).Ok());
    EXPECT_TRUE(eps.starts_with("%!PS-Adobe-3.0 EPSF-3.0\n"));
    std::smatch box;
    ASSERT_TRUE(std::regex_search(eps, box, std::regex(R"(%%HiResBoundingBox: 0 0 (\S+) (\S+))")));
    EXPECT_NEAR(std::stod(box[1]), width, 0.01);
    EXPECT_NEAR(std::stod(box[2]), height, 0.01);
    ASSERT_TRUE(std::regex_search(eps, box, std::regex(R"(%%BoundingBox: 0 0 (\d+) (\d+))")));
    EXPECT_EQ(std::stoi(box[1]), static_cast<int>(std::ceil(width - 0.01)));
    ASSERT_TRUE(WriteEps(c.matrix, c.options, again).Ok());
    EXPECT_EQ(again, eps);
  }
}

// Each label's payload and caption on a sheet, written to sheet.pdf. The
// command line's tests read a whole sheet back.
std::string WriteSheet(const TempFolder& folder, const LabelSheetLayout& layout,
                       const std::vector<std::pair<std::string, std::string>>& labels) {
  std::string bytes;
  SheetProblem problem;
  auto sheet = OpenLabelSheet(layout, [&](std::string_view chunk) { return bytes.append(chunk), true; }, &problem);
  EXPECT_TRUE(sheet) << problem.subject;
  if (!sheet) return {};
  for (const auto& [payload, caption] : labels)
    EXPECT_TRUE(sheet->AddLabel(OurQr(payload), layout.symbol, caption, &problem)) << problem.subject;
  EXPECT_TRUE(sheet->Finish(&problem)) << problem.subject;
  WriteBytes(folder.File("sheet.pdf"), bytes);
  return folder.File("sheet.pdf");
}

// One version 1 label per A4 page at 1 mm per module (scale 12 at 304.8 dpi),
// rendered at 10 pixels per mm: its dark modules' box.
TEST(LabelSheet, SymbolPrintsAtItsPhysicalSizeInEqualMargins) {
  TempFolder folder;
  ASSERT_EQ(OurQr("size").Columns(), 21);
  const std::vector<GreyImage> pages =
      RenderPdfPages(WriteSheet(folder, {*FindPaperSize("A4"), 1, 1, {12, 0, 305}}, {{"size", ""}}), 254);
  ASSERT_EQ(pages.size(), 1u);
  const GreyImage& page = pages[0];
  const DarkBox box = DarkPixelsBox(page, page.width, page.height);
  const double sideMm = 21 * 12 * 25.4 / 305;
  EXPECT_NEAR(box.Width() / 10.0, sideMm, 0.2);
  EXPECT_NEAR(box.Height() / 10.0, sideMm, 0.2);
  EXPECT_NEAR(box.left / 10.0, (210 - sideMm) / 2, 0.2);  // centred in the one cell
  EXPECT_NEAR(box.top / 10.0, (297 - sideMm) / 2, 0.2);
}

TEST(LabelSheet, LabelLargerThanItsCellIsRefusedAndPaperNamesIgnoreCase) {
  std::string bytes;
  SheetProblem problem;
  const LabelSheetLayout layout{*FindPaperSize("Letter"), 4, 10, {16, 2, 96}};
  auto sheet = OpenLabelSheet(layout,
                              [&](std::string_view chunk) { return bytes.append(chunk), true; }, &problem);
  ASSERT_TRUE(sheet) << problem.subject;
  EXPECT_FALSE(sheet->AddLabel(OurQr(std::string(100, 'x')), layout.symbol, "caption", &problem));
  EXPECT_EQ(problem.failure, SheetFailure::LabelTooLarge);
  EXPECT_FALSE(problem.fit.Fits());
  EXPECT_EQ(sheet->Labels(), 0);
  EXPECT_FALSE(sheet->Finish(&problem));
  EXPECT_EQ(problem.failure, SheetFailure::NoLabel);
  EXPECT_EQ(FindPaperSize("letter")->name, "Letter");
  EXPECT_EQ(FindPaperSize("A3"), nullptr);
  EXPECT_EQ(PaperSizeNames(), "A4, A5 or Letter");
}

}  // namespace
