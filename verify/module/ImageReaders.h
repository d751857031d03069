// Image files back to 8-bit grey pixels, through the same libraries a viewer
// uses (libpng, libjpeg, giflib) and our own reading of BMP. Files may come
// from anywhere: a header is checked against a pixel budget before anything
// is allocated, and a damaged file is a failure with its kind, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/SymbolStyle.h"
#include "verify/ImageRead.h"
#include "verify/LogoFile.h"

namespace quillet {

struct GreyPixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // row after row, 0 black, 255 white
  int reduction = 1;            // the file's pixels per pixel here, across and down (a JPEG decoded reduced)
};

// What the file's first bytes say it is.
enum class FileKind { Png, Jpeg, Gif, Bmp, Pdf, Eps, Svg, Unknown };
FileKind SniffFileKind(std::string_view bytes);

// A PNG or JPEG as RGBA (a logo): sides above `maxSide` are refused as too
// large before any pixel is allocated, but for a PNG of no more than
// MaxLogoSourceSide a side, not interlaced, which is scaled down as it is
// decoded to at most LogoReducedSide a side.
std::optional<RgbaImage> ReadRasterRgba(FileKind kind, std::string_view bytes, int maxSide, LogoReadProblem* problem);
// For the logo readers: a transparent image, and a refusal.
RgbaImage BlankRgba(int width, int height);
std::optional<RgbaImage> FailLogo(LogoReadProblem* problem, LogoFileFailure failure,
                                  ImageReadDetail reason = ImageReadDetail::None);
std::optional<RgbaImage> LogoLibrarySays(LogoReadProblem* problem, std::string message);
// Decoded pixels of a raster file; on failure empty, with the reason. `fitSide` above 0 lets a reader that
// can decode at a half, a quarter or an eighth of the size cheaply (JPEG)
// do so, as long as the longer side stays at least `fitSide` pixels; the
// others read every pixel.
std::optional<GreyPixels> ReadRasterImage(FileKind kind, std::string_view bytes, ImageReadProblem* problem,
                                          int fitSide = 0);

}  // namespace quillet
