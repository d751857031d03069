#include "app/SaveDialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace {

class QtSaveDialogs : public SaveDialogs {
 public:
  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget* parent, const QString& filter) override {
    QString selected;
    // The overwrite question comes later, once the final extension is known.
    const QString name =
        QFileDialog::getSaveFileName(parent, QString(), QString(), filter, &selected, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    const int entry = static_cast<int>(filter.split(QStringLiteral(";;")).indexOf(selected)) + 1;
    return std::make_pair(name, entry > 0 ? entry : 1);
  }

  bool ConfirmOverwrite(QWidget* parent, const QString& path) override {
    const QString question = FromUtf8(UiText::ConfirmOverwrite).arg(path);
    return QMessageBox::question(parent, QCoreApplication::applicationName(), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
  }

  void ShowMessage(QWidget* parent, const QString& text, bool exclamation) override {
    QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    text, QMessageBox::Ok, parent);
    box.exec();
  }
};

}  // namespace

SaveDialogs& DesktopSaveDialogs() {
  static QtSaveDialogs dialogs;
  return dialogs;
}
