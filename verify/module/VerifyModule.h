// The interface of the read-back module (libquillet_verify.so), which links
// the image readers and the decoders. Reached through verify/ReadBack.h.
#pragma once

#include <optional>

#include "verify/LogoFile.h"
#include "verify/ReadBack.h"
#include "verify/ReadSymbols.h"
#include "verify/module/CameraView.h"

namespace quillet {

struct VerifyModuleApi {
  ReadBackResult (*verifyFile)(const std::string& path, const ModuleMatrix& matrix, const ImageOptions& options,
                               Symbology symbology, std::string_view expected);
  ReadBackResult (*verifyBytes)(std::string_view bytes, const ModuleMatrix& matrix, const ImageOptions& options,
                                Symbology symbology, std::string_view expected);
  ReadBackResult (*verifyModules)(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                                  std::string_view expected);
  ReadBackResult (*verifyPixels)(const uint8_t* pixels, int width, int height, Symbology symbology,
                                 std::string_view expected);
  // 8-bit grey pixels, modules of `scale` pixels, that every decoder of the symbology must read.
  ReadBackResult (*verifyPixelsByEvery)(const uint8_t* pixels, int width, int height, int scale, Symbology symbology,
                                        std::string_view expected);
  // A logo file's pixels (PNG, JPEG or SVG), bounded before they are decoded.
  std::optional<RgbaImage> (*readLogo)(std::string_view bytes, LogoReadProblem* problem);
  SymbolsInImage (*readFile)(const std::string& path, const ReadStop* stop);
  SymbolsInImage (*readBytes)(std::string_view bytes, const ReadStop* stop);
  SymbolsInImage (*readPixels)(const uint8_t* pixels, int width, int height, const ReadStop* stop);
  GreyPicture (*readPicture)(std::string_view bytes);
  // The symbol under the camera's conditions, the plain one beside it (see CameraView.h).
  std::vector<ConditionReading> (*readUnderConditions)(const CameraViews& views, Symbology symbology,
                                                       std::string_view expected);
};

#define QUILLET_VERIFY_MODULE "libquillet_verify.so"
#define QUILLET_VERIFY_ENTRY "QuilletVerifyModule"
extern "C" __attribute__((visibility("default"))) const VerifyModuleApi* QuilletVerifyModule();

}  // namespace quillet
