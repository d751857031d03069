#include "gui/DialogUnits.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>

namespace quillet {

namespace {

// Windows measures the average width over the Latin alphabet.
constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

}  // namespace

QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("AR PL UMing CN")});
  font.setPointSize(9);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabetWidth = metrics.horizontalAdvance(QString::fromLatin1(Alphabet));
  baseX_ = (alphabetWidth / 26 + 1) / 2;
  // The character height of 宋体 is its em: it has no internal leading. The
  // CJK fonts that stand in for it add leading, and their line height would
  // stretch every vertical distance (a window a third taller than the
  // template's proportions); the em keeps the template's shape.
  baseY_ = QFontInfo(font).pixelSize();
}

int DialogUnits::X(int units) const { return MulDivRounded(units, baseX_, 4); }
int DialogUnits::Y(int units) const { return MulDivRounded(units, baseY_, 8); }

QRect DialogUnits::Map(const DialogRect& rect) const {
  return QRect(X(rect.x), Y(rect.y), X(rect.width), Y(rect.height));
}

QRect GrownToText(const QRect& place, const QSize& needed) {
  QRect grown = place;
  if (needed.width() > grown.width()) grown.setWidth(needed.width());
  if (needed.height() > grown.height()) {
    grown.setTop(place.center().y() - needed.height() / 2);
    grown.setHeight(needed.height());
  }
  return grown;
}

}  // namespace quillet
