// The interface of the print module (libquillet_print.so): vector files and
// label sheets through cairo. Programs reach it through image/PrintFormats.h,
// which opens the module on first use; only the module includes cairo.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "image/ImageFormats.h"
#include "image/LabelSheet.h"
#include "symbol/ModuleMatrix.h"
#include "image/PhysicalSize.h"
#include "image/SymbolFrame.h"

namespace quillet {

// Receives the document's bytes as they are produced; false stops writing.
using ByteSink = std::function<bool(std::string_view bytes)>;

struct PrintModuleApi {
  // A PDF page or an EPS bounding box exactly the symbol with its quiet zone.
  ImageWriter writePdf;
  ImageWriter writeEps;
  std::unique_ptr<LabelSheetWriter> (*openLabelSheet)(const LabelSheetLayout& layout, ByteSink sink, SheetProblem* problem);
  // A frame's caption as glyph outlines (ShapeCaption).
  ShapedCaption (*shapeCaption)(std::string_view text);
};

#define QUILLET_PRINT_MODULE "libquillet_print.so"
#define QUILLET_PRINT_ENTRY "QuilletPrintModule"
extern "C" __attribute__((visibility("default"))) const PrintModuleApi* QuilletPrintModule();

}  // namespace quillet
