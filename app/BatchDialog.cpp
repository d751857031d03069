#include "app/BatchDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/BatchDesktop.h"
#include "app/BatchReasons.h"
#include "app/BatchRunner.h"
#include "datamatrix/DmEncoder.h"
#include "gui/TextBytes.h"
#include "image/LabelSheet.h"
#include "res/BatchStrings.h"

namespace quillet {

namespace {

constexpr int MinPreviewColumnWidth = 160;
constexpr int ProgressIntervalMs = 100;
const QColor Problem(Qt::red);

QString Ui(std::string_view utf8) { return FromUtf8(utf8); }

QPushButton* Button(std::string_view caption, QWidget* parent, const char* name) {
  auto* button = new QPushButton(Ui(caption), parent);
  button->setAutoDefault(false);
  button->setObjectName(QLatin1String(name));
  return button;
}

// A control and the name tests find it by.
template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}

// A label whose "(&X)" moves the focus to `buddy`, instead of showing the "&".
QLabel* BuddyLabel(std::string_view caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(Ui(caption), parent);
  label->setBuddy(buddy);
  return label;
}

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

// A path to type in and its "浏览..." button.
QHBoxLayout* PathRow(std::string_view browse, QWidget* parent, QLineEdit*& edit, QPushButton*& button) {
  auto* row = new QHBoxLayout;
  edit = new QLineEdit(parent);
  button = Button(browse, parent, "browse");
  row->addWidget(edit, 1);
  row->addWidget(button);
  return row;
}

}  // namespace

