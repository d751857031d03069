// Read-back verification inside the module: read the file as written, hand
// the pixels to each independent decoder in turn, compare the bytes.
#include "verify/module/VerifyModule.h"

#include <fstream>

#include "verify/module/Decoders.h"
#include "verify/module/ImageReaders.h"
#include "verify/module/LogoReader.h"

namespace {

// Far above any symbol file we write; a larger file is not read into memory.
constexpr std::streamsize MaxFileBytes = 256 << 20;

ReadBackResult Result(ReadBackStatus status, std::string decoder, std::string detail) {
  return {status, std::move(decoder), std::move(detail)};
}

struct Attempt {
  const char* decoder;
  std::optional<std::string> bytes;
};

ReadBackResult Compare(std::initializer_list<Attempt> attempts, std::string_view expected) {
  std::string names, misread;
  for (const Attempt& attempt : attempts) {
    if (attempt.bytes && *attempt.bytes == expected) return Result(ReadBackStatus::ReadBack, attempt.decoder, {});
    if (attempt.bytes && misread.empty())
      misread = std::string(attempt.decoder) + " read " + std::to_string(attempt.bytes->size()) + " bytes that differ from the " +
                std::to_string(expected.size()) + " encoded";
    names += (names.empty() ? "" : " nor ") + std::string(attempt.decoder);
  }
  if (!misread.empty()) return Result(ReadBackStatus::DifferentBytes, {}, misread);
  if (attempts.size() == 1) return Result(ReadBackStatus::NotRead, {}, names + " did not find the symbol");
  return Result(ReadBackStatus::NotRead, {}, "neither " + names + " found the symbol");
}

// QR Code: zxing-cpp first, zbar where zxing-cpp misses (each has symbols
// the other cannot find at small scales). Data Matrix: libdmtx first,
// because the zxing-cpp we build against misreads the interleave of the
// largest size; zxing-cpp only where libdmtx finds nothing (modules of one
// pixel), and then only its exact bytes count. A decoder's blind spot must
// not make a good file look bad.
ReadBackResult Decode(const GreyPixels& image, Symbology symbology, std::string_view expected, int moduleSide) {
  if (symbology == Symbology::DataMatrix) {
    auto dmtx = DecodeWithDmtx(image, moduleSide);
    if (dmtx) return Compare({{"libdmtx", std::move(dmtx)}}, expected);
    auto zxing = DecodeWithZxing(image, true);
    if (zxing && *zxing == expected) return Result(ReadBackStatus::ReadBack, "zxing-cpp", {});
    return Result(ReadBackStatus::NotRead, {}, "neither libdmtx nor zxing-cpp found the symbol");
  }
  auto zxing = DecodeWithZxing(image, false);
  if (zxing && *zxing == expected) return Result(ReadBackStatus::ReadBack, "zxing-cpp", {});
  return Compare({{"zxing-cpp", std::move(zxing)}, {"zbar", DecodeWithZbar(image)}}, expected);
}

// What a vector file draws, as pixels at the file's own scale.
GreyPixels RenderModules(const ModuleMatrix& matrix, const ImageOptions& options) {
  const int scale = std::max(1, options.scale), quiet = options.quietZone;
  GreyPixels image{(matrix.Columns() + 2 * quiet) * scale, (matrix.Rows() + 2 * quiet) * scale, {}};
  image.pixels.assign(static_cast<size_t>(image.width) * image.height, 255);
  for (int y = 0; y < matrix.Rows(); ++y)
    for (int x = 0; x < matrix.Columns(); ++x)
      if (matrix.IsDark(x, y))
        for (int py = (y + quiet) * scale; py < (y + quiet + 1) * scale; ++py)
          std::fill_n(image.pixels.begin() + static_cast<ptrdiff_t>(py) * image.width + (x + quiet) * scale, scale, 0);
  return image;
}

ReadBackResult VerifyModules(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                             std::string_view expected) {
  return Decode(RenderModules(matrix, options), symbology, expected, options.scale);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    *error = "cannot open it";
    return std::nullopt;
  }
  const std::streamsize size = file.tellg();
  if (size < 0 || size > MaxFileBytes) {
    *error = size < 0 ? "cannot tell its size" : "it is larger than any symbol file";
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) {
    *error = "reading it failed";
    return std::nullopt;
  }
  return bytes;
}

ReadBackResult VerifyBytes(std::string_view bytes, const ModuleMatrix& matrix, const ImageOptions& options,
                           Symbology symbology, std::string_view expected) {
  std::string error;
  const FileKind kind = SniffFileKind(bytes);
  switch (kind) {
    case FileKind::Pdf:
    case FileKind::Eps:
    case FileKind::Svg:
      return VerifyModules(matrix, options, symbology, expected);
    case FileKind::Unknown:
      return Result(ReadBackStatus::NotRead, {}, "the file is not an image a reader recognises");
    default:
      break;
  }
  const auto image = ReadRasterImage(kind, bytes, &error);
  if (!image) return Result(ReadBackStatus::NotRead, {}, "the image cannot be read: " + error);
  return Decode(*image, symbology, expected, options.scale);
}

ReadBackResult VerifyFile(const std::string& path, const ModuleMatrix& matrix, const ImageOptions& options,
                          Symbology symbology, std::string_view expected) {
  std::string error;
  const auto bytes = ReadWholeFile(path, &error);
  if (!bytes) return Result(ReadBackStatus::CannotCheck, {}, error);
  return VerifyBytes(*bytes, matrix, options, symbology, expected);
}

ReadBackResult VerifyPixels(const uint8_t* pixels, int width, int height, Symbology symbology,
                            std::string_view expected) {
  GreyPixels image{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
  return Decode(image, symbology, expected, 0);
}

// Every decoder of the symbology must read the exact bytes.
ReadBackResult VerifyPixelsByEvery(const uint8_t* pixels, int width, int height, int scale, Symbology symbology,
                                   std::string_view expected) {
  GreyPixels image{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
  std::vector<Attempt> attempts;
  if (symbology == Symbology::DataMatrix) {
    attempts.push_back({"libdmtx", DecodeWithDmtx(image, scale)});
  } else {
    attempts.push_back({"zxing-cpp", DecodeWithZxing(image, false)});
    // Lines half a module apart still cross every module twice.
    attempts.push_back({"zbar", DecodeWithZbar(image, std::max(1, scale / 2))});
  }
  std::string readers;
  for (const Attempt& attempt : attempts) {
    if (!attempt.bytes || *attempt.bytes != expected) return Compare({{attempt.decoder, attempt.bytes}}, expected);
    readers += (readers.empty() ? "" : " and ") + std::string(attempt.decoder);
  }
  return Result(ReadBackStatus::ReadBack, readers, {});
}

}  // namespace

extern "C" const VerifyModuleApi* QuilletVerifyModule() {
  static const VerifyModuleApi api{VerifyFile, VerifyBytes, VerifyModules, VerifyPixels, VerifyPixelsByEvery, ReadLogo};
  return &api;
}
