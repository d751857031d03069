// The symbol handed to other programs: on the clipboard and dragged out of
// the picture area, with its quiet zone at the page's scale.
#pragma once

#include <QString>

#include "symbol/ModuleMatrix.h"

class QMimeData;

// image/png and image/svg+xml of the symbol, and the image itself for
// programs that take Qt's or the platform's own bitmap. Null when empty.
QMimeData* SymbolMimeData(const ModuleMatrix& matrix, int scale);

// SymbolMimeData plus a PNG file in a temporary folder of this process,
// listed as a file URL, which is what file managers and office suites drop.
QMimeData* SymbolDragData(const ModuleMatrix& matrix, int scale);

// "打印尺寸: 12.4 mm (300 dpi)": the saved image's side at 300 dpi.
QString PrintedSizeText(const ModuleMatrix& matrix, int scale);