CBatchDlg::CBatchDlg(QWidget* parent, const BatchPage& page, BatchDesktop& desktop)
    : QDialog(parent), form_(page), desktop_(desktop), runner_(new BatchRunner(this)) {
  setWindowTitle(Ui(UiText::BatchTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Named(new QLabel(BatchPageText(page), this), "page"));
  // The settings scroll on a low screen; the run's progress and its buttons stay in sight.
  auto* settings = new QWidget;
  auto* settingsLayout = new QVBoxLayout(settings);
  settingsLayout->setContentsMargins(0, 0, 0, 0);
  settingsLayout->addWidget(BuildInputGroup(), 1);
  settingsLayout->addWidget(BuildOutputGroup());
  layout->addWidget(new SettingsScroller(settings, this), 1);
  layout->addWidget(BuildRunArea());
  connect(runner_, &BatchRunner::Finished, this, &CBatchDlg::OnFinished);
  progressTimer_.setInterval(ProgressIntervalMs);
  connect(&progressTimer_, &QTimer::timeout, this, &CBatchDlg::ShowProgress);
  clock_.start();
  Refresh();
  FitScreen();
}

void CBatchDlg::FitScreen() {
  const QRect room = screen()->availableGeometry();
  resize(sizeHint().expandedTo(QSize(720, 640)).boundedTo(QSize(room.width(), room.height() - WindowFrameRoom)));
}

CBatchDlg::~CBatchDlg() = default;

QWidget* CBatchDlg::BuildInputGroup() {
  auto* group = new QGroupBox(Ui(UiText::BatchInputGroup), this);
  inputGroup_ = group;
  auto* layout = new QVBoxLayout(group);
  auto* fileRow = new QHBoxLayout;
  inputName_ = new QLabel(Ui(UiText::BatchNoInput), group);
  inputName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* chooseInput = Button(UiText::BatchChooseInput, group, "chooseInput");
  fileRow->addWidget(inputName_, 1);
  fileRow->addWidget(chooseInput);
  layout->addLayout(fileRow);

  auto* encodingRow = new QHBoxLayout;
  auto* encodingLabel = new QLabel(Ui(UiText::BatchEncoding), group);
  encoding_ = Named(new QComboBox(group), "encoding");
  // Wide enough for the encoding it detects, which it learns only later.
  encoding_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  encoding_->addItem(Ui(UiText::BatchEncodingAutomatic));
  for (TextEncoding choice : BatchForm::ForcedEncodings) encoding_->addItem(FromUtf8(TextEncodingName(choice)));
  encodingLabel->setBuddy(encoding_);
  rowCount_ = Named(new QLabel(group), "rowCount");
  encodingRow->addWidget(encodingLabel);
  encodingRow->addWidget(encoding_);
  encodingRow->addWidget(rowCount_, 1);
  layout->addLayout(encodingRow);

  preview_ = Named(new QTableWidget(group), "preview");
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(preview_, 1);
  columnsNote_ = Named(new QLabel(group), "columnsNote");
  columnsNote_->setWordWrap(true);
  layout->addWidget(columnsNote_);

  connect(chooseInput, &QPushButton::clicked, this, &CBatchDlg::ChooseInput);
  connect(encoding_, &QComboBox::activated, this, &CBatchDlg::ChooseEncoding);
  return group;
}

QWidget* CBatchDlg::BuildOutputGroup() {
  auto* group = new QGroupBox(Ui(UiText::BatchOutputGroup), this);
  outputGroup_ = group;
  auto* layout = new QVBoxLayout(group);
  auto* choices = new QHBoxLayout;
  auto* toFolder = new QRadioButton(Ui(UiText::BatchToFolder), group);
  auto* toSheet = Named(new QRadioButton(Ui(UiText::BatchToSheet), group), "toSheet");
  toFolder->setChecked(true);
  choices->addWidget(toFolder);
  choices->addWidget(toSheet);
  choices->addStretch(1);
  layout->addLayout(choices);
  QWidget* folderPart = BuildFolderPart(group);
  QWidget* sheetPart = BuildSheetPart(group);
  layout->addWidget(folderPart);
  layout->addWidget(sheetPart);
  sheetPart->setEnabled(false);

  if (form_.Page().symbology == Symbology::DataMatrix) layout->addLayout(BuildSchemeRow(group));
  auto* verify = Named(new QCheckBox(Ui(UiText::BatchVerify), group), "verify");
  verify->setChecked(form_.output.verify);
  verify->setToolTip(Ui(UiText::BatchVerifyTip));
  layout->addWidget(verify);

  connect(verify, &QCheckBox::toggled, this, [this](bool on) { form_.output.verify = on; });
  connect(toSheet, &QRadioButton::toggled, this, [this, folderPart, sheetPart](bool sheet) {
    form_.output.to = sheet ? BatchOutput::Sheet : BatchOutput::Folder;
    folderPart->setEnabled(!sheet);
    sheetPart->setEnabled(sheet);
    Refresh();
  });
  return group;
}

QLayout* CBatchDlg::BuildSchemeRow(QWidget* parent) {
  auto* row = new QHBoxLayout;
  auto* scheme = Named(new QComboBox(parent), "scheme");
  for (const DmSchemeName& name : DmSchemeNames) scheme->addItem(FromUtf8(name.name), name.scheme);
  // The page's own scheme first: a batch makes the symbols the page shows.
  scheme->setCurrentIndex(scheme->findData(form_.dmScheme));
  scheme->setToolTip(Ui(UiText::BatchSchemeTip));
  row->addWidget(BuddyLabel(UiText::BatchScheme, scheme, parent));
  row->addWidget(scheme);
  row->addStretch(1);
  connect(scheme, &QComboBox::currentIndexChanged, this,
          [this, scheme] { form_.dmScheme = scheme->currentData().toInt(); });
  return row;
}

void CBatchDlg::BindPath(QLineEdit* edit, std::string& path) {
  connect(edit, &QLineEdit::textChanged, this, [this, &path](const QString& text) {
    path = ToLocalPath(text.trimmed());
    Refresh();
  });
}

QWidget* CBatchDlg::BuildFolderPart(QWidget* parent) {
  auto* part = new QWidget(parent);
  auto* form = new QFormLayout(part);
  form->setContentsMargins(0, 0, 0, 0);
  QPushButton* chooseFolder;
  QHBoxLayout* folderRow = PathRow(UiText::BatchChooseFolder, part, folder_, chooseFolder);
  folder_->setObjectName(QStringLiteral("folder"));
  form->addRow(BuddyLabel(UiText::BatchFolder, folder_, part), folderRow);
  auto* name = Named(new QLineEdit(FromUtf8(form_.output.nameTemplate), part), "name");
  form->addRow(BuddyLabel(UiText::BatchNameTemplate, name, part), name);
  nameNote_ = new QLabel(part);
  nameNote_->setWordWrap(true);
  form->addRow(QString(), nameNote_);
  connect(chooseFolder, &QPushButton::clicked, this, &CBatchDlg::ChooseFolder);
  BindPath(folder_, form_.output.folder);
  connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
    form_.output.nameTemplate = text.toStdString();
    Refresh();
  });
  return part;
}

