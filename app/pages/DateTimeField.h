// A date and time field that can also be empty: a date-time editor shows no
// time until the user starts to enter one, and then starts from the next full
// hour rather than from its earliest date.
#pragma once

#include <QDateTimeEdit>

namespace quillet {

class CDateTimeField : public QDateTimeEdit {
  Q_OBJECT
 public:
  explicit CDateTimeField(QWidget* parent);

  bool IsEmpty() const { return dateTime() == minimumDateTime(); }
  void Clear() { setDateTime(minimumDateTime()); }
  // "YYYY-MM-DD HH:MM", or empty.
  QString Value() const;
  // Takes "YYYY-MM-DD HH:MM"; anything else empties the field.
  void SetValue(const QString& value);

 protected:
  void stepBy(int steps) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void StartIfEmpty();
};

}  // namespace quillet
