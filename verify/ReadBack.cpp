#include "verify/ReadBack.h"

#include "content/LazyModule.h"
#include "image/StyledImage.h"
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
