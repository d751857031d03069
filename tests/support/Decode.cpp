#include "tests/support/Decode.h"

// zbar's C++ wrappers use names that zxing's headers define as macros.
#include <zbar.h>

#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// What one decoder read; no bytes when it found no symbol.
struct Reading {
  const char* decoder;
  std::optional<std::string> bytes;
};

constexpr int kLargestSizeZxingReads = 132;  // 144x144 uses an arrangement zxing 1.4 misreads
// Pixels per module libdmtx reads at, first the usual one. It finds no symbol
// at 2, and at any one size misses a few that it reads at another.
constexpr int kLibdmtxScales[] = {4, 3, 6, 8, 5};

// zxing's finder search occasionally misses a valid symbol at 2 pixels per
// module when told the image is pure; the general search reads it.
ZXing::DecodeHints HintsFor(DecodeFormat format) {
  return ZXing::DecodeHints().setFormats(format == DecodeFormat::QrCode ? ZXing::BarcodeFormat::QRCode
                                                                          : ZXing::BarcodeFormat::DataMatrix);
}

std::optional<std::string> ReadZxing(const GreyImage& p, DecodeFormat format, bool pure) {
  ZXing::DecodeHints hints = HintsFor(format);
  hints.setTryHarder(true);
  hints.setTryRotate(false);
  hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
  const ZXing::ImageView view(p.pixels.data(), p.width, p.height, ZXing::ImageFormat::Lum);
  for (const bool isPure : {pure, false}) {
    const ZXing::Result result = ZXing::ReadBarcode(view, hints.setIsPure(isPure));
    if (result.isValid()) return std::string(result.bytes().begin(), result.bytes().end());
    if (!pure) break;
  }
  return std::nullopt;
}

// zbar, with its text conversion off so that code page 936 bytes stay as
// they are; `asText`: on, as its scanning programs show a symbol.
std::optional<std::string> ReadZbar(const GreyImage& p, bool asText = false) {
  const std::unique_ptr<zbar::zbar_image_scanner_t, void (*)(zbar::zbar_image_scanner_t*)> scanner(
      zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
  zbar::zbar_image_scanner_request_dbus(scanner.get(), 0);  // no system bus here: it would print to stderr
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_BINARY, asText ? 0 : 1);
  const std::unique_ptr<zbar::zbar_image_t, void (*)(zbar::zbar_image_t*)> image(zbar::zbar_image_create(),
                                                                                 zbar::zbar_image_destroy);
  zbar::zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image.get(), p.width, p.height);
  zbar::zbar_image_set_data(image.get(), p.pixels.data(), p.pixels.size(), nullptr);
  if (zbar::zbar_scan_image(scanner.get(), image.get()) <= 0) return std::nullopt;
  const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(image.get());
  return std::string(zbar::zbar_symbol_get_data(symbol), zbar::zbar_symbol_get_data_length(symbol));
}

// The bytes libdmtx read, and the rows of the symbol it found.
std::pair<std::optional<std::string>, int> ReadLibdmtx(const GreyImage& p) {
  std::pair<std::optional<std::string>, int> out{std::nullopt, 0};
  DmtxImage* image = dmtxImageCreate(const_cast<uint8_t*>(p.pixels.data()), p.width, p.height, DmtxPack8bppK);
  dmtxImageSetProp(image, DmtxPropImageFlip, DmtxFlipNone);
  DmtxDecode* decode = dmtxDecodeCreate(image, 1);
  if (DmtxRegion* region = dmtxRegionFindNext(decode, nullptr)) {
    out.second = dmtxGetSymbolAttribute(DmtxSymAttribSymbolRows, region->sizeIdx);
    if (DmtxMessage* message = dmtxDecodeMatrixRegion(decode, region, DmtxUndefined)) {
      out.first = std::string(reinterpret_cast<const char*>(message->output), message->outputIdx);
      dmtxMessageDestroy(&message);
    }
    dmtxRegionDestroy(&region);
  }
  dmtxDecodeDestroy(&decode);
  dmtxImageDestroy(&image);
  return out;
}

GreyImage Render(int columns, int rows, const std::function<bool(int, int)>& isDark, int scale, int quiet) {
  GreyImage p{(columns + 2 * quiet) * scale, (rows + 2 * quiet) * scale, {}};
  p.pixels.assign(static_cast<size_t>(p.width) * p.height, 255);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x)
      if (isDark(x, y))
        for (int py = (y + quiet) * scale; py < (y + quiet + 1) * scale; ++py)
          std::fill_n(p.pixels.begin() + static_cast<ptrdiff_t>(py) * p.width + (x + quiet) * scale, scale, 0);
  return p;
}

