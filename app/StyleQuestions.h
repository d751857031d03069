// What the "样式" dialog asks the user (a colour, a logo file) and how it
// shows a colour on a button, apart from the dialog so that its rows share them.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "image/SymbolStyle.h"

class QPushButton;
class QWidget;

namespace quillet {

// The questions the dialog asks, behind an interface so that tests answer
// them without a modal dialog.
class StyleDialogs {
 public:
  virtual ~StyleDialogs() = default;
  // nullopt when cancelled.
  virtual std::optional<QColor> AskColour(QWidget* parent, const QColor& initial, const QString& title) = 0;
  virtual std::optional<QString> AskLogoFile(QWidget* parent, const QString& folder) = 0;
  // An OK-only warning captioned with the application's name.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
};

// The real dialogs of the desktop, in Chinese.
StyleDialogs& DesktopStyleDialogs();

QColor ToQColor(Rgb colour);
Rgb ToRgb(const QColor& colour);

// A swatch of the colour on the button, and its "#rrggbb" as the caption.
void ShowColour(QPushButton* button, Rgb colour);

}  // namespace quillet
