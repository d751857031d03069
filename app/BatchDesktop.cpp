#include "app/BatchDesktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace {

class QtBatchDesktop : public BatchDesktop {
 public:
  QString AskInputFile(QWidget* parent, const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
  }
  QString AskOutputFolder(QWidget* parent, const QString& start) override {
    return QFileDialog::getExistingDirectory(parent, QString(), start);
  }
  QString AskSheetFile(QWidget* parent, const QString& start, const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, QString(), start, filter);
  }
  void OpenFolder(const QString& folder) override { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); }
};

}  // namespace

BatchDesktop& RealBatchDesktop() {
  static QtBatchDesktop desktop;
  return desktop;
}
