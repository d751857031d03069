// Independent evidence: decode a symbol with real decoders and return its
// bytes. A QR Code is read by zxing-cpp and zbar, a Data Matrix by zxing-cpp
// and libdmtx (144x144 by libdmtx alone: zxing 1.4 does not read its
// standard interleaving).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class DecodeFormat { QrCode, DataMatrix };
enum class Decoder { ZxingCpp, Zbar, Libdmtx };

const char* DecoderName(Decoder decoder);
// Bytes quoted for a message, others than printable ASCII as \xHH, long ones
// cut; "nothing" for none.
std::string Printable(const std::optional<std::string>& bytes);

// An 8-bit image, row after row, 0 black, 255 white.
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

// What one decoder read; no bytes when it found no symbol.
struct Reading {
  Decoder decoder;
  std::optional<std::string> bytes;
};

// One reading per decoder of the format. `pure`: the image holds only the
// symbol and its quiet zone, axis-aligned.
std::vector<Reading> ReadImage(const uint8_t* pixels, int width, int height, DecodeFormat format, bool pure = false);
// `columns` x `rows` modules (isDark(x, y)) drawn at `scale` pixels per module
// in a white quiet zone of `quiet` modules, read by every decoder.
std::vector<Reading> ReadModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                 DecodeFormat format, int scale = 2, int quiet = 4);
// The bytes all readings agree on; nothing when no decoder found a symbol.
// When they disagree, a text naming what each decoder read, which no test
// input equals, so that a comparison with the input fails and says why.
std::optional<std::string> Agreed(const std::vector<Reading>& readings);

// Agreed(ReadImage(...)) and Agreed(ReadModules(...)).
std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format,
                                       bool pure = false);
std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale = 2, int quiet = 4);
