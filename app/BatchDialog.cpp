#include "app/BatchDialog.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
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
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "app/BatchDesktop.h"
#include "app/BatchReasons.h"
#include "app/BatchRunner.h"
#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "batch/BatchProgress.h"
#include "content/Catalogue.h"
#include "datamatrix/DmEncoder.h"
#include "gui/TextBytes.h"
#include "image/LabelSheet.h"
#include "image/PhysicalSize.h"
#include "qr/QrStandard.h"
#include "res/BatchStrings.h"
#include "res/DialogLayouts.h"
#include "res/Strings.h"

namespace {

constexpr int PreviewRows = 20;
constexpr int MinPreviewColumnWidth = 160;
constexpr int ProgressIntervalMs = 100;
// Labels are laid out at a printer's resolution: the module size in whole
// pixels at 300 dpi is within a twelfth of a millimetre of the request.
constexpr int SheetDpi = PreviewPrintDpi;
constexpr double DefaultModuleMm = 0.5;
constexpr int DefaultGridColumns = 3;
constexpr int DefaultGridRows = 8;
constexpr int MostGridCells = 50;
const QColor Problem(Qt::red);

// Encoding choices after "自动检测", in this order.
constexpr TextEncoding ForcedEncodings[] = {TextEncoding::Utf8, TextEncoding::Gb18030};

QString Ui(std::string_view utf8) { return FromUtf8(utf8); }

// A field by its tag and its caption as a spreadsheet would name it: "N (姓名)".
QString FieldName(int slot, const PageSpec* page) {
  const QString tag = FromUtf8(FieldTags[static_cast<size_t>(slot)]);
  if (page)
    for (const FieldSpec& field : page->fields)
      if (field.slot == slot && !field.caption.empty()) return Ui(UiText::BatchFeedsField).arg(tag, FromUtf8(BareCaption(field.caption)));
  return tag;
}

QString PageFields(const BatchPage& page) {
  if (page.symbology == Symbology::DataMatrix) return Ui(UiText::BatchDmFields);
  QStringList names;
  if (const PageSpec* shown = PageForTab(page.operatorFormat, page.tab))
    for (const FieldSpec& field : shown->fields) names << FieldName(field.slot, shown);
  return Ui(UiText::BatchPageFields).arg(names.join(Ui(UiText::BatchFieldSeparator)));
}

QString PageDescription(const BatchPage& page) {
  if (page.symbology == Symbology::DataMatrix) {
    const int side = DmSizeAttribute(page.dmSize, SymbolRows);
    return Ui(UiText::BatchDmPage).arg(side);
  }
  const OperatorFormatSpec* format = FindOperatorFormat(page.operatorFormat);
  const TabSpec* tab = FindTab(page.operatorFormat, page.tab);
  const QString version = page.version == 0 ? Ui(UiText::BatchQrAutomaticVersion)
                                            : Ui(UiText::BatchQrSmallestVersion).arg(page.version);
  return Ui(UiText::BatchQrPage)
      .arg(format ? FromUtf8(format->caption) : QString(), tab ? FromUtf8(tab->caption).trimmed() : QString(),
           QString(QLatin1Char(QrLevelLetter(page.level))), version);
}

// The page's style after its settings, when it has one: every row is drawn and read back in it.
QString StyleDescription(const SymbolStyle& style) {
  if (style.IsPlain()) return {};
  const QString background = style.transparentBackground ? Ui(UiText::StyleTransparent)
                                                         : QString::fromStdString(FormatColour(style.background));
  return Ui(UiText::BatchStyle).arg(QString::fromStdString(FormatColour(style.foreground)), background) +
         (style.logo ? Ui(UiText::BatchStyleLogo) : QString());
}

QString FeedText(const ColumnFeed& feed, const BatchPage& page, bool sheet) {
  switch (feed.role) {
    case ColumnRole::Field:
      return FieldName(feed.slot, page.symbology == Symbology::QrCode ? PageForTab(page.operatorFormat, page.tab) : nullptr);
    case ColumnRole::Text: return Ui(UiText::BatchFeedsText);
    case ColumnRole::NameOnly: return Ui(sheet ? UiText::BatchFeedsCaption : UiText::BatchFeedsName);
    case ColumnRole::Unnamed: return Ui(UiText::BatchFeedsNothingUnnamed);
    case ColumnRole::Nothing: break;
  }
  return Ui(UiText::BatchFeedsNothing);
}

QString Duration(double seconds) {
  const long whole = std::lround(std::max(seconds, 0.0));
  if (whole < 60) return Ui(UiText::BatchSeconds).arg(whole);
  return Ui(UiText::BatchMinutes).arg(whole / 60).arg(whole % 60);
}

// The first column a template names that the table does not have.
std::optional<QString> MissingColumn(const NameTemplate& names, const std::optional<BatchTable>& table) {
  if (!table) return std::nullopt;
  for (const std::string& column : names.Columns())
    if (std::none_of(table->header.begin(), table->header.end(), [&](const std::string& header) {
          return QString::fromStdString(header).trimmed() == QString::fromStdString(column);
        }))
      return QString::fromStdString(column);
  return std::nullopt;
}


QPushButton* Button(std::string_view caption, QWidget* parent) {
  auto* button = new QPushButton(Ui(caption), parent);
  button->setAutoDefault(false);
  return button;
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
  button = Button(browse, parent);
  row->addWidget(edit, 1);
  row->addWidget(button);
  return row;
}

}  // namespace

