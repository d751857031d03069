// Data Matrix ECC 200 encoder: encodation, size choice, padding, Reed-Solomon
// error correction, placement and the finished module grid.
// Plain C++; no state survives between calls.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace quillet {

// The encodation schemes. Names such as Text and Auto would mean anything in
// the global scope: outside the encoder they are DmEncodation::Ascii, ...
namespace dm {
enum DmEncodation : int {
  Ascii = 0,
  C40 = 1,
  Text = 2,
  X12 = 3,
  Edifact = 4,
  Base256 = 5,
  Auto = 6,
  // Accepted, produces no codewords: a request with it fails.
  NoEncodation = 7,
  // The fewest codewords over all six schemes, for the size the call ends in.
  Smallest = 8,
};
}  // namespace dm
using dm::DmEncodation;

// Columns of the size attribute table, then the derived values.
enum DmAttribute : int {
  SymbolRows = 0,
  SymbolColumns,
  DataRegionRows,
  DataRegionColumns,
  DataRegionsAcross,
  InterleavedBlocks,
  DataCodewordsPerBlock,
  EccCodewordsPerBlock,
  DataRegionsDown,
  DataAreaRows,
  DataAreaColumns,
  DataCapacity,
  EccCodewords,
};

constexpr int DmSizeCount = 30;          // size indices 0..29
constexpr int DmSquareSizeCount = 24;    // 0..23 are square
constexpr int DmSmallestSquare = -1;
constexpr int DmSmallestRectangle = -2;
constexpr int DmCodewordBufferSize = 1560;
constexpr int DmMaxDataCodewords = 1558;  // 144x144
// No text longer than this fits any size: ASCII packs at most two digits a codeword.
constexpr int DmMaxTextLength = 2 * DmMaxDataCodewords;

// The schemes a user can name: each name and its DmEncodation.
struct DmSchemeName {
  std::string_view name;
  DmEncodation scheme;
  constexpr operator std::string_view() const { return name; }  // lists of names print the name
};
inline constexpr std::array<DmSchemeName, 8> DmSchemeNames = {{{"ascii", DmEncodation::Ascii},
                                                                {"c40", DmEncodation::C40},
                                                                {"text", DmEncodation::Text},
                                                                {"x12", DmEncodation::X12},
                                                                {"edifact", DmEncodation::Edifact},
                                                                {"base256", DmEncodation::Base256},
                                                                {"auto", DmEncodation::Auto},
                                                                {"smallest", DmEncodation::Smallest}}};
// The name of a scheme; empty for one no user can name.
constexpr std::string_view DmSchemeNameOf(int scheme) {
  for (const DmSchemeName& row : DmSchemeNames)
    if (row.scheme == scheme) return row.name;
  return {};
}
// Names of the two size requests that are not a size index.
constexpr std::string_view DmSmallestSquareName = "auto";
constexpr std::string_view DmSmallestRectangleName = "rect";

int DmSizeAttribute(int sizeIndex, DmAttribute attribute);

// Encodes `length` bytes under `scheme` into `codewords` (room for at least
// DmCodewordBufferSize). Returns the number of data codewords; 0 is failure.
int DmEncodeData(const uint8_t* text, int length, int scheme, uint8_t* codewords);

// Size index for a request (0..29, -1 smallest square, -2 smallest rectangle)
// and a codeword count, or -1 when no size is possible.
int DmChooseSize(int requestedSize, int codewordCount);

// Fills positions count..capacity-1 with pad codewords and sets count to capacity.
void DmPadCodewords(uint8_t* codewords, int& count, int capacity);

struct DmSymbolBuffers {
  std::vector<uint8_t> modules;    // data-area rows x columns, row after row
  std::vector<uint8_t> codewords;  // data capacity + error correction
};

// Why DmEncodeText returned no symbol.
enum class DmFailure : uint8_t {
  None,
  NoData,        // an empty text, or a scheme that writes nothing
  CannotEncode,  // a byte the requested scheme cannot carry, or a scheme it cannot leave
  FitsNoSize,    // no size the request allows holds the codewords
  OutOfMemory,
};

struct DmEncodeParams {
  int scheme = DmEncodation::Ascii;  // in
  // in: the ECI designator (1 to 126) written first, naming the text's
  // character set; 0 writes none. Only with the ASCII scheme, whose
  // codewords mean the same wherever they stand.
  int eci = 0;
  DmFailure failure = DmFailure::None;  // out, written only on failure
  // out, written only on success:
  int sizeIndex = -1;
  int symbolRows = 0;
  int symbolColumns = 0;
  int dataAreaRows = 0;
  int dataAreaColumns = 0;
  std::unique_ptr<DmSymbolBuffers> buffers;
};

// The finished symbol: one array per column, left to right, each with one
// value per row from the top; 0 is dark, 255 light. No quiet zone.
class DmModuleGrid {
 public:
  // The grid and its cells in one allocation; throws std::bad_alloc.
  static std::unique_ptr<DmModuleGrid> Create(int columns, int rows);
  static void operator delete(void* grid) { ::operator delete(grid); }
  DmModuleGrid(const DmModuleGrid&) = delete;
  DmModuleGrid& operator=(const DmModuleGrid&) = delete;

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  const int32_t* Column(int x) const { return cells_ + static_cast<size_t>(x) * rows_; }
  int32_t* Column(int x) { return cells_ + static_cast<size_t>(x) * rows_; }
  int32_t At(int x, int y) const { return Column(x)[y]; }
  bool IsDark(int x, int y) const { return At(x, y) == 0; }

 private:
  DmModuleGrid(int columns, int rows, int32_t* cells) : columns_(columns), rows_(rows), cells_(cells) {}

  int columns_;
  int rows_;
  // Column after column, just behind the grid in its allocation; left
  // uninitialised, as every cell is written once when the symbol is filled.
  int32_t* cells_;
};

// Runs the whole pipeline. `size` in: the requested size; out, on success
// only: the symbol's row count. Returns null on failure.
std::unique_ptr<DmModuleGrid> DmEncodeText(const uint8_t* text, int length, DmEncodeParams& params,
                                           int& size);

void DmAppendEcc(int sizeIndex, DmSymbolBuffers& buffers);
int DmPlaceCodewords(int sizeIndex, uint8_t* modules, const uint8_t* codewords);
// Module status of the symbol module at `row` (0 = bottom) and `column`:
// dark bits 0x07, plus 0x40 when taken from the data area.
int DmModuleAt(int sizeIndex, const DmSymbolBuffers& buffers, int row, int column);

}  // namespace quillet
