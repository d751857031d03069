// Dialog units to pixels, the way the platform maps dialog templates:
// x * average character width / 4, y * character height / 8, rounded.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "content/Catalogue.h"

namespace quillet {

// 宋体 9 pt, or the first installed CJK font that can stand in for it.
QFont DialogFont();

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int X(int units) const;
  int Y(int units) const;
  QRect Map(const DialogRect& rect) const;
  QSize Map(int width, int height) const { return QSize(X(width), Y(height)); }

 private:
  int baseX_;
  int baseY_;
};

// A control's place grown to what its text needs: wider to the right, and
// taller about its middle so that it stays on the line of its neighbours.
QRect GrownToText(const QRect& place, const QSize& needed);

}  // namespace quillet
