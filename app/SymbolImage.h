// Rendering a ModuleMatrix to a QImage for the screen: black modules on
// white, `scale` pixels per module and a white quiet zone of `quietModules`.
#pragma once

#include <QImage>

#include "symbol/ModuleMatrix.h"

// (columns + 2q) * scale by (rows + 2q) * scale pixels, 8-bit grey (0 or 255).
QImage RenderSymbol(const ModuleMatrix& matrix, int scale, int quietModules);
