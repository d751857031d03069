// The fewest data codewords over all six schemes: a shortest path over
// (byte position, state), where the state is the scheme and what it has
// pending: for C40, Text and X12 the values waiting for a full triple, for
// EDIFACT the values of the unfinished group of four. An edge consumes a byte
// (in ASCII also a digit pair) or changes the scheme between two bytes, and
// costs the codewords it adds. Every edge moves forward or into ASCII and out
// of it again, so one sweep over the positions finds every shortest path.
//
// How the data may end depends on the codewords left in the symbol (an
// unlatch that the end of the symbol makes unnecessary, a last ASCII codeword
// the decoder reads without one, an EDIFACT group it no longer starts), so the
// sweep runs for one capacity at a time, from the smallest size the data can
// fill upwards.
#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

namespace quillet {

namespace dm {
namespace {

constexpr int kAsciiState = 0;
constexpr int kTripletStates = 1;  // C40, Text, X12, each with 0, 1 or 2 values pending
constexpr int kEdifactStates = 10;  // 0 to 3 values of the group written
constexpr int kBase256State = 14;
constexpr int kStates = 15;
constexpr std::array<int, 3> kTripletSchemes = {C40, Text, X12};

constexpr int TripletState(int scheme, int pending) { return kTripletStates + 3 * (scheme - C40) + pending; }
constexpr int EdifactState(int group) { return kEdifactStates + group; }
constexpr int SchemeOf(int state) {
  if (state == kAsciiState) return Ascii;
  if (state < kEdifactStates) return C40 + (state - kTripletStates) / 3;
  return state < kBase256State ? Edifact : Base256;
}

constexpr uint8_t kLatchC40 = 230, kLatchBase256 = 231, kUpperShift = 235, kLatchX12 = 238, kLatchText = 239,
                  kLatchEdifact = 240, kUnlatch = 254;
constexpr int kEdifactUnlatch = 31;
constexpr int kShift1 = 0;
// A decoder reads the codewords at an EDIFACT group boundary as ASCII once no
// more than this many are left in the symbol.
constexpr int kEdifactAsciiTail = 2;
constexpr int kShortBase256Field = 249;  // longer fields take a second length codeword

enum class Edge : uint8_t {
  None,
  Byte,        // one byte in the scheme of the state it leads to
  DigitPair,   // two digits, one ASCII codeword
  Latch,       // from ASCII into another scheme
  Unlatch,     // back to ASCII, with the scheme's unlatch
  Silent,      // back to ASCII with no codeword: at the end of the symbol, or a Base256 field's end
  PadUnlatch,  // C40 or Text: the triple filled with Shift 1, then the unlatch
  PadEnd,      // the same, its pair filling the symbol: no unlatch
  FieldToEnd,  // a long Base256 field that fills the symbol: its length 0, one codeword
};

struct Node {
  int cost;
  uint8_t from;  // the state before the edge
  Edge edge;
  int16_t run;   // in Base256: the bytes of the field so far
};

constexpr int kUnreached = INT_MAX / 2;

// The number of C40, Text and X12 values of every byte, at hand for the sweep.
const auto kValueCounts = [] {
  std::array<std::array<uint8_t, 256>, 3> counts{};
  for (int t = 0; t < 3; ++t)
    for (int b = 0; b < 256; ++b) counts[t][b] = static_cast<uint8_t>(TripletValueCount(kTripletSchemes[t], b));
  return counts;
}();

bool IsDigit(int b) { return b >= '0' && b <= '9'; }
bool IsEdifactByte(int b) { return b >= 32 && b <= 94; }

// One step of the path found, in order: the edge into `state` at byte `at`.
struct Step {
  int at;
  uint8_t from, state;
  Edge edge;
};

class Paths {
 public:
  explicit Paths(const Input& in) : in_(in) {
    const size_t count = static_cast<size_t>(in.end + 1) * kStates;
    if (count > inline_.size()) heap_.resize(count);
    nodes_ = count > inline_.size() ? heap_.data() : inline_.data();
    end_ = nodes_ + count;
  }

