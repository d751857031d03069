// QR Code (Model 2) encoder: one segment in numeric, alphanumeric or byte
// mode, or the shortest mix of them, versions 1 to 40, levels L, M, Q, H.
#pragma once

#include "qr/QrLevel.h"
#include "qr/QrSegments.h"
#include "qr/QrStandard.h"

#include <cstdint>
#include <string_view>

namespace quillet {

class CQrCodeEncoder {
 public:
  static constexpr int MaxSide = 177;
  // The most input bytes any symbol holds: version 40, level L, byte mode.
  static constexpr int MaxByteModeInput = 2953;
  // The most input of any mode: 7089 digits; longer input is refused at once.
  static constexpr int MaxInputLength = 7089;
  // Every entry but the terminator is at least 4 bits wide (indicator, one
  // digit), so a stream that fits version 40 at level L, in one segment or
  // many, has at most this many.
  static constexpr int MaxBitStreamEntries =
      8 * qr::DataCodewords(qr::MaxVersion, QrLevelIndicator(QrLevel::L)) / 4 + 1;

  struct BitStreamEntries {
    int32_t Count = 0;
    int32_t Lengths[MaxBitStreamEntries];
    int32_t Values[MaxBitStreamEntries];
  };

  // Before EncodeData: 0 = automatic, else the smallest version accepted.
  // After a successful EncodeData: the version used.
  int32_t Version = 0;
  // 0 = M, 1 = L, 2 = H, 3 = Q (the format-information indicator).
  int32_t EcLevel = 0;
  // Before EncodeData: the ECI designator (1 to 127) that names the data's
  // character set at the start of the symbol; 0 puts none.
  int32_t Eci = 0;
  // Cell x * MaxSide + y is 1 for a dark module; cells beyond Side() are 0.
  uint8_t Modules[MaxSide * MaxSide] = {};
  BitStreamEntries BitStream;
  int32_t CountEntryIndex = 0;
  // The mask pattern chosen by the last successful encoding.
  int32_t MaskReference = 0;

  // "L"/"l", "M"/"m", "Q"/"q", "H"/"h"; any other text selects M.
  void SetErrorCorrectionLevel(std::string_view text);

  // 0 on success; -1 for length below 1, a level outside 0..3 or an ECI
  // designator outside 0..127, nothing changed;
  // -2 when the data fits no version (Version, Modules and BitStream unchanged).
  int32_t EncodeData(const uint8_t* data, int32_t length);
  int32_t EncodeData(const char* data, int32_t length);
  // As above; Optimal splits the data into the segments of the shortest bit
  // stream and takes the smallest version that holds it.
  int32_t EncodeData(const uint8_t* data, int32_t length, QrSegments segments);

  int Side() const { return 17 + 4 * Version; }
  bool IsDark(int x, int y) const { return Modules[x * MaxSide + y] == 1; }
};

}  // namespace quillet
