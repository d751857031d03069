// Automatic choice among ASCII, C40 and Text: three streams advance byte by
// byte, each target scheme taking the cheapest continuation of any stream.
//
// The plain form of that choice runs every continuation on a copy of its
// source at every byte (EncodeAutoByTrials, at the end of this file). It does
// all the work for short texts, and the tests hold the fast form to it,
// codeword for codeword, on random texts.
//
// The fast form (EncodeAuto) goes most of the way without codewords: while
// every stream is in its own scheme at the same byte, each continuation's
// progress follows from counts (a change of scheme costs its unlatch and
// latch, a byte its values, a read-ahead the pairs up to where it stops), and
// a step records only which stream each one continued. When a continuation
// needs more (the end-of-data rules near the end of the input, the end of the
// buffer), the recorded steps are run again on real codewords, once for each
// line of descent, and the rest goes step by step with trial runs.
#include <algorithm>
#include <array>
#include <cstring>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

namespace quillet {

namespace dm {
namespace {

constexpr int kStreams = 3;
constexpr std::array<int, kStreams> kSchemes = {Ascii, C40, Text};
constexpr int kNoSource = -1;
constexpr int kUnknown = -1;

using Buffer = std::array<uint8_t, DmCodewordBufferSize>;

// Codeword buffers, and for each pair how many leading codewords they are
// known to share. A winner that continues another stream then copies only
// where the two differ, usually the last few codewords, not the whole prefix
// again at every byte.
class BufferPool {
 public:
  static constexpr int kCount = 2 * kStreams;  // each stream's own, and one spare each

  BufferPool() {
    for (auto& row : shared_) row.fill(0);
    for (int b = 0; b < kCount; ++b) shared_[b][b] = DmCodewordBufferSize;
  }
  uint8_t* Data(int b) { return buffers_[b].data(); }
  int Shared(int a, int b) const { return shared_[a][b]; }

  // Buffer b takes buffer a's codewords below `count`.
  void CopyPrefix(int b, int a, int count) {
    const int same = std::min(shared_[b][a], count);
    std::memcpy(Data(b) + same, Data(a) + same, count - same);
    for (int x = 0; x < kCount; ++x)
      if (x != b) Share(b, x, std::min(count, shared_[a][x]));
  }

  // Buffer b's codewords from `from` on may have changed.
  void Changed(int b, int from) {
    for (int x = 0; x < kCount; ++x)
      if (x != b) Share(b, x, std::min(from, shared_[b][x]));
  }

 private:
  void Share(int a, int b, int count) { shared_[a][b] = shared_[b][a] = count; }

  std::array<Buffer, kCount> buffers_;
  std::array<std::array<int, kCount>, kCount> shared_;
};

// The number of C40 and Text values of every byte, by stream.
using ValueCounts = std::array<std::array<uint8_t, 256>, kStreams>;

const ValueCounts& Counts() {
  static const ValueCounts counts = [] {
    ValueCounts c{};
    for (int t = 0; t < kStreams; ++t)
      if (IsTripletScheme(kSchemes[t]))
        for (int b = 0; b < 256; ++b) c[t][b] = static_cast<uint8_t>(TripletValueCount(kSchemes[t], b));
    return c;
  }();
  return counts;
}

// For C40 and Text, what a read-ahead from each byte does: where it stops
// (at the first later byte boundary where the values since that byte make
// whole triples; -1 where the table cannot tell) and, through the values
// before each byte, how many values it packs. Known for the first kTracked bytes.
constexpr int kTracked = DmMaxTextLength + 1;

struct ReadAheads {
  using Row = std::array<int16_t, kTracked + 1>;
  // By stream, ASCII (the first) having none.
  static_assert(kSchemes[0] == Ascii);
  std::array<Row, kStreams - 1> stopRows;
  std::array<Row, kStreams - 1> valuesBeforeRows;
  int limit;