QWidget* CBatchDlg::BuildSheetPart(QWidget* parent) {
  BatchOutputForm& out = form_.output;
  auto* part = new QWidget(parent);
  auto* form = new QFormLayout(part);
  form->setContentsMargins(0, 0, 0, 0);
  QPushButton* chooseSheet;
  QHBoxLayout* fileRow = PathRow(UiText::BatchChooseSheetFile, part, sheetFile_, chooseSheet);
  sheetFile_->setObjectName(QStringLiteral("sheetFile"));
  chooseSheet->setObjectName(QStringLiteral("chooseSheet"));
  form->addRow(BuddyLabel(UiText::BatchSheetFile, sheetFile_, part), fileRow);

  auto* gridRow = new QHBoxLayout;
  auto* paper = Named(new QComboBox(part), "paper");
  for (const PaperSize& size : PaperSizes) paper->addItem(FromUtf8(size.name));
  paper->setCurrentIndex(out.paper);
  auto* gridColumns = Named(new QSpinBox(part), "gridColumns");
  gridColumns->setRange(1, BatchOutputForm::MostGridCells);
  gridColumns->setValue(out.gridColumns);
  gridColumns->setSuffix(Ui(UiText::BatchGridColumns));
  auto* gridRows = Named(new QSpinBox(part), "gridRows");
  gridRows->setRange(1, BatchOutputForm::MostGridCells);
  gridRows->setValue(out.gridRows);
  gridRows->setSuffix(Ui(UiText::BatchGridRows));
  auto* moduleMm = Named(new QDoubleSpinBox(part), "moduleMm");
  moduleMm->setDecimals(2);
  moduleMm->setSingleStep(0.05);
  moduleMm->setRange(BatchOutputForm::LeastModuleMm, BatchOutputForm::MostModuleMm);
  moduleMm->setValue(out.moduleMm);
  moduleMm->setSuffix(Ui(UiText::BatchModuleUnit));
  gridRow->addWidget(paper);
  gridRow->addWidget(BuddyLabel(UiText::BatchGrid, gridColumns, part));
  gridRow->addWidget(gridColumns);
  gridRow->addWidget(gridRows);
  gridRow->addWidget(BuddyLabel(UiText::BatchModuleSize, moduleMm, part));
  gridRow->addWidget(moduleMm);
  gridRow->addStretch(1);
  form->addRow(BuddyLabel(UiText::BatchPaper, paper, part), gridRow);
  auto* caption = Named(new QLineEdit(FromUtf8(out.caption), part), "caption");
  form->addRow(BuddyLabel(UiText::BatchCaption, caption, part), caption);
  moduleNote_ = new QLabel(part);
  moduleNote_->setWordWrap(true);
  form->addRow(QString(), moduleNote_);

  connect(chooseSheet, &QPushButton::clicked, this, &CBatchDlg::ChooseSheetFile);
  BindPath(sheetFile_, out.sheetFile);
  // Each setting into the form, then the form checked again.
  const auto bind = [this](auto* control, auto signal, auto set) {
    connect(control, signal, this, [this, set](auto value) {
      set(value);
      Refresh();
    });
  };
  bind(caption, &QLineEdit::textChanged, [&out](const QString& text) { out.caption = text.toStdString(); });
  bind(moduleMm, &QDoubleSpinBox::valueChanged, [&out](double mm) { out.moduleMm = mm; });
  bind(gridColumns, &QSpinBox::valueChanged, [&out](int columns) { out.gridColumns = columns; });
  bind(gridRows, &QSpinBox::valueChanged, [&out](int rows) { out.gridRows = rows; });
  bind(paper, &QComboBox::currentIndexChanged, [&out](int index) { out.paper = std::max(index, 0); });
  return part;
}