CBatchDlg::CBatchDlg(QWidget* parent, const BatchPage& page, BatchDesktop& desktop)
    : QDialog(parent), page_(page), desktop_(desktop), runner_(new BatchRunner(this)) {
  setWindowTitle(Ui(UiText::BatchTitle));
  auto* layout = new QVBoxLayout(this);
  pageText_ = new QLabel(PageDescription(page_) + StyleDescription(page_.image.style), this);
  layout->addWidget(pageText_);
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
  CheckColumns();
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
  chooseInput_ = Button(UiText::BatchChooseInput, group);
  fileRow->addWidget(inputName_, 1);
  fileRow->addWidget(chooseInput_);
  layout->addLayout(fileRow);

  auto* encodingRow = new QHBoxLayout;
  auto* encodingLabel = new QLabel(Ui(UiText::BatchEncoding), group);
  encoding_ = new QComboBox(group);
  // Wide enough for the encoding it detects, which it learns only later.
  encoding_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  encoding_->addItem(Ui(UiText::BatchEncodingAutomatic));
  for (TextEncoding choice : ForcedEncodings) encoding_->addItem(FromUtf8(TextEncodingName(choice)));
  encodingLabel->setBuddy(encoding_);
  rowCount_ = new QLabel(group);
  encodingRow->addWidget(encodingLabel);
  encodingRow->addWidget(encoding_);
  encodingRow->addWidget(rowCount_, 1);
  layout->addLayout(encodingRow);

  preview_ = new QTableWidget(group);
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(preview_, 1);
  columnsNote_ = new QLabel(group);
  columnsNote_->setWordWrap(true);
  layout->addWidget(columnsNote_);

  connect(chooseInput_, &QPushButton::clicked, this, &CBatchDlg::ChooseInput);
  connect(encoding_, &QComboBox::activated, this, &CBatchDlg::ReloadInput);
  return group;
}

QWidget* CBatchDlg::BuildOutputGroup() {
  auto* group = new QGroupBox(Ui(UiText::BatchOutputGroup), this);
  outputGroup_ = group;
  auto* layout = new QVBoxLayout(group);
  auto* choices = new QHBoxLayout;
  toFolder_ = new QRadioButton(Ui(UiText::BatchToFolder), group);
  toSheet_ = new QRadioButton(Ui(UiText::BatchToSheet), group);
  toFolder_->setChecked(true);
  choices->addWidget(toFolder_);
  choices->addWidget(toSheet_);
  choices->addStretch(1);
  layout->addLayout(choices);
  layout->addWidget(BuildFolderPart(group));
  layout->addWidget(BuildSheetPart(group));
  sheetPart_->setEnabled(false);

  if (page_.symbology == Symbology::DataMatrix) layout->addLayout(BuildSchemeRow(group));
  verify_ = new QCheckBox(Ui(UiText::BatchVerify), group);
  verify_->setChecked(true);
  verify_->setToolTip(Ui(UiText::BatchVerifyTip));
  layout->addWidget(verify_);

  connect(toSheet_, &QRadioButton::toggled, this, [this](bool sheet) {
    folderPart_->setEnabled(!sheet);
    sheetPart_->setEnabled(sheet);
    CheckColumns();
  });
  return group;
}

