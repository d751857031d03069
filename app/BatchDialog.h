// The "批量生成" dialog: a spreadsheet, what each of its columns feeds on the
// page shown, where the files go, and the batch engine running it with
// progress, cancelling and a summary of the rows that failed.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <optional>

#include "app/BatchPreview.h"
#include "app/PageChoice.h"

class BatchDesktop;
class BatchRunner;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;

class CBatchDlg : public QDialog {
  Q_OBJECT
 public:
  CBatchDlg(QWidget* parent, const BatchPage& page, BatchDesktop& desktop);
  ~CBatchDlg() override;

  // Loads a spreadsheet as if chosen in the file dialog.
  void LoadInput(const QString& path);
  bool Running() const;

  QLabel* PageText() const { return pageText_; }
  QPushButton* ChooseInputButton() const { return chooseInput_; }
  QComboBox* EncodingBox() const { return encoding_; }
  QLabel* RowCountText() const { return rowCount_; }
  QTableWidget* Preview() const { return preview_; }
  QLabel* ColumnsNote() const { return columnsNote_; }
  QLineEdit* FolderEdit() const { return folder_; }
  QLineEdit* NameEdit() const { return name_; }
  QLabel* NameNote() const { return nameNote_; }
  QRadioButton* SheetChoice() const { return toSheet_; }
  QLineEdit* SheetFileEdit() const { return sheetFile_; }
  QPushButton* ChooseSheetButton() const { return chooseSheet_; }
  QComboBox* PaperBox() const { return paper_; }
  QSpinBox* ColumnsBox() const { return gridColumns_; }
  QSpinBox* RowsBox() const { return gridRows_; }
  QLineEdit* CaptionEdit() const { return caption_; }
  QDoubleSpinBox* ModuleBox() const { return moduleMm_; }
  QCheckBox* VerifyBox() const { return verify_; }
  // The Data Matrix encodation scheme; null for a QR page's batch.
  QComboBox* SchemeBox() const { return scheme_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* CloseButton() const { return close_; }
  QPushButton* OpenFolderButton() const { return openFolder_; }
  QProgressBar* ProgressBar() const { return progressBar_; }
  QLabel* ProgressText() const { return progressText_; }
  QLabel* SummaryText() const { return summary_; }
  QListWidget* FailureList() const { return failures_; }

 public slots:
  void ChooseInput();
  void ChooseFolder();
  void ChooseSheetFile();
  void Start();
  void Cancel();
  void OpenFolder();
  void CopyFailures();

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
  bool ToSheet() const;
  // Why the file names (or the captions) cannot be made; empty when they can.
  // `names` gets the template that parsed.
  std::optional<QString> OutputProblemText(std::optional<NameTemplate>& names) const;
  // Why the first label would not fit a cell of the sheet; empty when it fits.
  std::optional<QString> LabelProblem() const;
  static void ShowNote(QLabel* note, const QString& text, bool problem);
  // The summary, the failures and the progress of a run on another spreadsheet.
  void ClearLastRun();
  void SetRunning(bool running);
  // Where the files went: the folder, or the one holding the label sheet.
  QString OutputFolder() const;
  ImageOptions SheetSymbol() const;
  QWidget* BuildRunArea();
  void ReloadInput();
  void ShowTable();
  void CheckColumns();
  void FitPreviewColumns();
  void UpdateStart();
  void ShowProgress();
  void AddFailures(std::vector<BatchRowResult> rows);
  void OnFinished(const BatchSummary& summary);
  std::optional<TextEncoding> ChosenEncoding() const;
  BatchSettings Settings() const;
  BatchJob MakeJob() const;

  BatchPage page_;
  BatchDesktop& desktop_;
  BatchRunner* runner_;
  QString inputPath_;
  std::optional<BatchTable> table_;
  bool columnsReady_ = false;
  bool nameReady_ = false;
  long expectedRows_ = 0;
  QTimer progressTimer_;
  QElapsedTimer elapsed_;

  QWidget* inputGroup_;
  QWidget* outputGroup_;
  QWidget* folderPart_;
  QWidget* sheetPart_;
  QLineEdit* sheetFile_;
  QPushButton* chooseSheet_;
  QComboBox* paper_;
  QSpinBox* gridColumns_;
  QSpinBox* gridRows_;
  QLineEdit* caption_;
  QDoubleSpinBox* moduleMm_;
  QLabel* moduleNote_;
  QLabel* pageText_;
  QLabel* inputName_;
  QPushButton* chooseInput_;
  QComboBox* encoding_;
  QLabel* rowCount_;
  QTableWidget* preview_;
  QLabel* columnsNote_;
  QRadioButton* toFolder_;
  QRadioButton* toSheet_;
  QLineEdit* folder_;
  QPushButton* chooseFolder_;
  QLineEdit* name_;
  QLabel* nameNote_;
  QCheckBox* verify_;
  QComboBox* scheme_ = nullptr;
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
