#include "image/print/CairoDrawing.h"

#include <cmath>
#include <cstring>
#include <utility>

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
  const RgbaImage pad = RenderLogoPad(matrix, options);
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
  void Curve(double ax, double ay, double bx, double by, double x, double y) { cairo_curve_to(cr, ax, ay, bx, by, x, y); }
  void Close() { cairo_close_path(cr); }
};

// `pattern`: a gradient, or null for the plain colour.
void FillOutlines(cairo_t* cr, const std::vector<Outline>& outlines, Rgb colour, cairo_pattern_t* pattern) {
  CairoPath path{cr};
  for (const Outline& outline : outlines) TraceOutline(outline, path);
  if (pattern) cairo_set_source(cr, pattern);
  else SetSource(cr, colour);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
}

// The style's gradient in module units, as the raster writers paint it; null without one.
cairo_pattern_t* GradientPattern(const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolStyle& style = options.style;
  if (!style.HasGradient()) return nullptr;
  const GradientLine line = GradientOver(drawn, options.quietZone);
  const double cx = (line.x0 + line.x1) / 2, cy = (line.y0 + line.y1) / 2;
  cairo_pattern_t* pattern = style.gradient == Gradient::Radial
                                 ? cairo_pattern_create_radial(cx, cy, 0, cx, cy, line.radius)
                                 : cairo_pattern_create_linear(line.x0, line.y0, line.x1, line.y1);
  for (const auto& [offset, colour] : {std::pair{0.0, style.foreground}, std::pair{1.0, *style.foreground2}})
    cairo_pattern_add_color_stop_rgb(pattern, offset, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
  return pattern;
}

// The modules in the style's shapes and colour or gradient, the eyes in their colour, as paths.
void DrawShapedModules(cairo_t* cr, const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolStyle& style = options.style;
  const SymbolOutlines outlines = OutlineSymbol(drawn, style, options.quietZone);
  cairo_pattern_t* gradient = GradientPattern(drawn, options);
  FillOutlines(cr, outlines.modules, style.foreground, gradient);
  FillOutlines(cr, outlines.eyes, style.EyeColour(), style.eyeColour ? nullptr : gradient);
  if (gradient) cairo_pattern_destroy(gradient);
}

// The frame around the symbol's place and the caption's glyphs as paths, in module units.
void DrawFrame(cairo_t* cr, const FrameLayout& layout, const SymbolStyle& style) {
  cairo_rectangle(cr, 0, 0, layout.width, layout.height);
  cairo_rectangle(cr, layout.symbolLeft, layout.symbolTop, layout.symbolWidth, layout.symbolHeight);
  SetSource(cr, style.FrameColour());
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(cr);
  const ShapedCaption caption = ShapeCaption(style.frameText);
  if (!caption.outline) return;
  CairoPath path{cr};
  TraceCaption(*caption.outline, PlaceCaption(*caption.outline, layout), path);
  SetSource(cr, SolidBackground(style));
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
}

}  // namespace

void DrawSymbol(cairo_t* cr, const ModuleMatrix& matrix, const ImageOptions& options, double left, double top) {
  const double module = ModulePoints(options, matrix);
  const int q = options.quietZone;
  const SymbolStyle& style = options.style;
  cairo_save(cr);
  cairo_translate(cr, left, top);
  cairo_scale(cr, module, module);
  if (const FrameLayout layout = LayOutFrame(style, matrix.Columns(), matrix.Rows(), q); layout.Framed()) {
    DrawFrame(cr, layout, style);
    cairo_translate(cr, layout.symbolLeft, layout.symbolTop);
  }
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
