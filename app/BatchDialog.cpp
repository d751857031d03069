#include "app/BatchDialog.h"

#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/BatchControls.h"
#include "app/BatchDesktop.h"
#include "app/BatchInputPanel.h"
#include "app/BatchOutputPanel.h"
#include "app/BatchReasons.h"
#include "app/BatchRunPanel.h"
#include "app/BatchRunner.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"

namespace quillet {

namespace {

constexpr int ProgressIntervalMs = 100;

// Room left on the screen for a dialog's contents under its title bar and frame.
constexpr int WindowFrameRoom = 64;

// Asks for its settings' full size, so that the dialog opens without
// scrolling where the screen has room; it scrolls only where it has not.
class SettingsScroller : public QScrollArea {
 public:
  SettingsScroller(QWidget* settings, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidget(settings);
  }
  QSize sizeHint() const override {
    return widget()->sizeHint() + QSize(verticalScrollBar()->sizeHint().width(), 0);
  }
};

}  // namespace

CBatchDlg::CBatchDlg(QWidget* parent, const BatchPage& page, BatchDesktop& desktop)
    : QDialog(parent), form_(page), desktop_(desktop), runner_(new BatchRunner(this)) {
  setWindowTitle(Ui(UiText::BatchTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Named(new QLabel(BatchPageText(page), this), "page"));
  // The settings scroll on a low screen; the run's progress and its buttons stay in sight.
  layout->addWidget(new SettingsScroller(BuildSettings(), this), 1);
  run_ = new BatchRunPanel(this);
  layout->addWidget(run_);
  connect(run_, &BatchRunPanel::Start, this, &CBatchDlg::Start);
  connect(run_, &BatchRunPanel::Cancel, this, &CBatchDlg::Cancel);
  connect(run_, &BatchRunPanel::Close, this, &CBatchDlg::reject);
  connect(run_, &BatchRunPanel::OpenFolder, this, &CBatchDlg::OpenFolder);
  connect(runner_, &BatchRunner::Finished, this, &CBatchDlg::OnFinished);
  progressTimer_.setInterval(ProgressIntervalMs);
  connect(&progressTimer_, &QTimer::timeout, this, &CBatchDlg::ShowProgress);
  clock_.start();
  Refresh();
  FitScreen();
}

QWidget* CBatchDlg::BuildSettings() {
  auto* settings = new QWidget;
  auto* layout = new QVBoxLayout(settings);
  layout->setContentsMargins(0, 0, 0, 0);
  input_ = new BatchInputPanel(this);
  output_ = new BatchOutputPanel(form_, desktop_, this);
  layout->addWidget(input_, 1);
  layout->addWidget(output_);
  connect(input_, &BatchInputPanel::ChooseInput, this, &CBatchDlg::ChooseInput);
  connect(input_, &BatchInputPanel::EncodingChosen, this, &CBatchDlg::ChooseEncoding);
  connect(output_, &BatchOutputPanel::Changed, this, &CBatchDlg::Refresh);
  return settings;
}

void CBatchDlg::FitScreen() {
  const QRect room = screen()->availableGeometry();
  resize(sizeHint().expandedTo(QSize(720, 640)).boundedTo(QSize(room.width(), room.height() - WindowFrameRoom)));
}

CBatchDlg::~CBatchDlg() = default;

bool CBatchDlg::Running() const { return runner_->Running(); }

double CBatchDlg::Seconds() const { return clock_.elapsed() / 1000.0; }

void CBatchDlg::ChooseInput() {
  const QString path = desktop_.AskInputFile(this, Ui(UiText::BatchInputFilter));
  if (!path.isEmpty()) LoadInput(path);
}

void CBatchDlg::LoadInput(const QString& path) {
  run_->Clear();
  input_->Chosen(path);
  form_.Load(ToLocalPath(path));
  output_->ShowPaths();
  ShowInput();
}

void CBatchDlg::ChooseEncoding(std::optional<TextEncoding> encoding) {
  if (form_.ChooseEncoding(encoding)) ShowInput();
}

void CBatchDlg::ShowInput() {
  input_->ShowInput(form_);
  Refresh();
}

void CBatchDlg::Refresh() {
  const BatchFormCheck check = form_.Check();
  output_->ShowNotes(check.output);
  input_->ShowColumns(form_, check);
  run_->AllowStart(!Running() && !check.start);
}

void CBatchDlg::Start() {
  if (!run_->StartAllowed()) return;
  run_->Clear();
  form_.RunStarted(Seconds());
  run_->Starting(form_.RunFigures({}, Seconds()).barMaximum);
  SetRunning(true);
  runner_->Start(form_.Job());
  run_->AllowStart(false);
  progressTimer_.start();
}

void CBatchDlg::Cancel() {
  if (!Running()) return;
  runner_->Cancel();
  form_.RunCancelling();
  run_->Cancelling();
}

void CBatchDlg::reject() {
  // Closing while files are written would leave the user guessing which
  // rows were done: cancel first, close once it has stopped.
  if (Running()) {
    Cancel();
    return;
  }
  QDialog::reject();
}

void CBatchDlg::ShowProgress() {
  std::vector<BatchRowResult> failed;
  const BatchProgress progress = runner_->Progress(&failed);
  run_->AddFailures(failed);
  run_->ShowFigures(form_.RunFigures(progress, Seconds()));
}

void CBatchDlg::OnFinished(const BatchSummary& summary) {
  progressTimer_.stop();
  ShowProgress();
  SetRunning(false);
  if (summary.written > 0) emit RunFinished(FromLocalPath(form_.OutputFolder()));
  run_->Finished(summary, form_.OutputFolderExists());
  Refresh();
}

void CBatchDlg::SetRunning(bool running) {
  // The settings stay readable while the batch runs on them.
  input_->setEnabled(!running);
  output_->setEnabled(!running);
  run_->SetRunning(running);
}

void CBatchDlg::OpenFolder() { desktop_.OpenFolder(FromLocalPath(form_.OutputFolder())); }

BatchPage BatchPageOf(const PageChoice& choice) {
  BatchPage page;
  static_cast<SymbolSettings&>(page) = choice.symbol;
  page.contentPage = choice.contentPage;
  page.textCharset = DataCharset::CodePage936;  // as the pages write their text
  page.image.scale = choice.scale;
  page.image.style = choice.style.style;
  return page;
}

}  // namespace quillet
