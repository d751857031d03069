#include "cli/SymbolWords.h"

namespace {

std::string Bytes(const SymbolResult& result) { return std::to_string(result.symbol.data.size()) + " bytes"; }

std::string DoesNotFit(const SymbolResult& result, const SymbolRequest& request) {
  if (request.symbology == Symbology::QrCode)
    return "the data (" + Bytes(result) + ") fits no QR Code version at level " + QrLevelLetter(request.level);
  return "the text (" + Bytes(result) + ") fits no size allowed by --size";
}

}  // namespace

std::string DescribeSymbolFailure(const SymbolResult& result, const SymbolRequest& request) {
  switch (result.failure) {
    case SymbolFailure::None: return {};
    case SymbolFailure::NothingToEncode:
      return request.content ? "every field is empty: there is nothing to encode"
                             : "the input is empty: there is nothing to encode";
    case SymbolFailure::NoSuchTab:
      return "--type " + std::to_string(request.content->tab) + " is not a tab of the format";
    case SymbolFailure::NotInScheme:
      return "the text cannot be encoded in the scheme " + std::string(DmSchemeNameOf(request.dmScheme));
    case SymbolFailure::DoesNotFit: return DoesNotFit(result, request);
    case SymbolFailure::OutOfMemory: return "there is not enough memory for the symbol";
  }
  return {};
}
