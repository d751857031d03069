#include "app/StyleQuestions.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include "app/SaveDialogs.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

class QtStyleDialogs : public StyleDialogs {
 public:
  std::optional<QColor> AskColour(QWidget* parent, const QColor& initial, const QString& title) override {
    // Qt's own dialog: it speaks the program's Chinese, the platform's may not.
    const QColor chosen = QColorDialog::getColor(initial, parent, title, QColorDialog::DontUseNativeDialog);
    return chosen.isValid() ? std::optional(chosen) : std::nullopt;
  }

  std::optional<QString> AskLogoFile(QWidget* parent, const QString& folder) override {
    QFileDialog dialog(parent, FromUtf8(UiText::StyleLogoTitle), folder, FromUtf8(UiText::StyleLogoFilter));
    UseChineseFileColumns(dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
  }

  void ShowMessage(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
  }
};

}  // namespace

StyleDialogs& DesktopStyleDialogs() {
  static QtStyleDialogs dialogs;
  return dialogs;
}

QColor ToQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

Rgb ToRgb(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return Rgb{static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()), static_cast<uint8_t>(rgb.blue())};
}

void ShowColour(QPushButton* button, Rgb colour) {
  QPixmap swatch(button->fontMetrics().height(), button->fontMetrics().height());
  swatch.fill(ToQColor(colour));
  button->setIcon(QIcon(swatch));
  button->setText(QString::fromStdString(FormatColour(colour)));
}

}  // namespace quillet
