// Label sheets as PDF. Captions use a CJK font found through fontconfig, so
// that cairo embeds a subset of it with a text mapping: Chinese captions show
// in any viewer and can be copied out as text.
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "image/print/CairoDrawing.h"

namespace quillet {

namespace {

constexpr double CaptionPoints = LabelCaptionPoints;
constexpr double SmallestCaptionPoints = 4.0;

double MmToPoints(double mm) { return mm * PointsPerInch / MillimetresPerInch; }

cairo_font_face_t* CaptionFontFace() {
  FcPattern* match = CaptionFontMatch();
  if (!match) return nullptr;
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  FcPatternDestroy(match);
  return face;
}

class CairoLabelSheet final : public LabelSheetWriter {
 public:
  CairoLabelSheet(const LabelSheetLayout& layout, ByteSink sink) : layout_(layout), sink_(std::move(sink)) {
    pageWidth_ = MmToPoints(layout.paper.widthMm);
    pageHeight_ = MmToPoints(layout.paper.heightMm);
    margin_ = MmToPoints(SheetMarginMm);
    cellWidth_ = (pageWidth_ - 2 * margin_) / layout.columns;
    cellHeight_ = (pageHeight_ - 2 * margin_) / layout.rows;
    surface_ = cairo_pdf_surface_create_for_stream(WriteToSink, &sink_, pageWidth_, pageHeight_);
    SetPdfMetadata(surface_);
    cr_ = cairo_create(surface_);
    if (cairo_font_face_t* face = CaptionFontFace()) {
      cairo_set_font_face(cr_, face);
      cairo_font_face_destroy(face);
    }
  }

  ~CairoLabelSheet() override {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }

  std::string Failure() const { return CairoFailure(surface_, cr_); }

  bool AddLabel(const ModuleMatrix& matrix, const ImageOptions& drawn, std::string_view caption,
                SheetProblem* problem) override {
    const std::string text(caption);
    const LabelFit fit = FitLabel(layout_, matrix.Columns(), matrix.Rows(), !text.empty());
    const double width = MmToPoints(fit.widthMm);  // the frame's, when it has one
    const double height = MmToPoints(fit.heightMm - fit.captionMm);
    const double captionHeight = MmToPoints(fit.captionMm);
    if (matrix.Empty() || !fit.Fits()) {
      *problem = {SheetFailure::LabelTooLarge, {}, fit};
      return false;
    }
    const int perPage = layout_.columns * layout_.rows;
    if (labels_ > 0 && labels_ % perPage == 0) cairo_show_page(cr_);
    const int slot = labels_ % perPage;
    const double cellLeft = margin_ + (slot % layout_.columns) * cellWidth_;
    const double cellTop = margin_ + (slot / layout_.columns) * cellHeight_;
    const double top = cellTop + (cellHeight_ - height - captionHeight) / 2;
    DrawSymbol(cr_, matrix, drawn, cellLeft + (cellWidth_ - width) / 2, top);
    if (!text.empty()) DrawCaption(text, cellLeft, top + height);
    ++labels_;
    if (const std::string failure = Failure(); !failure.empty()) {
      *problem = {SheetFailure::Drawing, failure, {}};
      return false;
    }
    return true;
  }

  bool Finish(SheetProblem* problem) override {
    if (labels_ == 0) {
      *problem = {SheetFailure::NoLabel, {}, {}};
      return false;
    }
    cairo_show_page(cr_);
    cairo_surface_finish(surface_);
    if (const std::string failure = Failure(); !failure.empty()) {
      *problem = {SheetFailure::Drawing, failure, {}};
      return false;
    }
    return true;
  }

  int Labels() const override { return labels_; }
  int Pages() const override { return labels_ == 0 ? 0 : (labels_ - 1) / (layout_.columns * layout_.rows) + 1; }

 private:
  // Centred in the cell below the symbol, smaller when it is wider than the cell.
  void DrawCaption(const std::string& text, double cellLeft, double symbolBottom) {
    cairo_set_font_size(cr_, CaptionPoints);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    double size = CaptionPoints;
    if (extents.x_advance > cellWidth_) {
      size = std::max(SmallestCaptionPoints, CaptionPoints * cellWidth_ / extents.x_advance);
      cairo_set_font_size(cr_, size);
      cairo_text_extents(cr_, text.c_str(), &extents);
    }
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_move_to(cr_, cellLeft + (cellWidth_ - extents.x_advance) / 2, symbolBottom + size);
    cairo_show_text(cr_, text.c_str());
  }

  LabelSheetLayout layout_;
  ByteSink sink_;
  double pageWidth_, pageHeight_, margin_, cellWidth_, cellHeight_;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int labels_ = 0;
};

}  // namespace

std::unique_ptr<LabelSheetWriter> OpenCairoLabelSheet(const LabelSheetLayout& layout, ByteSink sink, SheetProblem* problem) {
  if (layout.columns < 1 || layout.rows < 1 || layout.symbol.scale < 1 || layout.symbol.dpi < 1) {
    *problem = {SheetFailure::NoCells, {}, {}};
    return nullptr;
  }
  auto sheet = std::make_unique<CairoLabelSheet>(layout, std::move(sink));
  if (const std::string failure = sheet->Failure(); !failure.empty()) {
    *problem = {SheetFailure::Drawing, failure, {}};
    return nullptr;
  }
  return sheet;
}

}  // namespace quillet