QWidget* CBatchDlg::BuildRunArea() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  progressBar_ = Named(new QProgressBar(area), "progressBar");
  progressBar_->setRange(0, 1);
  progressBar_->setValue(0);
  progressText_ = Named(new QLabel(area), "progressText");
  summary_ = Named(new QLabel(area), "summary");
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setWordWrap(true);
  failures_ = Named(new QListWidget(area), "failures");
  failures_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  failures_->setMaximumHeight(140);
  auto* copy = new QShortcut(QKeySequence::Copy, failures_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(copy, &QShortcut::activated, this, &CBatchDlg::CopyFailures);
  layout->addWidget(progressBar_);
  layout->addWidget(progressText_);
  layout->addWidget(summary_);
  layout->addWidget(failures_);

  auto* buttons = new QHBoxLayout;
  copyFailures_ = Button(UiText::BatchCopyFailures, area, "copyFailures");
  openFolder_ = Button(UiText::BatchOpenFolder, area, "openFolder");
  start_ = Button(UiText::BatchStart, area, "start");
  cancel_ = Button(UiText::BatchCancel, area, "cancel");
  close_ = Button(UiText::BatchClose, area, "close");
  start_->setDefault(true);
  copyFailures_->setEnabled(false);
  openFolder_->setEnabled(false);
  cancel_->setEnabled(false);
  for (QPushButton* button : {copyFailures_, openFolder_}) buttons->addWidget(button);
  buttons->addStretch(1);
  for (QPushButton* button : {start_, cancel_, close_}) buttons->addWidget(button);
  layout->addLayout(buttons);

  connect(copyFailures_, &QPushButton::clicked, this, &CBatchDlg::CopyFailures);
  connect(openFolder_, &QPushButton::clicked, this, &CBatchDlg::OpenFolder);
  connect(start_, &QPushButton::clicked, this, &CBatchDlg::Start);
  connect(cancel_, &QPushButton::clicked, this, &CBatchDlg::Cancel);
  connect(close_, &QPushButton::clicked, this, &CBatchDlg::reject);
  return area;
}

bool CBatchDlg::Running() const { return runner_->Running(); }

double CBatchDlg::Seconds() const { return clock_.elapsed() / 1000.0; }

void CBatchDlg::ChooseInput() {
  const QString path = desktop_.AskInputFile(this, Ui(UiText::BatchInputFilter));
  if (!path.isEmpty()) LoadInput(path);
}

void CBatchDlg::LoadInput(const QString& path) {
  ClearLastRun();
  inputName_->setText(QDir::toNativeSeparators(path));
  encoding_->setCurrentIndex(0);
  form_.Load(ToLocalPath(path));
  // The folder and the sheet file it chose beside the spreadsheet, unless they were chosen.
  for (auto [edit, value] : {std::pair{folder_, &form_.output.folder}, std::pair{sheetFile_, &form_.output.sheetFile}})
    if (edit->text().trimmed() != FromLocalPath(*value)) {
      const QSignalBlocker quiet(edit);
      edit->setText(FromLocalPath(*value));
    }
  ShowInput();
}

void CBatchDlg::ChooseSheetFile() {
  const QString file = desktop_.AskSheetFile(this, sheetFile_->text(), Ui(UiText::BatchSheetFilter));
  if (!file.isEmpty()) sheetFile_->setText(file);
}

void CBatchDlg::ChooseFolder() {
  const QString folder = desktop_.AskOutputFolder(this, folder_->text());
  if (!folder.isEmpty()) folder_->setText(folder);
}

void CBatchDlg::ChooseEncoding(int index) {
  if (form_.InputPath().empty()) return;
  form_.ChooseEncoding(index <= 0 ? std::nullopt : std::optional(BatchForm::ForcedEncodings[index - 1]));
  ShowInput();
}

void CBatchDlg::ShowInput() {
  if (const std::optional<BatchTable>& table = form_.Table()) {
    rowCount_->setStyleSheet(QString());
    rowCount_->setText(Ui(UiText::BatchRowCount).arg(table->rows).arg(table->firstRows.size()));
    encoding_->setItemText(0, Ui(UiText::BatchEncodingDetected).arg(FromUtf8(TextEncodingName(table->encoding))));
  } else {
    rowCount_->setText(BatchProblemText(form_.InputProblem()));
    rowCount_->setStyleSheet(QStringLiteral("color: red"));
  }
  ShowTable();
  Refresh();
}

