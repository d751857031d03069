// Automatic choice among ASCII, C40 and Text: three streams advance byte by
// byte, each target scheme taking the cheapest continuation of any stream.
//
// Each byte goes in two phases. Deciding needs only the progress that each
// continuation would reach, and that is mostly known without running it: a
// change of scheme costs its latch and unlatch, a byte its values. Only a
// continuation whose outcome depends on the codewords written (an ASCII digit
// pair), on the end of the input (the end-of-data rules) or on the end of the
// buffer is run, on a scratch copy. Then each winner runs once, in place.
#include <algorithm>
#include <array>
#include <cstring>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

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

// Where a C40 or Text read-ahead from each byte stops: at the first later
// byte boundary where the values since that byte make whole triples. Known
// for the first kTracked bytes, -1 where the table cannot tell.
constexpr int kTracked = DmMaxTextLength + 1;

struct ReadAheadStops {
  std::array<std::array<int16_t, kTracked + 1>, kStreams> at;  // by stream; ASCII's unused
  int limit;
};

void FindStops(ReadAheadStops& stops, const ValueCounts& counts, const Input& in) {
  stops.limit = std::min(in.end, kTracked);
  for (int t = 0; t < kStreams; ++t) {
    if (!IsTripletScheme(kSchemes[t])) continue;
    auto& at = stops.at[t];
    // First the values before each boundary, modulo 3; then, walking back,
    // the next boundary with the same remainder.
    for (int k = 0, residue = 0; k <= stops.limit; ++k) {
      at[k] = static_cast<int16_t>(residue);
      if (k < stops.limit) residue = (residue + counts[t][in.text[k]]) % 3;
    }
    std::array<int16_t, 3> next = {-1, -1, -1};
    for (int k = stops.limit; k >= 0; --k) {
      const int residue = at[k];
      at[k] = next[residue];
      next[residue] = static_cast<int16_t>(k);
    }
  }
}

struct AutoState {
  std::array<Stream, kStreams> current;
  std::array<int, kStreams> bufferOf;  // each current stream's pool buffer, -1 when it is dead
  BufferPool pool;
  Buffer scratch;
  const ValueCounts* counts;
  ReadAheadStops stops;
};

bool IsLive(const Stream& s, const Input& in) { return s.error == NoError && s.cursor < in.end; }

// Codewords a change from `from` to the target writes before the step.
int ChangeCost(const Stream& from, int target) {
  if (from.scheme == kSchemes[target]) return 0;
  return kCodeword * ((IsTripletScheme(from.scheme) ? 1 : 0) + (kSchemes[target] != Ascii ? 1 : 0));
}

// Room the plain rules below need at the end of the buffer.
constexpr int kPlainMargin = 8;

// The progress a continuation reaches, or kUnknown when only running it tells.
int PlainProgress(const AutoState& st, const Stream& from, int target, const Input& in) {
  const int top = CodewordCount(from);
  if (top + kPlainMargin > DmCodewordBufferSize) return kUnknown;
  const int b = in.text[from.cursor];
  if (kSchemes[target] == Ascii) {
    // After an unlatch no digit pairs with the codeword before.
    if (from.scheme == Ascii) return kUnknown;
    return from.progress + ChangeCost(from, target) + (b >= 128 ? 2 : 1) * kCodeword;
  }
  const int values = kTripletValue * (*st.counts)[target][b];
  if (from.scheme == kSchemes[target] && from.progress < from.written) return from.progress + values;
  // A read-ahead: plain when it stops before the input ends and its pairs fit
  // (a byte has at most four values, 8/3 codewords).
  if (from.cursor >= st.stops.limit) return kUnknown;
  const int stop = st.stops.at[target][from.cursor];
  if (stop < 0 || stop >= in.end || top + 2 + 3 * (stop - from.cursor) > DmCodewordBufferSize) return kUnknown;
  return from.progress + ChangeCost(from, target) + values;
}

Stream Continue(Stream s, uint8_t* codewords, int target, const Input& in) {
  s.codewords = codewords;
  if (s.scheme != kSchemes[target]) ChangeScheme(s, in, kSchemes[target]);
  if (s.error == NoError) RunStep(s, in);
  return s;
}

