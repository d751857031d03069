// The symbol handed to other programs: on the clipboard and dragged out of
// the picture area, with its quiet zone at the page's scale.
#pragma once

#include <QString>

#include "image/ImageFormats.h"
#include "symbol/ModuleMatrix.h"

class QMimeData;

// What every file from the page is made with: its scale at the resolution
// the printed size names, so that the label, the files saved (PNG, JPEG and
// BMP record it; SVG, PDF and EPS are that size), copied and dragged agree.
ImageOptions PageImageOptions(int scale);

// image/png and image/svg+xml of the symbol as `options` draw it (the page's
// scale and style), and the image itself for programs that take Qt's or the
// platform's own bitmap. Null when empty.
QMimeData* SymbolMimeData(const ModuleMatrix& matrix, const ImageOptions& options);

// SymbolMimeData plus a PNG file in a temporary folder of this process,
// listed as a file URL, which is what file managers and office suites drop.
QMimeData* SymbolDragData(const ModuleMatrix& matrix, const ImageOptions& options);

// "打印尺寸: 12.4 mm (300 dpi)": the side of what PageImageOptions makes.
QString PrintedSizeText(const ModuleMatrix& matrix, int scale);
