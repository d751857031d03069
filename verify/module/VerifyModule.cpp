// Read-back verification inside the module: read the file as written, hand
// the pixels to each independent decoder in turn, compare the bytes.
#include "verify/module/VerifyModule.h"

#include <fstream>

#include "verify/module/CameraView.h"
#include "verify/module/Decoders.h"
#include "verify/module/ImageReaders.h"
#include "verify/module/LogoReader.h"
#include "verify/module/SymbolReader.h"

namespace quillet {

namespace {

// Far above any symbol file we write; a larger file is not read into memory.
constexpr std::streamsize MaxFileBytes = 256 << 20;

ReadBackResult ReadBy(std::string decoder) {
  ReadBackResult result;
  result.status = ReadBackStatus::ReadBack;
  result.decoder = std::move(decoder);
  return result;
}

ReadBackResult Failed(ReadBackStatus status, ReadBackFault fault, std::string cause = {}) {
  ReadBackResult result;
  result.status = status;
  result.fault = fault;
  result.cause = std::move(cause);
  return result;
}

struct Attempt {
  const char* decoder;
  std::optional<std::string> bytes;
};

ReadBackResult Compare(std::initializer_list<Attempt> attempts, std::string_view expected) {
  ReadBackResult result = Failed(ReadBackStatus::NotRead, ReadBackFault::SymbolNotFound);
  for (const Attempt& attempt : attempts) {
    if (attempt.bytes && *attempt.bytes == expected) return ReadBy(attempt.decoder);
    if (attempt.bytes && result.fault != ReadBackFault::BytesDiffer) {
      result = Failed(ReadBackStatus::DifferentBytes, ReadBackFault::BytesDiffer);
      result.decoder = attempt.decoder;
      result.readBytes = attempt.bytes->size();
      result.expectedBytes = expected.size();
    }
    result.decoders.emplace_back(attempt.decoder);
  }
  return result;
}

// QR Code: zxing-cpp first, zbar where zxing-cpp misses (each has symbols
// the other cannot find at small scales). Data Matrix: libdmtx first,
// because the zxing-cpp we build against misreads the interleave of the
// largest size; zxing-cpp only where libdmtx finds nothing (modules of one
// pixel) or other bytes, and then only its exact bytes count. A decoder's blind spot must
// not make a good file look bad.
ReadBackResult Decode(const GreyPixels& image, Symbology symbology, std::string_view expected, int moduleSide) {
  if (symbology == Symbology::DataMatrix) {
    auto dmtx = DecodeWithDmtx(image, moduleSide);
    if (dmtx && *dmtx == expected) return Compare({{"libdmtx", std::move(dmtx)}}, expected);
    // libdmtx also gives an ECI designator as a byte of the data, which
    // zxing-cpp reads as what it is.
    auto zxing = DecodeWithZxing(image, true);
    if (zxing && *zxing == expected) return ReadBy("zxing-cpp");
    if (dmtx) return Compare({{"libdmtx", std::move(dmtx)}}, expected);
    ReadBackResult missed = Failed(ReadBackStatus::NotRead, ReadBackFault::SymbolNotFound);
    missed.decoders = {"libdmtx", "zxing-cpp"};
    return missed;
  }
  auto zxing = DecodeWithZxing(image, false);
  if (zxing && *zxing == expected) return ReadBy("zxing-cpp");
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

std::optional<std::string> ReadWholeFile(const std::string& path, ReadBackFault* fault) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    *fault = ReadBackFault::FileNotOpened;
    return std::nullopt;
  }
  const std::streamsize size = file.tellg();
  if (size < 0 || size > MaxFileBytes) {
    *fault = size < 0 ? ReadBackFault::FileSizeUnknown : ReadBackFault::FileTooLarge;
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(bytes.data(), size)) {
    *fault = ReadBackFault::FileNotRead;
    return std::nullopt;
  }
  return bytes;
}

ReadBackResult VerifyBytes(std::string_view bytes, const ModuleMatrix& matrix, const ImageOptions& options,
                           Symbology symbology, std::string_view expected) {
  const FileKind kind = SniffFileKind(bytes);
  switch (kind) {
    case FileKind::Pdf:
    case FileKind::Eps:
    case FileKind::Svg:
      return VerifyModules(matrix, options, symbology, expected);
    case FileKind::Unknown:
      return Failed(ReadBackStatus::NotRead, ReadBackFault::NotAnImage);
    default:
      break;
  }
  ImageReadProblem problem;
  const auto image = ReadRasterImage(kind, bytes, &problem);
  if (!image) {
    ReadBackResult broken = Failed(ReadBackStatus::NotRead, ReadBackFault::ImageBroken);
    broken.image = std::move(problem);
    return broken;
  }
  return Decode(*image, symbology, expected, options.scale);
}

ReadBackResult VerifyFile(const std::string& path, const ModuleMatrix& matrix, const ImageOptions& options,
                          Symbology symbology, std::string_view expected) {
  ReadBackFault fault = ReadBackFault::None;
  const auto bytes = ReadWholeFile(path, &fault);
  if (!bytes) return Failed(ReadBackStatus::CannotCheck, fault);
  return VerifyBytes(*bytes, matrix, options, symbology, expected);
}

ReadBackResult VerifyPixels(const uint8_t* pixels, int width, int height, Symbology symbology,
                            std::string_view expected) {
  GreyPixels image{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
  return Decode(image, symbology, expected, 0);
}

constexpr int ZbarModuleSide = 4;

// Every decoder of the symbology must read the exact bytes.
ReadBackResult VerifyPixelsByEvery(const uint8_t* pixels, int width, int height, int scale, Symbology symbology,
                                   std::string_view expected) {
  GreyPixels image{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
  std::vector<Attempt> attempts;
  if (symbology == Symbology::DataMatrix) {
    attempts.push_back({"libdmtx", DecodeWithDmtx(image, scale)});
  } else {
    attempts.push_back({"zxing-cpp", DecodeWithZxing(image, false)});
    // zbar misses symbols whose modules are a dozen pixels or more; it is
    // shown them at four pixels a module, scanned every other line.
    const int factor = std::max(1, scale / ZbarModuleSide);
    attempts.push_back({"zbar", DecodeWithZbar(Reduced(image, factor), std::max(1, scale / factor / 2))});
  }
  std::string readers;
  for (const Attempt& attempt : attempts) {
    if (!attempt.bytes || *attempt.bytes != expected) return Compare({{attempt.decoder, attempt.bytes}}, expected);
    readers += (readers.empty() ? "" : " and ") + std::string(attempt.decoder);
  }
  ReadBackResult read = ReadBy(readers);
  for (const Attempt& attempt : attempts) read.decoders.emplace_back(attempt.decoder);
  return read;
}

GreyPicture ReadPicture(std::string_view bytes) {
  GreyPicture picture;
  std::optional<GreyPixels> image = ReadRasterImage(SniffFileKind(bytes), bytes, &picture.problem);
  if (!image) return picture;
  picture.width = image->width;
  picture.height = image->height;
  picture.pixels = std::move(image->pixels);
  return picture;
}

}  // namespace

extern "C" const VerifyModuleApi* QuilletVerifyModule() {
  static const VerifyModuleApi api{VerifyFile,          VerifyBytes,          VerifyModules,
                                   VerifyPixels,        VerifyPixelsByEvery,  ReadLogo,
                                   ReadSymbolsFromFile, ReadSymbolsFromBytes, ReadSymbolsFromPixels,
                                   ReadPicture, ReadUnderConditions};
  return &api;
}

}  // namespace quillet
