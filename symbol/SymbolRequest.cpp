#include "symbol/SymbolRequest.h"

#include <memory>
#include <optional>

#include "content/CodePage.h"
#include "qr/QrCodeEncoder.h"

namespace quillet {

namespace {

SymbolResult Answer(SymbolFailure failure, std::string data) {
  SymbolResult result;
  result.failure = failure;
  result.symbol.data = std::move(data);
  return result;
}

SymbolResult FieldNotCarried(const FieldProblem& problem) {
  SymbolResult result = Answer(SymbolFailure::FieldNotCarried, {});
  result.field = problem;
  return result;
}

// The operator formats compose code page 936: every value the page holds,
// converted here and nowhere else.
std::optional<FieldValueArray> CodePageValues(const FieldValueArray& utf8, FieldProblem& problem) {
  FieldValueArray bytes;
  for (size_t slot = 0; slot < utf8.size(); ++slot) {
    if (utf8[slot].empty()) continue;
    auto converted = Utf8ToCodePage(utf8[slot], &problem.text);
    if (!converted) {
      problem.failure = FieldFailure::NotInCodePage;
      problem.slot = static_cast<int>(slot);
      return std::nullopt;
    }
    bytes[slot] = std::move(*converted);
  }
  return bytes;
}

SymbolResult GatherContent(const ContentFields& content) {
  const auto [format, tab] = content.page;
  if (FindTab(format, tab) == nullptr) return Answer(SymbolFailure::NoSuchTab, {});
  FieldProblem problem;
  if (IsGeneralFormat(format)) {
    std::string payload = ComposeGeneralPayload(content.values, tab, &problem);
    if (problem) return FieldNotCarried(problem);
    const SymbolFailure failure = payload.empty() ? SymbolFailure::NothingToEncode : SymbolFailure::None;
    return Answer(failure, std::move(payload));
  }
  const std::optional<FieldValueArray> bytes = CodePageValues(content.values, problem);
  if (!bytes) return FieldNotCarried(problem);
  const std::string payload = ComposeFieldPayload(*bytes, format, tab);
  if (payload.empty()) return Answer(SymbolFailure::NothingToEncode, {});
  return Answer(SymbolFailure::None, EncoderInput(payload));
}

// The bytes the request asks to encode, or why there are none.
SymbolResult GatherData(const SymbolRequest& request) {
  if (request.content) return GatherContent(*request.content);
  if (request.data.empty()) return Answer(SymbolFailure::NothingToEncode, {});
  return Answer(SymbolFailure::None, request.data);
}

void EncodeQr(const SymbolRequest& request, CQrCodeEncoder& encoder, SymbolResult& result) {
  Symbol& symbol = result.symbol;
  encoder.EcLevel = QrLevelIndicator(request.level);
  encoder.Version = request.version;
  encoder.Eci = EciDesignator(request);
  const QrSegments segments = !request.content                             ? request.segments
                              : IsGeneralFormat(request.content->page.format) ? QrSegments::Optimal
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

bool EciInForce(const SymbolSettings& settings, int contentFormat) {
  return settings.eci.value_or(EciByDefault(contentFormat));
}

int EciDesignator(const SymbolRequest& request) {
  if (!EciInForce(request, request.content ? request.content->page.format : 0)) return 0;
  DataCharset charset = request.charset;
  if (request.content)
    charset = IsGeneralFormat(request.content->page.format) ? DataCharset::Utf8 : DataCharset::CodePage936;
  switch (charset) {
    case DataCharset::CodePage936: return EciCodePage936;
    case DataCharset::Utf8: return EciUtf8;
    case DataCharset::Unnamed: break;
  }
  return 0;
}

SymbolResult MakeSymbol(const SymbolRequest& request) { return Make(request, nullptr); }

SymbolResult MakeSymbol(const SymbolRequest& request, CQrCodeEncoder& encoder) { return Make(request, &encoder); }

}  // namespace quillet