void CBatchDlg::ShowTable() {
  preview_->clear();
  const std::optional<BatchTable>& table = form_.Table();
  if (!table) {
    preview_->setRowCount(0);
    preview_->setColumnCount(0);
    return;
  }
  QStringList headers;
  for (const std::string& header : table->header) headers << QString::fromStdString(header);
  preview_->setColumnCount(static_cast<int>(headers.size()));
  preview_->setHorizontalHeaderLabels(headers);
  preview_->setRowCount(static_cast<int>(table->firstRows.size()) + 1);
  QStringList rowNames{Ui(UiText::BatchFeedsRow)};
  const QString undecodable = Ui(UiText::BatchUndecodable).arg(FromUtf8(TextEncodingName(table->encoding)));
  for (int r = 0; r < static_cast<int>(table->firstRows.size()); ++r) {
    rowNames << QString::number(r + 1);
    const auto& cells = table->firstRows[static_cast<size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()) && c < preview_->columnCount(); ++c) {
      const auto& cell = cells[static_cast<size_t>(c)];
      auto* item = new QTableWidgetItem(cell ? QString::fromStdString(*cell) : undecodable);
      if (!cell) item->setForeground(Problem);
      preview_->setItem(r + 1, c, item);
    }
  }
  preview_->setVerticalHeaderLabels(rowNames);
}

void CBatchDlg::Refresh() {
  const BatchFormCheck check = form_.Check();
  const bool sheet = form_.output.ToSheet();
  const QString outputProblem = BatchFormText(check.output, sheet);
  const QString sheetHint =
      Ui(UiText::BatchModuleActual).arg(BatchOutputForm::SheetDpi).arg(form_.output.ActualModuleMm(), 0, 'f', 2);
  const QString folderHint = Ui(UiText::BatchNameHint).arg(KnownExtensionList());
  // Both notes always say something, so that choosing the other output does not move what lies below.
  const bool bad = static_cast<bool>(check.output);
  ShowNote(nameNote_, sheet || !bad ? folderHint : outputProblem, !sheet && bad);
  ShowNote(moduleNote_, !sheet || !bad ? sheetHint : outputProblem, sheet && bad);

  ShowFeeds(check.feeds);
  const QString fields = BatchPageFieldsText(form_.Page());
  columnsNote_->setText(!check.columns ? fields
                                       : QStringLiteral("<span style='color:red'>%1</span><br>%2")
                                             .arg(BatchFormText(check.columns, sheet).toHtmlEscaped(), fields.toHtmlEscaped()));
  FitPreviewColumns();
  start_->setEnabled(!Running() && !check.start);
}

void CBatchDlg::ShowFeeds(const BatchPlanCheck& feeds) {
  for (int c = 0; c < static_cast<int>(feeds.columns.size()) && c < preview_->columnCount(); ++c) {
    const ColumnFeed& feed = feeds.columns[static_cast<size_t>(c)];
    auto* item = new QTableWidgetItem(ColumnFeedText(feed, form_.Page(), form_.output.ToSheet()));
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    if (feed.role == ColumnRole::Nothing) item->setForeground(Problem);
    preview_->setItem(0, c, item);
  }
}

void CBatchDlg::ShowNote(QLabel* note, const QString& text, bool problem) {
  note->setText(text);
  note->setStyleSheet(problem ? QStringLiteral("color: red") : QString());
}

void CBatchDlg::FitPreviewColumns() {
  // As wide as the contents, but one long cell must not push the other
  // columns (and its own centred header) out of sight.
  preview_->resizeColumnsToContents();
  const int widest = preview_->viewport()->width() / 2;
  for (int c = 0; c < preview_->columnCount(); ++c)
    preview_->setColumnWidth(c, std::min(preview_->columnWidth(c), std::max(widest, MinPreviewColumnWidth)));
}

void CBatchDlg::ClearLastRun() {
  failures_->clear();
  summary_->clear();
  progressText_->clear();
  progressBar_->setValue(0);
  copyFailures_->setEnabled(false);
  openFolder_->setEnabled(false);
}

