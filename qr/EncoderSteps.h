// Second half of an encoding, step by step: error correction, placement
// under all eight masks at once, format information and the final matrix.
#pragma once

#include "qr/EncodePlan.h"

#include <cstdint>

namespace quillet {

namespace qr {

// `sequence` holds the plan's data codewords; the error-correction codewords
// of each block are appended after them in block order.
void AppendErrorCorrection(const EncodePlan& plan, uint8_t* sequence);

// Writes every data-region cell, bit m being its value under mask m, into
// column-major `columns` and row-major `rows` (lines of LineStride bytes).
void PlaceModules(const EncodePlan& plan, const uint8_t* sequence, uint8_t* columns, uint8_t* rows);

// Both copies of the format information, as 0xFF or 0x00, into `columns`.
void WriteFormatInformation(const EncodePlan& plan, int level, int mask, uint8_t* columns);

// Bit `mask` of each cell merged with the frame into `modules` (177 x 177, column-major).
void WriteFinalMatrix(const EncodePlan& plan, const uint8_t* columns, int mask, uint8_t* modules);

}  // namespace qr

}  // namespace quillet
