// Independent evidence: decode a symbol with zxing-cpp and return its bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum class DecodeFormat { QrCode, DataMatrix };

// An 8-bit image of `width` x `height` pixels, row after row, 0 black, 255 white.
// `pure`: the image holds only the symbol and its quiet zone, axis-aligned.
std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format,
                                       bool pure = false);

// Renders `columns` x `rows` modules (isDark(x, y)) at `scale` pixels per module
// with a white quiet zone of `quiet` modules, then decodes it. zxing's finder
// search occasionally misses a valid symbol at 2 pixels per module, so the
// exact geometry of the pure reader is tried first.
std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale = 2, int quiet = 4);
