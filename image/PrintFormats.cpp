#include "image/PrintFormats.h"

#include "image/LazyModule.h"

namespace {

const PrintModuleApi* PrintModule(std::string* error) {
  return ModuleApi<PrintModuleApi>(QUILLET_PRINT_MODULE, QUILLET_PRINT_ENTRY, error);
}

}  // namespace

bool EncodePdf(const ModuleMatrix& matrix, const SymbolLayout& layout, std::string* bytes, std::string* error) {
  const PrintModuleApi* api = PrintModule(error);
  return api && api->encodePdf(matrix, layout, bytes, error);
}

bool EncodeEps(const ModuleMatrix& matrix, const SymbolLayout& layout, std::string* bytes, std::string* error) {
  const PrintModuleApi* api = PrintModule(error);
  return api && api->encodeEps(matrix, layout, bytes, error);
}

std::unique_ptr<LabelSheetWriter> OpenLabelSheet(const LabelSheetSpec& spec, ByteSink sink, std::string* error) {
  const PrintModuleApi* api = PrintModule(error);
  return api ? api->openLabelSheet(spec, std::move(sink), error) : nullptr;
}
