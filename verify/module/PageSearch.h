// Finding every symbol on a page: a label sheet holds dozens, and a decoder
// given the whole page finds most but not all of them. Where the quick look
// left regions that look like symbols unread, those regions are looked at
// again at full resolution, in overlapping tiles each holding a few symbols.
#pragma once

#include <vector>

#include "verify/ReadSymbols.h"
#include "verify/module/Decoders.h"

namespace quillet {

// The regions of `image` (in its pixels) dense with sharp steps across and
// down, as a symbol's modules are, that no box of `found` touches; no busier
// than `mostPercent` edges in a hundred pixel pairs (noise has more).
std::vector<SymbolBox> UnreadBusyRegions(const GreyPixels& image, const std::vector<FoundSymbol>& found,
                                         int mostPercent = 100);

// Whether the box of any of `found` overlaps `area`.
bool Touches(const SymbolBox& area, const std::vector<FoundSymbol>& found);

// `regions` (cells of the search above) in groups that touch, across, down or
// corner to corner: the box around each group, widened by `margin` pixels
// within a `width` x `height` image, most cells first.
std::vector<SymbolBox> GroupRegions(const std::vector<SymbolBox>& regions, int margin, int width, int height);

// Overlapping tiles of a `width` x `height` image that cover `regions`, the
// overlap wider than a symbol of `symbolSide` pixels so that each such
// symbol lies whole in some tile. Those covering most regions first, and
// together no more pixels than a few times the image's.
std::vector<PixelArea> PlanTiles(int width, int height, const std::vector<SymbolBox>& regions, int symbolSide);

// Adds those of `more` not already in `found`: a symbol found twice (the same
// bytes at overlapping places) is one symbol.
void MergeFound(std::vector<FoundSymbol>& found, std::vector<FoundSymbol> more);

}  // namespace quillet