  Row& Stop(int t) { return stopRows[t - 1]; }
  const Row& Stop(int t) const { return stopRows[t - 1]; }
  Row& ValuesBefore(int t) { return valuesBeforeRows[t - 1]; }
  const Row& ValuesBefore(int t) const { return valuesBeforeRows[t - 1]; }
};

void FindReadAheads(ReadAheads& ahead, const ValueCounts& counts, const Input& in) {
  ahead.limit = std::min(in.end, kTracked);
  for (int t = 0; t < kStreams; ++t) {
    if (!IsTripletScheme(kSchemes[t])) continue;
    auto& stop = ahead.Stop(t);
    auto& before = ahead.ValuesBefore(t);
    for (int k = 0, values = 0; k <= ahead.limit; ++k) {
      before[k] = static_cast<int16_t>(values);
      if (k < ahead.limit) values += counts[t][in.text[k]];
    }
    // Walking back: the next boundary with the same number of values modulo 3.
    std::array<int16_t, 3> next = {-1, -1, -1};
    for (int k = ahead.limit; k >= 0; --k) {
      stop[k] = next[before[k] % 3];
      next[before[k] % 3] = static_cast<int16_t>(k);
    }
  }
}

// Until a continuation needs its codewords, the streams go without them: each
// step only records which stream every stream continued. They are then made
// real by running those steps again, once for each stream an ancestor of
// several.
struct History {
  int steps = 0;
  std::array<std::array<int8_t, kStreams>, kTracked> sources;  // by step: each stream's source, -1 none
  std::array<Stream, kStreams> start;                          // the streams before the first step
};

// A stream without codewords, in its own scheme at the common cursor.
struct Lean {
  bool alive;
  bool pairable;  // ASCII: a digit next would join the last codeword
  int written;
  int progress;
  int mark;
};

struct AutoState {
  std::array<Stream, kStreams> current;
  std::array<int, kStreams> bufferOf;  // each current stream's pool buffer, -1 when it is dead
  // The lean streams before and after the step in hand, in turn: swapping
  // which is which is cheaper than copying them.
  std::array<std::array<Lean, kStreams>, 2> leans;
  int leanNow;
  int leanCursor;
  BufferPool pool;
  Buffer scratch;
  const ValueCounts* counts;
  ReadAheads ahead;
  History history;
};

bool IsLive(const Stream& s, const Input& in) { return s.error == NoError && s.cursor < in.end; }
bool IsDigit(int b) { return b >= '0' && b <= '9'; }

// Codewords a change from one scheme to another writes: unlatch, latch.
constexpr int ChangeCost(int fromScheme, int toScheme) {
  if (fromScheme == toScheme) return 0;
  return kCodeword * ((IsTripletScheme(fromScheme) ? 1 : 0) + (toScheme != Ascii ? 1 : 0));
}
int ChangeCost(const Stream& from, int target) { return ChangeCost(from.scheme, kSchemes[target]); }

void ContinueInPlace(Stream& s, int target, const Input& in) {
  if (s.scheme != kSchemes[target]) ChangeScheme(s, in, kSchemes[target]);
  if (s.error == NoError) RunStep(s, in);
}

// The continuation in `next`, on the given codewords. (Run in place: a stream
// returned by value after the step wrote its fields is slow to read back.)
void Continue(const Stream& from, uint8_t* codewords, int target, const Input& in, Stream& next) {
  next = from;
  next.codewords = codewords;
  ContinueInPlace(next, target, in);
}

// Runs the continuation on a scratch buffer holding only the source's last
// two codewords (all that an ASCII pair or a change of scheme reads back).
// Returns its progress, or kUnknown when it fails.
int TrialProgress(AutoState& st, const Stream& from, int target, const Input& in) {
  const int top = CodewordCount(from);
  for (int p = std::max(0, top - 2); p < top; ++p) st.scratch[p] = from.codewords[p];
  Stream trial;
  Continue(from, st.scratch.data(), target, in, trial);
  return trial.error == NoError ? trial.progress : kUnknown;
}

bool Beats(int progress, int source, int bestProgress, int bestSource) {
  return bestSource == kNoSource || progress < bestProgress || (progress == bestProgress && source < bestSource);
}

// For each target, its sources: the one already in the target scheme first.
constexpr std::array<std::array<int, kStreams>, kStreams> kOrder = {{{0, 1, 2}, {1, 0, 2}, {2, 0, 1}}};

// The source whose continuation wins the target, or kNoSource: the smallest
// progress, the earlier source on a tie. The source already in the target
// scheme goes first, so that the others can often be ruled out by what their
// change of scheme alone costs (no step lowers the progress). (Every byte has
// a value in ASCII, C40 and Text, so no continuation meets an unsupported
// character.)
int BestFor(AutoState& st, int target, const Input& in) {
  int bestSource = kNoSource;
  int bestProgress = 0;
  for (const int source : kOrder[target]) {
    const Stream& from = st.current[source];
    if (!IsLive(from, in) || (from.scheme != kSchemes[target] && !CanLeave(from))) continue;
    if (!Beats(from.progress + ChangeCost(from, target), source, bestProgress, bestSource)) continue;
    const int progress = TrialProgress(st, from, target, in);
    if (progress == kUnknown || !Beats(progress, source, bestProgress, bestSource)) continue;
    bestSource = source;
    bestProgress = progress;
  }
  return bestSource;
}

// ---- without codewords -------------------------------------------------------
//
// While every live stream is in its own scheme at the same byte, each
// continuation follows from counts alone: a change of scheme writes its
// unlatch and latch, an ASCII byte one or two codewords or joins a lone digit
// before it, a C40 or Text byte adds its values, and a read-ahead the pairs up
// to where it stops. What needs more (an end-of-data rule, the end of the
// buffer) ends this stretch.

// What the byte at the cursor costs in each scheme.
struct ByteCosts {
  bool digit;
  std::array<int, kStreams> step;       // the progress the byte adds
  std::array<int, kStreams> readAhead;  // the written length a read-ahead from it adds; kUnknown at the end
};

ByteCosts CostsAt(const AutoState& st, int cursor, const Input& in) {
  const int b = in.text[cursor];
  ByteCosts c{IsDigit(b), {}, {}};
  for (int t = 0; t < kStreams; ++t) {
    if (!IsTripletScheme(kSchemes[t])) {
      c.step[t] = (b >= 128 ? 2 : 1) * kCodeword;  // Upper Shift and value, or the byte
      continue;
    }
    c.step[t] = kTripletValue * (*st.counts)[t][b];
    const int stop = st.ahead.Stop(t)[cursor];
    const auto& before = st.ahead.ValuesBefore(t);
    c.readAhead[t] = stop < 0 || stop >= in.end ? kUnknown : kTripletValue * (before[stop] - before[cursor]);
  }
  return c;
}

enum class Rule { Continues, NoContinuation, NeedsCodewords };

// The continuation of lean stream `kSource` into `kTarget`. Both are
// constants, so that each of the nine keeps only its own rules.
template <int kSource, int kTarget>
Rule ByRule(const Lean& from, const ByteCosts& c, Lean& next) {
  constexpr int kFrom = kSchemes[kSource];
  constexpr int kTo = kSchemes[kTarget];
  constexpr bool kChange = kSource != kTarget;
  if (!from.alive) return Rule::NoContinuation;
  if (kChange && IsTripletScheme(kFrom) && (from.progress % kCodeword != 0 || from.progress != from.written))
    return Rule::NoContinuation;  // cannot unlatch between pairs
  const bool readsAhead = IsTripletScheme(kTo) && (kChange || from.progress == from.written);
  if (from.progress > from.written || (readsAhead && c.readAhead[kTarget] == kUnknown)) return Rule::NeedsCodewords;
  next = from;
  if (kChange) {
    next.written += ChangeCost(kFrom, kTo);
    next.progress += ChangeCost(kFrom, kTo);
    next.mark = next.progress - kCodeword;
  }
  if (readsAhead) next.written += c.readAhead[kTarget];
  const bool pairs = !kChange && kTo == Ascii && c.digit && from.pairable;
  if (!pairs) next.progress += c.step[kTarget];
  next.pairable = false;
  if (kTo == Ascii) {
    next.pairable = c.digit && !pairs && next.progress - kCodeword > next.mark;
    next.written = next.progress;
  }
  return (next.written + kCodeword - 1) / kCodeword <= DmCodewordBufferSize ? Rule::Continues : Rule::NeedsCodewords;
}

// Weighs the continuation of `kSource` against the best so far; false when it
// needs codewords.
template <int kSource, int kTarget>
bool TryLean(const AutoState& st, const ByteCosts& c, int& best, Lean& bestLean) {
  const Lean& from = st.leans[st.leanNow][kSource];
  if (!from.alive) return true;
  constexpr int kCost = ChangeCost(kSchemes[kSource], kSchemes[kTarget]);
  if (best != kNoSource && !Beats(from.progress + kCost, kSource, bestLean.progress, best)) return true;
  Lean candidate;
  const Rule rule = ByRule<kSource, kTarget>(from, c, candidate);
  if (rule == Rule::NeedsCodewords) return false;
  if (rule == Rule::Continues && Beats(candidate.progress, kSource, bestLean.progress, best)) {
    best = kSource;
    bestLean = candidate;
  }
  return true;
}

template <int kTarget>
bool BestLean(const AutoState& st, const ByteCosts& c, int8_t& source, Lean& next) {
  constexpr auto kSources = kOrder[kTarget];
  int best = kNoSource;
  if (!TryLean<kSources[0], kTarget>(st, c, best, next) || !TryLean<kSources[1], kTarget>(st, c, best, next) ||
      !TryLean<kSources[2], kTarget>(st, c, best, next))
    return false;
  if (best == kNoSource) next.alive = false;
  source = static_cast<int8_t>(best);
  return true;
}

const Stream kDead{Ascii, Overflow, 0, 0, 0, 0, 0, nullptr};

// A pool buffer that no winner holds, sharing the most with buffer `like`.
int SpareBuffer(const AutoState& st, const std::array<bool, BufferPool::kCount>& taken, int like) {
  int best = -1;
  for (int b = 0; b < BufferPool::kCount; ++b)
    if (!taken[b] && (best < 0 || st.pool.Shared(b, like) > st.pool.Shared(best, like))) best = b;
  return best;
}

// Runs each winner. The first winner of each source (the source itself
// first) continues in the source's buffer; the others copy the source's
// codewords into a spare first, before any source buffer changes.
void RunWinners(AutoState& st, const std::array<int, kStreams>& winners, const Input& in) {
  std::array<int, kStreams> keeper;  // by source
  keeper.fill(kNoSource);
  std::array<bool, BufferPool::kCount> taken{};
  for (const bool ownFirst : {true, false})
    for (int t = 0; t < kStreams; ++t) {
      const int s = winners[t];
      if (s != kNoSource && keeper[s] == kNoSource && (s == t || !ownFirst)) keeper[s] = t, taken[st.bufferOf[s]] = true;
    }
  std::array<Stream, kStreams> next;
  std::array<int, kStreams> nextBuffer;
  for (const bool inPlace : {false, true})
    for (int t = 0; t < kStreams; ++t) {
      const int s = winners[t];
      if (s == kNoSource || (keeper[s] == t) != inPlace) continue;
      const int top = CodewordCount(st.current[s]);
      int b = st.bufferOf[s];
      if (!inPlace) {
        b = SpareBuffer(st, taken, b);
        taken[b] = true;
        st.pool.CopyPrefix(b, st.bufferOf[s], top);
      }
      Continue(st.current[s], st.pool.Data(b), t, in, next[t]);
      st.pool.Changed(b, std::max(0, top - 2));
      nextBuffer[t] = b;
    }
  for (int t = 0; t < kStreams; ++t) {
    if (winners[t] == kNoSource) next[t] = kDead, nextBuffer[t] = -1;
  }
  st.current = next;
  st.bufferOf = nextBuffer;
}

bool AnyLive(const std::array<Stream, kStreams>& streams, const Input& in) {
  for (const Stream& s : streams)
    if (IsLive(s, in)) return true;
  return false;
}

// Stream t's first step: the first byte in its scheme.
Stream FirstStep(int t, uint8_t* codewords, const Input& in) {
  Stream s = FreshStream(codewords);
  if (kSchemes[t] != Ascii) ChangeScheme(s, in, kSchemes[t]);
  RunStep(s, in);
  return s;
}

void Start(AutoState& st, const Input& in) {
  st.counts = &Counts();
  FindReadAheads(st.ahead, *st.counts, in);
  for (int t = 0; t < kStreams; ++t) {
    st.bufferOf[t] = t;
    st.current[t] = FirstStep(t, st.pool.Data(t), in);
  }
  st.history.start = st.current;
}

// The stretch without codewords starts when every live stream is in its own
// scheme at the same byte.
bool EnterLean(AutoState& st, const Input& in) {
  int cursor = -1;
  for (int t = 0; t < kStreams; ++t) {
    const Stream& s = st.current[t];
    st.leans[0][t] = Lean{s.error == NoError, false, s.written, s.progress, s.mark};  // a first codeword never pairs
    if (s.error != NoError) continue;
    if (s.scheme != kSchemes[t] || (cursor >= 0 && s.cursor != cursor)) return false;
    cursor = s.cursor;
  }
  st.leanNow = 0;
  st.leanCursor = cursor;
  return cursor >= 0 && cursor < in.end;
}

// One step without codewords; false, with nothing changed, when a
// continuation needs them.
bool AdvanceLean(AutoState& st, const Input& in) {
  History& h = st.history;
  if (st.leanCursor >= st.ahead.limit || h.steps == kTracked) return false;
  const ByteCosts costs = CostsAt(st, st.leanCursor, in);
  std::array<Lean, kStreams>& next = st.leans[1 - st.leanNow];
  std::array<int8_t, kStreams> sources;
  static_assert(kStreams == 3);
  if (!BestLean<0>(st, costs, sources[0], next[0]) || !BestLean<1>(st, costs, sources[1], next[1]) ||
      !BestLean<2>(st, costs, sources[2], next[2]))
    return false;
  st.leanNow = 1 - st.leanNow;
  h.sources[h.steps++] = sources;
  ++st.leanCursor;
  return st.leanCursor < in.end;
}

// Runs again the steps taken without codewords, for the streams that lead to
// the current ones only.
void MakeReal(AutoState& st, const Input& in) {
  const History& h = st.history;
  if (h.steps == 0) return;
  std::array<uint8_t, kTracked> needed;  // by step: the streams a later one continues
  uint8_t mask = 0;
  for (int t = 0; t < kStreams; ++t)
    if (st.leans[st.leanNow][t].alive) mask |= 1 << t;
  for (int k = h.steps - 1; k >= 0; --k) {
    needed[k] = mask;
    mask = 0;
    for (int t = 0; t < kStreams; ++t)
      if ((needed[k] >> t & 1) && h.sources[k][t] != kNoSource) mask |= 1 << h.sources[k][t];
  }
  st.current = h.start;
  bool oneLine = false;  // the last step had one stream only, continued in place
  for (int k = 0; k < h.steps; ++k) {
    std::array<int, kStreams> sources;
    for (int t = 0; t < kStreams; ++t) sources[t] = (needed[k] >> t & 1) ? h.sources[k][t] : kNoSource;
    if (needed[k] != 1 && needed[k] != 2 && needed[k] != 4) {
      RunWinners(st, sources, in);
      oneLine = false;
      continue;
    }
    // One line of descent: no copies, and its buffer changes only from
    // where this run of steps began.
    const int t = needed[k] == 1 ? 0 : needed[k] == 2 ? 1 : 2;
    if (sources[t] != t) {
      st.current[t] = st.current[sources[t]];
      st.bufferOf[t] = st.bufferOf[sources[t]];
    }
    if (!oneLine) st.pool.Changed(st.bufferOf[t], std::max(0, CodewordCount(st.current[t]) - 2));
    oneLine = true;
    ContinueInPlace(st.current[t], t, in);
  }
}

void Advance(AutoState& st, const Input& in) {
  std::array<int, kStreams> sources;
  for (int t = 0; t < kStreams; ++t) sources[t] = BestFor(st, t, in);
  RunWinners(st, sources, in);
}

// The shortest finished stream; ASCII before C40 before Text on equal length.
const Stream* Shortest(const std::array<Stream, kStreams>& streams) {
  const Stream* best = nullptr;
  for (const Stream& s : streams)
    if (s.error == NoError && (best == nullptr || s.written < best->written)) best = &s;
  return best;
}

// Every stream fails only past the buffer or the largest size.
Encoded CopyOut(const Stream* best, uint8_t* codewords) {
  if (best == nullptr) return {0, DmFailure::FitsNoSize};
  const int count = CodewordCount(*best);
  std::memcpy(codewords, best->codewords, count);
  return {count, DmFailure::None};
}

}  // namespace

// Every continuation of every stream run on a copy of the whole stream, at
// every byte: no shortcut for the fast form's results to be held against.
Encoded EncodeAutoByTrials(const Input& in, uint8_t* codewords) {
  std::array<std::array<Buffer, kStreams>, 2> kept;  // the current streams' codewords and the next ones', in turn
  Buffer room;
  std::array<Stream, kStreams> current;
  int now = 0;
  for (int t = 0; t < kStreams; ++t) current[t] = FirstStep(t, kept[now][t].data(), in);
  while (AnyLive(current, in)) {
    std::array<Stream, kStreams> chosen;
    for (int target = 0; target < kStreams; ++target) {
      chosen[target] = kDead;
      int best = kNoSource;
      for (int source = 0; source < kStreams; ++source) {
        const Stream& from = current[source];
        if (!IsLive(from, in) || (from.scheme != kSchemes[target] && !CanLeave(from))) continue;
        std::memcpy(room.data(), from.codewords, CodewordCount(from));
        Stream trial;
        Continue(from, room.data(), target, in, trial);
        if (trial.error != NoError || !Beats(trial.progress, source, chosen[target].progress, best)) continue;
        chosen[target] = trial;
        chosen[target].codewords = kept[1 - now][target].data();
        std::memcpy(chosen[target].codewords, room.data(), CodewordCount(trial));
        best = source;
      }
    }
    now = 1 - now;
    current = chosen;
  }
  return CopyOut(Shortest(current), codewords);
}

Encoded EncodeAuto(const Input& in, uint8_t* codewords) {
  // A short text meets the end-of-data rules from its first bytes on, and
  // its streams are a few codewords long: plain trial runs are all it needs.
  constexpr int kShortText = 16;
  if (in.end <= kShortText) return EncodeAutoByTrials(in, codewords);
  AutoState st;
  Start(st, in);
  if (EnterLean(st, in))
    while (AdvanceLean(st, in)) {
    }
  MakeReal(st, in);
  while (AnyLive(st.current, in)) Advance(st, in);
  return CopyOut(Shortest(st.current), codewords);
}

}  // namespace dm

}  // namespace quillet
