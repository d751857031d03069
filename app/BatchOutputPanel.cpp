#include "app/BatchOutputPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/BatchControls.h"
#include "app/BatchDesktop.h"
#include "app/BatchReasons.h"
#include "datamatrix/DmEncoder.h"
#include "gui/TextBytes.h"
#include "image/LabelSheet.h"
#include "res/BatchStrings.h"

namespace quillet {

namespace {

QFormLayout* PartForm(QWidget* part) {
  auto* form = new QFormLayout(part);
  form->setContentsMargins(0, 0, 0, 0);
  return form;
}

QLabel* NoteRow(QWidget* part, QFormLayout* form) {
  auto* note = new QLabel(part);
  note->setWordWrap(true);
  form->addRow(QString(), note);
  return note;
}

// A note under an output, in red when it tells a problem.
void ShowNote(QLabel* note, const QString& text, bool problem) {
  note->setText(text);
  note->setStyleSheet(problem ? QStringLiteral("color: red") : QString());
}

}  // namespace

BatchOutputPanel::BatchOutputPanel(BatchForm& form, BatchDesktop& desktop, QWidget* parent)
    : QGroupBox(Ui(UiText::BatchOutputGroup), parent), form_(form), desktop_(desktop) {
  auto* layout = new QVBoxLayout(this);
  auto* choices = new QHBoxLayout;
  auto* toFolder = new QRadioButton(Ui(UiText::BatchToFolder), this);
  auto* toSheet = Named(new QRadioButton(Ui(UiText::BatchToSheet), this), "toSheet");
  toFolder->setChecked(true);
  choices->addWidget(toFolder);
  choices->addWidget(toSheet);
  choices->addStretch(1);
  layout->addLayout(choices);
  QWidget* folderPart = BuildFolderPart();
  QWidget* sheetPart = BuildSheetPart();
  layout->addWidget(folderPart);
  layout->addWidget(sheetPart);
  sheetPart->setEnabled(false);

  if (form_.Page().symbology == Symbology::DataMatrix) layout->addLayout(BuildSchemeRow());
  auto* verify = Named(new QCheckBox(Ui(UiText::BatchVerify), this), "verify");
  verify->setChecked(form_.output.verify);
  verify->setToolTip(Ui(UiText::BatchVerifyTip));
  layout->addWidget(verify);

  connect(verify, &QCheckBox::toggled, this, [this](bool on) { form_.output.verify = on; });
  connect(toSheet, &QRadioButton::toggled, this, [this, folderPart, sheetPart](bool sheet) {
    form_.output.to = sheet ? BatchOutput::Sheet : BatchOutput::Folder;
    folderPart->setEnabled(!sheet);
    sheetPart->setEnabled(sheet);
    emit Changed();
  });
}

QLayout* BatchOutputPanel::BuildSchemeRow() {
  auto* row = new QHBoxLayout;
  auto* scheme = Named(new QComboBox(this), "scheme");
  for (const DmSchemeName& name : DmSchemeNames) scheme->addItem(FromUtf8(name.name), name.scheme);
  // The page's own scheme first: a batch makes the symbols the page shows.
  scheme->setCurrentIndex(scheme->findData(form_.dmScheme));
  scheme->setToolTip(Ui(UiText::BatchSchemeTip));
  row->addWidget(BuddyLabel(UiText::BatchScheme, scheme, this));
  row->addWidget(scheme);
  row->addStretch(1);
  connect(scheme, &QComboBox::currentIndexChanged, this,
          [this, scheme] { form_.dmScheme = scheme->currentData().toInt(); });
  return row;
}

template <class Control, class Signal, class Set>
void BatchOutputPanel::Bind(Control* control, Signal signal, Set set) {
  connect(control, signal, this, [this, set](auto value) {
    set(value);
    emit Changed();
  });
}

QLineEdit* BatchOutputPanel::AddPathRow(QWidget* part, QFormLayout* form, const PathRowText& text, std::string& path,
                                        void (BatchOutputPanel::*choose)()) {
  auto* row = new QHBoxLayout;
  auto* edit = Named(new QLineEdit(part), text.editName);
  QPushButton* browse = BatchButton(text.browse, part, text.buttonName);
  row->addWidget(edit, 1);
  row->addWidget(browse);
  form->addRow(BuddyLabel(text.caption, edit, part), row);
  connect(browse, &QPushButton::clicked, this, choose);
  Bind(edit, &QLineEdit::textChanged, [&path](const QString& typed) { path = ToLocalPath(typed.trimmed()); });
  return edit;
}

QWidget* BatchOutputPanel::BuildFolderPart() {
  auto* part = new QWidget(this);
  QFormLayout* form = PartForm(part);
  folder_ = AddPathRow(part, form, {UiText::BatchFolder, UiText::BatchChooseFolder, "folder", "browse"},
                       form_.output.folder, &BatchOutputPanel::ChooseFolder);
  auto* name = Named(new QLineEdit(FromUtf8(form_.output.nameTemplate), part), "name");
  form->addRow(BuddyLabel(UiText::BatchNameTemplate, name, part), name);
  nameNote_ = NoteRow(part, form);
  Bind(name, &QLineEdit::textChanged, [this](const QString& text) { form_.output.nameTemplate = text.toStdString(); });
  return part;
}

QWidget* BatchOutputPanel::BuildSheetPart() {
  auto* part = new QWidget(this);
  QFormLayout* form = PartForm(part);
  BatchOutputForm& out = form_.output;
  sheetFile_ = AddPathRow(part, form, {UiText::BatchSheetFile, UiText::BatchChooseSheetFile, "sheetFile", "chooseSheet"},
                          out.sheetFile, &BatchOutputPanel::ChooseSheetFile);
  AddGridRow(part, form);
  auto* caption = Named(new QLineEdit(FromUtf8(out.caption), part), "caption");
  form->addRow(BuddyLabel(UiText::BatchCaption, caption, part), caption);
  moduleNote_ = NoteRow(part, form);

  Bind(caption, &QLineEdit::textChanged, [&out](const QString& text) { out.caption = text.toStdString(); });
  return part;
}

void BatchOutputPanel::AddGridRow(QWidget* part, QFormLayout* form) {
  BatchOutputForm& out = form_.output;
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

  Bind(moduleMm, &QDoubleSpinBox::valueChanged, [&out](double mm) { out.moduleMm = mm; });
  Bind(gridColumns, &QSpinBox::valueChanged, [&out](int columns) { out.gridColumns = columns; });
  Bind(gridRows, &QSpinBox::valueChanged, [&out](int rows) { out.gridRows = rows; });
  Bind(paper, &QComboBox::currentIndexChanged, [&out](int index) { out.paper = std::max(index, 0); });
}

void BatchOutputPanel::ShowPaths() {
  for (auto [edit, value] : {std::pair{folder_, &form_.output.folder}, std::pair{sheetFile_, &form_.output.sheetFile}})
    if (edit->text().trimmed() != FromLocalPath(*value)) {
      const QSignalBlocker quiet(edit);
      edit->setText(FromLocalPath(*value));
    }
}

void BatchOutputPanel::ShowNotes(const FormProblem& output) {
  const bool sheet = form_.output.ToSheet();
  const QString outputProblem = BatchFormText(output, sheet);
  const QString sheetHint =
      Ui(UiText::BatchModuleActual).arg(BatchOutputForm::SheetDpi).arg(form_.output.ActualModuleMm(), 0, 'f', 2);
  const QString folderHint = Ui(UiText::BatchNameHint).arg(KnownExtensionList());
  // Both notes always say something, so that choosing the other output does not move what lies below.
  const bool bad = static_cast<bool>(output);
  ShowNote(nameNote_, sheet || !bad ? folderHint : outputProblem, !sheet && bad);
  ShowNote(moduleNote_, !sheet || !bad ? sheetHint : outputProblem, sheet && bad);
}

void BatchOutputPanel::ChooseSheetFile() {
  const QString file = desktop_.AskSheetFile(this, sheetFile_->text(), Ui(UiText::BatchSheetFilter));
  if (!file.isEmpty()) sheetFile_->setText(file);
}

void BatchOutputPanel::ChooseFolder() {
  const QString folder = desktop_.AskOutputFolder(this, folder_->text());
  if (!folder.isEmpty()) folder_->setText(folder);
}

}  // namespace quillet
