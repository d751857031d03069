// How large a logo a QR Code symbol can carry. The logo sits on a square pad
// of light modules in the middle of the symbol; every codeword with a module
// under the pad counts as destroyed. A pad is allowed when no block loses more
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

#include <vector>

#include "qr/QrLevel.h"

namespace quillet {

struct BlockDamage {
  int destroyed = 0;    // codewords with a module under the pad
  int correctable = 0;  // codewords the block's error correction repairs
  int Allowed() const { return correctable / 2; }
};

struct LogoDamage {
  int padSide = 0;                // modules, odd, so that the pad is centred
  bool coversFixedPattern = false;  // a finder, timing, format or version module, or an alignment pattern off centre
  bool centreAlignmentLost = false;  // the pad covers a centre alignment pattern
  std::vector<BlockDamage> blocks;  // in the encoder's block order

  bool Allowed() const;
};

// The pad's first module (column and row), centred in a symbol of `side` modules.
constexpr int LogoPadFirst(int symbolSide, int padSide) { return (symbolSide - padSide) / 2; }

// What a pad of `padSide` modules destroys in a symbol of `version` and
// `level`; an empty answer (no blocks) for a version outside 1..40.
LogoDamage LogoPadDamage(int version, QrLevel level, int padSide);

// The largest allowed pad side, 0 when not even one module may go.
int LargestLogoPad(int version, QrLevel level);

// A pad for a logo `share` of the symbol's side wide: the odd side nearest
// share · side, at least MinLogoPad.
int LogoPadSide(int version, double share);

// The smallest pad worth a logo: below it the rim leaves the logo a speck.
constexpr int MinLogoPad = 3;


}  // namespace quillet