// libdmtx gets a picture of its own where the caller can draw one at a
// scale it finds edges at.
std::vector<Reading> Read(const GreyImage& p, DecodeFormat format, bool pure, const GreyImage& forLibdmtx) {
  const auto zxing = [&] { return Reading{"zxing-cpp", ReadZxing(p, format, pure)}; };
  if (format == DecodeFormat::QrCode) return {zxing(), {"zbar", ReadZbar(p)}};
  const auto [bytes, rows] = ReadLibdmtx(forLibdmtx);
  if (rows > kLargestSizeZxingReads) return {{"libdmtx", bytes}};
  return {zxing(), {"libdmtx", bytes}};
}

std::vector<Reading> ReadModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                 DecodeFormat format, int scale, int quiet) {
  const GreyImage p = Render(columns, rows, isDark, scale, quiet);
  if (format == DecodeFormat::QrCode) return Read(p, format, true, p);
  // libdmtx's edge search misses the odd symbol at one module size that it
  // finds at another, and once in a few hundred thousand it reads two or three
  // characters too many (8x32 at 4 pixels per module) that it does not read
  // at another size. So it looks again at other sizes while it read nothing,
  // or other bytes than zxing-cpp: the modules are the same at every size, so
  // a fault of ours still reads the same everywhere.
  const int libdmtxScale = std::max(scale, kLibdmtxScales[0]);
  std::vector<Reading> readings =
      Read(p, format, true, libdmtxScale == scale ? p : Render(columns, rows, isDark, libdmtxScale, quiet));
  const std::optional<std::string> zxing = readings.size() > 1 ? readings.front().bytes : std::nullopt;
  Reading& dmtx = readings.back();
  const auto settled = [&](const std::optional<std::string>& bytes) { return bytes && (!zxing || bytes == zxing); };
  for (const int other : kLibdmtxScales) {
    if (settled(dmtx.bytes)) break;
    if (other == libdmtxScale) continue;
    auto again = ReadLibdmtx(Render(columns, rows, isDark, other, quiet)).first;
    if (!dmtx.bytes || settled(again)) dmtx.bytes = std::move(again);
  }
  return readings;
}

std::optional<std::string> Agreed(const std::vector<Reading>& readings) {
  bool same = true;
  for (const Reading& r : readings) same = same && r.bytes == readings.front().bytes;
  if (same) return readings.empty() ? std::nullopt : readings.front().bytes;
  std::string report = "decoders disagree:";
  for (const Reading& r : readings) report += std::string(" ") + r.decoder + " read " + Printable(r.bytes);
  return report;
}

}  // namespace

std::string Printable(const std::optional<std::string>& bytes) {
  if (!bytes) return "nothing";
  std::string s = "\"";
  for (const unsigned char c : bytes->substr(0, 40)) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    s += c >= 32 && c < 127 && c != '"' && c != '\\' ? std::string(1, static_cast<char>(c)) : hex;
  }
  return s + (bytes->size() > 40 ? "\"... (" + std::to_string(bytes->size()) + " bytes)" : "\"");
}

std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format, bool pure) {
  const GreyImage p{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
  return Agreed(Read(p, format, pure, p));
}

std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale, int quiet) {
  return Agreed(ReadModules(columns, rows, isDark, format, scale, quiet));
}

std::optional<std::string> ZxingText(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                     DecodeFormat format) {
  const GreyImage p = Render(columns, rows, isDark, 4, 4);
  const ZXing::Result result =
      ZXing::ReadBarcode(ZXing::ImageView(p.pixels.data(), p.width, p.height, ZXing::ImageFormat::Lum), HintsFor(format));
  return result.isValid() ? std::optional(result.text()) : std::nullopt;
}

std::string ZxingEciBytes(int columns, int rows, const std::function<bool(int, int)>& isDark, DecodeFormat format) {
  const GreyImage p = Render(columns, rows, isDark, 4, 4);
  const ZXing::Result result = ZXing::ReadBarcode(
      ZXing::ImageView(p.pixels.data(), p.width, p.height, ZXing::ImageFormat::Lum), HintsFor(format).setIsPure(true));
  const ZXing::ByteArray bytes = result.bytesECI();
  return bytes.size() < 3 ? std::string() : std::string(bytes.begin() + 3, bytes.end());
}

std::optional<std::string> ZbarText(int columns, int rows, const std::function<bool(int, int)>& isDark) {
  return ReadZbar(Render(columns, rows, isDark, 4, 4), true);
}
