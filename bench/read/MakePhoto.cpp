// A 4000 x 3000 photo as a camera gives it (JPEG at quality 85, a shaded
// background with sensor noise), with or without a business card's symbol
// 900 pixels wide in it: what reading must look through quickly.
// Usage: make_photo OUT.jpg [--card]
#include <QImage>
#include <QRandomGenerator>

#include <cstdio>
#include <cstring>

#include "symbol/SymbolRequest.h"

using namespace quillet;

namespace {

void PlaceCard(QImage& photo) {
  SymbolRequest request;
  request.content = ContentFields{{1, 0}, {}};
  request.content->values[0] = "张三";
  request.content->values[1] = "13800138000";
  const ModuleMatrix matrix = MakeSymbol(request).symbol.matrix;
  const int side = matrix.Columns() + 8, module = 900 / side;
  for (int y = 0; y < side * module; ++y)
    for (int x = 0; x < side * module; ++x) {
      const int u = x / module - 4, v = y / module - 4;
      const bool dark = u >= 0 && v >= 0 && u < matrix.Columns() && v < matrix.Rows() && matrix.IsDark(u, v);
      photo.scanLine(800 + y)[1200 + x] = dark ? 30 : 230;
    }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs("usage: make_photo OUT.jpg [--card]\n", stderr), 2;
  QImage photo(4000, 3000, QImage::Format_Grayscale8);
  QRandomGenerator random(7);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x)
      photo.scanLine(y)[x] = static_cast<uchar>(80 + (x / 50 + y / 40) % 120 + random.bounded(24));
  if (argc > 2 && std::strcmp(argv[2], "--card") == 0) PlaceCard(photo);
  return photo.save(QString::fromLocal8Bit(argv[1]), "JPEG", 85) ? 0 : 1;
}
