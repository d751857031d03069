#include "verify/ReadBack.h"

#include "content/LazyModule.h"
#include "image/PhysicalSize.h"
#include "image/StyledImage.h"
#include "qr/QrStandard.h"
#include "verify/module/VerifyModule.h"

namespace quillet {

namespace {

const VerifyModuleApi* VerifyModule(ReadBackResult* failure) {
  std::string error;
  const VerifyModuleApi* api = ModuleApi<VerifyModuleApi>(QUILLET_VERIFY_MODULE, QUILLET_VERIFY_ENTRY, &error);
  if (!api) {
    failure->fault = ReadBackFault::ModuleMissing;
    failure->cause = error;
  }
  return api;
}

// JPEG smears the edges of modules only a pixel or two wide into grey.
constexpr int SmallestJpegScale = 3;

bool IsJpeg(const ImageFormat& format) { return !format.extensions.empty() && format.extensions.front() == ".jpg"; }

}  // namespace

ReadBackResult VerifySymbolFile(const std::string& path, const ModuleMatrix& matrix, const ImageOptions& options,
                                Symbology symbology, std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  return api ? api->verifyFile(path, matrix, options, symbology, expected) : failure;
}

ReadBackResult VerifySymbolBytes(std::string_view bytes, const ModuleMatrix& matrix, const ImageOptions& options,
                                 Symbology symbology, std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  return api ? api->verifyBytes(bytes, matrix, options, symbology, expected) : failure;
}

ReadBackResult VerifySymbolModules(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                                   std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  return api ? api->verifyModules(matrix, options, symbology, expected) : failure;
}

ReadBackResult VerifySymbolPixels(const uint8_t* pixels, int width, int height, Symbology symbology,
                                  std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  return api ? api->verifyPixels(pixels, width, height, symbology, expected) : failure;
}

namespace {

// The pixels a camera starts from: the symbol at CameraModulePixels, on its
// background, framed as it is printed.
struct CameraPicture {
  std::vector<uint8_t> grey;
  int width = 0, height = 0;
};

CameraPicture CameraView(const ModuleMatrix& matrix, const ImageOptions& options) {
  ImageOptions camera = options;
  camera.scale = CameraModulePixels;
  const RgbaImage image = RenderStyledSymbol(matrix, camera);
  return {CompositeGrey(image, SolidBackground(options.style)), image.width, image.height};
}

CameraViews ViewsOf(const CameraPicture& styled, const CameraPicture* plain) {
  return CameraViews{styled.grey.data(),           styled.width,
                     styled.height,                plain ? plain->grey.data() : nullptr,
                     plain ? plain->width : 0,     plain ? plain->height : 0,
                     CameraModulePixels};
}

// The styled symbol under the camera's conditions, the plain one beside it as
// the yardstick. The file's own pixels (as printed) every decoder has read.
void ReadUnderConditions(const VerifyModuleApi& api, const ModuleMatrix& matrix, const ImageOptions& options,
                         const CameraPicture& printed, Symbology symbology, std::string_view expected,
                         CameraCheckDepth depth, ReadBackResult& result) {
  for (const std::string& decoder : result.decoders)
    result.conditions.push_back({AsPrintedCondition, decoder, CameraReading::Read, CameraReading::NotTried});
  ImageOptions plain;
  plain.quietZone = options.quietZone;
  // A file at the camera's own scale is its view already: drawn once.
  const std::optional<CameraPicture> redrawn =
      options.scale == CameraModulePixels ? std::nullopt : std::optional(CameraView(matrix, options));
  const CameraPicture yardstick = CameraView(matrix, plain);
  CameraViews views = ViewsOf(redrawn ? *redrawn : printed, &yardstick);
  views.untilLoss = depth == CameraCheckDepth::UntilLoss;
  for (ConditionReading& reading : api.readUnderConditions(views, symbology, expected))
    result.conditions.push_back(std::move(reading));
}

void NoteLoss(const ImageOptions& options, ReadBackResult& result) {
  const ConditionReading* lost = LostCondition(result);
  if (!lost) return;
  result.status = lost->styled == CameraReading::Misread ? ReadBackStatus::DifferentBytes : ReadBackStatus::NotRead;
  result.fault = ReadBackFault::LostUnderCondition;
  result.decoder = lost->decoder;
  result.advice.smallerLogo = options.logo != nullptr;
  result.advice.moreContrast = options.style.HasColours();
}

}  // namespace

std::vector<ConditionReading> ReadUnderCameraConditions(const ModuleMatrix& matrix, const ImageOptions& options,
                                                        Symbology symbology, std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  if (!api) return {};
  const CameraPicture seen = CameraView(matrix, options);
  return api->readUnderConditions(ViewsOf(seen, nullptr), symbology, expected);
}

ReadBackResult VerifyStyledSymbol(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                                  std::string_view expected, CameraCheckDepth depth) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  if (!api) return failure;
  const RgbaImage image = RenderStyledSymbol(matrix, options);
  const CameraPicture printed{CompositeGrey(image, SolidBackground(options.style)), image.width, image.height};
  ReadBackResult result = api->verifyPixelsByEvery(printed.grey.data(), printed.width, printed.height, options.scale,
                                                   symbology, expected);
  if (!result.Ok()) return result;
  ReadUnderConditions(*api, matrix, options, printed, symbology, expected, depth, result);
  NoteLoss(options, result);
  return result;
}

