#include "verify/module/Decoders.h"

#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <algorithm>

namespace quillet {

namespace {

// Places that look like a symbol's corner but are not one, tried in one area
// before it is given up: a symbol is almost always the first or second.
constexpr int DmtxCandidatesPerArea = 3;

// libdmtx looking at an area of the image, in place: it only reads, and the
// rows between are skipped as padding.
struct DmtxSearch {
  DmtxSearch(const GreyPixels& image, const PixelArea& area, int shrink) : area(area) {
    auto* first = const_cast<uint8_t*>(image.pixels.data()) + static_cast<size_t>(area.top) * image.width + area.left;
    pixels = dmtxImageCreate(first, area.width, area.height, DmtxPack8bppK);
    if (!pixels) return;
    dmtxImageSetProp(pixels, DmtxPropRowPadBytes, image.width - area.width);
    decoder = dmtxDecodeCreate(pixels, shrink);
  }
  ~DmtxSearch() {
    if (decoder) dmtxDecodeDestroy(&decoder);
    if (pixels) dmtxImageDestroy(&pixels);
  }
  DmtxSearch(const DmtxSearch&) = delete;
  DmtxSearch& operator=(const DmtxSearch&) = delete;

  std::optional<std::string> Decode(DmtxRegion* region) const {
    DmtxMessage* message = dmtxDecodeMatrixRegion(decoder, region, DmtxUndefined);
    if (!message) return std::nullopt;
    std::string bytes(reinterpret_cast<const char*>(message->output), message->outputIdx);
    dmtxMessageDestroy(&message);
    return bytes;
  }
  // The region's corners in the image's pixels; libdmtx counts rows from the bottom.
  SymbolBox Box(DmtxRegion* region) const {
    SymbolBox box{area.left + area.width, area.top + area.height, area.left, area.top};
    for (DmtxVector2 corner : {DmtxVector2{0, 0}, DmtxVector2{1, 0}, DmtxVector2{1, 1}, DmtxVector2{0, 1}}) {
      dmtxMatrix3VMultiplyBy(&corner, region->fit2raw);
      const int x = area.left + static_cast<int>(corner.X), y = area.top + area.height - 1 - static_cast<int>(corner.Y);
      box.left = std::min(box.left, x), box.right = std::max(box.right, x + 1);
      box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y + 1);
    }
    return box;
  }

  PixelArea area;
  DmtxImage* pixels = nullptr;
  DmtxDecode* decoder = nullptr;
};

std::optional<std::string> ZxingRead(const GreyPixels& image, bool dataMatrix, bool pure) {
  ZXing::DecodeHints hints;
  hints.setFormats(dataMatrix ? ZXing::BarcodeFormat::DataMatrix : ZXing::BarcodeFormat::QRCode);
  hints.setTryHarder(true);
  hints.setIsPure(pure);
  const ZXing::Result result =
      ZXing::ReadBarcode(ZXing::ImageView(image.pixels.data(), image.width, image.height, ZXing::ImageFormat::Lum), hints);
  if (!result.isValid()) return std::nullopt;
  const auto& bytes = result.bytes();
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::optional<std::string> DecodeWithZxing(const GreyPixels& image, bool dataMatrix) {
  // Our files hold nothing but the symbol and its quiet zone: the pure reader
  // finds it by geometry alone, the general one copes with what a lossy
  // format did to it.
  if (auto bytes = ZxingRead(image, dataMatrix, true)) return bytes;
  return ZxingRead(image, dataMatrix, false);
}

std::vector<FoundSymbol> FindWithZxing(const GreyPixels& image, const PixelArea& area) {
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix);
  hints.setTryHarder(true);
  hints.setTryRotate(true);
  // The area is a view into the image's rows: nothing is copied.
  const uint8_t* first = image.pixels.data() + static_cast<size_t>(area.top) * image.width + area.left;
  const ZXing::Results results =
      ZXing::ReadBarcodes(ZXing::ImageView(first, area.width, area.height, ZXing::ImageFormat::Lum, image.width), hints);
  std::vector<FoundSymbol> found;
  for (const ZXing::Result& result : results) {
    if (!result.isValid()) continue;
    const bool qr = result.format() == ZXing::BarcodeFormat::QRCode;
    const auto& bytes = result.bytes();
    SymbolBox box{area.left + area.width, area.top + area.height, area.left, area.top};
    for (const ZXing::PointI& corner : result.position()) {
      box.left = std::min(box.left, area.left + corner.x), box.right = std::max(box.right, area.left + corner.x + 1);
      box.top = std::min(box.top, area.top + corner.y), box.bottom = std::max(box.bottom, area.top + corner.y + 1);
    }
    found.push_back({qr ? Symbology::QrCode : Symbology::DataMatrix, std::string(bytes.begin(), bytes.end()),
                     qr ? ParseQrLevel(result.ecLevel()) : std::nullopt, "zxing-cpp", box});
  }
  return found;
}

std::vector<FoundSymbol> FindWithZxing(const GreyPixels& image) {
  return FindWithZxing(image, {0, 0, image.width, image.height});
}

std::optional<std::string> DecodeWithDmtx(const GreyPixels& image, int moduleSide, int timeoutMs) {
  // About three pixels per module are plenty for its edge search.
  DmtxSearch search(image, {0, 0, image.width, image.height}, std::max(1, moduleSide / 3));
  if (!search.decoder) return std::nullopt;
  // A clock would make the verdict depend on the machine's load; without
  // one the search ends when it has visited the whole (reduced) image.
  DmtxTime timeout{};
  if (timeoutMs > 0) timeout = dmtxTimeAdd(dmtxTimeNow(), timeoutMs);
  DmtxRegion* region = dmtxRegionFindNext(search.decoder, timeoutMs > 0 ? &timeout : nullptr);
  if (!region) return std::nullopt;
  std::optional<std::string> bytes = search.Decode(region);
  dmtxRegionDestroy(&region);
  return bytes;
}

std::vector<FoundSymbol> FindWithDmtx(const GreyPixels& image, const PixelArea& area, int timeoutMs) {
  DmtxSearch search(image, area, 1);
  std::vector<FoundSymbol> found;
  if (!search.decoder) return found;
  DmtxTime timeout = dmtxTimeAdd(dmtxTimeNow(), timeoutMs);
  for (int tried = 0; tried < DmtxCandidatesPerArea; ++tried) {
    DmtxRegion* region = dmtxRegionFindNext(search.decoder, &timeout);
    if (!region) break;
    auto bytes = search.Decode(region);
    if (bytes) found.push_back({Symbology::DataMatrix, std::move(*bytes), std::nullopt, "libdmtx", search.Box(region)});
    dmtxRegionDestroy(&region);
    // Searching on past a symbol costs more than the area's first search did.
    if (bytes) break;
  }
  return found;
}

}  // namespace quillet
