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

}  // namespace quillet
