#include "verify/ReadSymbols.h"

#include "content/LazyModule.h"
#include "verify/module/VerifyModule.h"

namespace quillet {

namespace {

const VerifyModuleApi* ReadModule(SymbolsInImage* failure) {
  std::string error;
  const VerifyModuleApi* api = ModuleApi<VerifyModuleApi>(QUILLET_VERIFY_MODULE, QUILLET_VERIFY_ENTRY, &error);
  if (!api) failure->problem = {ImageReadFailure::NoDecoders, error, 0};
  return api;
}

}  // namespace

SymbolsInImage ReadSymbolsInFile(const std::string& path, const ReadStop* stop) {
  SymbolsInImage failure;
  const VerifyModuleApi* api = ReadModule(&failure);
  return api ? api->readFile(path, stop) : failure;
}

SymbolsInImage ReadSymbolsInBytes(std::string_view bytes, const ReadStop* stop) {
  SymbolsInImage failure;
  const VerifyModuleApi* api = ReadModule(&failure);
  return api ? api->readBytes(bytes, stop) : failure;
}

SymbolsInImage ReadSymbolsInPixels(const uint8_t* pixels, int width, int height, const ReadStop* stop) {
  SymbolsInImage failure;
  const VerifyModuleApi* api = ReadModule(&failure);
  return api ? api->readPixels(pixels, width, height, stop) : failure;
}

}  // namespace quillet
