// How large a logo a QR Code symbol can carry. The logo sits on a pad of
// light modules in the middle of the symbol: a box of modules, all of them
// or only those the logo's outline needs (PadMask); every codeword with a
// cleared module counts as destroyed. A pad is allowed when no block loses more
// than half of what its error correction can repair, so that print damage
// and a dirty lens still have the other half, and when it replaces no finder,
// timing, format or version module. Nothing is drawn over the logo: the
// alignment patterns at the centre of a symbol (version 7 up: the middle
// one of each line, or the middle two) may go under the pad, as decoders
// estimate a pattern they miss from its neighbours; they carry no codeword,
// so the blocks' spare half is what covers the estimate, and the read-back
// of the symbol drawn is the proof. Any other alignment pattern counts as a
// fixed pattern.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "qr/QrLevel.h"

namespace quillet {

struct BlockDamage {
  int destroyed = 0;    // codewords with a module under the pad
  int correctable = 0;  // codewords the block's error correction repairs
  int Allowed() const { return correctable / 2; }
};

// The modules a pad clears: a box of `width` x `height` modules, both odd so
// that it is centred, and which of them go light, row after row.
struct PadMask {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> cleared{};
  bool Clears(int x, int y) const { return cleared[static_cast<size_t>(y) * width + x] != 0; }
  int LongSide() const { return width > height ? width : height; }
  int Count() const;
};

// A box of which every module is cleared.
PadMask BoxPad(int width, int height);
inline PadMask SquarePad(int side) { return BoxPad(side, side); }

// The mask of a logo's pad whose longer side is `longSide` modules.
using PadMaskFor = std::function<PadMask(int longSide)>;

struct LogoDamage {
  int padSide = 0;                // modules, the box's longer side
  int padWidth = 0, padHeight = 0;  // the box's
  int cleared = 0;                // modules the pad clears
  bool coversFixedPattern = false;  // a finder, timing, format or version module, or an alignment pattern off centre
  bool centreAlignmentLost = false;  // the pad covers a centre alignment pattern
  std::vector<BlockDamage> blocks;  // in the encoder's block order

  bool Allowed() const;
};

// The pad's first module (column and row), centred in a symbol of `side` modules.
constexpr int LogoPadFirst(int symbolSide, int padSide) { return (symbolSide - padSide) / 2; }

// What a pad destroys in a symbol of `version` and `level`, centred; an
// empty answer (no blocks) for a version outside 1..40 or a box larger than
// the symbol.
LogoDamage LogoPadDamage(int version, QrLevel level, const PadMask& pad);
inline LogoDamage LogoPadDamage(int version, QrLevel level, int padSide) {
  return LogoPadDamage(version, level, SquarePad(padSide));
}

// The largest allowed longer side of a pad, odd; 0 when not even one module
// may go. Without a mask, of a square pad.
int LargestLogoPad(int version, QrLevel level, const PadMaskFor& maskFor);
int LargestLogoPad(int version, QrLevel level);

// A pad for a logo `share` of the symbol's side wide: the odd side nearest
// share · side, at least MinLogoPad.
int LogoPadSide(int version, double share);

// The smallest pad worth a logo: below it the rim leaves the logo a speck.
constexpr int MinLogoPad = 3;


}  // namespace quillet
