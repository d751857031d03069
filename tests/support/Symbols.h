// Symbols as the image output receives them: made by our own encoders, or a
// fixed pattern.
#pragma once

#include <memory>
#include <string>

#include "datamatrix/DmEncoder.h"
#include "symbol/ModuleMatrix.h"
#include "qr/QrCodeEncoder.h"
#include "symbol/SymbolRequest.h"

using namespace quillet;

// Level M, smallest version; empty when the data fits no symbol.
inline ModuleMatrix OurQr(const std::string& data) {
  const auto encoder = std::make_unique<CQrCodeEncoder>();
  if (encoder->EncodeData(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int32_t>(data.size())) != 0)
    return ModuleMatrix();
  return ModuleMatrix::FromQr(*encoder);
}

// Smallest square Data Matrix; empty when the data fits no symbol.
inline ModuleMatrix OurDm(const std::string& text, int size = DmSmallestSquare) {
  DmEncodeParams params;
  const auto grid = DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size);
  return grid ? ModuleMatrix::FromDm(*grid) : ModuleMatrix();
}

// A matrix whose modules follow a fixed pseudo-random pattern.
inline ModuleMatrix PatternMatrix(int columns, int rows, unsigned seed) {
  ModuleMatrix matrix(columns, rows);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) matrix.SetDark(x, y, ((seed = seed * 1103515245u + 12345u) >> 16) & 1);
  return matrix;
}

// A symbol as the pages and the command line request it (version 0: the
// smallest that holds the data); check `matrix.Empty()` for a failure.
inline Symbol RequestedSymbol(Symbology symbology, const std::string& data, int version = 0,
                              QrLevel level = QrLevel::M) {
  SymbolRequest request;
  request.symbology = symbology;
  request.data = data;
  request.version = version;
  request.level = level;
  return MakeSymbol(request).symbol;
}
