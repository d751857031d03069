// The symbol as painted: one scaled image must give exactly the module
// rectangles of the rectangle rule, centred on the area (truncating toward
// zero when the symbol is larger) and never clipped to it.
#include <gtest/gtest.h>

#include <QPainter>
#include <string>

#include "app/SymbolPage.h"

namespace {

QImage Blank() {
  QImage image(600, 520, QImage::Format_RGB32);
  image.fill(qRgb(0xEF, 0xEF, 0xEF));
  return image;
}

// Module (x, y) fills [x0 + s*x, x0 + s*(x+1)) x [y0 + s*y, y0 + s*(y+1)).
QImage ByRectangles(const ModuleMatrix& m, const QRect& area, int s) {
  QImage image = Blank();
  const int x0 = area.x() + (area.width() - s * m.Columns()) / 2;
  const int y0 = area.y() + (area.height() - s * m.Rows()) / 2;
  for (int py = std::max(0, y0); py < std::min(image.height(), y0 + s * m.Rows()); ++py)
    for (int px = std::max(0, x0); px < std::min(image.width(), x0 + s * m.Columns()); ++px)
      image.setPixel(px, py, m.IsDark((px - x0) / s, (py - y0) / s) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  return image;
}

class PaintSymbolTest : public testing::TestWithParam<std::pair<int, QRect>> {};

TEST_P(PaintSymbolTest, PixelIdenticalToTheRectangleRuleAtEveryScale) {
  const auto [modules, area] = GetParam();
  ModuleMatrix m(modules, modules);
  for (int y = 0; y < modules; ++y)
    for (int x = 0; x < modules; ++x) m.SetDark(x, y, (x * 7 + y * 3 + x * y) % 5 < 2);
  for (int scale = 1; scale <= 16; ++scale) {
    QImage painted = Blank();
    QPainter painter(&painted);
    PaintSymbol(painter, SymbolPixels(m), area, scale);
    painter.end();
    EXPECT_EQ(painted, ByRectangles(m, area, scale)) << modules << " modules at scale " << scale;
  }
}

// Odd slack; overflowing at large scales; odd negative slack, where
// truncating and flooring differ.
INSTANTIATE_TEST_SUITE_P(Areas, PaintSymbolTest,
                         testing::Values(std::pair(21, QRect(337, 54, 127, 127)), std::pair(10, QRect(5, 7, 31, 33)),
                                         std::pair(57, QRect(100, 80, 400, 400)),
                                         std::pair(177, QRect(150, 40, 427, 427))),
                         [](const auto& info) {
                           const QRect& a = info.param.second;
                           return "Modules" + std::to_string(info.param.first) + "_At" + std::to_string(a.x()) + "_" +
                                  std::to_string(a.y()) + "_Side" + std::to_string(a.width());
                         });

}  // namespace
