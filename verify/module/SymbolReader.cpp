// Reading every symbol in an image of unknown content. A large photo is
// looked at first at about a megapixel, which finds any symbol that fills a
// fair part of it in a fraction of the time; all its pixels are decoded only
// where that look leaves regions that look like symbols unread (a page of
// labels, a symbol too fine for the reduced copy), tile by tile.
#include "verify/module/SymbolReader.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "verify/InputFile.h"
#include "verify/module/Decoders.h"
#include "verify/module/PageSearch.h"

namespace quillet {

namespace {

// The longer side of the first, quick look.
constexpr int QuickSide = 1000;
// How long libdmtx may search a picture that holds no Data Matrix: the
// desktop program waits for it.
constexpr int DmtxSearchMs = 300;
// No image within the pixel budget is larger as a file, however it is compressed.
constexpr int64_t MaxImageFileBytes = 256 << 20;
// The side (pixels) the tiles are made for when the quick look found no
// symbol to measure: a symbol its modules were too fine for.
constexpr int UnmeasuredSymbolSide = 512;

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

// An image in two sizes: the quick copy, and all its pixels, decoded once
// and only when asked for (a JPEG is first decoded reduced).
class Picture {
 public:
  Picture(GreyPixels first, std::function<std::optional<GreyPixels>()> readAll) : readAll_(std::move(readAll)) {
    const int factor = std::max(first.width, first.height) / QuickSide;
    scale_ = first.reduction * std::max(factor, 1);
    if (factor >= 2) quick_ = Shrink(first, factor);
    if (first.reduction == 1) full_ = std::move(first);
    else if (factor < 2) quick_ = std::move(first);
  }
  const GreyPixels& Quick() const { return quick_ ? *quick_ : *full_; }
  bool QuickIsFull() const { return !quick_; }
  // The file's pixels per quick pixel.
  int Scale() const { return scale_; }
  const GreyPixels* Full() {
    if (!full_ && readAll_) full_ = std::exchange(readAll_, nullptr)();
    return full_ ? &*full_ : nullptr;
  }

 private:
  std::optional<GreyPixels> quick_, full_;
  std::function<std::optional<GreyPixels>()> readAll_;
  int scale_ = 1;
};

bool Stopped(const ReadStop* stop) { return stop && stop->load(std::memory_order_relaxed); }

SymbolBox Scaled(const SymbolBox& box, int scale) {
  return {box.left * scale, box.top * scale, box.right * scale, box.bottom * scale};
}

// The tiles pass: full resolution where the quick look left `unread` regions.
void SearchTiles(Picture& picture, const std::vector<SymbolBox>& unread, std::vector<FoundSymbol>& found,
                 const ReadStop* stop) {
  const GreyPixels* full = picture.Full();
  if (!full) return;
  int side = 0;
  for (const FoundSymbol& symbol : found) side = std::max(side, symbol.box ? symbol.box->Side() : 0);
  for (const PixelArea& tile : PlanTiles(full->width, full->height, unread, side ? side : UnmeasuredSymbolSide)) {
    if (Stopped(stop)) return;
    // The whole image at full size is what the quick look already searched.
    if (!picture.QuickIsFull() || tile.width < full->width || tile.height < full->height)
      MergeFound(found, FindWithZxing(*full, tile));
  }
}

std::vector<FoundSymbol> FindEverySymbol(Picture& picture, const ReadStop* stop) {
  if (Stopped(stop)) return {};
  const GreyPixels& quick = picture.Quick();
  std::vector<FoundSymbol> found = FindWithZxing(quick);
  if (Stopped(stop)) return found;
  std::vector<SymbolBox> unread = UnreadBusyRegions(quick, found);
  for (FoundSymbol& symbol : found)
    if (symbol.box) symbol.box = Scaled(*symbol.box, picture.Scale());
  for (SymbolBox& region : unread) region = Scaled(region, picture.Scale());
  if (!unread.empty()) SearchTiles(picture, unread, found, stop);
  if (!found.empty() || Stopped(stop)) return found;
  // zbar and libdmtx search a large image slowly (seconds for a photo with
  // nothing in it); the quick copy serves them as well.
  if (auto zbar = FindWithZbar(quick); !zbar.empty() || Stopped(stop)) return zbar;
  if (auto bytes = DecodeWithDmtx(quick, 0, DmtxSearchMs))
    return {{Symbology::DataMatrix, std::move(*bytes), std::nullopt, "libdmtx", std::nullopt}};
  return {};
}

SymbolsInImage Failed(ImageReadFailure failure, int error = 0) { return {{failure, {}, error}, {}}; }

}  // namespace

SymbolsInImage ReadSymbolsFromBytes(std::string_view bytes, const ReadStop* stop) {
  const FileKind kind = SniffFileKind(bytes);
  if (kind != FileKind::Png && kind != FileKind::Jpeg && kind != FileKind::Gif && kind != FileKind::Bmp)
    return Failed(ImageReadFailure::NotAnImage);
  SymbolsInImage result;
  auto image = ReadRasterImage(kind, bytes, &result.problem, QuickSide);
  if (!image) return result;
  // The second decoding of a JPEG, at full size, cannot fail where the first did not.
  Picture picture(std::move(*image), [kind, bytes] {
    ImageReadProblem ignored;
    return ReadRasterImage(kind, bytes, &ignored);
  });
  result.symbols = FindEverySymbol(picture, stop);
  return result;
}

SymbolsInImage ReadSymbolsFromFile(const std::string& path, const ReadStop* stop) {
  const InputFile file = ReadInputFile(path, MaxImageFileBytes);
  switch (file.failure) {
    case InputFileFailure::CannotOpen: return Failed(ImageReadFailure::CannotOpen, file.error);
    case InputFileFailure::NotAFile: return Failed(ImageReadFailure::NotAnImage);  // a pipe or a device
    case InputFileFailure::TooLarge: return Failed(ImageReadFailure::TooLarge);
    case InputFileFailure::None: break;
  }
  return ReadSymbolsFromBytes(file.bytes, stop);
}

SymbolsInImage ReadSymbolsFromPixels(const uint8_t* pixels, int width, int height, const ReadStop* stop) {
  if (width < 1 || height < 1 || static_cast<int64_t>(width) * height > MaxImagePixels)
    return {{ImageReadFailure::TooLarge, std::to_string(width) + " x " + std::to_string(height), 0}, {}};
  Picture picture(GreyPixels{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)},
                  nullptr);
  return {{}, FindEverySymbol(picture, stop)};
}

}  // namespace quillet
