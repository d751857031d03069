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

ReadBackResult VerifyStyledSymbol(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                                  std::string_view expected) {
  ReadBackResult failure;
  const VerifyModuleApi* api = VerifyModule(&failure);
  if (!api) return failure;
  const RgbaImage image = RenderStyledSymbol(matrix, options);
  const std::vector<uint8_t> grey = CompositeGrey(image, SolidBackground(options.style));
  return api->verifyPixelsByEvery(grey.data(), image.width, image.height, options.scale, symbology, expected);
}

namespace {

// A logo's symbol that fits its bound but that the decoders miss: a larger
// version spreads the same loss over more blocks.
bool GrowsForReadBack(const SymbolRequest& request, const SymbolStyle& style, const Symbol& symbol,
                      const StyledSymbolCheck& check) {
  const bool missed = check.readBack.status == ReadBackStatus::NotRead ||
                      check.readBack.status == ReadBackStatus::DifferentBytes;
  return style.logo && GrowsForLogo(request) && check.fit.Ok() && missed && symbol.version < qr::MaxVersion;
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
  for (int grown = 0; checked.made.Ok(); ++grown) {
    checked.check = check(checked.made.symbol);
    const Symbol& symbol = checked.made.symbol;
    if (!checked.check || grown == MaxReadBackGrowth || !GrowsForReadBack(request, style, symbol, *checked.check))
      break;
    SymbolResult larger = MakeStyledSymbol(request, style, encoder, symbol.version + 1);
    if (!larger.Ok()) break;
    checked.made = std::move(larger);
  }
  return checked;
}

StyledSymbolCheck PlaceAndReadBack(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options) {
  StyledSymbolCheck check;
  check.fit = ApplyStyle(symbol, style, options);
  if (check.fit.Ok()) check.readBack = VerifyStyledSymbol(symbol.matrix, options, symbol.symbology, symbol.data);
  return check;
}

ReadBackRisk LikelyReadBackRisk(const ImageFormat& format, const ImageOptions& options) {
  if (options.quietZone == 0) return ReadBackRisk::NoQuietZone;
  if (IsJpeg(format) && options.scale < SmallestJpegScale) return ReadBackRisk::JpegAtSmallScale;
  if (options.scale == 1) return ReadBackRisk::OnePixelModules;
  return ReadBackRisk::None;
}

}  // namespace quillet