namespace {

// A logo's symbol that fits its bound but that the decoders miss, or a
// style that loses a camera condition the plain symbol keeps: more
// correction, or a larger version that spreads the same loss over more
// blocks and draws each module on more of the camera's pixels, may mend it.
// Other misses (colours too close) neither mends.
bool MoreMayHelp(const SymbolStyle& style, const Symbol& symbol, const StyledSymbolCheck& check) {
  return symbol.symbology == Symbology::QrCode && (style.logo || LostCondition(check.readBack));
}

// A step that mends one loss may miss otherwise (a denser symbol of the
// same version): the steps go on while the symbol is missed.
bool Missed(const StyledSymbolCheck& check) {
  const ReadBackStatus status = check.readBack.status;
  return check.fit.Ok() && (status == ReadBackStatus::NotRead || status == ReadBackStatus::DifferentBytes);
}

bool RaisesLevel(const SymbolRequest& request, const Symbol& symbol) {
  return !request.levelChosen && symbol.level != QrLevel::H;
}

// The request of the next symbol to try and the smallest version it may
// take: the level first, then the version; nullopt when nothing is left.
std::optional<std::pair<SymbolRequest, int>> NextAttempt(const SymbolRequest& tried, const Symbol& symbol,
                                                         int largest) {
  SymbolRequest next = tried;
  if (RaisesLevel(tried, symbol)) {
    next.level = static_cast<QrLevel>(QrLevelPosition(symbol.level) + 1);
    return std::pair{next, symbol.version};
  }
  if (!GrowsForLogo(tried) || symbol.version >= std::min(largest, qr::MaxVersion)) return std::nullopt;
  next.level = symbol.level;
  return std::pair{next, symbol.version + 1};
}

void NoteRaised(const Symbol& first, CheckedSymbol& checked) {
  if (!checked.check) return;
  const Symbol& made = checked.made.symbol;
  ReadBackResult& read = checked.check->readBack;
  if (made.level != first.level) read.levelRaisedFrom = first.level;
  if (made.version != first.version) read.versionGrownFrom = first.version;
}

}  // namespace

std::optional<StyledSymbolCheck> CheckStyledSymbol(const Symbol& symbol, const ImageOptions& requested,
                                                   CameraCheckDepth depth) {
  if (requested.style.IsPlain() || !CheckImage(symbol.matrix, requested).Ok()) return std::nullopt;
  ImageOptions image = SizedForSymbol(requested, symbol.matrix);
  return PlaceAndReadBack(symbol, image.style, image, depth);
}

CheckedSymbol MakeReadableSymbol(const SymbolRequest& request, const SymbolStyle& style, CQrCodeEncoder* encoder,
                                 const StyledSymbolChecker& check) {
  CheckedSymbol checked{MakeStyledSymbol(request, style, encoder), std::nullopt};
  if (!checked.made.Ok()) return checked;
  checked.check = check(checked.made.symbol);
  const Symbol first = checked.made.symbol;
  const int largest = first.version + MaxReadBackGrowth;
  SymbolRequest tried = request;
  const bool mendable = checked.check && MoreMayHelp(style, first, *checked.check);
  while (mendable && checked.check && Missed(*checked.check)) {
    const auto next = NextAttempt(tried, checked.made.symbol, largest);
    if (!next) break;
    CheckedSymbol attempt{MakeStyledSymbol(next->first, style, encoder, next->second), std::nullopt};
    // A logo's next fitting version may lie far above: no longer growth that a style costs.
    if (!attempt.made.Ok() || attempt.made.symbol.version > largest) break;
    attempt.check = check(attempt.made.symbol);
    // Where the logo no longer fits, the smaller symbol's verdict says more.
    if (attempt.check && !attempt.check->fit.Ok()) break;
    tried = next->first;
    checked = std::move(attempt);
  }
  NoteRaised(first, checked);
  return checked;
}

StyledSymbolCheck PlaceAndReadBack(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options,
                                   CameraCheckDepth depth) {
  StyledSymbolCheck check;
  check.fit = ApplyStyle(symbol, style, options);
  if (check.fit.Ok())
    check.readBack = VerifyStyledSymbol(symbol.matrix, options, symbol.symbology, symbol.data, depth);
  check.readBack.advice.higherLevel = LostCondition(check.readBack) && HigherLevelCanHelp(symbol);
  return check;
}

bool HigherLevelCanHelp(const Symbol& symbol) {
  return symbol.symbology == Symbology::QrCode && symbol.level != QrLevel::H;
}

ReadBackRisk LikelyReadBackRisk(const ImageFormat& format, const ImageOptions& options) {
  if (options.quietZone == 0) return ReadBackRisk::NoQuietZone;
  if (IsJpeg(format) && options.scale < SmallestJpegScale) return ReadBackRisk::JpegAtSmallScale;
  if (options.scale == 1) return ReadBackRisk::OnePixelModules;
  return ReadBackRisk::None;
}

}  // namespace quillet
