// The symbol handed to other programs: on the clipboard and dragged out of
// the picture area, with its quiet zone at the page's scale, and saved to a
// file the user names.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "image/ImageFormats.h"
#include "symbol/ModuleMatrix.h"
#include "verify/ReadBack.h"

class QMimeData;
class QWidget;

namespace quillet {

class SaveDialogs;

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

// "打印尺寸: 12.4 mm (300 dpi)": the side of what `options` make of the
// matrix, frame included; width by height when they differ.
QString PrintedSizeText(const ModuleMatrix& matrix, const ImageOptions& options);

// Asks for a name (in the folder and with the filter last used, suggesting
// one from `content`), appends the filter's extension, asks before replacing
// a file (going back to the name on "No") and writes the symbol as `options`
// draw it; reports every failure with a message. The name written, or
// nullopt when nothing was.
std::optional<std::string> SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, const ImageOptions& options,
                                           SaveDialogs& dialogs, const QString& content);

// A file name from the start of `content`, safe on any file system (no path
// separators, control or reserved characters, no leading dot, at most
// MaxSuggestedNameLength characters), with the extension of save-dialog
// entry `filterEntry`; "二维码" when nothing of `content` is left.
QString SuggestedFileName(const QString& content, int filterEntry);
constexpr int MaxSuggestedNameLength = 40;

// The warning for a file saved as `options` draw it that did not read
// back: which file, why, and what in the choice of format and scale most
// likely kept it from reading.
QString NotReadBackWarning(const std::string& fileName, const ReadBackResult& result, const ImageOptions& options);

}  // namespace quillet
