#include "qr/EncodePlan.h"

#include "qr/QrStandard.h"
#include "qr/SymbolTableStore.h"
#include "qr/SymbolTables.h"

#include <memory>
#include <mutex>

namespace quillet {

namespace qr {

namespace {

template <typename T, int N>
struct OnceArray {
  std::array<std::once_flag, N> built;
  std::array<std::unique_ptr<const T>, N> items;

  template <typename Make>
  const T* Get(int index, Make make) {
    std::call_once(built[index], [&] { items[index] = make(); });
    return items[index].get();
  }
};

std::unique_ptr<const std::vector<uint8_t>> PaddedRemainderRows(int ecCount) {
  const SymbolTable table = SymbolTableStore::Find(RemainderType, RemainderTableId(ecCount));
  if (!table || ecCount > RemainderRowStride || table.Size != 256u * ecCount) return nullptr;
  auto rows = std::make_unique<std::vector<uint8_t>>(256 * RemainderRowStride, 0);
  for (int r = 1; r < 256; ++r)
    for (int i = 0; i < ecCount; ++i) (*rows)[r * RemainderRowStride + i] = table.Bytes[r * ecCount + i];
  return rows;
}

const uint8_t* RemainderRowsFor(int ecCount) {
  static OnceArray<std::vector<uint8_t>, RemainderTableCount> cache;
  const int index = RemainderTableIndex(ecCount);
  if (index < 0) return nullptr;
  const std::vector<uint8_t>* rows = cache.Get(index, [&] { return PaddedRemainderRows(ecCount); });
  return rows ? rows->data() : nullptr;
}

std::unique_ptr<const std::vector<uint8_t>> ColumnOrderFrame(int version) {
  const SymbolTable table = SymbolTableStore::Find(FrameType, FrameTableId(version));
  const int side = SideOf(version);
  if (!table || table.Size != static_cast<size_t>(side * (side + 1))) return nullptr;
  auto frame = std::make_unique<std::vector<uint8_t>>(side * side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) (*frame)[x * side + y] = table.Bytes[y * (side + 1) + x] == '1';
  return frame;
}

const uint8_t* FrameFor(int version) {
  static OnceArray<std::vector<uint8_t>, MaxVersion> cache;
  const std::vector<uint8_t>* frame = cache.Get(version - 1, [&] { return ColumnOrderFrame(version); });
  return frame ? frame->data() : nullptr;
}

void FillModuleEntries(EncodePlan& plan, const uint8_t* table) {
  const int s = plan.DataModules;
  plan.ColumnCells.resize(s);
  plan.RowCells.resize(s);
  plan.MaskBits.assign(table + 2 * s, table + 3 * s);
  for (int e = 0; e < s; ++e) {
    const int x = table[e], y = table[s + e];
    plan.ColumnCells[e] = static_cast<uint16_t>(x * LineStride + y);
    plan.RowCells[e] = static_cast<uint16_t>(y * LineStride + x);
  }
  for (int k = 0; k < 15; ++k) plan.FormatCells[k] = static_cast<uint16_t>(table[3 * s + k] * LineStride + table[3 * s + 15 + k]);
}

bool FillBlocks(EncodePlan& plan, const uint8_t* blockSizes, int blocks) {
  int data = 0;
  for (int b = 0; b < blocks; ++b) {
    if (blockSizes[b] <= plan.EcPerBlock) return false;
    plan.BlockDataSizes.push_back(static_cast<uint16_t>(blockSizes[b] - plan.EcPerBlock));
    data += blockSizes[b] - plan.EcPerBlock;
  }
  plan.DataCodewords = data;
  return data + blocks * plan.EcPerBlock == plan.TotalCodewords;
}

std::unique_ptr<const EncodePlan> BuildPlan(int version, int level) {
  const SymbolTable table = SymbolTableStore::Find(QrvType, QrvTableId(version, level));
  auto plan = std::make_unique<EncodePlan>();
  plan->Version = version;
  plan->Side = SideOf(version);
  plan->TotalCodewords = TotalCodewords(version);
  plan->DataModules = DataModuleCount(version);
  const size_t fixedPart = 3u * plan->DataModules + 31;
  if (!table || table.Size <= fixedPart) return nullptr;
  plan->EcPerBlock = table.Bytes[fixedPart - 1];
  plan->RemainderRows = RemainderRowsFor(plan->EcPerBlock);
  plan->Frame = FrameFor(version);
  if (!plan->RemainderRows || !plan->Frame) return nullptr;
  if (!FillBlocks(*plan, table.Bytes + fixedPart, static_cast<int>(table.Size - fixedPart))) return nullptr;
  FillModuleEntries(*plan, table.Bytes);
  return plan;
}

}  // namespace

const EncodePlan* FindEncodePlan(int version, int level) {
  static OnceArray<EncodePlan, QrvTableCount> cache;
  if (version < 1 || version > MaxVersion || level < 0 || level >= LevelCount) return nullptr;
  return cache.Get((version - 1) * LevelCount + level, [&] { return BuildPlan(version, level); });
}

}  // namespace qr

}  // namespace quillet
