// What the batch dialog asks of the desktop: a spreadsheet to read, a folder
// or a label sheet to write, and showing that folder in the file manager. Behind an
// interface so that tests answer without a modal dialog or a file manager.
#pragma once

#include <QString>

class QWidget;

namespace quillet {

class BatchDesktop {
 public:
  virtual ~BatchDesktop() = default;
  // Empty when cancelled.
  virtual QString AskInputFile(QWidget* parent, const QString& filter) = 0;
  virtual QString AskOutputFolder(QWidget* parent, const QString& start) = 0;
  virtual QString AskSheetFile(QWidget* parent, const QString& start, const QString& filter) = 0;
  virtual void OpenFolder(const QString& folder) = 0;
};

// The desktop's file dialogs and QDesktopServices.
BatchDesktop& RealBatchDesktop();

}  // namespace quillet
