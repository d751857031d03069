// The small pieces the batch dialog's parts build their controls from: a
// button that is never the default by accident, the names tests find
// controls by and labels with a mnemonic.
#pragma once

#include <QString>
#include <string_view>

class QLabel;
class QPushButton;
class QWidget;

namespace quillet {

QString Ui(std::string_view utf8);

QPushButton* BatchButton(std::string_view caption, QWidget* parent, const char* name);

// A control and the name tests find it by.
template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

// A label whose "(&X)" moves the focus to `buddy`, instead of showing the "&".
QLabel* BuddyLabel(std::string_view caption, QWidget* buddy, QWidget* parent);

}  // namespace quillet
