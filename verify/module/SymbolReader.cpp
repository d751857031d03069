// Reading every symbol in an image of unknown content. A large photo is
// looked at first at about a megapixel, which finds any symbol that fills a
// fair part of it in a fraction of the time; only when that finds nothing
// are all its pixels decoded.
#include "verify/module/SymbolReader.h"

#include <algorithm>

#include "verify/InputFile.h"
#include "verify/module/Decoders.h"

namespace quillet {

namespace {

// The longer side of the first, quick look.
constexpr int QuickSide = 1000;
// How long libdmtx may search a picture that holds no Data Matrix: the
// desktop program waits for it.
constexpr int DmtxSearchMs = 300;
// No image within the pixel budget is larger as a file, however it is compressed.
constexpr int64_t MaxImageFileBytes = 256 << 20;

// Each output pixel the mean of a factor x factor block.
GreyPixels Shrink(const GreyPixels& image, int factor) {
  GreyPixels small{image.width / factor, image.height / factor, {}};
  small.pixels.resize(static_cast<size_t>(small.width) * small.height);
  std::vector<unsigned> sums(static_cast<size_t>(small.width));
  for (int y = 0; y < small.height; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int dy = 0; dy < factor; ++dy) {
      const uint8_t* row = image.pixels.data() + static_cast<size_t>(y * factor + dy) * image.width;
      for (int x = 0; x < small.width * factor; ++x) sums[static_cast<size_t>(x / factor)] += row[x];
    }
    for (int x = 0; x < small.width; ++x)
      small.pixels[static_cast<size_t>(y) * small.width + x] = static_cast<uint8_t>(sums[x] / (factor * factor));
  }
  return small;
}

std::vector<FoundSymbol> FindInPixels(const GreyPixels& image) {
  const int factor = std::max(image.width, image.height) / QuickSide;
  GreyPixels small;
  if (factor >= 2) {
    small = Shrink(image, factor);
    if (auto found = FindWithZxing(small); !found.empty()) return found;
  }
  if (auto found = FindWithZxing(image); !found.empty()) return found;
  // zbar and libdmtx search a large image slowly (seconds for a photo with
  // nothing in it); its reduced copy serves them as well.
  const GreyPixels& searched = factor >= 2 ? small : image;
  if (auto found = FindWithZbar(searched); !found.empty()) return found;
  if (auto bytes = DecodeWithDmtx(searched, 0, DmtxSearchMs))
    return {{Symbology::DataMatrix, std::move(*bytes), std::nullopt, "libdmtx"}};
  return {};
}

SymbolsInImage Failed(ImageReadFailure failure, int error = 0) { return {{failure, {}, error}, {}}; }

}  // namespace

SymbolsInImage ReadSymbolsFromBytes(std::string_view bytes) {
  const FileKind kind = SniffFileKind(bytes);
  if (kind != FileKind::Png && kind != FileKind::Jpeg && kind != FileKind::Gif && kind != FileKind::Bmp)
    return Failed(ImageReadFailure::NotAnImage);
  SymbolsInImage result;
  auto image = ReadRasterImage(kind, bytes, &result.problem, QuickSide);
  if (!image) return result;
  result.symbols = FindInPixels(*image);
  // A JPEG may have been decoded at a fraction of its size; a small symbol needs every pixel.
  if (result.symbols.empty() && kind == FileKind::Jpeg && std::max(image->width, image->height) >= QuickSide)
    if ((image = ReadRasterImage(kind, bytes, &result.problem))) result.symbols = FindInPixels(*image);
  return result;
}

SymbolsInImage ReadSymbolsFromFile(const std::string& path) {
  const InputFile file = ReadInputFile(path, MaxImageFileBytes);
  switch (file.failure) {
    case InputFileFailure::CannotOpen: return Failed(ImageReadFailure::CannotOpen, file.error);
    case InputFileFailure::NotAFile: return Failed(ImageReadFailure::NotAnImage);  // a pipe or a device
    case InputFileFailure::TooLarge: return Failed(ImageReadFailure::TooLarge);
    case InputFileFailure::None: break;
  }
  return ReadSymbolsFromBytes(file.bytes);
}

SymbolsInImage ReadSymbolsFromPixels(const uint8_t* pixels, int width, int height) {
  if (width < 1 || height < 1 || static_cast<int64_t>(width) * height > MaxImagePixels)
    return {{ImageReadFailure::TooLarge, std::to_string(width) + " x " + std::to_string(height), 0}, {}};
  const GreyPixels image{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
  return {{}, FindInPixels(image)};
}

}  // namespace quillet