// Runs the continuation on a scratch buffer holding only the source's last
// two codewords (all that an ASCII pair or a change of scheme reads back).
// Returns its progress, or kUnknown when it fails.
int TrialProgress(AutoState& st, const Stream& from, int target, const Input& in) {
  const int top = CodewordCount(from);
  for (int p = std::max(0, top - 2); p < top; ++p) st.scratch[p] = from.codewords[p];
  const Stream trial = Continue(from, st.scratch.data(), target, in);
  return trial.error == NoError ? trial.progress : kUnknown;
}

bool Beats(int progress, int source, int bestProgress, int bestSource) {
  return bestSource == kNoSource || progress < bestProgress || (progress == bestProgress && source < bestSource);
}

// The source whose continuation wins the target, or kNoSource: the smallest
// progress, the earlier source on a tie. The source already in the target
// scheme goes first, so that the others can often be ruled out by what their
// change of scheme alone costs (no step lowers the progress). (Every byte has
// a value in ASCII, C40 and Text, so no continuation meets an unsupported
// character.)
int BestFor(AutoState& st, int target, const Input& in) {
  constexpr std::array<std::array<int, kStreams>, kStreams> kOrder = {{{0, 1, 2}, {1, 0, 2}, {2, 0, 1}}};
  int bestSource = kNoSource;
  int bestProgress = 0;
  for (const int source : kOrder[target]) {
    const Stream& from = st.current[source];
    if (!IsLive(from, in) || (from.scheme != kSchemes[target] && !CanLeave(from))) continue;
    if (!Beats(from.progress + ChangeCost(from, target), source, bestProgress, bestSource)) continue;
    int progress = PlainProgress(st, from, target, in);
    if (progress == kUnknown) progress = TrialProgress(st, from, target, in);
    if (progress == kUnknown || !Beats(progress, source, bestProgress, bestSource)) continue;
    bestSource = source;
    bestProgress = progress;
  }
  return bestSource;
}

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
      next[t] = Continue(st.current[s], st.pool.Data(b), t, in);
      st.pool.Changed(b, std::max(0, top - 2));
      nextBuffer[t] = b;
    }
  for (int t = 0; t < kStreams; ++t) {
    if (winners[t] == kNoSource) next[t] = Stream{Ascii, Overflow, 0, 0, 0, 0, 0, nullptr}, nextBuffer[t] = -1;
  }
  st.current = next;
  st.bufferOf = nextBuffer;
}

bool AnyLive(const AutoState& st, const Input& in) {
  for (const Stream& s : st.current)
    if (IsLive(s, in)) return true;
  return false;
}

void Start(AutoState& st, const Input& in) {
  st.counts = &Counts();
  FindStops(st.stops, *st.counts, in);
  for (int t = 0; t < kStreams; ++t) {
    st.bufferOf[t] = t;
    st.current[t] = FreshStream(st.pool.Data(t));
    if (kSchemes[t] != Ascii) ChangeScheme(st.current[t], in, kSchemes[t]);
    RunStep(st.current[t], in);
  }
}

void Advance(AutoState& st, const Input& in) {
  std::array<int, kStreams> winners;
  for (int t = 0; t < kStreams; ++t) winners[t] = BestFor(st, t, in);
  RunWinners(st, winners, in);
}

// The shortest finished stream; ASCII before C40 before Text on equal length.
const Stream* Shortest(const AutoState& st) {
  const Stream* best = nullptr;
  for (const Stream& s : st.current)
    if (s.error == NoError && (best == nullptr || s.written < best->written)) best = &s;
  return best;
}

}  // namespace

int EncodeAuto(const Input& in, uint8_t* codewords) {
  AutoState st;
  Start(st, in);
  while (AnyLive(st, in)) Advance(st, in);
  const Stream* best = Shortest(st);
  if (best == nullptr) return 0;
  const int count = CodewordCount(*best);
  std::memcpy(codewords, best->codewords, count);
  return count;
}

}  // namespace dm
