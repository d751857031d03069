#include "verify/module/PageSearch.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace quillet {

namespace {

// Cells of this many pixels a side are judged busy or not.
constexpr int CellSide = 16;
// A step between neighbours this large (of 255) is a module's edge, not noise.
constexpr int EdgeStep = 40;
// A cell is busy with this many edges in a hundred pixel pairs, across and down:
// a symbol's modules give tens, a single line through the cell a few.
constexpr int BusyPercent = 10;
// Tiles are this many times the symbol's side, within these bounds (pixels).
constexpr int TilesPerSymbol = 3;
constexpr int SmallestTile = 384;
constexpr int LargestTile = 2048;
// The tiles together decode at most this many times the image's pixels, and
// never more than this many tiles or pixels: a page of noise must not take minutes.
constexpr int TilePixelsPerImagePixel = 3;
constexpr size_t MaxTiles = 96;
constexpr int64_t MaxTilePixels = 100'000'000;

// Edges in a hundred pixel pairs of the cell, the fewer of across and down.
int EdgePercent(const GreyPixels& image, int left, int top) {
  int across = 0, down = 0, pairs = 0;
  const int right = std::min(left + CellSide, image.width - 1), bottom = std::min(top + CellSide, image.height - 1);
  for (int y = top; y < bottom; ++y) {
    const uint8_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = left; x < right; ++x, ++pairs) {
      across += std::abs(row[x + 1] - row[x]) >= EdgeStep;
      down += std::abs(row[x + image.width] - row[x]) >= EdgeStep;
    }
  }
  return pairs > 0 ? std::min(across, down) * 100 / pairs : 0;
}

bool Contains(const PixelArea& tile, const SymbolBox& region) {
  const int x = (region.left + region.right) / 2, y = (region.top + region.bottom) / 2;
  return x >= tile.left && x < tile.left + tile.width && y >= tile.top && y < tile.top + tile.height;
}

// The cells of an image, each quiet, a region not yet grouped, or grouped.
class CellGrid {
 public:
  enum State : uint8_t { Quiet, Unvisited, Grouped };
  CellGrid(int width, int height)
      : width_(width), height_(height), columns_((width + CellSide - 1) / CellSide),
        rows_((height + CellSide - 1) / CellSide), cells_(static_cast<size_t>(columns_) * rows_, Quiet) {}
  State& At(int column, int row) { return cells_[static_cast<size_t>(row) * columns_ + column]; }

  // The regions that touch the one at (column, row), across, down or corner
  // to corner, grouped: how many, and the box around them in pixels.
  std::pair<size_t, SymbolBox> Flood(int column, int row) {
    SymbolBox box{width_, height_, 0, 0};
    size_t count = 0;
    std::vector<std::pair<int, int>> pending{{column, row}};
    At(column, row) = Grouped;
    while (!pending.empty()) {
      const auto [c, r] = pending.back();
      pending.pop_back();
      ++count;
      box = {std::min(box.left, c * CellSide), std::min(box.top, r * CellSide),
             std::max(box.right, std::min((c + 1) * CellSide, width_)),
             std::max(box.bottom, std::min((r + 1) * CellSide, height_))};
      for (int y = std::max(r - 1, 0); y <= std::min(r + 1, rows_ - 1); ++y)
        for (int x = std::max(c - 1, 0); x <= std::min(c + 1, columns_ - 1); ++x)
          if (At(x, y) == Unvisited) At(x, y) = Grouped, pending.emplace_back(x, y);
    }
    return {count, box};
  }

 private:
  int width_, height_, columns_, rows_;
  std::vector<State> cells_;
};

// Tile origins along one side: every `step`, the last flush with the end.
std::vector<int> Origins(int length, int tile, int step) {
  std::vector<int> origins;
  for (int at = 0;; at += step) {
    origins.push_back(std::min(at, length - tile));
    if (at + tile >= length) break;
  }
  return origins;
}

}  // namespace

bool Touches(const SymbolBox& cell, const std::vector<FoundSymbol>& found) {
  return std::any_of(found.begin(), found.end(), [&](const FoundSymbol& f) { return f.box && f.box->Overlaps(cell); });
}

std::vector<SymbolBox> UnreadBusyRegions(const GreyPixels& image, const std::vector<FoundSymbol>& found,
                                         int mostPercent) {
  std::vector<SymbolBox> regions;
  for (int top = 0; top + 1 < image.height; top += CellSide)
    for (int left = 0; left + 1 < image.width; left += CellSide) {
      const SymbolBox cell{left, top, std::min(left + CellSide, image.width), std::min(top + CellSide, image.height)};
      if (Touches(cell, found)) continue;
      const int edges = EdgePercent(image, left, top);
      if (edges >= BusyPercent && edges <= mostPercent) regions.push_back(cell);
    }
  return regions;
}

std::vector<SymbolBox> GroupRegions(const std::vector<SymbolBox>& regions, int margin, int width, int height) {
  CellGrid grid(width, height);
  for (const SymbolBox& cell : regions) grid.At(cell.left / CellSide, cell.top / CellSide) = CellGrid::Unvisited;
  std::vector<std::pair<size_t, SymbolBox>> groups;
  for (const SymbolBox& seed : regions)
    if (grid.At(seed.left / CellSide, seed.top / CellSide) == CellGrid::Unvisited) {
      auto [cells, box] = grid.Flood(seed.left / CellSide, seed.top / CellSide);
      groups.emplace_back(cells, SymbolBox{std::max(box.left - margin, 0), std::max(box.top - margin, 0),
                                           std::min(box.right + margin, width), std::min(box.bottom + margin, height)});
    }
  std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<SymbolBox> boxes;
  for (const auto& [cells, box] : groups) boxes.push_back(box);
  return boxes;
}

std::vector<PixelArea> PlanTiles(int width, int height, const std::vector<SymbolBox>& regions, int symbolSide) {
  const int tile = std::clamp(symbolSide * TilesPerSymbol, SmallestTile, LargestTile);
  // Wider than a symbol (with its quiet zone), and still moving on.
  const int step = std::max(tile - std::min(symbolSide * 5 / 4, tile * 2 / 3), tile / 3);
  const int tileWidth = std::min(tile, width), tileHeight = std::min(tile, height);
  std::vector<std::pair<size_t, PixelArea>> counted;
  for (int top : Origins(height, tileHeight, step))
    for (int left : Origins(width, tileWidth, step)) {
      const PixelArea area{left, top, tileWidth, tileHeight};
      const auto held = static_cast<size_t>(
          std::count_if(regions.begin(), regions.end(), [&](const SymbolBox& r) { return Contains(area, r); }));
      if (held > 0) counted.emplace_back(held, area);
    }
  std::stable_sort(counted.begin(), counted.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  const int64_t budget = std::min(int64_t{TilePixelsPerImagePixel} * width * height, MaxTilePixels);
  int64_t spent = 0;
  std::vector<PixelArea> tiles;
  for (const auto& [held, area] : counted) {
    spent += int64_t{area.width} * area.height;
    if (spent > budget || tiles.size() == MaxTiles) break;
    tiles.push_back(area);
  }
  return tiles;
}

void MergeFound(std::vector<FoundSymbol>& found, std::vector<FoundSymbol> more) {
  for (FoundSymbol& symbol : more) {
    const bool again = std::any_of(found.begin(), found.end(), [&](const FoundSymbol& f) {
      return f.symbology == symbol.symbology && f.bytes == symbol.bytes &&
             (!f.box || !symbol.box || f.box->Overlaps(*symbol.box));
    });
    if (!again) found.push_back(std::move(symbol));
  }
}

}  // namespace quillet
