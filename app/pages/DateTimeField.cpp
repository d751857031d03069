#include "app/pages/DateTimeField.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

const QString Layout = QStringLiteral("yyyy-MM-dd HH:mm");

// The value an empty field stands for; shown as the empty text.
const QDateTime Empty(QDate(1900, 1, 1), QTime(0, 0));

QDateTime NextFullHour() {
  const QDateTime now = QDateTime::currentDateTime();
  return QDateTime(now.date(), QTime(now.time().hour(), 0)).addSecs(3600);
}

}  // namespace

CDateTimeField::CDateTimeField(QWidget* parent) : QDateTimeEdit(parent) {
  setDisplayFormat(Layout);
  setCalendarPopup(true);
  setMinimumDateTime(Empty);
  setSpecialValueText(FromUtf8(UiText::NoDateTime));
  Clear();
}

QString CDateTimeField::Value() const { return IsEmpty() ? QString() : dateTime().toString(Layout); }

void CDateTimeField::SetValue(const QString& value) {
  const QDateTime parsed = QDateTime::fromString(value, Layout);
  setDateTime(parsed.isValid() && parsed > Empty ? parsed : Empty);
}

void CDateTimeField::StartIfEmpty() {
  if (IsEmpty()) setDateTime(NextFullHour());
}

void CDateTimeField::stepBy(int steps) {
  // From empty the first step gives a time near now, not 1900.
  if (IsEmpty()) return StartIfEmpty();
  QDateTimeEdit::stepBy(steps);
}

void CDateTimeField::keyPressEvent(QKeyEvent* event) {
  const bool wholeSelected = lineEdit()->selectedText() == text() && !text().isEmpty();
  if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && (wholeSelected || IsEmpty())) {
    Clear();
    return;
  }
  // A digit typed into the empty field starts a whole time and types its year.
  if (IsEmpty() && !event->text().isEmpty() && event->text()[0].isDigit()) {
    StartIfEmpty();
    setSelectedSection(QDateTimeEdit::YearSection);
  }
  QDateTimeEdit::keyPressEvent(event);
}

void CDateTimeField::mousePressEvent(QMouseEvent* event) {
  // The calendar opens on this month, not on the empty value's.
  StartIfEmpty();
  QDateTimeEdit::mousePressEvent(event);
}

// Tab leaves the field, as in every other field; the arrow keys move between
// its parts.
bool CDateTimeField::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }

}  // namespace quillet
