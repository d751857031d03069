// The questions a save asks the user, behind an interface so that tests can
// answer them without a modal dialog.
#pragma once

#include <QString>
#include <optional>
#include <utility>

class QWidget;

class SaveDialogs {
 public:
  virtual ~SaveDialogs() = default;
  // The chosen file name and the 1-based filter entry selected when the
  // dialog closed; nullopt when cancelled. `filter` entries are ";;"-separated.
  virtual std::optional<std::pair<QString, int>> AskSaveFileName(QWidget* parent, const QString& filter) = 0;
  virtual bool ConfirmOverwrite(QWidget* parent, const QString& path) = 0;
  // An OK-only message captioned with the application's name.
  virtual void ShowMessage(QWidget* parent, const QString& text, bool exclamation) = 0;
};

// The real dialogs of the desktop.
SaveDialogs& DesktopSaveDialogs();
