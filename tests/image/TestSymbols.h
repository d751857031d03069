// Symbols and pixel helpers shared by the image tests.
#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "image/ModuleMatrix.h"
#include "tests/support/Decode.h"

// A symbol made by zxing-cpp's writer, an encoder independent of ours.
ModuleMatrix ZxingSymbol(DecodeFormat format, const std::string& text);

// A matrix whose modules follow a fixed pseudo-random pattern.
ModuleMatrix PatternMatrix(int columns, int rows, unsigned seed);

// Pixel (px, py) of a symbol drawn at `scale` with `quiet` modules around it:
// 0 for a dark module, 255 elsewhere. Computed per pixel, independently of
// the row-copying renderer.
int ExpectedPixel(const ModuleMatrix& matrix, int scale, int quiet, int px, int py);

// Grey pixels of an image, row after row, no padding.
std::vector<uint8_t> GreyPixels(const QImage& image);

// The raster of one of our SVG files at its nominal pixel size; nullopt when
// the document is not the shape we write (a white rect, one path of rectangles).
std::optional<QImage> RasteriseSvg(const QByteArray& svg);

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  QString Path(const QString& name) const;
  QStringList Entries() const;

 private:
  QString path_;
};

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
