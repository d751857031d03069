#include "symbol/SymbolRequest.h"

#include <memory>

#include "qr/QrCodeEncoder.h"

namespace {

SymbolResult Answer(SymbolFailure failure, std::string data) {
  SymbolResult result;
  result.failure = failure;
  result.symbol.data = std::move(data);
  return result;
}

// The bytes the request asks to encode, or why there are none.
SymbolResult GatherData(const SymbolRequest& request) {
  if (!request.content) {
    if (request.data.empty()) return Answer(SymbolFailure::NothingToEncode, {});
    return Answer(SymbolFailure::None, request.data);
  }
  const ContentFields& content = *request.content;
  if (FindTab(content.operatorFormat, content.tab) == nullptr) return Answer(SymbolFailure::NoSuchTab, {});
  if (IsGeneralFormat(content.operatorFormat)) {
    FieldProblem problem;
    std::string payload = ComposeGeneralPayload(content.values, content.tab, &problem);
    if (problem) {
      SymbolResult result = Answer(SymbolFailure::FieldNotCarried, {});
      result.field = problem;
      return result;
    }
    const SymbolFailure failure = payload.empty() ? SymbolFailure::NothingToEncode : SymbolFailure::None;
    return Answer(failure, std::move(payload));
  }
  const std::string payload = ComposeFieldPayload(content.values, content.operatorFormat, content.tab);
  if (payload.empty()) return Answer(SymbolFailure::NothingToEncode, {});
  return Answer(SymbolFailure::None, EncoderInput(payload));
}

void EncodeQr(const SymbolRequest& request, CQrCodeEncoder& encoder, SymbolResult& result) {
  Symbol& symbol = result.symbol;
  encoder.EcLevel = QrLevelIndicator(request.level);
  encoder.Version = request.version;
  encoder.Eci = EciDesignator(request);
  const QrSegments segments = !request.content                             ? request.segments
                              : IsGeneralFormat(request.content->operatorFormat) ? QrSegments::Optimal
                                                                                 : QrSegments::Single;
  if (encoder.EncodeData(reinterpret_cast<const uint8_t*>(symbol.data.data()), static_cast<int32_t>(symbol.data.size()),
                         segments) != 0) {
    result.failure = SymbolFailure::DoesNotFit;
    return;
  }
  symbol.matrix = ModuleMatrix::FromQr(encoder);
  symbol.version = encoder.Version;
  symbol.level = request.level;
  symbol.mask = encoder.MaskReference;
}

SymbolFailure FailureOf(DmFailure failure) {
  switch (failure) {
    case DmFailure::NoData: return SymbolFailure::NothingToEncode;
    case DmFailure::CannotEncode: return SymbolFailure::NotInScheme;
    case DmFailure::OutOfMemory: return SymbolFailure::OutOfMemory;
    case DmFailure::None:
    case DmFailure::FitsNoSize: break;
  }
  return SymbolFailure::DoesNotFit;
}

// The sizes to try: the one asked for, and with dmGrowSize every larger square.
int LastDmSizeToTry(const SymbolRequest& request) {
  const bool grows = request.dmGrowSize && request.dmSize >= 0 && request.dmSize < DmSquareSizeCount;
  return grows ? DmSquareSizeCount - 1 : request.dmSize;
}

void EncodeDm(const SymbolRequest& request, SymbolResult& result) {
  Symbol& symbol = result.symbol;
  result.failure = SymbolFailure::DoesNotFit;
  if (symbol.data.size() > static_cast<size_t>(DmMaxTextLength)) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(symbol.data.data());
  const int length = static_cast<int>(symbol.data.size());
  const int last = LastDmSizeToTry(request);
  for (int requested = request.dmSize;; ++requested) {
    DmEncodeParams params;
    params.scheme = request.dmScheme;
    params.eci = EciDesignator(request);
    int size = requested;
    if (const auto grid = DmEncodeText(bytes, length, params, size)) {
      result.failure = SymbolFailure::None;
      symbol.matrix = ModuleMatrix::FromDm(*grid);
      symbol.dmSizeIndex = params.sizeIndex;
      symbol.codewords = std::move(params.buffers->codewords);
      return;
    }
    result.failure = FailureOf(params.failure);
    // Only a larger size can help data that fits none.
    if (requested >= last || result.failure != SymbolFailure::DoesNotFit) return;
  }
}

SymbolResult Make(const SymbolRequest& request, CQrCodeEncoder* encoder) {
  SymbolResult result = GatherData(request);
  result.symbol.symbology = request.symbology;
  if (!result.Ok()) return result;
  if (request.symbology == Symbology::DataMatrix) {
    EncodeDm(request, result);
  } else if (encoder != nullptr) {
    EncodeQr(request, *encoder, result);
  } else {
    EncodeQr(request, *std::make_unique<CQrCodeEncoder>(), result);
  }
  return result;
}

}  // namespace

int EciDesignator(const SymbolRequest& request) {
  if (!request.eci) return 0;
  DataCharset charset = request.charset;
  if (request.content)
    charset = IsGeneralFormat(request.content->operatorFormat) ? DataCharset::Utf8 : DataCharset::CodePage936;
  switch (charset) {
    case DataCharset::CodePage936: return EciCodePage936;
    case DataCharset::Utf8: return EciUtf8;
    case DataCharset::Unnamed: break;
  }
  return 0;
}

SymbolResult MakeSymbol(const SymbolRequest& request) { return Make(request, nullptr); }

SymbolResult MakeSymbol(const SymbolRequest& request, CQrCodeEncoder& encoder) { return Make(request, &encoder); }
