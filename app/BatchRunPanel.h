// The run part of the "批量生成" dialog, which stays in sight while the
// settings scroll: the progress, the summary, the rows that failed (to copy),
// and the buttons that start, cancel and close the run and open its folder.
// The dialog decides when; this shows it in Chinese.
#pragma once

#include <QWidget>
#include <vector>

#include "batch/BatchJob.h"
#include "model/BatchForm.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace quillet {

class BatchRunPanel : public QWidget {
  Q_OBJECT
 public:
  explicit BatchRunPanel(QWidget* parent);

  // The summary, the failures and the progress of the last run gone.
  void Clear();
  void Starting(long barMaximum);
  void ShowFigures(const BatchRunFigures& run);
  void AddFailures(const std::vector<BatchRowResult>& rows);
  void Cancelling();
  // The run ended as `summary` says; its folder can be opened when it is there.
  void Finished(const BatchSummary& summary, bool folderThere);
  // While it runs, it can be cancelled, not closed.
  void SetRunning(bool running);
  void AllowStart(bool allowed);
  bool StartAllowed() const;

 signals:
  void Start();
  void Cancel();
  void Close();
  void OpenFolder();

 private:
  void BuildButtons(QVBoxLayout* layout);
  void CopyFailures();

  QProgressBar* progressBar_;
  QLabel* progressText_;
  QLabel* summary_;
  QListWidget* failures_;
  QPushButton* copyFailures_;
  QPushButton* start_;
  QPushButton* cancel_;
  QPushButton* openFolder_;
  QPushButton* close_;
};

}  // namespace quillet
