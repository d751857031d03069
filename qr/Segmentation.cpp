#include "qr/Segmentation.h"

#include <algorithm>
#include <array>
#include <climits>

namespace quillet {

namespace qr {

namespace {

constexpr Mode Modes[] = {Mode::Numeric, Mode::Alphanumeric, Mode::Byte};

// A segment longer than its count field can say would need more bits than
// any symbol with that count width holds: the count fields never overflow.
constexpr bool CountFieldsSuffice() {
  for (int v = 1; v <= MaxVersion; ++v)
    for (const Mode mode : Modes)
      for (int level = 0; level < LevelCount; ++level)
        if (SegmentBits(mode, int64_t{1} << CountWidth(mode, v)) + CountWidthExtra(mode, v) <= DataBitCapacity[level][v])
          return false;
  return true;
}
static_assert(CountFieldsSuffice());

// A segment in progress: its mode and how many characters its last, unfinished
// group holds (digits go in threes, alphanumeric characters in pairs), which
// decides what the next character costs.
struct State {
  Mode mode;
  int residue;
};
constexpr State States[] = {{Mode::Numeric, 0},      {Mode::Numeric, 1},      {Mode::Numeric, 2},
                            {Mode::Alphanumeric, 0}, {Mode::Alphanumeric, 1}, {Mode::Byte, 0}};
constexpr int StateCount = static_cast<int>(std::size(States));
constexpr int NoState = 7;
constexpr uint8_t NewSegment = 8;  // flag of a back pointer: the character opens a segment
constexpr int32_t Unreachable = INT32_MAX / 2;

constexpr int StateOf(Mode mode, int residue) {
  for (int s = 0; s < StateCount; ++s)
    if (States[s].mode == mode && States[s].residue == residue) return s;
  return NoState;
}

// The state after one more character; back to residue 0 when the group is full.
constexpr int Next(int state) {
  const int following = StateOf(States[state].mode, States[state].residue + 1);
  return following == NoState ? StateOf(States[state].mode, 0) : following;
}

constexpr int32_t StepBits(int state) {
  const auto [mode, residue] = States[state];
  return static_cast<int32_t>(SegmentBits(mode, residue + 1) - SegmentBits(mode, residue));
}

// A mode holds a character when it is at least the character's narrowest
// mode (the modes go from narrow to wide).
int NarrowestMode(uint8_t byte) {
  return static_cast<int>(IsDigit(byte) ? Mode::Numeric : HasAlphanumericValue(byte) ? Mode::Alphanumeric : Mode::Byte);
}
bool Holds(Mode mode, int narrowest) { return static_cast<int>(mode) >= narrowest; }

bool SameCountWidths(int a, int b) {
  return std::ranges::all_of(Modes, [&](Mode mode) { return CountWidth(mode, a) == CountWidth(mode, b); });
}

}  // namespace

// Dynamic programming over the input: for each state, the fewest bits that
// encode the characters so far with a segment in that state open. A character
// either extends the open segment of its state or opens a segment after the
// cheapest state; a tie keeps the segment open.
std::vector<Segment> ShortestSegments(const uint8_t* data, int32_t length, int version) {
  std::array<int32_t, std::size(Modes)> openBits;  // header and first character of a new segment
  for (const Mode mode : Modes)
    openBits[static_cast<int>(mode)] = static_cast<int32_t>(SegmentBits(mode, 1) + CountWidthExtra(mode, version));
  std::array<int32_t, StateCount> cost;
  cost.fill(Unreachable);
  std::vector<uint8_t> from(static_cast<size_t>(length) * StateCount);
  int32_t cheapest = 0;
  int cheapestState = NoState;
  for (int32_t i = 0; i < length; ++i) {
    const int narrowest = NarrowestMode(data[i]);
    std::array<int32_t, StateCount> next;
    next.fill(Unreachable);
    uint8_t* back = &from[static_cast<size_t>(i) * StateCount];
    for (int s = 0; s < StateCount; ++s) {
      if (cost[s] == Unreachable || !Holds(States[s].mode, narrowest)) continue;
      next[Next(s)] = cost[s] + StepBits(s);
      back[Next(s)] = static_cast<uint8_t>(s);
    }
    for (const Mode mode : Modes) {
      const int opened = Next(StateOf(mode, 0));
      const int32_t bits = cheapest + openBits[static_cast<int>(mode)];
      if (!Holds(mode, narrowest) || bits >= next[opened]) continue;
      next[opened] = bits;
      back[opened] = static_cast<uint8_t>(cheapestState | NewSegment);
    }
    cost = next;
    cheapestState = static_cast<int>(std::ranges::min_element(cost) - cost.begin());
    cheapest = cost[cheapestState];
  }

  std::vector<Segment> segments;
  int state = cheapestState;
  for (int32_t i = length - 1, end = length; i >= 0; --i) {
    const uint8_t back = from[static_cast<size_t>(i) * StateCount + state];
    if (back & NewSegment) {
      segments.push_back({States[state].mode, i, end - i});
      end = i;
    }
    state = back & ~NewSegment;
  }
  std::ranges::reverse(segments);
  return segments;
}

int64_t StreamBits(const std::vector<Segment>& segments, int version) {
  int64_t bits = 0;
  for (const Segment& segment : segments)
    bits += SegmentBits(segment.mode, segment.length) + CountWidthExtra(segment.mode, version);
  return bits;
}

// No segmentation spends fewer bits: every character at the cheapest rate of
// a mode that holds it (a digit 10/3 bits, an alphanumeric character 11/2, a
// byte 8), and one header at the narrowest count width of `version`.
class LeastBits {
 public:
  LeastBits(const uint8_t* data, int32_t length) {
    for (int32_t i = 0; i < length; ++i) sixths_ += IsDigit(data[i]) ? 20 : HasAlphanumericValue(data[i]) ? 33 : 48;
  }
  int64_t At(int version) const {
    int header = CountWidth(Mode::Byte, version);
    for (const Mode mode : Modes) header = std::min(header, CountWidth(mode, version));
    return (sixths_ + 5) / 6 + 4 + header;
  }

 private:
  int64_t sixths_ = 0;
};

// One plan serves every version of a range with the same count widths (they
// change at versions 10 and 27); a range whose largest symbol cannot hold
// even the least bits is not planned at all.
SegmentPlan PlanSegments(const uint8_t* data, int32_t length, int level, int requested, int headerBits) {
  const LeastBits least(data, length);
  for (int first = std::max(requested, 1), last = first; first <= MaxVersion; first = ++last) {
    while (last < MaxVersion && SameCountWidths(first, last + 1)) ++last;
    if (least.At(first) + headerBits > DataBitCapacity[level][last]) continue;
    SegmentPlan plan{0, ShortestSegments(data, length, first), 0};
    plan.bits = StreamBits(plan.segments, first);
    for (int v = first; v <= last; ++v)
      if (plan.bits + headerBits <= DataBitCapacity[level][v]) {
        plan.version = v;
        return plan;
      }
  }
  return {};
}

void BuildSegmentedBitStream(CQrCodeEncoder::BitStreamEntries& stream, const SegmentPlan& plan, const uint8_t* data,
                             int capacityBits) {
  stream.Count = 0;
  for (const Segment& segment : plan.segments)
    AppendSegment(stream, segment.mode, data + segment.start, segment.length, plan.version);
  AppendTerminator(stream, plan.bits, capacityBits);
}

}  // namespace qr

}  // namespace quillet
