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

// Bytes quoted for a message, others than printable ASCII as \xHH, long ones
// cut; "nothing" for none.
std::string Printable(const std::optional<std::string>& bytes);

// An 8-bit image, row after row, 0 black, 255 white.
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

// The bytes every decoder of the format read; nothing when none found a
// symbol. When they disagree, a text naming what each read, which no test
// input equals, so that a comparison with the input fails and says why.
// `pure`: the image holds only the symbol and its quiet zone, axis-aligned.
std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format,
                                       bool pure = false);
// `columns` x `rows` modules (isDark(x, y)) drawn at `scale` pixels per module
// in a white quiet zone of `quiet` modules.
std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale = 2, int quiet = 4);

// What zxing-cpp makes of the symbol as text, in UTF-8: its bytes in the
// character set an ECI names, or in the one it guesses; nothing when unread.
std::optional<std::string> ZxingText(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                     DecodeFormat format);
// zxing-cpp's bytes under the ECI protocol, behind the symbology identifier:
// a designator the data starts with reads as "\0000NN" in front of the bytes.
// Empty when unread.
std::string ZxingEciBytes(int columns, int rows, const std::function<bool(int, int)>& isDark, DecodeFormat format);

// What zbar makes of a QR Code as text, in UTF-8, as its scanning programs
// show it: the character set an ECI names, or the one it guesses.
std::optional<std::string> ZbarText(int columns, int rows, const std::function<bool(int, int)>& isDark);