QLayout* CBatchDlg::BuildSchemeRow(QWidget* parent) {
  auto* row = new QHBoxLayout;
  scheme_ = new QComboBox(parent);
  for (const DmSchemeName& scheme : DmSchemeNames) scheme_->addItem(FromUtf8(scheme.name), scheme.scheme);
  // The page's own scheme first: a batch makes the symbols the page shows.
  scheme_->setCurrentIndex(scheme_->findData(page_.dmScheme));
  scheme_->setToolTip(Ui(UiText::BatchSchemeTip));
  row->addWidget(BuddyLabel(UiText::BatchScheme, scheme_, parent));
  row->addWidget(scheme_);
  row->addStretch(1);
  return row;
}

QWidget* CBatchDlg::BuildFolderPart(QWidget* parent) {
  folderPart_ = new QWidget(parent);
  auto* form = new QFormLayout(folderPart_);
  form->setContentsMargins(0, 0, 0, 0);
  QHBoxLayout* folderRow = PathRow(UiText::BatchChooseFolder, folderPart_, folder_, chooseFolder_);
  form->addRow(BuddyLabel(UiText::BatchFolder, folder_, folderPart_), folderRow);
  name_ = new QLineEdit(FromUtf8(NameTemplate::Default), folderPart_);
  form->addRow(BuddyLabel(UiText::BatchNameTemplate, name_, folderPart_), name_);
  nameNote_ = new QLabel(folderPart_);
  nameNote_->setWordWrap(true);
  form->addRow(QString(), nameNote_);
  connect(chooseFolder_, &QPushButton::clicked, this, &CBatchDlg::ChooseFolder);
  connect(folder_, &QLineEdit::textChanged, this, &CBatchDlg::UpdateStart);
  connect(name_, &QLineEdit::textChanged, this, &CBatchDlg::CheckColumns);
  return folderPart_;
}

QWidget* CBatchDlg::BuildSheetPart(QWidget* parent) {
  sheetPart_ = new QWidget(parent);
  auto* form = new QFormLayout(sheetPart_);
  form->setContentsMargins(0, 0, 0, 0);
  QHBoxLayout* fileRow = PathRow(UiText::BatchChooseSheetFile, sheetPart_, sheetFile_, chooseSheet_);
  form->addRow(BuddyLabel(UiText::BatchSheetFile, sheetFile_, sheetPart_), fileRow);

  auto* gridRow = new QHBoxLayout;
  paper_ = new QComboBox(sheetPart_);
  for (const PaperSize& paper : PaperSizes) paper_->addItem(FromUtf8(paper.name));
  gridColumns_ = new QSpinBox(sheetPart_);
  gridColumns_->setRange(1, MostGridCells);
  gridColumns_->setValue(DefaultGridColumns);
  gridColumns_->setSuffix(Ui(UiText::BatchGridColumns));
  gridRows_ = new QSpinBox(sheetPart_);
  gridRows_->setRange(1, MostGridCells);
  gridRows_->setValue(DefaultGridRows);
  gridRows_->setSuffix(Ui(UiText::BatchGridRows));
  moduleMm_ = new QDoubleSpinBox(sheetPart_);
  moduleMm_->setDecimals(2);
  moduleMm_->setSingleStep(0.05);
  // From one pixel to the most pixels per module at the sheet's resolution.
  moduleMm_->setRange(MinScale * MillimetresPerInch / SheetDpi, MaxScale * MillimetresPerInch / SheetDpi);
  moduleMm_->setValue(DefaultModuleMm);
  moduleMm_->setSuffix(Ui(UiText::BatchModuleUnit));
  gridRow->addWidget(paper_);
  gridRow->addWidget(BuddyLabel(UiText::BatchGrid, gridColumns_, sheetPart_));
  gridRow->addWidget(gridColumns_);
  gridRow->addWidget(gridRows_);
  gridRow->addWidget(BuddyLabel(UiText::BatchModuleSize, moduleMm_, sheetPart_));
  gridRow->addWidget(moduleMm_);
  gridRow->addStretch(1);
  form->addRow(BuddyLabel(UiText::BatchPaper, paper_, sheetPart_), gridRow);
  caption_ = new QLineEdit(QStringLiteral("{row}"), sheetPart_);
  form->addRow(BuddyLabel(UiText::BatchCaption, caption_, sheetPart_), caption_);
  moduleNote_ = new QLabel(sheetPart_);
  moduleNote_->setWordWrap(true);
  form->addRow(QString(), moduleNote_);

  connect(chooseSheet_, &QPushButton::clicked, this, &CBatchDlg::ChooseSheetFile);
  connect(sheetFile_, &QLineEdit::textChanged, this, &CBatchDlg::CheckColumns);
  connect(caption_, &QLineEdit::textChanged, this, &CBatchDlg::CheckColumns);
  connect(moduleMm_, &QDoubleSpinBox::valueChanged, this, &CBatchDlg::CheckColumns);
  connect(gridColumns_, &QSpinBox::valueChanged, this, &CBatchDlg::CheckColumns);
  connect(gridRows_, &QSpinBox::valueChanged, this, &CBatchDlg::CheckColumns);
  connect(paper_, &QComboBox::currentIndexChanged, this, &CBatchDlg::CheckColumns);
  return sheetPart_;
}

