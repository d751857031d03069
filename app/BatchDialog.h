// The "批量生成" dialog: a spreadsheet, what each of its columns feeds on the
// page shown, where the files go, and the batch engine running it with
// progress, cancelling and a summary of the rows that failed. What it holds
// and decides is the form's (model/BatchForm); this binds the controls to it
// and words its kinds.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include "app/PageChoice.h"
#include "model/BatchForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace quillet {

class BatchDesktop;
class BatchRunner;

class CBatchDlg : public QDialog {
  Q_OBJECT
 public:
  CBatchDlg(QWidget* parent, const BatchPage& page, BatchDesktop& desktop);
  ~CBatchDlg() override;

  // Loads a spreadsheet as if chosen in the file dialog.
  void LoadInput(const QString& path);
  bool Running() const;

 public slots:
  void ChooseInput();
  void ChooseFolder();
  void ChooseSheetFile();
  void Start();
  void Cancel();
  void OpenFolder();
  void CopyFailures();

 signals:
  // A run wrote files into `folder`: one entry of "最近".
  void RunFinished(const QString& folder);

 protected:
  void reject() override;

 private:
  // As large as its contents, within the screen: the settings scroll on a low one.
  void FitScreen();
  QWidget* BuildInputGroup();
  QWidget* BuildOutputGroup();
  QWidget* BuildFolderPart(QWidget* parent);
  QLayout* BuildSchemeRow(QWidget* parent);
  QWidget* BuildSheetPart(QWidget* parent);
  QWidget* BuildRunArea();
  // `edit` bound to the form's `path`, which is changed and checked with it.
  void BindPath(QLineEdit* edit, std::string& path);
  static void ShowNote(QLabel* note, const QString& text, bool problem);
  // The summary, the failures and the progress of a run on another spreadsheet.
  void ClearLastRun();
  void SetRunning(bool running);
  void ChooseEncoding(int index);
  void ShowInput();
  void ShowTable();
  // The form's check: the notes, what each column feeds, and whether it may start.
  void Refresh();
  void ShowFeeds(const BatchPlanCheck& feeds);
  void FitPreviewColumns();
  void ShowProgress();
  void AddFailures(std::vector<BatchRowResult> rows);
  void OnFinished(const BatchSummary& summary);
  double Seconds() const;

  BatchForm form_;
  BatchDesktop& desktop_;
  BatchRunner* runner_;
  QTimer progressTimer_;
  QElapsedTimer clock_;

  QWidget* inputGroup_;
  QWidget* outputGroup_;
  QLabel* inputName_;
  QComboBox* encoding_;
  QLabel* rowCount_;
  QTableWidget* preview_;
  QLabel* columnsNote_;
  QLineEdit* folder_;
  QLabel* nameNote_;
  QLineEdit* sheetFile_;
  QLabel* moduleNote_;
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

// The page the batch composes for, from what its user chose there: the QR
// page's format, content type, level and version, or the DM page's size, and
// the page's style.
BatchPage BatchPageOf(const PageChoice& choice);

}  // namespace quillet
