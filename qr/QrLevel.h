// The error-correction level of a QR Code symbol: one type for every front
// end, with its letter, its format-information indicator and its position
// in the lists users choose from (weakest first).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillet {

enum class QrLevel : uint8_t { L, M, Q, H };

struct QrLevelRow {
  QrLevel level;
  char letter;
  int indicator;  // the two format-information bits, and CQrCodeEncoder::EcLevel
};

// In the order users see them, which is also the enum's.
inline constexpr std::array<QrLevelRow, 4> QrLevels{{
    {QrLevel::L, 'L', 1},
    {QrLevel::M, 'M', 0},
    {QrLevel::Q, 'Q', 3},
    {QrLevel::H, 'H', 2},
}};

constexpr QrLevel DefaultQrLevel = QrLevel::M;

constexpr int QrLevelPosition(QrLevel level) { return static_cast<int>(level); }
constexpr char QrLevelLetter(QrLevel level) { return QrLevels[QrLevelPosition(level)].letter; }
constexpr int QrLevelIndicator(QrLevel level) { return QrLevels[QrLevelPosition(level)].indicator; }

// The level at a list position; nullopt outside the list.
constexpr std::optional<QrLevel> QrLevelAt(int position) {
  if (position < 0 || position >= static_cast<int>(QrLevels.size())) return std::nullopt;
  return QrLevels[static_cast<size_t>(position)].level;
}

// The level an indicator names; nullopt for a value outside 0..3.
constexpr std::optional<QrLevel> QrLevelOfIndicator(int indicator) {
  for (const QrLevelRow& row : QrLevels)
    if (row.indicator == indicator) return row.level;
  return std::nullopt;
}

// "L", "m", ...: one letter in either case.
constexpr std::optional<QrLevel> ParseQrLevel(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  const char upper = static_cast<char>(text[0] & ~0x20);
  for (const QrLevelRow& row : QrLevels)
    if (row.letter == upper) return row.level;
  return std::nullopt;
}

}  // namespace quillet