bool CBatchDlg::ToSheet() const { return toSheet_->isChecked(); }

ImageOptions CBatchDlg::SheetSymbol() const {
  ImageOptions symbol;
  symbol.dpi = SheetDpi;
  symbol.scale = ScaleForModuleMillimetres(moduleMm_->value(), SheetDpi).scale;
  return symbol;
}

QWidget* CBatchDlg::BuildRunArea() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  progressBar_ = new QProgressBar(area);
  progressBar_->setRange(0, 1);
  progressBar_->setValue(0);
  progressText_ = new QLabel(area);
  summary_ = new QLabel(area);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summary_->setWordWrap(true);
  failures_ = new QListWidget(area);
  failures_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  failures_->setMaximumHeight(140);
  auto* copy = new QShortcut(QKeySequence::Copy, failures_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(copy, &QShortcut::activated, this, &CBatchDlg::CopyFailures);
  layout->addWidget(progressBar_);
  layout->addWidget(progressText_);
  layout->addWidget(summary_);
  layout->addWidget(failures_);

  auto* buttons = new QHBoxLayout;
  copyFailures_ = Button(UiText::BatchCopyFailures, area);
  openFolder_ = Button(UiText::BatchOpenFolder, area);
  start_ = Button(UiText::BatchStart, area);
  cancel_ = Button(UiText::BatchCancel, area);
  close_ = Button(UiText::BatchClose, area);
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

void CBatchDlg::ChooseInput() {
  const QString path = desktop_.AskInputFile(this, Ui(UiText::BatchInputFilter));
  if (!path.isEmpty()) LoadInput(path);
}

void CBatchDlg::LoadInput(const QString& path) {
  inputPath_ = path;
  ClearLastRun();
  inputName_->setText(QDir::toNativeSeparators(path));
  encoding_->setCurrentIndex(0);
  // A folder beside the spreadsheet, named after it, unless one was chosen.
  const QFileInfo info(path);
  if (folder_->text().isEmpty()) folder_->setText(info.dir().filePath(info.completeBaseName()));
  if (sheetFile_->text().isEmpty()) sheetFile_->setText(info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf")));
  ReloadInput();
}

void CBatchDlg::ChooseSheetFile() {
  const QString file = desktop_.AskSheetFile(this, sheetFile_->text(), Ui(UiText::BatchSheetFilter));
  if (!file.isEmpty()) sheetFile_->setText(file);
}

void CBatchDlg::ChooseFolder() {
  const QString folder = desktop_.AskOutputFolder(this, folder_->text());
  if (!folder.isEmpty()) folder_->setText(folder);
}

std::optional<TextEncoding> CBatchDlg::ChosenEncoding() const {
  const int index = encoding_->currentIndex();
  if (index <= 0) return std::nullopt;
  return ForcedEncodings[index - 1];
}

void CBatchDlg::ReloadInput() {
  if (inputPath_.isEmpty()) return;
  BatchProblem problem;
  table_ = ReadBatchTable(ToLocalPath(inputPath_), ChosenEncoding(), PreviewRows, &problem);
  if (!table_) {
    rowCount_->setText(BatchProblemText(problem));
    rowCount_->setStyleSheet(QStringLiteral("color: red"));
  } else {
    rowCount_->setStyleSheet(QString());
    rowCount_->setText(Ui(UiText::BatchRowCount).arg(table_->rows).arg(table_->firstRows.size()));
    encoding_->setItemText(0, Ui(UiText::BatchEncodingDetected).arg(FromUtf8(TextEncodingName(table_->encoding))));
  }
  ShowTable();
  CheckColumns();
}

void CBatchDlg::ShowTable() {
  preview_->clear();
  if (!table_) {
    preview_->setRowCount(0);
    preview_->setColumnCount(0);
    return;
  }
  QStringList headers;
  for (const std::string& header : table_->header) headers << QString::fromStdString(header);
  preview_->setColumnCount(static_cast<int>(headers.size()));
  preview_->setHorizontalHeaderLabels(headers);
  preview_->setRowCount(static_cast<int>(table_->firstRows.size()) + 1);
  QStringList rowNames{Ui(UiText::BatchFeedsRow)};
  const QString undecodable = Ui(UiText::BatchUndecodable).arg(FromUtf8(TextEncodingName(table_->encoding)));
  for (int r = 0; r < static_cast<int>(table_->firstRows.size()); ++r) {
    rowNames << QString::number(r + 1);
    const auto& cells = table_->firstRows[static_cast<size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()) && c < preview_->columnCount(); ++c) {
      const auto& cell = cells[static_cast<size_t>(c)];
      auto* item = new QTableWidgetItem(cell ? QString::fromStdString(*cell) : undecodable);
      if (!cell) item->setForeground(Problem);
      preview_->setItem(r + 1, c, item);
    }
  }
  preview_->setVerticalHeaderLabels(rowNames);
}

void CBatchDlg::CheckColumns() {
  std::optional<NameTemplate> names;
  const std::optional<QString> outputProblem = OutputProblemText(names);
  nameReady_ = !outputProblem;
  const ImageOptions symbol = SheetSymbol();
  const QString sheetHint = Ui(UiText::BatchModuleActual)
                                .arg(SheetDpi)
                                .arg(symbol.scale * MillimetresPerInch / SheetDpi, 0, 'f', 2);
  const QString folderHint = Ui(UiText::BatchNameHint).arg(KnownExtensionList());
  // Both notes always say something, so that choosing the other output does not move what lies below.
  ShowNote(nameNote_, ToSheet() || nameReady_ ? folderHint : *outputProblem, !ToSheet() && !nameReady_);
  ShowNote(moduleNote_, !ToSheet() || nameReady_ ? sheetHint : *outputProblem, ToSheet() && !nameReady_);

  std::optional<QString> problem;
  columnsReady_ = false;
  if (table_) {
    const BatchPlanCheck check = CheckBatchColumns(table_->header, page_, names ? *names : NameTemplate{});
    for (int c = 0; c < static_cast<int>(check.columns.size()) && c < preview_->columnCount(); ++c) {
      const ColumnFeed& feed = check.columns[static_cast<size_t>(c)];
      auto* item = new QTableWidgetItem(FeedText(feed, page_, ToSheet()));
      QFont bold = item->font();
      bold.setBold(true);
      item->setFont(bold);
      if (feed.role == ColumnRole::Nothing) item->setForeground(Problem);
      preview_->setItem(0, c, item);
    }
    if (check.Unused() > 0) {
      problem = Ui(UiText::BatchColumnsUnused).arg(check.Unused());
    } else if (check.Refused() && nameReady_) {
      problem = Ui(UiText::BatchHeaderRefused).arg(HeaderRefusalText(check.refusal));
    }
    columnsReady_ = check.Unused() == 0 && !check.Refused();
  }
  const QString fields = PageFields(page_);
  columnsNote_->setText(!problem ? fields
                                  : QStringLiteral("<span style='color:red'>%1</span><br>%2")
                                        .arg(problem->toHtmlEscaped(), fields.toHtmlEscaped()));
  if (ToSheet() && nameReady_ && columnsReady_)
    if (const std::optional<QString> tooLarge = LabelProblem()) {
      nameReady_ = false;
      ShowNote(moduleNote_, *tooLarge, true);
    }
  FitPreviewColumns();
  UpdateStart();
}

std::optional<QString> CBatchDlg::LabelProblem() const {
  // The first rows as the run would read them, without verifying: only the label's size matters.
  BatchJob job = MakeJob();
  job.encoding = table_->encoding;
  job.verify = false;
  const BatchProblem problem = CheckBatch(job);
  if (problem.stop != BatchStop::LabelTooLarge) return std::nullopt;
  return BatchProblemText(problem);
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

std::optional<QString> CBatchDlg::OutputProblemText(std::optional<NameTemplate>& names) const {
  if (const OutputProblem problem = CheckBatchOutput(Settings(), &names)) return OutputRuleText(problem.rule);
  if (const std::optional<QString> missing = MissingColumn(*names, table_))
    return Ui(ToSheet() ? UiText::BatchCaptionUnknownColumn : UiText::BatchNameUnknownColumn).arg(*missing);
  return std::nullopt;
}

void CBatchDlg::UpdateStart() {
  const QLineEdit* target = ToSheet() ? sheetFile_ : folder_;
  start_->setEnabled(!Running() && table_ && columnsReady_ && nameReady_ && !target->text().trimmed().isEmpty());
}

BatchJob CBatchDlg::MakeJob() const {
  BatchJob job;
  static_cast<BatchSettings&>(job) = Settings();
  job.inputPath = ToLocalPath(inputPath_);
  job.encoding = ChosenEncoding();
  return job;
}

BatchSettings CBatchDlg::Settings() const {
  BatchSettings settings = page_;
  settings.verify = verify_->isChecked();
  if (scheme_ != nullptr) settings.dmScheme = scheme_->currentData().toInt();
  if (ToSheet()) {
    const PaperSize& paper = PaperSizes[static_cast<size_t>(std::max(paper_->currentIndex(), 0))];
    settings.labels = LabelSheetJob{{paper, gridColumns_->value(), gridRows_->value(), SheetSymbol()},
                               caption_->text().toStdString(), ToLocalPath(sheetFile_->text().trimmed())};
  } else {
    settings.outputDir = ToLocalPath(folder_->text().trimmed());
    settings.nameTemplate = name_->text().toStdString();
  }
  return settings;
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
  expectedRows_ = table_ ? table_->rows : 0;
  progressBar_->setRange(0, static_cast<int>(std::max(expectedRows_, 1L)));
  progressBar_->setValue(0);
  progressText_->setText(Ui(UiText::BatchStarting));
  SetRunning(true);
  elapsed_.start();
  runner_->Start(MakeJob());
  UpdateStart();
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
  BatchProgress known = progress;
  if (known.total < 0) known.total = expectedRows_;
  const long total = known.total;
  const BatchPace pace = PaceOf(known, std::max(elapsed_.elapsed() / 1000.0, 0.001));
  progressBar_->setRange(0, static_cast<int>(std::max(total, 1L)));
  progressBar_->setValue(static_cast<int>(std::min(progress.done, std::max(total, 1L))));
  if (!cancel_->isEnabled()) return;  // keeps saying that it is cancelling
  if (progress.done == 0) return;
  const QString rateText = QString::number(std::lround(pace.rowsPerSecond));
  progressText_->setText(total > 0 ? Ui(UiText::BatchProgress)
                                         .arg(progress.done)
                                         .arg(total)
                                         .arg(rateText, Duration(pace.secondsLeft))
                                   : Ui(UiText::BatchProgressUnknownTotal).arg(progress.done).arg(rateText));
}

void CBatchDlg::OnFinished(const BatchSummary& summary) {
  progressTimer_.stop();
  ShowProgress();
  SetRunning(false);
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
  openFolder_->setEnabled(QFileInfo(OutputFolder()).isDir());
  UpdateStart();
}

void CBatchDlg::SetRunning(bool running) {
  // The settings stay readable while the batch runs on them.
  inputGroup_->setEnabled(!running);
  outputGroup_->setEnabled(!running);
  close_->setEnabled(!running);
  cancel_->setEnabled(running);
}

QString CBatchDlg::OutputFolder() const {
  const QFileInfo target(ToSheet() ? sheetFile_->text().trimmed() : folder_->text().trimmed());
  return ToSheet() ? target.absolutePath() : target.absoluteFilePath();
}

void CBatchDlg::OpenFolder() { desktop_.OpenFolder(OutputFolder()); }

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
  page.operatorFormat = choice.operatorFormat;
  page.tab = choice.tab;
  page.image.scale = choice.scale;
  page.image.style = choice.style.style;
  return page;
}
