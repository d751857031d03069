#include "image/print/CairoDrawing.h"

#include <cmath>
#include <cstring>

#include "image/StyledImage.h"
#include "image/SymbolOutlines.h"

#include <cairo-pdf.h>

namespace quillet {

double ModulePoints(const ImageOptions& options, const ModuleMatrix& matrix) {
  if (!AsksPrintedSize(options)) return options.scale * PointsPerInch / options.dpi;
  return VectorModuleMm(options, matrix.Columns(), matrix.Rows()) * PointsPerInch / MillimetresPerInch;
}

namespace {

void SetSource(cairo_t* cr, Rgb colour) {
  cairo_set_source_rgb(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

// The pad as the raster writers draw it, at the options' scale, over the
// modules; cairo keeps it as an image in the file.
void DrawLogoPad(cairo_t* cr, const ModuleMatrix& matrix, const ImageOptions& options) {
  const RgbaImage pad = CropLogoPad(RenderStyledSymbol(matrix, options), options);
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pad.width, pad.height);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  if (data == nullptr) {
    cairo_surface_destroy(image);
    return;
  }
  for (int y = 0; y < pad.height; ++y)
    for (int x = 0; x < pad.width; ++x) {
      const uint8_t* p = &pad.pixels[(static_cast<size_t>(y) * pad.width + x) * 4];
      const uint32_t alpha = p[3];
      const auto premultiplied = [&](uint8_t value) { return (value * alpha + 127) / 255; };
      const uint32_t argb = alpha << 24 | premultiplied(p[0]) << 16 | premultiplied(p[1]) << 8 | premultiplied(p[2]);
      std::memcpy(data + static_cast<size_t>(y) * stride + x * 4, &argb, 4);
    }
  cairo_surface_mark_dirty(image);
  cairo_save(cr);
  cairo_translate(cr, options.logo->column + options.quietZone, options.logo->row + options.quietZone);
  cairo_scale(cr, 1.0 / options.scale, 1.0 / options.scale);
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(image);
}

struct CairoPath {
  cairo_t* cr;
  void Move(double x, double y) { cairo_move_to(cr, x, y); }
  void Line(double x, double y) { cairo_line_to(cr, x, y); }
  void Corner(double cx, double cy, double r, int quarter, double, double) {
    cairo_arc(cr, cx, cy, r, quarter * M_PI / 2, (quarter + 1) * M_PI / 2);
  }
  void Close() { cairo_close_path(cr); }
};

void FillOutlines(cairo_t* cr, const std::vector<Outline>& outlines, Rgb colour) {
  CairoPath path{cr};
  for (const Outline& outline : outlines) TraceOutline(outline, path);
  SetSource(cr, colour);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
}

// The modules in the style's shapes and the eyes in their colour, as paths.
void DrawShapedModules(cairo_t* cr, const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolOutlines outlines = OutlineSymbol(drawn, options.style, options.quietZone);
  FillOutlines(cr, outlines.modules, options.style.foreground);
  FillOutlines(cr, outlines.eyes, options.style.EyeColour());
}

}  // namespace

void DrawSymbol(cairo_t* cr, const ModuleMatrix& matrix, const ImageOptions& options, double left, double top) {
  const double module = ModulePoints(options, matrix);
  const int q = options.quietZone;
  const SymbolStyle& style = options.style;
  cairo_save(cr);
  cairo_translate(cr, left, top);
  cairo_scale(cr, module, module);
  if (!style.transparentBackground) {
    SetSource(cr, style.background);
    cairo_rectangle(cr, 0, 0, matrix.Columns() + 2 * q, matrix.Rows() + 2 * q);
    cairo_fill(cr);
  }
  const ModuleMatrix& drawn = options.logo ? MatrixUnderLogo(matrix, *options.logo) : matrix;
  if (style.HasShapes()) {
    DrawShapedModules(cr, drawn, options);
    if (options.logo) DrawLogoPad(cr, matrix, options);
    cairo_restore(cr);
    return;
  }
  ForEachDarkRun(drawn, [&](int x, int y, int length) { cairo_rectangle(cr, x + q, y + q, length, 1); });
  SetSource(cr, style.foreground);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
  if (options.logo) DrawLogoPad(cr, matrix, options);
  cairo_restore(cr);
}

cairo_status_t WriteToSink(void* sink, const unsigned char* data, unsigned int length) {
  const auto& write = *static_cast<const ByteSink*>(sink);
  return write(std::string_view(reinterpret_cast<const char*>(data), length)) ? CAIRO_STATUS_SUCCESS
                                                                              : CAIRO_STATUS_WRITE_ERROR;
}

std::string CairoFailure(cairo_surface_t* surface, cairo_t* cr) {
  cairo_status_t status = cairo_surface_status(surface);
  if (status == CAIRO_STATUS_SUCCESS && cr) status = cairo_status(cr);
  return status == CAIRO_STATUS_SUCCESS ? std::string() : std::string(cairo_status_to_string(status));
}

void SetPdfMetadata(cairo_surface_t* pdf) {
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATOR, "Quillet");
  cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_CREATE_DATE, "");
}

}  // namespace quillet
