#include "tests/support/Decode.h"

// zbar's C++ wrappers use names that zxing's headers define as macros.
#include <zbar.h>

#include <ZXing/ReadBarcode.h>
#include <dmtx.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

// Read by LeakSanitizer in sanitizer builds: fontconfig keeps 288 bytes of its
// first configuration substitution unreachable for the life of the process
// (once, not per call); label sheets look up their caption font through it.
// Every test program that decodes links this file.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

constexpr int kLargestSizeZxingReads = 132;  // 144x144 uses an arrangement zxing 1.4 misreads
// Pixels per module libdmtx reads at, first the usual one. It finds no symbol
// at 2, and at any one size misses a few that it reads at another.
constexpr int kLibdmtxScales[] = {4, 3, 6, 8, 5};

std::optional<std::string> ReadZxing(const uint8_t* pixels, int width, int height, DecodeFormat format, bool pure) {
  ZXing::DecodeHints hints;
  hints.setFormats(format == DecodeFormat::QrCode ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::DataMatrix);
  hints.setTryHarder(true);
  hints.setTryRotate(false);
  hints.setIsPure(pure);
  hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
  const ZXing::ImageView view(pixels, width, height, ZXing::ImageFormat::Lum);
  const ZXing::Result result = ZXing::ReadBarcode(view, hints);
  if (!result.isValid()) return std::nullopt;
  const auto& bytes = result.bytes();
  return std::string(bytes.begin(), bytes.end());
}

// zbar, with its text conversion off so that code page 936 bytes stay as they are.
std::optional<std::string> ReadZbar(const uint8_t* pixels, int width, int height) {
  const std::unique_ptr<zbar::zbar_image_scanner_t, void (*)(zbar::zbar_image_scanner_t*)> scanner(
      zbar::zbar_image_scanner_create(), zbar::zbar_image_scanner_destroy);
  zbar::zbar_image_scanner_request_dbus(scanner.get(), 0);  // no system bus here: it would print to stderr
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  zbar::zbar_image_scanner_set_config(scanner.get(), zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_BINARY, 1);
  const std::unique_ptr<zbar::zbar_image_t, void (*)(zbar::zbar_image_t*)> image(zbar::zbar_image_create(),
                                                                                 zbar::zbar_image_destroy);
  zbar::zbar_image_set_format(image.get(), zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image.get(), width, height);
  zbar::zbar_image_set_data(image.get(), pixels, static_cast<unsigned long>(width) * height, nullptr);
  if (zbar::zbar_scan_image(scanner.get(), image.get()) <= 0) return std::nullopt;
  const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(image.get());
  return std::string(zbar::zbar_symbol_get_data(symbol), zbar::zbar_symbol_get_data_length(symbol));
}

struct DmtxReading {
  std::optional<std::string> bytes;
  int rows = 0;  // of the symbol libdmtx found
};

DmtxReading ReadLibdmtx(const uint8_t* pixels, int width, int height) {
  DmtxReading out;
  DmtxImage* image = dmtxImageCreate(const_cast<uint8_t*>(pixels), width, height, DmtxPack8bppK);
  dmtxImageSetProp(image, DmtxPropImageFlip, DmtxFlipNone);
  DmtxDecode* decode = dmtxDecodeCreate(image, 1);
  if (DmtxRegion* region = dmtxRegionFindNext(decode, nullptr)) {
    out.rows = dmtxGetSymbolAttribute(DmtxSymAttribSymbolRows, region->sizeIdx);
    if (DmtxMessage* message = dmtxDecodeMatrixRegion(decode, region, DmtxUndefined)) {
      out.bytes = std::string(reinterpret_cast<const char*>(message->output), message->outputIdx);
      dmtxMessageDestroy(&message);
    }
    dmtxRegionDestroy(&region);
  }
  dmtxDecodeDestroy(&decode);
  dmtxImageDestroy(&image);
  return out;
}

struct Picture {
  std::vector<uint8_t> pixels;
  int width;
  int height;
};

Picture Render(int columns, int rows, const std::function<bool(int, int)>& isDark, int scale, int quiet) {
  Picture p{{}, (columns + 2 * quiet) * scale, (rows + 2 * quiet) * scale};
  p.pixels.assign(static_cast<size_t>(p.width) * p.height, 255);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      if (!isDark(x, y)) continue;
      for (int py = 0; py < scale; ++py)
        for (int px = 0; px < scale; ++px)
          p.pixels[static_cast<size_t>((y + quiet) * scale + py) * p.width + (x + quiet) * scale + px] = 0;
    }
  return p;
}

