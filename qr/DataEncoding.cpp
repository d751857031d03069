#include "qr/DataEncoding.h"

namespace quillet {

namespace qr {

namespace {

constexpr int NoValue = -1;

constexpr std::array<int8_t, 256> AlphanumericValues = [] {
  std::array<int8_t, 256> table{};
  table.fill(NoValue);
  const char symbols[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";
  for (int i = 0; i < 45; ++i) table[static_cast<uint8_t>(symbols[i])] = static_cast<int8_t>(i);
  return table;
}();

// Appends to a stream; its entries are sized for the largest stream that fits a symbol.
class EntryWriter {
 public:
  explicit EntryWriter(CQrCodeEncoder::BitStreamEntries& stream) : stream_(stream) {}
  void Append(int32_t value, int32_t length) {
    stream_.Values[stream_.Count] = value;
    stream_.Lengths[stream_.Count] = length;
    ++stream_.Count;
  }

 private:
  CQrCodeEncoder::BitStreamEntries& stream_;
};

void AppendNumeric(EntryWriter& out, const uint8_t* data, int32_t length) {
  constexpr int GroupWidths[] = {0, 4, 7, 10};
  for (int32_t i = 0; i < length; i += 3) {
    const int digits = length - i < 3 ? length - i : 3;
    int32_t value = 0;
    for (int k = 0; k < digits; ++k) value = value * 10 + (data[i + k] - '0');
    out.Append(value, GroupWidths[digits]);
  }
}

void AppendAlphanumeric(EntryWriter& out, const uint8_t* data, int32_t length) {
  int32_t i = 0;
  for (; i + 1 < length; i += 2) out.Append(45 * AlphanumericValues[data[i]] + AlphanumericValues[data[i + 1]], 11);
  if (i < length) out.Append(AlphanumericValues[data[i]], 6);
}

void AppendBytes(EntryWriter& out, const uint8_t* data, int32_t length) {
  for (int32_t i = 0; i < length; ++i) out.Append(data[i], 8);
}

}  // namespace

bool IsDigit(uint8_t byte) { return byte >= '0' && byte <= '9'; }

bool HasAlphanumericValue(uint8_t byte) { return AlphanumericValues[byte] != NoValue; }

Mode ChooseMode(const uint8_t* data, int32_t length) {
  bool allDigits = true;
  for (int32_t i = 0; i < length; ++i) {
    if (AlphanumericValues[data[i]] == NoValue) return Mode::Byte;
    allDigits = allDigits && IsDigit(data[i]);
  }
  return allDigits ? Mode::Numeric : Mode::Alphanumeric;
}

int SmallestFittingVersion(Mode mode, int level, int64_t segmentBits) {
  for (int v = 1; v <= MaxVersion; ++v)
    if (DataBitCapacity[level][v] >= segmentBits + CountWidthExtra(mode, v)) return v;
  return 0;
}

void BuildBitStream(CQrCodeEncoder::BitStreamEntries& stream, Mode mode, const uint8_t* data, int32_t length,
                    int version, int capacityBits) {
  stream.Count = 0;
  AppendSegment(stream, mode, data, length, version);
  AppendTerminator(stream, SegmentBits(mode, length) + CountWidthExtra(mode, version), capacityBits);
}

void AppendSegment(CQrCodeEncoder::BitStreamEntries& stream, Mode mode, const uint8_t* data, int32_t length,
                   int version) {
  EntryWriter out(stream);
  out.Append(FactsOf(mode).indicator, 4);
  out.Append(length, CountWidth(mode, version));
  if (mode == Mode::Numeric) AppendNumeric(out, data, length);
  if (mode == Mode::Alphanumeric) AppendAlphanumeric(out, data, length);
  if (mode == Mode::Byte) AppendBytes(out, data, length);
}

void AppendTerminator(CQrCodeEncoder::BitStreamEntries& stream, int64_t usedBits, int capacityBits) {
  const int64_t room = capacityBits - usedBits;
  if (room > 0) EntryWriter(stream).Append(0, static_cast<int32_t>(room < 4 ? room : 4));
}

void PackCodewords(const CQrCodeEncoder::BitStreamEntries& stream, int capacityBits, uint8_t* codewords) {
  uint64_t pending = 0;
  int pendingBits = 0;
  int count = 0;
  for (int32_t e = 0; e < stream.Count; ++e) {
    pending = pending << stream.Lengths[e] | static_cast<uint32_t>(stream.Values[e]);
    pendingBits += stream.Lengths[e];
    while (pendingBits >= 8) {
      pendingBits -= 8;
      codewords[count++] = static_cast<uint8_t>(pending >> pendingBits);
    }
  }
  if (pendingBits > 0) codewords[count++] = static_cast<uint8_t>(pending << (8 - pendingBits));
  for (int pad = 0; count < capacityBits / 8; ++count, pad ^= 1) codewords[count] = pad ? 0x11 : 0xEC;
}

}  // namespace qr

}  // namespace quillet