  // The fewest codewords that end in ASCII after the last byte, under the
  // rules for the end of a symbol of `capacity` codewords (more when none fits).
  int Find(int capacity) {
    capacity_ = capacity;
    std::fill(nodes_, end_, Node{kUnreached, 0, Edge::None, 0});
    At(0, kAsciiState).cost = 0;
    for (int i = 0; i <= in_.end; ++i) {
      IntoAscii(i);
      OutOfAscii(i);
      if (i < in_.end) NextByte(i);
    }
    return At(in_.end, kAsciiState).cost;
  }

  // The steps of the last path found, first to last.
  std::vector<Step> Steps() const {
    std::vector<Step> steps;
    steps.reserve(static_cast<size_t>(in_.end) + 16);
    for (int i = in_.end, state = kAsciiState; i > 0 || state != kAsciiState;) {
      const Node& node = nodes_[Index(i, state)];
      steps.push_back({i, node.from, static_cast<uint8_t>(state), node.edge});
      i -= node.edge == Edge::Byte ? 1 : node.edge == Edge::DigitPair ? 2 : 0;
      state = node.from;
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
  }

 private:
  static size_t Index(int i, int state) { return static_cast<size_t>(i) * kStates + state; }
  Node& At(int i, int state) { return nodes_[Index(i, state)]; }

  void Relax(int i, int state, int cost, int from, Edge edge, int run = 0) {
    Node& node = At(i, state);
    if (cost >= node.cost) return;
    node = Node{cost, static_cast<uint8_t>(from), edge, static_cast<int16_t>(run)};
  }

  void IntoAscii(int i) {
    const auto cost = [&](int state) { return At(i, state).cost; };
    for (const int scheme : kTripletSchemes) {
      const int whole = TripletState(scheme, 0);
      Relax(i, kAsciiState, cost(whole) + 1, whole, Edge::Unlatch);
      if (capacity_ - cost(whole) <= 1) Relax(i, kAsciiState, cost(whole), whole, Edge::Silent);
      if (scheme == X12) continue;  // its value 0 is a carriage return, not a shift
      const int two = TripletState(scheme, 2);
      Relax(i, kAsciiState, cost(two) + 3, two, Edge::PadUnlatch);
      if (cost(two) + 2 == capacity_) Relax(i, kAsciiState, cost(two) + 2, two, Edge::PadEnd);
    }
    // The unlatch value takes a codeword of its own only after a whole group
    // or after one or two values; after three it completes the group.
    const int group0 = EdifactState(0);
    if (capacity_ - cost(group0) <= kEdifactAsciiTail)
      Relax(i, kAsciiState, cost(group0), group0, Edge::Silent);
    else
      Relax(i, kAsciiState, cost(group0) + 1, group0, Edge::Unlatch);
    for (int g = 1; g < 4; ++g) Relax(i, kAsciiState, cost(EdifactState(g)) + (g < 3), EdifactState(g), Edge::Unlatch);
    Relax(i, kAsciiState, cost(kBase256State), kBase256State, Edge::Silent);
    const Node& field = At(i, kBase256State);
    if (i == in_.end && field.run > kShortBase256Field && field.cost - 1 == capacity_)
      Relax(i, kAsciiState, field.cost - 1, kBase256State, Edge::FieldToEnd);
  }

  void OutOfAscii(int i) {
    const int k = At(i, kAsciiState).cost;
    if (k >= kUnreached) return;
    for (const int scheme : kTripletSchemes) Relax(i, TripletState(scheme, 0), k + 1, kAsciiState, Edge::Latch);
    Relax(i, EdifactState(0), k + 1, kAsciiState, Edge::Latch);
    Relax(i, kBase256State, k + 2, kAsciiState, Edge::Latch);  // the latch and a one-codeword length
  }

  void NextByte(int i) {
    const int b = in_.text[i];
    if (const int k = At(i, kAsciiState).cost; k < kUnreached) {
      Relax(i + 1, kAsciiState, k + (b >= 128 ? 2 : 1), kAsciiState, Edge::Byte);
      if (IsDigit(b) && i + 1 < in_.end && IsDigit(in_.text[i + 1]))
        Relax(i + 2, kAsciiState, k + 1, kAsciiState, Edge::DigitPair);
    }
    for (const int scheme : kTripletSchemes) {
      const int values = kValueCounts[scheme - C40][b];
      if (values == 0) continue;
      for (int p = 0; p < 3; ++p) {
        const int k = At(i, TripletState(scheme, p)).cost;
        if (k < kUnreached)
          Relax(i + 1, TripletState(scheme, (p + values) % 3), k + 2 * ((p + values) / 3), TripletState(scheme, p),
                Edge::Byte);
      }
    }
    if (IsEdifactByte(b))
      for (int g = 0; g < 4; ++g) {
        const int k = At(i, EdifactState(g)).cost;
        // A group starts only where the decoder still reads EDIFACT.
        if (k >= kUnreached || (g == 0 && capacity_ - k <= kEdifactAsciiTail)) continue;
        Relax(i + 1, EdifactState((g + 1) % 4), k + (g < 3), EdifactState(g), Edge::Byte);
      }
    if (const Node& field = At(i, kBase256State); field.cost < kUnreached) {
      const int run = field.run + 1;
      Relax(i + 1, kBase256State, field.cost + 1 + (run == kShortBase256Field + 1), kBase256State, Edge::Byte, run);
    }
  }

  const Input& in_;
  int capacity_ = 0;
  // Short texts, the most common, need no allocation.
  std::array<Node, 33 * kStates> inline_;
  std::vector<Node> heap_;
  Node* nodes_;
  Node* end_;
};

// Writes the codewords of a path.
class Writer {
 public:
  Writer(const Input& in, uint8_t* codewords) : in_(in), out_(codewords) {}

