#include "app/SaveDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>

#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

// Qt's file list takes its dates from the system locale, whatever the
// program's, and its folders' type is a text Qt's Chinese translation lacks.
class ChineseFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr) return QIdentityProxyModel::data(index, role);
    const QModelIndex file = mapToSource(index);
    if (index.column() == TypeColumn && files->isDir(file)) return FromUtf8(UiText::FolderType);
    if (index.column() == DateColumn) return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
    return QIdentityProxyModel::data(index, role);
  }

 private:
  // QFileSystemModel's columns: name, size, type, date modified.
  static constexpr int TypeColumn = 2;
  static constexpr int DateColumn = 3;
};

// Tenths of a millimetre: finer than whole pixels at any common dpi matter.
constexpr int PrintedSizeDecimals = 1;

class QtSaveDialogs : public SaveDialogs {
 public:
  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget* parent, const SaveFileQuestion& question) override {
    QFileDialog dialog(parent);
    UseChineseFileColumns(dialog);
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

  std::optional<double> AskPrintedSize(QWidget* parent, const QString& question, double shown, double least,
                                       double most) override {
    bool ok = false;
    const double chosen = QInputDialog::getDouble(parent, FromUtf8(UiText::PrintedSizeTitle), question, shown, least, most,
                                                  PrintedSizeDecimals, &ok);
    return ok ? std::optional<double>(chosen) : std::nullopt;
  }

  void ShowMessage(QWidget* parent, const QString& text, bool exclamation) override {
    QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                    text, QMessageBox::Ok, parent);
    box.exec();
  }
};

}  // namespace

void UseChineseFileColumns(QFileDialog& dialog) { dialog.setProxyModel(new ChineseFileColumns(&dialog)); }

SaveDialogs& DesktopSaveDialogs() {
  static QtSaveDialogs dialogs;
  return dialogs;
}

}  // namespace quillet
