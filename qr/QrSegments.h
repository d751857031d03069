// How the encoder splits its input into segments of one mode each.
#pragma once

#include <array>
#include <string_view>

namespace quillet {

// Optimal: numeric, alphanumeric and byte segments wherever switching
// shortens the bit stream. Single: one segment in the narrowest mode that
// holds every byte, as the QR page writes it.
enum class QrSegments { Optimal, Single };

// Names as the command line takes them, by enumerator.
inline constexpr std::array<std::string_view, 2> QrSegmentsNames = {"optimal", "single"};

}  // namespace quillet
