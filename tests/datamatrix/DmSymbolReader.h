// Reading a finished symbol back: strip the region frames, walk the data area
// in placement order, and check Reed-Solomon blocks. Shared by the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Codewords read from a symbol of `rows` x `columns` modules of size
// `sizeIndex`; isDark(x, y) with y from the top.
std::vector<uint8_t> ReadSymbolCodewords(int sizeIndex, const std::function<bool(int, int)>& isDark);

// Syndromes S1..Sk of one interleaved block of `codewords` (data then error
// correction, as the symbol stores them); all zero for a valid block.
std::vector<int> BlockSyndromes(int sizeIndex, const std::vector<uint8_t>& codewords, int block);

// Number of data codewords block `block` takes under interleaving.
int BlockDataCount(int sizeIndex, int block);
