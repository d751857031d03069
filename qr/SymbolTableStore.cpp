#include "qr/SymbolTableStore.h"

#include "qr/QrStandard.h"
#include "qr/SymbolTables.h"

#include <array>
#include <mutex>
#include <vector>

namespace quillet {

namespace {

using namespace qr;

constexpr int RemainderSlotBase = QrvTableCount;
constexpr int FrameSlotBase = RemainderSlotBase + RemainderTableCount;
constexpr int SlotCount = FrameSlotBase + FrameTableCount;

// Slot of a (type, id) pair, or -1 when no such table exists.
int SlotOf(std::string_view type, int id) {
  if (type == QrvType && id >= QrvTableId(1, 0) && id <= QrvTableId(MaxVersion, LevelCount - 1)) return id - QrvTableId(1, 0);
  if (type == RemainderType && id >= RemainderTableBaseId && id < RemainderTableBaseId + RemainderTableCount)
    return RemainderSlotBase + id - RemainderTableBaseId;
  if (type == FrameType && id >= FrameTableId(1) && id <= FrameTableId(MaxVersion)) return FrameSlotBase + id - FrameTableId(1);
  return -1;
}

std::vector<uint8_t> BuildSlot(int slot) {
  if (slot < RemainderSlotBase) return BuildQrvTable(slot / LevelCount + 1, slot % LevelCount);
  if (slot < FrameSlotBase) return BuildRemainderTable(EcCountOfRemainderTable(slot - RemainderSlotBase));
  return BuildFrameTable(slot - FrameSlotBase + 1);
}

struct Slots {
  std::array<std::once_flag, SlotCount> built;
  std::array<std::vector<uint8_t>, SlotCount> bytes;
};

}  // namespace

SymbolTable SymbolTableStore::Find(std::string_view type, int id) {
  const int slot = SlotOf(type, id);
  if (slot < 0) return {};
  static Slots slots;
  std::call_once(slots.built[slot], [slot] { slots.bytes[slot] = BuildSlot(slot); });
  const std::vector<uint8_t>& table = slots.bytes[slot];
  return {table.data(), table.size()};
}

}  // namespace quillet
