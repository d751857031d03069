#include "image/PrintFormats.h"

#include "content/LazyModule.h"

namespace quillet {

namespace {

const PrintModuleApi* PrintModule(std::string* error) {
  return ModuleApi<PrintModuleApi>(QUILLET_PRINT_MODULE, QUILLET_PRINT_ENTRY, error);
}

}  // namespace

ImageResult WritePdf(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  std::string error;
  const PrintModuleApi* api = PrintModule(&error);
  return api ? api->writePdf(matrix, options, out) : ImageResult{ImageFailure::NoPrintModule, error};
}

ImageResult WriteEps(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  std::string error;
  const PrintModuleApi* api = PrintModule(&error);
  return api ? api->writeEps(matrix, options, out) : ImageResult{ImageFailure::NoPrintModule, error};
}

std::unique_ptr<LabelSheetWriter> OpenLabelSheet(const LabelSheetLayout& layout, ByteSink sink, SheetProblem* problem) {
  std::string error;
  if (const PrintModuleApi* api = PrintModule(&error)) return api->openLabelSheet(layout, std::move(sink), problem);
  *problem = {SheetFailure::NoPrintModule, error, {}};
  return nullptr;
}

// The module shapes captions itself (image/print/CairoCaption.cpp); the
// program reaches cairo and fontconfig through it.
ShapedCaption ShapeCaption(std::string_view text) {
  // A caption no font could take is refused before the module is loaded.
  if (CaptionCheck check = CheckCaptionText(text); !check.Ok()) return {check, nullptr};
  std::string error;
  const PrintModuleApi* api = PrintModule(&error);
  if (!api) return {{CaptionProblem::NoPrintModule, error}, nullptr};
  return api->shapeCaption(text);
}

}  // namespace quillet
