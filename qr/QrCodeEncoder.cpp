#include "qr/QrCodeEncoder.h"

#include "qr/DataEncoding.h"
#include "qr/EncodePlan.h"
#include "qr/EncoderSteps.h"
#include "qr/MaskPenalty.h"
#include "qr/QrLevel.h"

#include <algorithm>
#include <cstring>

namespace {

using namespace qr;

constexpr int MaxCodewords = TotalCodewords(MaxVersion);
constexpr int WorkLines = CQrCodeEncoder::MaxSide;

// Working storage of one encoding: codewords, and the bit-parallel cells both
// column by column and row by row so that every line is read contiguously.
struct Workspace {
  uint8_t sequence[MaxCodewords];
  uint8_t columns[WorkLines * LineStride];
  uint8_t rows[WorkLines * LineStride];
};

}  // namespace

void CQrCodeEncoder::SetErrorCorrectionLevel(std::string_view text) {
  // Anything but a level letter selects M.
  EcLevel = QrLevelIndicator(ParseQrLevel(text).value_or(QrLevel::M));
}

int32_t CQrCodeEncoder::EncodeData(const char* data, int32_t length) {
  return EncodeData(reinterpret_cast<const uint8_t*>(data), length);
}

int32_t CQrCodeEncoder::EncodeData(const uint8_t* data, int32_t length) {
  if (length < 1 || data == nullptr || EcLevel < 0 || EcLevel >= LevelCount) return -1;
  if (length > MaxInputLength) return -2;
  const Mode mode = ChooseMode(data, length);
  const int64_t segmentBits = SegmentBits(mode, length);
  const int smallest = SmallestFittingVersion(mode, EcLevel, segmentBits);
  const int version = std::max(Version, smallest);
  if (smallest == 0 || version > MaxVersion) return -2;
  const int capacityBits = DataBitCapacity[EcLevel][version];
  const EncodePlan* plan = FindEncodePlan(version, EcLevel);
  if (segmentBits + CountWidthExtra(mode, version) > capacityBits || plan == nullptr) return -2;

  BuildBitStream(BitStream, mode, data, length, version, capacityBits);
  CountEntryIndex = 1;
  Workspace work;
  PackCodewords(BitStream, capacityBits, work.sequence);
  AppendErrorCorrection(*plan, work.sequence);
  std::memset(work.columns, 0, plan->Side * LineStride);
  std::memset(work.rows, 0, plan->Side * LineStride);
  PlaceModules(*plan, work.sequence, work.columns, work.rows);
  const int mask = ChooseMask(ScoreMasks(work.columns, work.rows, plan->Side, plan->DataModules));
  WriteFormatInformation(*plan, EcLevel, mask, work.columns);
  WriteFinalMatrix(*plan, work.columns, mask, Modules);
  Version = version;
  MaskReference = mask;
  return 0;
}
