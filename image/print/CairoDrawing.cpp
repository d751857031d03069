#include "image/print/CairoDrawing.h"

#include <cairo-pdf.h>

double ModulePoints(const ImageOptions& options) { return options.scale * PointsPerInch / options.dpi; }

void DrawSymbol(cairo_t* cr, const ModuleMatrix& matrix, const ImageOptions& options, double left, double top) {
  const double module = ModulePoints(options);
  const int q = options.quietZone;
  cairo_save(cr);
  cairo_translate(cr, left, top);
  cairo_scale(cr, module, module);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, 0, 0, matrix.Columns() + 2 * q, matrix.Rows() + 2 * q);
  cairo_fill(cr);
  ForEachDarkRun(matrix, [&](int x, int y, int length) { cairo_rectangle(cr, x + q, y + q, length, 1); });
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
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
