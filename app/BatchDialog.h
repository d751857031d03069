// The "批量生成" dialog: a spreadsheet, what each of its columns feeds on the
// page shown, where the files go, and the batch engine running it with
// progress, cancelling and a summary of the rows that failed. What it holds
// and decides is the form's (model/BatchForm); its parts bind their controls
// to it and word its kinds, and this runs the batch between them.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include "app/PageChoice.h"
#include "model/BatchForm.h"

namespace quillet {

class BatchDesktop;
class BatchInputPanel;
class BatchOutputPanel;
class BatchRunPanel;
class BatchRunner;

class CBatchDlg : public QDialog {
  Q_OBJECT
 public:
  CBatchDlg(QWidget* parent, const BatchPage& page, BatchDesktop& desktop);
  ~CBatchDlg() override;

  bool Running() const;

 signals:
  // A run wrote files into `folder`: one entry of "最近".
  void RunFinished(const QString& folder);

 protected:
  void reject() override;

 private:
  // As large as its contents, within the screen: the settings scroll on a low one.
  void FitScreen();
  QWidget* BuildSettings();
  void ChooseInput();
  void LoadInput(const QString& path);
  void ChooseEncoding(std::optional<TextEncoding> encoding);
  void ShowInput();
  // The form's check: the notes, what each column feeds, and whether it may start.
  void Refresh();
  void Start();
  void Cancel();
  void SetRunning(bool running);
  void ShowProgress();
  void OnFinished(const BatchSummary& summary);
  void OpenFolder();
  double Seconds() const;

  BatchForm form_;
  BatchDesktop& desktop_;
  BatchRunner* runner_;
  QTimer progressTimer_;
  QElapsedTimer clock_;
  BatchInputPanel* input_;
  BatchOutputPanel* output_;
  BatchRunPanel* run_;
};

// The page the batch composes for, from what its user chose there: the QR
// page's format, content type, level and version, or the DM page's size, and
// the page's style.
BatchPage BatchPageOf(const PageChoice& choice);

}  // namespace quillet
