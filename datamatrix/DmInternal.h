// Pieces of the Data Matrix encoder shared between its source files and its
// tests; not part of the public interface.
#pragma once

#include <cstdint>

#include "datamatrix/DmEncoder.h"

namespace quillet {

// The encoder's own files name its schemes plainly.
using enum DmEncodation;

namespace dm {

// Stream counts are in twelfths of a codeword: an ASCII or Base256 codeword
// is 12, a C40/Text/X12 value 8 (three make two codewords), an EDIFACT value 9
// (four make three codewords).
constexpr int kCodeword = 12;
constexpr int kTripletValue = 8;
constexpr int kEdifactValue = 9;

enum StreamError : int { NoError = 0, Unsupported = 1, CannotUnlatch = 2, Overflow = 3, FitsNoSize = 4 };

// What every step reads: the text, and the size request the end-of-data rules
// measure free space against (they may leave a scheme without unlatching only
// when the data then ends exactly where that size's decoder expects it).
struct Input {
  const uint8_t* text;
  int end;
  int requestedSize;
};

// One attempt at encoding the input. Plain and cheap to copy: the codewords
// live in a buffer of DmCodewordBufferSize bytes that the owner provides.
struct Stream {
  int scheme;
  int error;
  int errorAt;   // the byte that caused an Unsupported error
  int cursor;
  int written;   // twelfths written so far
  int progress;  // twelfths that the consumed bytes account for
  int mark;      // position of the last codeword written at the latest change of scheme
  uint8_t* codewords;
};

Stream FreshStream(uint8_t* codewords);
constexpr bool IsTripletScheme(int scheme) { return scheme == C40 || scheme == Text || scheme == X12; }
// C40, Text and X12 can be left only between two codeword pairs.
inline bool CanLeave(const Stream& s) {
  return !IsTripletScheme(s.scheme) || (s.progress % kCodeword == 0 && s.progress == s.written);
}
void ChangeScheme(Stream& s, const Input& in, int target);
void RunStep(Stream& s, const Input& in);
inline int CodewordCount(const Stream& s) { return (s.written + kCodeword - 1) / kCodeword; }
// How many C40, Text or X12 values the byte takes; 0 when the scheme cannot carry it.
int TripletValueCount(int scheme, uint8_t byte);

// Data codewords written, or none and why.
struct Encoded {
  int count;
  DmFailure failure;
};

Encoded EncodeAuto(const Input& in, uint8_t* codewords);
// The same choice by plain trial runs at every byte: slow, and the check on the fast one.
Encoded EncodeAutoByTrials(const Input& in, uint8_t* codewords);
// Over all six schemes, for the smallest size the request allows.
Encoded EncodeSmallest(const Input& in, uint8_t* codewords);

// The C40, Text or X12 values of the byte into `values` (room for 4); returns their number.
int TripletValues(int scheme, uint8_t byte, uint8_t* values);
// The 255-state randomisation of a Base256 codeword at `position` (from 0).
int Randomise255(int value, int position);

// Data capacity of the size that `requestedSize` gives for `codewordCount`
// codewords, or -1 when there is none.
int FittingCapacity(int requestedSize, int codewordCount);

// The symbol's modules from the placed data area and the region frames.
void FillGrid(int sizeIndex, const DmSymbolBuffers& buffers, DmModuleGrid& grid);

// DmEncodeData with the end-of-data decisions taken for `requestedSize`.
Encoded EncodeDataForSize(const uint8_t* text, int length, int scheme, int requestedSize, uint8_t* codewords);

}  // namespace dm

}  // namespace quillet
