#include "bench/read/Photos.h"

#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>

#include "symbol/SymbolRequest.h"

namespace quillet {

namespace {

ModuleMatrix Card(const char* name, const char* phone) {
  SymbolRequest request;
  request.content = ContentFields{{1, 0}, {}};
  request.content->values[0] = name;
  request.content->values[1] = phone;
  return MakeSymbol(request).symbol.matrix;
}

// The symbol with a four-module quiet zone, `module` pixels a module, its
// top left corner at (left, top).
void Place(QImage& image, const ModuleMatrix& matrix, int module, int left, int top, uchar dark, uchar light) {
  QPainter painter(&image);
  const int side = matrix.Columns() + 8;
  painter.fillRect(left, top, side * module, side * module, QColor(light, light, light));
  for (int v = 0; v < matrix.Rows(); ++v)
    for (int u = 0; u < matrix.Columns(); ++u)
      if (matrix.IsDark(u, v)) painter.fillRect(left + (u + 4) * module, top + (v + 4) * module, module, module, QColor(dark, dark, dark));
}

QByteArray Encoded(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, quality);
  return bytes;
}

}  // namespace

QImage CameraPhoto(bool withCard) {
  QImage photo(4000, 3000, QImage::Format_Grayscale8);
  QRandomGenerator random(7);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x)
      photo.scanLine(y)[x] = static_cast<uchar>(80 + (x / 50 + y / 40) % 120 + random.bounded(24));
  if (withCard) {
    const ModuleMatrix card = Card("张三", "13800138000");
    Place(photo, card, 900 / (card.Columns() + 8), 1200, 800, 30, 230);
  }
  return photo;
}

QImage ScreenCapture() {
  QImage screen(3840, 2160, QImage::Format_RGB32);
  screen.fill(QColor(240, 240, 240));
  QPainter painter(&screen);
  QFont font = painter.font();
  font.setPixelSize(22);
  painter.setFont(font);
  // Two windows full of text lines, the busy kind of region a symbol is looked for in.
  for (const QRect window : {QRect(60, 60, 1800, 2000), QRect(1980, 60, 1800, 1000)}) {
    painter.fillRect(window, Qt::white);
    painter.setPen(QColor(40, 40, 40));
    for (int y = window.top() + 40; y < window.bottom() - 20; y += 34)
      painter.drawText(window.left() + 30, y,
                       QStringLiteral("第 %1 行 The quick brown fox jumps over the lazy dog 0123456789 联系我们").arg(y));
  }
  painter.end();
  Place(screen, Card("李四", "13900139000"), 4, 2300, 1300, 0, 255);
  Place(screen, Card("王五", "13700137000"), 4, 3100, 1500, 0, 255);
  return screen;
}

QByteArray JpegOf(const QImage& image, int quality) { return Encoded(image, "JPEG", quality); }

QByteArray PngOf(const QImage& image) { return Encoded(image, "PNG", -1); }

}  // namespace quillet
