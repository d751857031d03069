// Drawing symbols with cairo, shared by the vector writers and the label sheets.
#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <string>

#include "symbol/ModuleMatrix.h"
#include "image/PhysicalSize.h"
#include "image/print/PrintModule.h"

namespace quillet {

// The side of one module of `matrix` in PostScript points: the printed size
// asked for exactly, else the scale at the dpi.
double ModulePoints(const ImageOptions& options, const ModuleMatrix& matrix);

// White square of the symbol and its quiet zone with its top left at (left,
// top) in points, then every horizontal run of dark modules as one black
// rectangle, all filled as one path so that no seam shows between modules;
// in its frame, whose top left is then at (left, top), when the style has one.
void DrawSymbol(cairo_t* cr, const ModuleMatrix& matrix, const ImageOptions& options, double left, double top);

// The installed font best matching CaptionFontFamily that covers Chinese;
// the caller destroys it. Null when fontconfig finds none at all.
FcPattern* CaptionFontMatch();

// Adapts a ByteSink to cairo's stream callback.
cairo_status_t WriteToSink(void* sink, const unsigned char* data, unsigned int length);

// Names the program as creator and leaves out the creation time, so that the
// same symbols always give the same bytes.
void SetPdfMetadata(cairo_surface_t* pdf);

// Empty when the surface and context are fine, else cairo's reason.
std::string CairoFailure(cairo_surface_t* surface, cairo_t* cr);

}  // namespace quillet
