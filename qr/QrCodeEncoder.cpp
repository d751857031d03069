#include "qr/QrCodeEncoder.h"

#include "qr/DataEncoding.h"
#include "qr/EncodePlan.h"
#include "qr/EncoderSteps.h"
#include "qr/MaskPenalty.h"
#include "qr/QrLevel.h"
#include "qr/Segmentation.h"

#include <algorithm>
#include <cstring>

namespace quillet {

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

// Designators up to 127 take one byte after the ECI mode indicator.
constexpr int MaxOneByteEci = 127;
constexpr int EciModeIndicator = 0b0111;
constexpr int EciHeaderBits = 4 + 8;

bool IsValidRequest(const uint8_t* data, int32_t length, int level, int eci) {
  return length >= 1 && data != nullptr && level >= 0 && level < LevelCount && eci >= 0 && eci <= MaxOneByteEci;
}

int HeaderBits(int eci) { return eci > 0 ? EciHeaderBits : 0; }

// The ECI header goes in front of a stream built for the capacity left
// after it; the count entry moves with it.
void PrependEci(CQrCodeEncoder& encoder) {
  CQrCodeEncoder::BitStreamEntries& stream = encoder.BitStream;
  encoder.CountEntryIndex = 1;
  if (encoder.Eci <= 0) return;
  std::memmove(stream.Lengths + 2, stream.Lengths, sizeof(int32_t) * stream.Count);
  std::memmove(stream.Values + 2, stream.Values, sizeof(int32_t) * stream.Count);
  stream.Lengths[0] = 4;
  stream.Values[0] = EciModeIndicator;
  stream.Lengths[1] = 8;
  stream.Values[1] = encoder.Eci;
  stream.Count += 2;
  encoder.CountEntryIndex += 2;
}

// The second half of an encoding, once the bit stream is built for `version`.
void WriteSymbol(CQrCodeEncoder& encoder, int version, const EncodePlan& plan) {
  Workspace work;
  PackCodewords(encoder.BitStream, DataBitCapacity[encoder.EcLevel][version], work.sequence);
  AppendErrorCorrection(plan, work.sequence);
  std::memset(work.columns, 0, plan.Side * LineStride);
  std::memset(work.rows, 0, plan.Side * LineStride);
  PlaceModules(plan, work.sequence, work.columns, work.rows);
  const int mask = ChooseMask(ScoreMasks(work.columns, work.rows, plan.Side, plan.DataModules));
  WriteFormatInformation(plan, encoder.EcLevel, mask, work.columns);
  WriteFinalMatrix(plan, work.columns, mask, encoder.Modules);
  encoder.Version = version;
  encoder.MaskReference = mask;
}

}  // namespace

void CQrCodeEncoder::SetErrorCorrectionLevel(std::string_view text) {
  // Anything but a level letter selects M.
  EcLevel = QrLevelIndicator(ParseQrLevel(text).value_or(QrLevel::M));
}

int32_t CQrCodeEncoder::EncodeData(const char* data, int32_t length) {
  return EncodeData(reinterpret_cast<const uint8_t*>(data), length);
}

int32_t CQrCodeEncoder::EncodeData(const uint8_t* data, int32_t length) {
  if (!IsValidRequest(data, length, EcLevel, Eci)) return -1;
  if (length > MaxInputLength) return -2;
  const Mode mode = ChooseMode(data, length);
  const int header = HeaderBits(Eci);
  const int64_t segmentBits = SegmentBits(mode, length);
  const int smallest = SmallestFittingVersion(mode, EcLevel, header + segmentBits);
  const int version = std::max(Version, smallest);
  if (smallest == 0 || version > MaxVersion) return -2;
  const int capacityBits = DataBitCapacity[EcLevel][version];
  const EncodePlan* plan = FindEncodePlan(version, EcLevel);
  if (header + segmentBits + CountWidthExtra(mode, version) > capacityBits || plan == nullptr) return -2;

  BuildBitStream(BitStream, mode, data, length, version, capacityBits - header);
  PrependEci(*this);
  WriteSymbol(*this, version, *plan);
  return 0;
}

int32_t CQrCodeEncoder::EncodeData(const uint8_t* data, int32_t length, QrSegments segments) {
  if (segments == QrSegments::Single) return EncodeData(data, length);
  if (!IsValidRequest(data, length, EcLevel, Eci)) return -1;
  if (length > MaxInputLength) return -2;
  const int header = HeaderBits(Eci);
  const SegmentPlan segmentPlan = PlanSegments(data, length, EcLevel, Version, header);
  const EncodePlan* plan = FindEncodePlan(segmentPlan.version, EcLevel);
  if (segmentPlan.version == 0 || plan == nullptr) return -2;
  BuildSegmentedBitStream(BitStream, segmentPlan, data, DataBitCapacity[EcLevel][segmentPlan.version] - header);
  PrependEci(*this);
  WriteSymbol(*this, segmentPlan.version, *plan);
  return 0;
}

}  // namespace quillet
