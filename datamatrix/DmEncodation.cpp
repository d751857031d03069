// Encodation: turning bytes into data codewords under one scheme.
#include <algorithm>
#include <array>
#include <cstdio>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

namespace quillet {

namespace dm {
namespace {

constexpr uint8_t kUpperShift = 235;
constexpr uint8_t kUnlatch = 254;
constexpr uint8_t kLatchBase256 = 231;
constexpr uint8_t kEdifactUnlatch = 31;
constexpr uint8_t kShift1 = 0;

constexpr std::array<uint8_t, 7> kLatch = {0, 230, 239, 238, 240, kLatchBase256, 0};

// ---- C40, Text and X12 character values -----------------------------------

struct CharValues {
  uint8_t count = 0;  // 0: the scheme cannot carry the byte
  std::array<uint8_t, 4> values{};
};
using ValueTable = std::array<CharValues, 256>;

constexpr CharValues Values(std::initializer_list<int> values) {
  CharValues cv;
  for (int v : values) cv.values[cv.count++] = static_cast<uint8_t>(v);
  return cv;
}

constexpr bool InRange(int b, int low, int high) { return b >= low && b <= high; }

// `basicLow` is true for Text, whose basic set holds the small letters.
constexpr CharValues C40OrTextValues(int b, bool basicLow) {
  const int basicFirst = basicLow ? 'a' : 'A';
  const int shiftedFirst = basicLow ? 'A' : 'a';
  if (b >= 128) {
    const CharValues low = C40OrTextValues(b - 128, basicLow);
    CharValues cv = Values({1, 30});  // Shift 2, Upper Shift
    for (int i = 0; i < low.count; ++i) cv.values[cv.count++] = low.values[i];
    return cv;
  }
  if (b == ' ') return Values({3});
  if (InRange(b, '0', '9')) return Values({4 + b - '0'});
  if (InRange(b, basicFirst, basicFirst + 25)) return Values({14 + b - basicFirst});
  if (b < 32) return Values({0, b});
  if (InRange(b, 33, 47)) return Values({1, b - 33});
  if (InRange(b, 58, 64)) return Values({1, b - 58 + 15});
  if (InRange(b, 91, 95)) return Values({1, b - 91 + 22});
  if (b == 96) return Values({2, 0});
  if (InRange(b, shiftedFirst, shiftedFirst + 25)) return Values({2, 1 + b - shiftedFirst});
  return Values({2, b - 123 + 27});  // 123..127
}

constexpr CharValues X12Values(int b) {
  if (b == '\r') return Values({0});
  if (b == '*') return Values({1});
  if (b == '>') return Values({2});
  if (b == ' ') return Values({3});
  if (InRange(b, '0', '9')) return Values({4 + b - '0'});
  if (InRange(b, 'A', 'Z')) return Values({14 + b - 'A'});
  return {};
}

constexpr ValueTable BuildValueTable(int scheme) {
  ValueTable table{};
  for (int b = 0; b < 256; ++b) table[b] = scheme == X12 ? X12Values(b) : C40OrTextValues(b, scheme == Text);
  return table;
}

constexpr ValueTable kC40Values = BuildValueTable(C40);
constexpr ValueTable kTextValues = BuildValueTable(Text);
constexpr ValueTable kX12Values = BuildValueTable(X12);

const ValueTable& ValuesOf(int scheme) {
  return scheme == C40 ? kC40Values : scheme == Text ? kTextValues : kX12Values;
}

bool IsDigit(int b) { return b >= '0' && b <= '9'; }

// ---- writing ----------------------------------------------------------------

bool Put(Stream& s, int position, int value) {
  if (position >= DmCodewordBufferSize) {
    s.error = Overflow;
    return false;
  }
  s.codewords[position] = static_cast<uint8_t>(value);
  return true;
}

// ASCII and Base256 codewords go at the progress, which keeps pace with them.
void WriteWhole(Stream& s, int value) {
  if (!Put(s, s.progress / kCodeword, value)) return;
  s.written += kCodeword;
  s.progress += kCodeword;
}

void WriteTriplet(Stream& s, const uint8_t* v) {
  const int packed = 1600 * v[0] + 40 * v[1] + v[2] + 1;
  const int position = s.written / kCodeword;
  if (!Put(s, position, packed >> 8) || !Put(s, position + 1, packed & 0xFF)) return;
  s.written += 2 * kCodeword;
}

// Six bits at the written length, most significant first; later values
// complete the codewords this one touches.
void WriteEdifactValue(Stream& s, int value) {
  const int bit = s.written * 8 / kCodeword;
  const int position = bit / 8;
  const int shift = bit % 8;
  const int kept = shift == 0 ? 0 : (s.codewords[position] << 8) & (0xFF00 << (8 - shift));
  const int word = kept | (value << (10 - shift));
  if (!Put(s, position, word >> 8)) return;
  if (shift > 2 && !Put(s, position + 1, word & 0xFF)) return;
  s.written += kEdifactValue;
  s.progress += kEdifactValue;
}

int Unrandomise255(int codeword, int position) {
  const int r = codeword - (149 * (position + 1)) % 255 - 1;
  return r < 0 ? r + 256 : r;
}

// ---- changing scheme --------------------------------------------------------

void RoundUpToCodeword(Stream& s) {
  const int whole = (s.written + kCodeword - 1) / kCodeword * kCodeword;
  s.written = s.progress = whole;
}

bool LeaveScheme(Stream& s, bool silent) {
  if (IsTripletScheme(s.scheme)) {
    if (!CanLeave(s)) {
      s.error = CannotUnlatch;
      return false;
    }
    s.scheme = Ascii;
    if (!silent) WriteWhole(s, kUnlatch);
  } else if (s.scheme == Edifact) {
    if (!silent) WriteEdifactValue(s, kEdifactUnlatch);
    RoundUpToCodeword(s);
  }
  s.scheme = Ascii;
  return s.error == NoError;
}

void EnterScheme(Stream& s, int target) {
  if (target != Ascii) WriteWhole(s, kLatch[target]);
  if (target == Base256) WriteWhole(s, Randomise255(0, s.progress / kCodeword));
  s.scheme = target;
  s.mark = s.progress - kCodeword;
}

void LeaveSilently(Stream& s) {
  if (LeaveScheme(s, true)) EnterScheme(s, Ascii);
}

// ---- ASCII ------------------------------------------------------------------

// The digit b joins the codeword just written when that codeword is a lone
// digit of this ASCII run and not the second half of an Upper Shift.
bool PairsWithLast(const Stream& s, int b) {
  if (!IsDigit(b)) return false;
  const int last = s.written / kCodeword - 1;
  if (last * kCodeword <= s.mark) return false;
  const int digit = s.codewords[last] - 1;
  return IsDigit(digit) && s.codewords[last - 1] != kUpperShift;
}

void AsciiStep(Stream& s, const Input& in) {
  const int b = in.text[s.cursor++];
  if (PairsWithLast(s, b)) {
    uint8_t& last = s.codewords[s.written / kCodeword - 1];
    last = static_cast<uint8_t>(130 + 10 * (last - 1 - '0') + (b - '0'));
  } else if (b >= 128) {
    WriteWhole(s, kUpperShift);
    WriteWhole(s, b - 127);
  } else {
    WriteWhole(s, b + 1);
  }
}

void RestInAscii(Stream& s, const Input& in) {
  while (s.error == NoError && s.cursor < in.end) AsciiStep(s, in);
}

// ---- C40, Text, X12 ---------------------------------------------------------

void ConsumeTripletByte(Stream& s, const Input& in) {
  s.progress += kTripletValue * ValuesOf(s.scheme)[in.text[s.cursor]].count;
  ++s.cursor;
}

// Two values can end the data with a Shift 1 filling the triple; X12 has no
// shift, its value 0 is a carriage return.
bool CanFillLastTriplet(int scheme, int pending) {
  return pending == 3 || (pending == 2 && scheme != X12);
}

void TripletEndOfData(Stream& s, const Input& in, uint8_t* pending, int pendingCount) {
  while (s.progress < s.written) ConsumeTripletByte(s, in);
  // A byte whose values straddle the last pair goes back to the remaining
  // bytes; its values already packed are shifts that the pending ones complete.
  if (s.progress > s.written) {
    --s.cursor;
    s.progress = s.written;
  }
  const int remaining = in.end - s.cursor;
  const int whole = s.progress / kCodeword;
  const int capacity = FittingCapacity(in.requestedSize, whole + (remaining == 3 ? 2 : remaining));
  if (capacity < 0) {
    s.error = FitsNoSize;
    return;
  }
  const int free = capacity - whole;
  // Leaving without unlatch works only when the data then fill the symbol
  // exactly: one last ASCII codeword, or one last pair.
  if (remaining == 1 && free == 1 && in.text[s.cursor] < 128) {
    LeaveSilently(s);
    AsciiStep(s, in);
  } else if (free == 2 && CanFillLastTriplet(s.scheme, pendingCount)) {
    pending[2] = pendingCount == 3 ? pending[2] : kShift1;
    WriteTriplet(s, pending);
    s.progress = s.written;
    s.cursor = in.end;
    LeaveSilently(s);
  } else if (free >= 1) {
    ChangeScheme(s, in, Ascii);
    RestInAscii(s, in);
  }
}

// Reads ahead from the cursor, packing triples, until the values end exactly
// after a byte or the input ends.
void ReadAhead(Stream& s, const Input& in) {
  const ValueTable& table = ValuesOf(s.scheme);
  uint8_t pending[6];
  int count = 0;
  int at = s.cursor;
  while (at < in.end) {
    const CharValues& cv = table[in.text[at]];
    if (cv.count == 0) {
      s.error = Unsupported;
      s.errorAt = at;
      return;
    }
    std::copy_n(cv.values.begin(), cv.count, pending + count);
    count += cv.count;
    ++at;
    for (; count >= 3 && s.error == NoError; count -= 3) {
      WriteTriplet(s, pending);
      std::copy_n(pending + 3, count - 3, pending);
    }
    if (s.error != NoError) return;
    if (count == 0) break;
  }
  if (at == in.end) TripletEndOfData(s, in, pending, count);
}

void TripletStep(Stream& s, const Input& in) {
  if (s.progress == s.written) {
    ReadAhead(s, in);
    if (s.error != NoError || s.cursor == in.end) return;
  }
  if (s.progress < s.written) ConsumeTripletByte(s, in);
}

// ---- EDIFACT ----------------------------------------------------------------

// At a group boundary near the end, the decoder reads the last one or two
// codewords of a symbol as ASCII; the rest may go there if it fits.
bool TryEndInAscii(Stream& s, const Input& in) {
  const int whole = s.progress / kCodeword;
  const int capacity = FittingCapacity(in.requestedSize, whole);
  const int free = capacity < 0 ? 0 : capacity - whole;
  if ((free != 1 && free != 2) || in.end - s.cursor > free) return false;
  Stream trial = s;
  LeaveSilently(trial);
  RestInAscii(trial, in);
  if (trial.error != NoError || trial.written / kCodeword - whole > free) return false;
  s = trial;
  return true;
}

// A final group of one value and the unlatch takes two codewords; if they end
// the symbol, the decoder would read them as ASCII, so that value goes in ASCII.
bool LoneValueEndsSymbol(const Stream& s, const Input& in) {
  if (s.written % kCodeword != kEdifactValue) return false;
  const int groupStart = s.written / kCodeword;
  return FittingCapacity(in.requestedSize, groupStart + 2) == groupStart + 2;
}

void FinishEdifact(Stream& s, const Input& in) {
  if (LoneValueEndsSymbol(s, in)) {
    --s.cursor;
    s.written = s.progress = s.written - kEdifactValue;
    LeaveSilently(s);
    AsciiStep(s, in);
    return;
  }
  ChangeScheme(s, in, Ascii);
}

void EdifactStep(Stream& s, const Input& in) {
  const int b = in.text[s.cursor];
  if (b < 32 || b > 94) {
    s.error = Unsupported;
    s.errorAt = s.cursor;
    return;
  }
  WriteEdifactValue(s, b & 0x3F);
  ++s.cursor;
  const int remaining = in.end - s.cursor;
  if (s.error != NoError || remaining > 4) return;
  if (s.progress % kCodeword == 0 && TryEndInAscii(s, in)) return;
  if (remaining == 0) FinishEdifact(s, in);
}

// ---- Base256 ----------------------------------------------------------------

int FieldLength(const Stream& s, int field) {
  const int first = Unrandomise255(s.codewords[field], field);
  if (first <= 249) return first;
  return (first - 249) * 250 + Unrandomise255(s.codewords[field + 1], field + 1);
}

// The length field grows to two codewords: the data move up one position.
void WidenLengthField(Stream& s, int field) {
  const int top = s.written / kCodeword;
  if (!Put(s, top, 0)) return;
  for (int p = top - 1; p > field; --p) s.codewords[p + 1] = Randomise255(Unrandomise255(s.codewords[p], p), p + 1);
  s.written += kCodeword;
  s.progress += kCodeword;
}

void Base256Step(Stream& s, const Input& in) {
  const int field = s.mark / kCodeword;
  const int length = FieldLength(s, field) + 1;
  if (length == 250) WidenLengthField(s, field);
  if (s.error != NoError) return;
  if (length <= 249) {
    s.codewords[field] = Randomise255(length, field);
  } else {
    s.codewords[field] = Randomise255(length / 250 + 249, field);
    s.codewords[field + 1] = Randomise255(length % 250, field + 1);
  }
  WriteWhole(s, Randomise255(in.text[s.cursor++], s.progress / kCodeword));
}

// ---- whole requests ---------------------------------------------------------

void ReportStop(const Stream& s, const Input& in) {
  const int at = s.error == Unsupported ? s.errorAt : s.cursor;
  if ((s.error == Unsupported || s.error == CannotUnlatch) && at < in.end)
    std::fprintf(stderr, "Character \"%c\" not supported by requested encodation scheme\n\n", in.text[at]);
}

// The latch followed at once by the unlatch: the scheme carried no value.
// Decoders such as libdmtx look for an unlatch only after a codeword pair and
// misread it there, so such bytes go in ASCII without the latch. (A pair's
// first codeword is at most 250, so 254 in second place is the unlatch.)
bool LatchedForNothing(const Stream& s, int scheme) {
  return IsTripletScheme(scheme) && s.written >= 2 * kCodeword && s.codewords[1] == kUnlatch;
}

DmFailure FailureOf(const Stream& s) {
  return s.error == Unsupported || s.error == CannotUnlatch ? DmFailure::CannotEncode : DmFailure::FitsNoSize;
}

Encoded EncodeRequested(const Input& in, int scheme, uint8_t* codewords) {
  Stream s = FreshStream(codewords);
  while (s.cursor < in.end) {
    if (s.scheme != scheme) ChangeScheme(s, in, scheme);
    if (s.error == NoError) RunStep(s, in);
    if (s.error != NoError) {
      ReportStop(s, in);
      return {0, FailureOf(s)};
    }
  }
  if (LatchedForNothing(s, scheme)) return EncodeRequested(in, Ascii, codewords);
  return {CodewordCount(s), DmFailure::None};
}

}  // namespace

Stream FreshStream(uint8_t* codewords) { return Stream{Ascii, NoError, 0, 0, 0, 0, 0, codewords}; }

void ChangeScheme(Stream& s, const Input&, int target) {
  if (LeaveScheme(s, false)) EnterScheme(s, target);
}

void RunStep(Stream& s, const Input& in) {
  switch (s.scheme) {
    case Ascii: AsciiStep(s, in); break;
    case C40:
    case Text:
    case X12: TripletStep(s, in); break;
    case Edifact: EdifactStep(s, in); break;
    case Base256: Base256Step(s, in); break;
  }
}

int TripletValueCount(int scheme, uint8_t byte) { return ValuesOf(scheme)[byte].count; }

int TripletValues(int scheme, uint8_t byte, uint8_t* values) {
  const CharValues& cv = ValuesOf(scheme)[byte];
  std::copy_n(cv.values.begin(), cv.count, values);
  return cv.count;
}

int Randomise255(int value, int position) {
  const int r = value + (149 * (position + 1)) % 255 + 1;
  return r > 255 ? r - 256 : r;
}

Encoded EncodeDataForSize(const uint8_t* text, int length, int scheme, int requestedSize, uint8_t* codewords) {
  const bool known = (scheme >= Ascii && scheme <= Auto) || scheme == Smallest;
  if (text == nullptr || length <= 0 || codewords == nullptr || !known) return {0, DmFailure::NoData};
  const Input in{text, length, requestedSize};
  if (scheme == Smallest) return EncodeSmallest(in, codewords);
  return scheme == Auto ? EncodeAuto(in, codewords) : EncodeRequested(in, scheme, codewords);
}

}  // namespace dm

int DmEncodeData(const uint8_t* text, int length, int scheme, uint8_t* codewords) {
  return dm::EncodeDataForSize(text, length, scheme, DmSmallestSquare, codewords).count;
}

void DmPadCodewords(uint8_t* codewords, int& count, int capacity) {
  for (int p = count; p < capacity; ++p) {
    const int pad = p == count ? 129 : 130 + (149 * (p + 1)) % 253;
    codewords[p] = static_cast<uint8_t>(pad > 254 ? pad - 254 : pad);
  }
  if (count < capacity) count = capacity;
}

}  // namespace quillet
