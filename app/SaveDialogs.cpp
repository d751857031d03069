#include "app/SaveDialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace {

class QtSaveDialogs : public SaveDialogs {
 public:
  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget* parent, const SaveFileQuestion& question) override {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The overwrite question comes later, once the final extension is known.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(question.filters);
    dialog.selectNameFilter(question.filters.value(question.filterEntry - 1));
    if (!question.folder.isEmpty()) dialog.setDirectory(question.folder);
    if (!question.fileName.isEmpty()) dialog.selectFile(question.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const int entry = static_cast<int>(question.filters.indexOf(dialog.selectedNameFilter())) + 1;
    return std::make_pair(dialog.selectedFiles().constFirst(), entry > 0 ? entry : 1);
  }

  bool ConfirmOverwrite(QWidget* parent, const QString& path) override {
    const QString question = FromUtf8(UiText::ConfirmOverwrite).arg(path);
    return QMessageBox::question(parent, QGuiApplication::applicationDisplayName(), question,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
  }

  void ShowMessage(QWidget* parent, const QString& text, bool exclamation) override {
    QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    text, QMessageBox::Ok, parent);
    box.exec();
  }
};

}  // namespace

SaveDialogs& DesktopSaveDialogs() {
  static QtSaveDialogs dialogs;
  return dialogs;
}
