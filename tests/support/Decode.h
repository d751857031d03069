// Independent evidence: decode a symbol with zxing-cpp and return its bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum class DecodeFormat { QrCode, DataMatrix };

// An 8-bit image of `width` x `height` pixels, row after row, 0 black, 255 white.
std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format);

// Renders `columns` x `rows` modules (isDark(x, y)) at `scale` pixels per module
// with a white quiet zone of `quiet` modules, then decodes it.
std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale = 2, int quiet = 4);
