// PDF and EPS of one symbol: the page is exactly the symbol with its quiet zone, and its frame.
#include <cairo-pdf.h>
#include <cairo-ps.h>

#include <cstdio>

#include "image/print/CairoDrawing.h"

namespace quillet {

namespace {

enum class VectorKind { Pdf, Eps };

cairo_surface_t* CreateSurface(VectorKind kind, const ByteSink& sink, double width, double height) {
  void* closure = const_cast<ByteSink*>(&sink);
  if (kind == VectorKind::Pdf) {
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(WriteToSink, closure, width, height);
    SetPdfMetadata(surface);
    return surface;
  }
  cairo_surface_t* surface = cairo_ps_surface_create_for_stream(WriteToSink, closure, width, height);
  cairo_ps_surface_set_eps(surface, true);
  return surface;
}

// Cairo stamps the time into an EPS and gives its box in whole points only:
// drop the time, so that a symbol's file depends on the symbol alone, and add
// the exact box for layout programs that read it.
void TidyEpsHeader(std::string* eps, double width, double height) {
  const auto dated = eps->find("%%CreationDate:");
  if (dated != std::string::npos) eps->erase(dated, eps->find('\n', dated) + 1 - dated);
  const auto box = eps->find("%%BoundingBox:");
  if (box == std::string::npos) return;
  char exact[96];
  std::snprintf(exact, sizeof exact, "%%%%HiResBoundingBox: 0 0 %.4f %.4f\n", width, height);
  eps->insert(eps->find('\n', box) + 1, exact);
}

// The options are checked by the caller (EncodeImage).
ImageResult WriteVector(VectorKind kind, const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  std::string bytes;
  const ByteSink sink = [&bytes](std::string_view chunk) {
    bytes.append(chunk);
    return true;
  };
  const double module = ModulePoints(options, matrix);
  const FrameLayout layout = LayOutFrame(options.style, matrix.Columns(), matrix.Rows(), options.quietZone);
  const double width = layout.width * module, height = layout.height * module;
  cairo_surface_t* surface = CreateSurface(kind, sink, width, height);
  cairo_t* cr = cairo_create(surface);
  DrawSymbol(cr, matrix, options, 0, 0);
  cairo_show_page(cr);
  std::string failure = CairoFailure(surface, cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (failure.empty()) failure = CairoFailure(surface, nullptr);
  cairo_surface_destroy(surface);
  if (!failure.empty())
    return {failure == "out of memory" ? ImageFailure::OutOfMemory : ImageFailure::EncoderFailed, "cairo: " + failure};
  if (kind == VectorKind::Eps) TidyEpsHeader(&bytes, width, height);
  out += bytes;
  return {};
}

ImageResult WritePdf(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  return WriteVector(VectorKind::Pdf, matrix, options, out);
}

ImageResult WriteEps(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  return WriteVector(VectorKind::Eps, matrix, options, out);
}

}  // namespace

std::unique_ptr<LabelSheetWriter> OpenCairoLabelSheet(const LabelSheetLayout& layout, ByteSink sink, SheetProblem* problem);

extern "C" const PrintModuleApi* QuilletPrintModule() {
  static const PrintModuleApi api{WritePdf, WriteEps, OpenCairoLabelSheet, ShapeCaption};
  return &api;
}

}  // namespace quillet
