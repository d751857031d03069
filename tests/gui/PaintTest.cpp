// The symbol as painted: one scaled image must give exactly the module
// rectangles of the rectangle rule, wherever the area and whatever the scale.
#include <gtest/gtest.h>

#include <QPainter>

#include "app/SymbolPage.h"

namespace {

ModuleMatrix Checkerboard(int n) {
  ModuleMatrix m(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) m.SetDark(x, y, (x * 7 + y * 3 + x * y) % 5 < 2);
  return m;
}

const QRgb Background = qRgb(0xEF, 0xEF, 0xEF);

// The rule: module (x, y) fills [x0 + s*x, x0 + s*(x+1)) x [y0 + s*y, y0 + s*(y+1)).
QImage ByRectangles(const ModuleMatrix& m, const QRect& area, int scale, QSize page) {
  QImage image(page, QImage::Format_RGB32);
  image.fill(Background);
  const int w = scale * m.Columns();
  const int x0 = area.x() + (area.width() - w) / 2;
  const int y0 = area.y() + (area.height() - w) / 2;
  for (int y = 0; y < m.Rows(); ++y)
    for (int x = 0; x < m.Columns(); ++x)
      for (int py = y0 + scale * y; py < y0 + scale * (y + 1); ++py)
        for (int px = x0 + scale * x; px < x0 + scale * (x + 1); ++px)
          if (image.rect().contains(px, py)) image.setPixel(px, py, m.IsDark(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return image;
}

QImage ByPaintSymbol(const ModuleMatrix& m, const QRect& area, int scale, QSize page) {
  QImage image(page, QImage::Format_RGB32);
  image.fill(Background);
  QPainter painter(&image);
  PaintSymbol(painter, SymbolPixels(m), area, scale);
  return image;
}

struct PaintCase {
  int modules;
  QRect area;
};

class PaintSymbolTest : public testing::TestWithParam<PaintCase> {};

TEST_P(PaintSymbolTest, PixelIdenticalToTheRectangleRuleAtEveryScale) {
  const PaintCase c = GetParam();
  const ModuleMatrix m = Checkerboard(c.modules);
  const QSize page(600, 520);
  for (int scale = 1; scale <= 16; ++scale) {
    EXPECT_EQ(ByPaintSymbol(m, c.area, scale, page), ByRectangles(m, c.area, scale, page))
        << c.modules << " modules at scale " << scale;
  }
}

INSTANTIATE_TEST_SUITE_P(Areas, PaintSymbolTest,
                         testing::Values(PaintCase{21, QRect(337, 54, 427 - 300, 427 - 300)},  // odd slack
                                         PaintCase{21, QRect(10, 10, 200, 200)},
                                         PaintCase{10, QRect(5, 7, 31, 33)},
                                         PaintCase{57, QRect(100, 80, 400, 400)},  // overflows at large scales
                                         PaintCase{177, QRect(150, 40, 427, 427)}));

TEST(CentredSymbolRect, TruncatesTowardZeroWhenTheSymbolIsLarger) {
  // (10 - 21) / 2 is -5 in C++, not -6: the rule truncates, it does not floor.
  EXPECT_EQ(CentredSymbolRect(QRect(100, 200, 10, 10), 21).topLeft(), QPoint(95, 195));
  EXPECT_EQ(CentredSymbolRect(QRect(100, 200, 85, 85), 84).topLeft(), QPoint(100, 200));
  EXPECT_EQ(CentredSymbolRect(QRect(0, 0, 427, 427), 84).topLeft(), QPoint(171, 171));
}

}  // namespace
