#include "app/BatchControls.h"

#include <QLabel>
#include <QPushButton>

#include "gui/TextBytes.h"

namespace quillet {

QString Ui(std::string_view utf8) { return FromUtf8(utf8); }

QPushButton* BatchButton(std::string_view caption, QWidget* parent, const char* name) {
  auto* button = new QPushButton(Ui(caption), parent);
  button->setAutoDefault(false);
  button->setObjectName(QLatin1String(name));
  return button;
}

QLabel* BuddyLabel(std::string_view caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(Ui(caption), parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace quillet
