#include "qr/LogoBound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

#include "qr/EncodePlan.h"
#include "qr/QrStandard.h"

namespace quillet {

namespace {

// Codewords of a block kept from correction to guard small symbols against
// misdecoding (p in the standard's table of block structures): version 1 at
// every level, 2 and 3 at level L.
int MisdecodeProtection(int version, QrLevel level) {
  if (version == 1) {
    constexpr int protection[] = {3, 2, 1, 1};  // L M Q H
    return protection[QrLevelPosition(level)];
  }
  if (level == QrLevel::L && version <= 3) return version == 2 ? 2 : 1;
  return 0;
}

enum Cell : int { FixedPattern = -2, RemainderBit = -4, CentreAlignment = -5 };

// For every module (x * side + y) its codeword in the encoder's sequence, or
// what else it is. Remainder bits carry nothing: the pad may cover them, and
// the centre alignment pattern too (see the header).
std::vector<int> CodewordMap(const qr::EncodePlan& plan) {
  std::vector<int> map(static_cast<size_t>(plan.Side) * plan.Side, FixedPattern);
  for (int e = 0; e < plan.DataModules; ++e) {
    const int x = plan.ColumnCells[e] / qr::LineStride, y = plan.ColumnCells[e] % qr::LineStride;
    map[x * plan.Side + y] = e < 8 * plan.TotalCodewords ? e / 8 : RemainderBit;
  }
  // The middle pattern of each line, or the middle two where the count is
  // even; from version 7 up, where there are three or more to a line.
  const std::vector<int> centres = qr::AlignmentCentres(plan.Version);
  const size_t n = centres.size();
  if (n < 3) return map;
  for (size_t i = (n - 1) / 2; i <= n / 2; ++i)
    for (size_t j = (n - 1) / 2; j <= n / 2; ++j)
      for (int x = centres[i] - 2; x <= centres[i] + 2; ++x)
        for (int y = centres[j] - 2; y <= centres[j] + 2; ++y) map[x * plan.Side + y] = CentreAlignment;
  return map;
}

// The map of a version and level, made once: a batch asks for the bound of
// every symbol. (The level's blocks decide the interleaving, so each level
// has its own.)
const std::vector<int>& CodewordMapOf(const qr::EncodePlan& plan, QrLevel level) {
  constexpr int Maps = qr::MaxVersion * qr::LevelCount;
  static std::array<std::once_flag, Maps> made;
  static std::array<std::vector<int>, Maps> maps;
  const int index = (plan.Version - 1) * qr::LevelCount + QrLevelPosition(level);
  std::call_once(made[index], [&] { maps[index] = CodewordMap(plan); });
  return maps[index];
}

// The block of codeword `w`: data codewords run block after block, then the
// error correction of each block in the same order.
int BlockOf(const qr::EncodePlan& plan, int w) {
  if (w >= plan.DataCodewords) return (w - plan.DataCodewords) / plan.EcPerBlock;
  int block = 0;
  for (int end = plan.BlockDataSizes[0]; w >= end; end += plan.BlockDataSizes[++block]) {
  }
  return block;
}

}  // namespace

int PadMask::Count() const { return static_cast<int>(std::count(cleared.begin(), cleared.end(), 1)); }

PadMask BoxPad(int width, int height) {
  const int w = std::max(width, 0), h = std::max(height, 0);
  return {w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, 1)};
}

bool LogoDamage::Allowed() const {
  if (coversFixedPattern || blocks.empty()) return false;
  return std::all_of(blocks.begin(), blocks.end(),
                     [](const BlockDamage& block) { return block.destroyed <= block.Allowed(); });
}

LogoDamage LogoPadDamage(int version, QrLevel level, const PadMask& pad) {
  LogoDamage damage;
  damage.padSide = pad.LongSide();
  damage.padWidth = pad.width;
  damage.padHeight = pad.height;
  damage.cleared = pad.Count();
  const qr::EncodePlan* plan = version >= 1 && version <= qr::MaxVersion
                                   ? qr::FindEncodePlan(version, QrLevelIndicator(level))
                                   : nullptr;
  if (plan == nullptr || pad.LongSide() > plan->Side) return damage;
  const int correctable = (plan->EcPerBlock - MisdecodeProtection(version, level)) / 2;
  damage.blocks.assign(plan->BlockDataSizes.size(), BlockDamage{0, correctable});
  const std::vector<int>& map = CodewordMapOf(*plan, level);
  std::vector<uint8_t> counted(static_cast<size_t>(plan->TotalCodewords), 0);
  const int left = LogoPadFirst(plan->Side, pad.width), top = LogoPadFirst(plan->Side, pad.height);
  for (int y = 0; y < pad.height; ++y)
    for (int x = 0; x < pad.width; ++x) {
      if (!pad.Clears(x, y)) continue;
      const int cell = map[(left + x) * plan->Side + top + y];
      if (cell == FixedPattern) damage.coversFixedPattern = true;
      if (cell == CentreAlignment) damage.centreAlignmentLost = true;
      if (cell < 0 || counted[cell]) continue;
      counted[cell] = 1;
      ++damage.blocks[BlockOf(*plan, cell)].destroyed;
    }
  return damage;
}

int LargestLogoPad(int version, QrLevel level, const PadMaskFor& maskFor) {
  int largest = 0;
  for (int side = 1; side <= qr::SideOf(std::clamp(version, 1, qr::MaxVersion)); side += 2) {
    if (!LogoPadDamage(version, level, maskFor(side)).Allowed()) break;
    largest = side;
  }
  return largest;
}

int LargestLogoPad(int version, QrLevel level) { return LargestLogoPad(version, level, SquarePad); }

int LogoPadSide(int version, double share) {
  const int side = 2 * static_cast<int>(std::lround((share * qr::SideOf(version) - 1) / 2)) + 1;
  return std::max(MinLogoPad, side);
}

}  // namespace quillet