void CBatchDlg::Start() {
  if (!start_->isEnabled()) return;
  ClearLastRun();
  form_.RunStarted(Seconds());
  progressBar_->setRange(0, static_cast<int>(form_.RunFigures({}, Seconds()).barMaximum));
  progressBar_->setValue(0);
  progressText_->setText(Ui(UiText::BatchStarting));
  SetRunning(true);
  runner_->Start(form_.Job());
  start_->setEnabled(false);
  progressTimer_.start();
}

void CBatchDlg::Cancel() {
  if (!Running()) return;
  runner_->Cancel();
  cancel_->setEnabled(false);
  progressText_->setText(Ui(UiText::BatchCancelling));
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

void CBatchDlg::AddFailures(std::vector<BatchRowResult> rows) {
  for (const BatchRowResult& row : rows) {
    const QString reason = BatchReasonText(row);
    auto* item = new QListWidgetItem(row.fileName.empty()
                                         ? Ui(UiText::BatchFailedRow).arg(row.row).arg(reason)
                                         : Ui(UiText::BatchFailedRowFile).arg(row.row).arg(FromUtf8(row.fileName), reason));
    failures_->addItem(item);
  }
  copyFailures_->setEnabled(failures_->count() > 0);
}

void CBatchDlg::ShowProgress() {
  std::vector<BatchRowResult> failed;
  const BatchProgress progress = runner_->Progress(&failed);
  AddFailures(std::move(failed));
  const BatchRunFigures run = form_.RunFigures(progress, Seconds());
  progressBar_->setRange(0, static_cast<int>(run.barMaximum));
  progressBar_->setValue(static_cast<int>(run.barValue));
  if (!cancel_->isEnabled()) return;  // keeps saying that it is cancelling
  if (run.done == 0) return;
  const QString rate = QString::number(run.rowsPerSecond);
  progressText_->setText(run.total > 0
                             ? Ui(UiText::BatchProgress).arg(run.done).arg(run.total).arg(rate, DurationText(run.secondsLeft))
                             : Ui(UiText::BatchProgressUnknownTotal).arg(run.done).arg(rate));
}

void CBatchDlg::OnFinished(const BatchSummary& summary) {
  progressTimer_.stop();
  ShowProgress();
  SetRunning(false);
  if (summary.written > 0) emit RunFinished(folder_->text());
  QString counts = Ui(UiText::BatchSummary).arg(summary.written).arg(summary.failed);
  if (summary.pages > 0) counts += Ui(UiText::BatchSheetPages).arg(summary.pages);
  const QString problem = BatchProblemText(summary.problem);
  switch (summary.outcome) {
    case BatchOutcome::Finished: summary_->setText(counts); break;
    case BatchOutcome::Cancelled: summary_->setText(Ui(UiText::BatchCancelled) + counts); break;
    case BatchOutcome::BadInput: summary_->setText(Ui(UiText::BatchNotStarted).arg(problem)); break;
    case BatchOutcome::OutputUnusable:
      summary_->setText(Ui(UiText::BatchOutputUnusable).arg(problem) + QLatin1Char('\n') + counts);
      break;
  }
  progressText_->clear();
  if (summary.outcome == BatchOutcome::Finished) progressBar_->setValue(progressBar_->maximum());
  openFolder_->setEnabled(QFileInfo(FromLocalPath(form_.OutputFolder())).isDir());
  Refresh();
}

void CBatchDlg::SetRunning(bool running) {
  // The settings stay readable while the batch runs on them.
  inputGroup_->setEnabled(!running);
  outputGroup_->setEnabled(!running);
  close_->setEnabled(!running);
  cancel_->setEnabled(running);
}

void CBatchDlg::OpenFolder() { desktop_.OpenFolder(FromLocalPath(form_.OutputFolder())); }

void CBatchDlg::CopyFailures() {
  QStringList lines;
  const auto selected = failures_->selectedItems();
  for (int i = 0; i < failures_->count(); ++i)
    if (selected.isEmpty() || failures_->item(i)->isSelected()) lines << failures_->item(i)->text();
  if (!lines.isEmpty()) QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

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