  int Write(const std::vector<Step>& steps) {
    for (size_t s = 0; s < steps.size(); ++s) Take(steps, s);
    return count_;
  }

 private:
  void Put(int value) { out_[count_++] = static_cast<uint8_t>(value); }

  void Take(const std::vector<Step>& steps, size_t s) {
    const Step& step = steps[s];
    const int scheme = SchemeOf(step.state);
    switch (step.edge) {
      case Edge::Byte: Byte(scheme, in_.text[step.at - 1]); break;
      case Edge::DigitPair: Put(130 + 10 * (in_.text[step.at - 2] - '0') + in_.text[step.at - 1] - '0'); break;
      case Edge::Latch: Latch(scheme, steps, s); break;
      case Edge::Unlatch: Unlatch(SchemeOf(step.from)); break;
      case Edge::Silent:
      case Edge::FieldToEnd: break;
      case Edge::PadUnlatch: Value(kShift1), Put(kUnlatch); break;
      case Edge::PadEnd: Value(kShift1); break;
      case Edge::None: break;
    }
  }

  void Byte(int scheme, uint8_t b) {
    if (scheme == Ascii) {
      if (b >= 128) Put(kUpperShift), Put(b - 127);
      else Put(b + 1);
    } else if (scheme == Edifact) {
      Bits(b & 0x3F);
    } else if (scheme == Base256) {
      Put(Randomise255(b, count_));
    } else {
      uint8_t values[4];
      const int n = TripletValues(scheme, b, values);
      for (int v = 0; v < n; ++v) Value(values[v]);
    }
  }

