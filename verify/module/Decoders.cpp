#include "verify/module/Decoders.h"

#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <algorithm>

namespace quillet {

namespace {

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
  // dmtx only reads; the const_cast hands it the pixels without a copy.
  DmtxImage* pixels = dmtxImageCreate(const_cast<uint8_t*>(image.pixels.data()), image.width, image.height,
                                      DmtxPack8bppK);
  if (!pixels) return std::nullopt;
  // About three pixels per module are plenty for its edge search.
  DmtxDecode* decoder = dmtxDecodeCreate(pixels, std::max(1, moduleSide / 3));
  std::optional<std::string> bytes;
  if (decoder) {
    // A clock would make the verdict depend on the machine's load; without
    // one the search ends when it has visited the whole (reduced) image.
    DmtxTime timeout{};
    if (timeoutMs > 0) timeout = dmtxTimeAdd(dmtxTimeNow(), timeoutMs);
    if (DmtxRegion* region = dmtxRegionFindNext(decoder, timeoutMs > 0 ? &timeout : nullptr)) {
      if (DmtxMessage* message = dmtxDecodeMatrixRegion(decoder, region, DmtxUndefined)) {
        bytes = std::string(reinterpret_cast<const char*>(message->output), message->outputIdx);
        dmtxMessageDestroy(&message);
      }
      dmtxRegionDestroy(&region);
    }
    dmtxDecodeDestroy(&decoder);
  }
  dmtxImageDestroy(&pixels);
  return bytes;
}

}  // namespace quillet
