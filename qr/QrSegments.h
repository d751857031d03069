// How the encoder splits its input into segments of one mode each.
#pragma once

#include <array>
#include <string_view>

// Single: one segment in the narrowest mode that holds every byte, as the QR
// page writes it. Optimal: numeric, alphanumeric and byte segments wherever
// switching shortens the bit stream.
enum class QrSegments { Single, Optimal };

// Names as the command line takes them, by enumerator.
inline constexpr std::array<std::string_view, 2> QrSegmentsNames = {"single", "optimal"};