// zxing's finder search occasionally misses a valid symbol at 2 pixels per
// module when told the image is pure; the general search reads it.
std::optional<std::string> ReadZxingTwice(const Picture& p, DecodeFormat format, bool pure) {
  auto bytes = ReadZxing(p.pixels.data(), p.width, p.height, format, pure);
  if (!bytes && pure) bytes = ReadZxing(p.pixels.data(), p.width, p.height, format, false);
  return bytes;
}

std::vector<Reading> ReadQrCode(const Picture& p, bool pure) {
  return {{Decoder::ZxingCpp, ReadZxingTwice(p, DecodeFormat::QrCode, pure)},
          {Decoder::Zbar, ReadZbar(p.pixels.data(), p.width, p.height)}};
}

// libdmtx gets a picture of its own where the caller can draw one at a
// scale it finds edges at.
std::vector<Reading> ReadDataMatrix(const Picture& forZxing, const Picture& forLibdmtx, bool pure) {
  const DmtxReading dmtx = ReadLibdmtx(forLibdmtx.pixels.data(), forLibdmtx.width, forLibdmtx.height);
  std::vector<Reading> readings{{Decoder::Libdmtx, dmtx.bytes}};
  if (dmtx.rows <= kLargestSizeZxingReads)
    readings.insert(readings.begin(), {Decoder::ZxingCpp, ReadZxingTwice(forZxing, DecodeFormat::DataMatrix, pure)});
  return readings;
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

const char* DecoderName(Decoder decoder) {
  switch (decoder) {
    case Decoder::ZxingCpp: return "zxing-cpp";
    case Decoder::Zbar: return "zbar";
    case Decoder::Libdmtx: return "libdmtx";
  }
  return "?";
}

std::vector<Reading> ReadImage(const uint8_t* pixels, int width, int height, DecodeFormat format, bool pure) {
  const Picture picture{std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height), width, height};
  return format == DecodeFormat::QrCode ? ReadQrCode(picture, pure) : ReadDataMatrix(picture, picture, pure);
}

std::vector<Reading> ReadModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                 DecodeFormat format, int scale, int quiet) {
  const Picture picture = Render(columns, rows, isDark, scale, quiet);
  if (format == DecodeFormat::QrCode) return ReadQrCode(picture, true);
  // libdmtx's edge search misses the odd symbol at one module size that it
  // finds at another, and once in a few hundred thousand it reads two or three
  // characters too many (8x32 at 4 pixels per module) that it does not read
  // at another size. So it looks again at other sizes while it read nothing,
  // or other bytes than zxing-cpp: the modules are the same at every size, so
  // a fault of ours still reads the same everywhere.
  const int libdmtxScale = std::max(scale, kLibdmtxScales[0]);
  std::vector<Reading> readings =
      ReadDataMatrix(picture, libdmtxScale == scale ? picture : Render(columns, rows, isDark, libdmtxScale, quiet), true);
  const std::optional<std::string> zxing = readings.size() > 1 ? readings.front().bytes : std::nullopt;
  Reading& dmtx = readings.back();
  const auto settled = [&](const std::optional<std::string>& bytes) { return bytes && (!zxing || bytes == zxing); };
  for (int retry = 1; !settled(dmtx.bytes) && retry < std::ssize(kLibdmtxScales); ++retry) {
    if (kLibdmtxScales[retry] == libdmtxScale) continue;
    const Picture other = Render(columns, rows, isDark, kLibdmtxScales[retry], quiet);
    auto again = ReadLibdmtx(other.pixels.data(), other.width, other.height).bytes;
    if (!dmtx.bytes || settled(again)) dmtx.bytes = std::move(again);
  }
  return readings;
}

std::optional<std::string> Agreed(const std::vector<Reading>& readings) {
  bool same = true;
  for (const Reading& r : readings) same = same && r.bytes == readings.front().bytes;
  if (same) return readings.empty() ? std::nullopt : readings.front().bytes;
  std::string report = "decoders disagree:";
  for (const Reading& r : readings) report += std::string(" ") + DecoderName(r.decoder) + " read " + Printable(r.bytes);
  return report;
}

std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format, bool pure) {
  return Agreed(ReadImage(pixels, width, height, format, pure));
}

std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale, int quiet) {
  return Agreed(ReadModules(columns, rows, isDark, format, scale, quiet));
}
