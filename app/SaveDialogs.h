// The questions a save asks the user, behind an interface so that tests can
// answer them without a modal dialog.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class QFileDialog;
class QWidget;

namespace quillet {

// What the file dialog opens with.
struct SaveFileQuestion {
  QStringList filters;   // entry 1 first: "位图文件 (*.bmp)", ...
  QString folder;        // empty: the dialog's own choice
  int filterEntry = 1;   // 1-based, selected when the dialog opens
  QString fileName;      // proposed name, empty for none
};

class SaveDialogs {
 public:
  virtual ~SaveDialogs() = default;
  // The chosen file name and the 1-based filter entry selected when the
  // dialog closed; nullopt when cancelled.
  virtual std::optional<std::pair<QString, int>> AskSaveFileName(QWidget* parent, const SaveFileQuestion& question) = 0;
  virtual bool ConfirmOverwrite(QWidget* parent, const QString& path) = 0;
  // A printed side in millimetres, from `shown`, between `least` and
  // `most`; nullopt when cancelled.
  virtual std::optional<double> AskPrintedSize(QWidget* parent, const QString& question, double shown, double least,
                                               double most) = 0;
  // An OK-only message captioned with the application's name.
  virtual void ShowMessage(QWidget* parent, const QString& text, bool exclamation) = 0;

  // Where the last save of this run went, so that the next opens there.
  // Nothing is kept between runs.
  QString lastFolder;
  int lastFilterEntry = 1;
};

// The real dialogs of the desktop.
SaveDialogs& DesktopSaveDialogs();

// Every file dialog of the program shows its type and date columns in Chinese.
void UseChineseFileColumns(QFileDialog& dialog);

}  // namespace quillet
