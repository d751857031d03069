// Read-only store of the QR symbol tables, looked up by type string and id.
// Each table is generated on its first request and then shared, unchanged,
// by every caller on every thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillet {

struct SymbolTable {
  const uint8_t* Bytes = nullptr;
  size_t Size = 0;
  explicit operator bool() const { return Bytes != nullptr; }
};

class SymbolTableStore {
 public:
  // The table's exact bytes and size, or an empty SymbolTable for an unknown (type, id).
  static SymbolTable Find(std::string_view type, int id);
};

}  // namespace quillet