  // The field's length is known from the path: the Base256 bytes that follow.
  void Latch(int scheme, const std::vector<Step>& steps, size_t s) {
    constexpr std::array<uint8_t, 6> kLatch = {0, kLatchC40, kLatchText, kLatchX12, kLatchEdifact, kLatchBase256};
    Put(kLatch[scheme]);
    if (scheme != Base256) return;
    size_t length = 0;
    while (s + 1 + length < steps.size() && steps[s + 1 + length].edge == Edge::Byte &&
           steps[s + 1 + length].state == kBase256State)
      ++length;
    const bool toEnd = s + 1 + length < steps.size() && steps[s + 1 + length].edge == Edge::FieldToEnd;
    if (toEnd || length <= kShortBase256Field) {
      Put(Randomise255(toEnd ? 0 : static_cast<int>(length), count_));
    } else {
      Put(Randomise255(static_cast<int>(length / 250) + kShortBase256Field, count_));
      Put(Randomise255(static_cast<int>(length % 250), count_));
    }
  }

  void Unlatch(int scheme) {
    if (scheme == Edifact) {
      Bits(kEdifactUnlatch);
      if (bitCount_ > 0) Bits(0, 8 - bitCount_);  // the rest of the codeword stays zero
    } else {
      Put(kUnlatch);
    }
  }

  void Value(int value) {
    pending_[pendingCount_++] = static_cast<uint8_t>(value);
    if (pendingCount_ < 3) return;
    const int packed = 1600 * pending_[0] + 40 * pending_[1] + pending_[2] + 1;
    Put(packed >> 8);
    Put(packed & 0xFF);
    pendingCount_ = 0;
  }

  void Bits(int value, int width = 6) {
    bits_ = (bits_ << width) | value;
    bitCount_ += width;
    if (bitCount_ >= 8) {
      bitCount_ -= 8;
      Put((bits_ >> bitCount_) & 0xFF);
    }
  }

  const Input& in_;
  uint8_t* out_;
  int count_ = 0;
  std::array<uint8_t, 3> pending_{};
  int pendingCount_ = 0;
  unsigned bits_ = 0;
  int bitCount_ = 0;
};

}  // namespace

// Near the end of a symbol its rules save at most this many codewords: the
// fewest with room to spare, less this, is a bound for every size.
constexpr int kEndSavings = 2;
constexpr int kRoomToSpare = INT_MAX / 4;

Encoded EncodeSmallest(const Input& in, uint8_t* codewords) {
  if (in.end > DmMaxTextLength) return {0, DmFailure::FitsNoSize};
  Paths paths(in);
  const bool square = in.requestedSize == DmSmallestSquare;
  const bool any = square || in.requestedSize == DmSmallestRectangle;
  const int first = square ? 0 : any ? DmSquareSizeCount : in.requestedSize;
  const int last = square ? DmSquareSizeCount - 1 : any ? DmSizeCount - 1 : in.requestedSize;
  // No scheme packs more than two bytes into a codeword. Most texts fit the
  // first size tried; after a miss the bound comes from a sweep with room to spare.
  int least = (in.end + 1) / 2;
  bool bounded = false;
  for (int size = std::max(first, 0); size <= last && size < DmSizeCount; ++size) {
    const int capacity = DmSizeAttribute(size, DataCapacity);
    if (any && capacity < least - kEndSavings) continue;
    const int count = paths.Find(capacity);
    // Padding puts the data into the smallest size that holds them: the path
    // must be one for that size.
    if (count <= capacity && DmChooseSize(in.requestedSize, count) == size) {
      // The codewords written are the ones counted, or the end-of-data rules
      // were taken for the wrong size: no symbol rather than a misread one.
      const int written = Writer(in, codewords).Write(paths.Steps());
      return written == count ? Encoded{count, DmFailure::None} : Encoded{0, DmFailure::CannotEncode};
    }
    if (!bounded && any) {
      least = std::max(least, paths.Find(kRoomToSpare));
      bounded = true;
    }
  }
  return {0, DmFailure::FitsNoSize};
}

}  // namespace dm

}  // namespace quillet
