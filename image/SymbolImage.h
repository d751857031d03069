// Rendering a ModuleMatrix to pixels: black modules on white, `scale` pixels
// per module and a white quiet zone of `quietModules` on every side.
#pragma once

#include <QImage>

#include "image/ModuleMatrix.h"

constexpr int SavedQuietZoneModules = 2;
constexpr int MinScale = 1;
constexpr int MaxScale = 16;

// (columns + 2q) * scale by (rows + 2q) * scale pixels, 8-bit grey (0 or 255).
QImage RenderSymbol(const ModuleMatrix& matrix, int scale, int quietModules);
