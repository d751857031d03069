// Automatic choice among ASCII, C40 and Text: three streams advance byte by
// byte, each target scheme taking the cheapest continuation of any stream.
#include <array>
#include <cstring>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

namespace dm {
namespace {

constexpr int kStreams = 3;
constexpr std::array<int, kStreams> kSchemes = {Ascii, C40, Text};

using Buffer = std::array<uint8_t, DmCodewordBufferSize>;

// A trial works on a scratch buffer holding only the source's last two
// codewords (all that an ASCII pair or a change of scheme reads back) and
// whatever the step writes; the prefix below `from` stays in the source.
struct Candidate {
  Stream stream;
  int source = -1;
  int from = 0;
};

struct AutoState {
  std::array<Stream, kStreams> current;
  std::array<Buffer, 2 * kStreams> buffers;  // each stream's own, and one spare each
  std::array<Buffer, kStreams + 1> scratch;  // one per winner, one for the trial in hand
  std::array<uint8_t*, kStreams> spare;
};

bool IsLive(const Stream& s, const Input& in) { return s.error == NoError && s.cursor < in.end; }

Candidate Trial(const Stream& from, int source, int target, const Input& in, uint8_t* scratch) {
  const int top = CodewordCount(from);
  Candidate c{from, source, top < 2 ? 0 : top - 2};
  for (int p = c.from; p < top; ++p) scratch[p] = from.codewords[p];
  c.stream.codewords = scratch;
  if (c.stream.scheme != kSchemes[target]) ChangeScheme(c.stream, in, kSchemes[target]);
  if (c.stream.error == NoError) RunStep(c.stream, in);
  return c;
}

// Codewords a change from `from` to the target writes before the step: no
// step lowers the progress, so this bounds the trial's progress from below.
int ChangeCost(const Stream& from, int target) {
  if (from.scheme == kSchemes[target]) return 0;
  return kCodeword * ((IsTripletScheme(from.scheme) ? 1 : 0) + (kSchemes[target] != Ascii ? 1 : 0));
}

bool Beats(const Candidate& c, int progress, int source) {
  return c.source < 0 || progress < c.stream.progress || (progress == c.stream.progress && source < c.source);
}

// The winner for one target: the smallest progress, the earlier source on a
// tie. The source already in the target scheme is tried first, so that the
// others can often be ruled out without a trial. (Every byte has a value in
// ASCII, C40 and Text, so no trial meets an unsupported character.)
Candidate BestFor(AutoState& st, int target, const Input& in, int& bestSlot, int& freeSlot) {
  Candidate best;
  constexpr std::array<std::array<int, kStreams>, kStreams> kTrialOrder = {{{0, 1, 2}, {1, 0, 2}, {2, 0, 1}}};
  for (const int source : kTrialOrder[target]) {
    const Stream& from = st.current[source];
    if (!IsLive(from, in) || (from.scheme != kSchemes[target] && !CanLeave(from))) continue;
    if (!Beats(best, from.progress + ChangeCost(from, target), source)) continue;
    Candidate c = Trial(from, source, target, in, st.scratch[freeSlot].data());
    if (c.stream.error != NoError || !Beats(best, c.stream.progress, source)) continue;
    best = c;
    std::swap(bestSlot, freeSlot);
  }
  return best;
}

// Makes each winner a full stream again: its source's prefix plus the
// codewords its trial wrote. Copies into spares come first, while every
// source buffer still holds its old codewords.
void Commit(AutoState& st, const std::array<Candidate, kStreams>& winners, const std::array<int, kStreams>& slots) {
  for (int t = 0; t < kStreams; ++t) {
    const Candidate& w = winners[t];
    if (w.source < 0 || w.source == t) continue;
    std::memcpy(st.spare[t], st.current[w.source].codewords, w.from);
    std::memcpy(st.spare[t] + w.from, st.scratch[slots[t]].data() + w.from, CodewordCount(w.stream) - w.from);
  }
  for (int t = 0; t < kStreams; ++t) {
    const Candidate& w = winners[t];
    uint8_t* own = st.current[t].codewords;
    if (w.source == t)
      std::memcpy(own + w.from, st.scratch[slots[t]].data() + w.from, CodewordCount(w.stream) - w.from);
    else if (w.source >= 0)
      std::swap(own, st.spare[t]);
    st.current[t] = w.source >= 0 ? w.stream : Stream{Ascii, Overflow, 0, 0, 0, 0, 0, nullptr};
    st.current[t].codewords = own;
  }
}

bool AnyLive(const AutoState& st, const Input& in) {
  for (const Stream& s : st.current)
    if (IsLive(s, in)) return true;
  return false;
}

void Start(AutoState& st, const Input& in) {
  for (int t = 0; t < kStreams; ++t) {
    st.current[t] = FreshStream(st.buffers[t].data());
    st.spare[t] = st.buffers[kStreams + t].data();
    if (kSchemes[t] != Ascii) ChangeScheme(st.current[t], in, kSchemes[t]);
    RunStep(st.current[t], in);
  }
}

void Advance(AutoState& st, const Input& in) {
  std::array<Candidate, kStreams> winners;
  std::array<int, kStreams> slots = {0, 1, 2};
  int freeSlot = kStreams;
  for (int t = 0; t < kStreams; ++t) winners[t] = BestFor(st, t, in, slots[t], freeSlot);
  Commit(st, winners, slots);
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
