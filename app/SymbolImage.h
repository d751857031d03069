// Rendering a ModuleMatrix to a QImage for the screen: black modules on
// white, `scale` pixels per module and a white quiet zone of `quietModules`;
// a styled symbol comes rendered from the image layer.
#pragma once

#include <QImage>

#include "image/SymbolStyle.h"
#include "symbol/ModuleMatrix.h"

namespace quillet {

// (columns + 2q) * scale by (rows + 2q) * scale pixels, 8-bit grey (0 or 255).
QImage RenderSymbol(const ModuleMatrix& matrix, int scale, int quietModules);

// A copy of `image` that Qt draws, alpha and all; null when it is empty.
QImage ToQImage(const RgbaImage& image);

}  // namespace quillet
