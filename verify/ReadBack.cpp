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
                         Symbology symbology, std::string_view expected, ReadBackResult& result) {
  for (const std::string& decoder : result.decoders)
    result.conditions.push_back({AsPrintedCondition, decoder, CameraReading::Read, CameraReading::NotTried});
  ImageOptions plain;
  plain.quietZone = options.quietZone;
  const CameraPicture styled = CameraView(matrix, options), yardstick = CameraView(matrix, plain);
  const CameraViews views = ViewsOf(styled, &yardstick);
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
                                  std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  if (!api) return failure;
  const RgbaImage image = RenderStyledSymbol(matrix, options);
  const std::vector<uint8_t> grey = CompositeGrey(image, SolidBackground(options.style));
  ReadBackResult result =
      api->verifyPixelsByEvery(grey.data(), image.width, image.height, options.scale, symbology, expected);
  if (!result.Ok()) return result;
  ReadUnderConditions(*api, matrix, options, symbology, expected, result);
  NoteLoss(options, result);
  return result;
}

namespace {

// A logo's symbol that fits its bound but that the decoders miss, or a
// style that loses a camera condition the plain symbol keeps: a larger
// version spreads the same loss over more blocks and draws each module on
// more of the camera's pixels. Other misses (colours too close) no size mends.
bool GrowsForReadBack(const SymbolRequest& request, const SymbolStyle& style, const Symbol& symbol,
                      const StyledSymbolCheck& check) {
  const bool missed = check.readBack.status == ReadBackStatus::NotRead ||
                      check.readBack.status == ReadBackStatus::DifferentBytes;
  const bool sizeMayHelp = style.logo || LostCondition(check.readBack);
  return sizeMayHelp && GrowsForLogo(request) && check.fit.Ok() && missed && symbol.version < qr::MaxVersion;
}

}  // namespace

std::optional<StyledSymbolCheck> CheckStyledSymbol(const Symbol& symbol, const ImageOptions& requested) {
  if (requested.style.IsPlain() || !CheckImage(symbol.matrix, requested).Ok()) return std::nullopt;
  ImageOptions image = SizedForSymbol(requested, symbol.matrix);
  return PlaceAndReadBack(symbol, image.style, image);
}

CheckedSymbol MakeReadableSymbol(const SymbolRequest& request, const SymbolStyle& style, CQrCodeEncoder* encoder,
                                 const StyledSymbolChecker& check) {
  CheckedSymbol checked{MakeStyledSymbol(request, style, encoder), std::nullopt};
  if (!checked.made.Ok()) return checked;
  checked.check = check(checked.made.symbol);
  const int largest = checked.made.symbol.version + MaxReadBackGrowth;
  while (checked.check && GrowsForReadBack(request, style, checked.made.symbol, *checked.check)) {
    CheckedSymbol larger{MakeStyledSymbol(request, style, encoder, checked.made.symbol.version + 1), std::nullopt};
    // A logo's next fitting version may lie far above: no longer growth that a style costs.
    if (!larger.made.Ok() || larger.made.symbol.version > largest) break;
    larger.check = check(larger.made.symbol);
    // Where the logo no longer fits, the smaller symbol's verdict says more.
    if (larger.check && !larger.check->fit.Ok()) break;
    checked = std::move(larger);
  }
  return checked;
}

StyledSymbolCheck PlaceAndReadBack(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options) {
  StyledSymbolCheck check;
  check.fit = ApplyStyle(symbol, style, options);
  if (check.fit.Ok()) check.readBack = VerifyStyledSymbol(symbol.matrix, options, symbol.symbology, symbol.data);
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
