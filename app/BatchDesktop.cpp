#include "app/BatchDesktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "app/SaveDialogs.h"

namespace quillet {

namespace {

// The chosen path, or empty when the dialog was cancelled.
QString Ask(QFileDialog& dialog) {
  UseChineseFileColumns(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

class QtBatchDesktop : public BatchDesktop {
 public:
  QString AskInputFile(QWidget* parent, const QString& filter) override {
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Ask(dialog);
  }
  QString AskOutputFolder(QWidget* parent, const QString& start) override {
    QFileDialog dialog(parent, QString(), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return Ask(dialog);
  }
  QString AskSheetFile(QWidget* parent, const QString& start, const QString& filter) override {
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return Ask(dialog);
  }
  void OpenFolder(const QString& folder) override { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }
};

}  // namespace

BatchDesktop& RealBatchDesktop() {
  static QtBatchDesktop desktop;
  return desktop;
}

}  // namespace quillet
