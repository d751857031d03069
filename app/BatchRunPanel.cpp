#include "app/BatchRunPanel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/BatchControls.h"
#include "app/BatchReasons.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"

namespace quillet {

namespace {

QString FailureLine(const BatchRowResult& row) {
  const QString reason = BatchReasonText(row);
  return row.fileName.empty() ? Ui(UiText::BatchFailedRow).arg(row.row).arg(reason)
                              : Ui(UiText::BatchFailedRowFile).arg(row.row).arg(FromUtf8(row.fileName), reason);
}

QString SummaryText(const BatchSummary& summary) {
  QString counts = Ui(UiText::BatchSummary).arg(summary.written).arg(summary.failed);
  if (summary.pages > 0) counts += Ui(UiText::BatchSheetPages).arg(summary.pages);
  const QString problem = BatchProblemText(summary.problem);
  switch (summary.outcome) {
    case BatchOutcome::Finished: return counts;
    case BatchOutcome::Cancelled: return Ui(UiText::BatchCancelled) + counts;
    case BatchOutcome::BadInput: return Ui(UiText::BatchNotStarted).arg(problem);
    case BatchOutcome::OutputUnusable: return Ui(UiText::BatchOutputUnusable).arg(problem) + QLatin1Char('\n') + counts;
  }
  return counts;
}

}  // namespace

BatchRunPanel::BatchRunPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  progressBar_ = Named(new QProgressBar(this), "progressBar");
  progressBar_->setRange(0, 1);
  progressBar_->setValue(0);
  progressText_ = Named(new QLabel(this), "progressText");
  summary_ = Named(new QLabel(this), "summary");
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setWordWrap(true);
  failures_ = Named(new QListWidget(this), "failures");
  failures_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  failures_->setMaximumHeight(140);
  auto* copy = new QShortcut(QKeySequence::Copy, failures_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(copy, &QShortcut::activated, this, &BatchRunPanel::CopyFailures);
  layout->addWidget(progressBar_);
  layout->addWidget(progressText_);
  layout->addWidget(summary_);
  layout->addWidget(failures_);
  BuildButtons(layout);
}

void BatchRunPanel::BuildButtons(QVBoxLayout* layout) {
  auto* buttons = new QHBoxLayout;
  copyFailures_ = BatchButton(UiText::BatchCopyFailures, this, "copyFailures");
  openFolder_ = BatchButton(UiText::BatchOpenFolder, this, "openFolder");
  start_ = BatchButton(UiText::BatchStart, this, "start");
  cancel_ = BatchButton(UiText::BatchCancel, this, "cancel");
  close_ = BatchButton(UiText::BatchClose, this, "close");
  start_->setDefault(true);
  copyFailures_->setEnabled(false);
  openFolder_->setEnabled(false);
  cancel_->setEnabled(false);
  for (QPushButton* button : {copyFailures_, openFolder_}) buttons->addWidget(button);
  buttons->addStretch(1);
  for (QPushButton* button : {start_, cancel_, close_}) buttons->addWidget(button);
  layout->addLayout(buttons);

  connect(copyFailures_, &QPushButton::clicked, this, &BatchRunPanel::CopyFailures);
  connect(openFolder_, &QPushButton::clicked, this, &BatchRunPanel::OpenFolder);
  connect(start_, &QPushButton::clicked, this, &BatchRunPanel::Start);
  connect(cancel_, &QPushButton::clicked, this, &BatchRunPanel::Cancel);
  connect(close_, &QPushButton::clicked, this, &BatchRunPanel::Close);
}

void BatchRunPanel::Clear() {
  failures_->clear();
  summary_->clear();
  progressText_->clear();
  progressBar_->setValue(0);
  copyFailures_->setEnabled(false);
  openFolder_->setEnabled(false);
}

void BatchRunPanel::Starting(long barMaximum) {
  progressBar_->setRange(0, static_cast<int>(barMaximum));
  progressBar_->setValue(0);
  progressText_->setText(Ui(UiText::BatchStarting));
}

void BatchRunPanel::ShowFigures(const BatchRunFigures& run) {
  progressBar_->setRange(0, static_cast<int>(run.barMaximum));
  progressBar_->setValue(static_cast<int>(run.barValue));
  const QString rate = QString::number(run.rowsPerSecond);
  switch (run.told) {
    case RunTold::Unchanged: break;
    case RunTold::Counts:
      progressText_->setText(
          Ui(UiText::BatchProgress).arg(run.done).arg(run.total).arg(rate, DurationText(run.secondsLeft)));
      break;
    case RunTold::CountsSoFar: progressText_->setText(Ui(UiText::BatchProgressUnknownTotal).arg(run.done).arg(rate)); break;
  }
}

void BatchRunPanel::AddFailures(const std::vector<BatchRowResult>& rows) {
  for (const BatchRowResult& row : rows) failures_->addItem(new QListWidgetItem(FailureLine(row)));
  copyFailures_->setEnabled(failures_->count() > 0);
}

void BatchRunPanel::Cancelling() {
  cancel_->setEnabled(false);
  progressText_->setText(Ui(UiText::BatchCancelling));
}

void BatchRunPanel::Finished(const BatchSummary& summary, bool folderThere) {
  summary_->setText(SummaryText(summary));
  progressText_->clear();
  if (summary.outcome == BatchOutcome::Finished) progressBar_->setValue(progressBar_->maximum());
  openFolder_->setEnabled(folderThere);
}

void BatchRunPanel::SetRunning(bool running) {
  close_->setEnabled(!running);
  cancel_->setEnabled(running);
}

void BatchRunPanel::AllowStart(bool allowed) { start_->setEnabled(allowed); }

bool BatchRunPanel::StartAllowed() const { return start_->isEnabled(); }

void BatchRunPanel::CopyFailures() {
  QStringList lines;
  const auto selected = failures_->selectedItems();
  for (int i = 0; i < failures_->count(); ++i)
    if (selected.isEmpty() || failures_->item(i)->isSelected()) lines << failures_->item(i)->text();
  if (!lines.isEmpty()) QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace quillet
