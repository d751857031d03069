#include "app/DialogDM.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextCursor>
#include <algorithm>

#include "gui/TextBytes.h"
#include "datamatrix/DmEncoder.h"
#include "res/Strings.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

namespace {

int SideOfSize(int sizeIndex) { return DmSizeAttribute(sizeIndex, SymbolRows); }

}  // namespace

CDialogDM::CDialogDM(QWidget* parent, const DialogUnits& units)
    : CSymbolPage(DmPageLayout, parent, units, Symbology::DataMatrix) {
  auto* sizes = controls_.Get<QComboBox>(ControlId::VersionList);
  for (int i = 0; i < DmSquareSizeCount; ++i) sizes->addItem(FromUtf8(UiText::VersionItem).arg(SideOfSize(i)));
  sizes->setCurrentIndex(0);
  controls_.WidenListsToItems();
  connect(sizes, &QComboBox::activated, this, [this](int index) {
    model_.ChooseSize(index);
    GenerateSymbol();
  });
  connect(TextBox(), &QPlainTextEdit::textChanged, this, &CDialogDM::ReadTextAndGenerate);
  connect(controls_.Get<QPushButton>(ControlId::Reset), &QPushButton::clicked, this, &CDialogDM::RemoveSelection);
  connect(controls_.Get<QCheckBox>(ControlId::Eci), &QCheckBox::toggled, this, [this](bool on) {
    model_.SetEci(on);
    GenerateSymbol();
  });
  // Enter belongs to the text: the field takes Tab only to move focus.
  TextBox()->setTabChangesFocus(true);
  // "重填" leaves the focus on its button; Ctrl+Z there takes the removal back.
  // In the text box Ctrl+Z is the box's own.
  auto* undo = new QShortcut(QKeySequence::Undo, this, TextBox(), &QPlainTextEdit::undo);
  undo->setContext(Qt::WidgetWithChildrenShortcut);
}

PageChoice CDialogDM::Choice() const {
  PageChoice choice;
  choice.symbol = model_.Settings();
  choice.scale = Scale();
  choice.style = Style();
  return choice;
}

LogoRoom CDialogDM::RoomForLogo() const {
  LogoRoom room;
  room.note = FromUtf8(UiText::StyleNoLogoInDm);
  return room;
}

QPlainTextEdit* CDialogDM::TextBox() const { return controls_.Get<QPlainTextEdit>(ControlId::DmText); }

void CDialogDM::showEvent(QShowEvent* event) {
  // The page first encodes when it is first drawn, so the label shows a size.
  CSymbolPage::showEvent(event);
  GenerateSymbol();
}

void CDialogDM::ReadTextAndGenerate() {
  model_.SetText(ToUtf8Bytes(TextBox()->document()->toRawText()));
  GenerateSymbol();
}

void CDialogDM::RemoveSelection() {
  TextBox()->textCursor().removeSelectedText();
  ReadTextAndGenerate();
}

void CDialogDM::RestoreSize(int sizeIndex) {
  model_.ChooseSize(sizeIndex);
  controls_.Get<QComboBox>(ControlId::VersionList)->setCurrentIndex(model_.ChosenSize());
  GenerateSymbol();
}

void CDialogDM::GenerateSymbol() {
  const bool tooLong = model_.TooLong();
  SetVersionLabel(tooLong ? FromUtf8(UiText::ContentTooLong) : FromUtf8(UiText::VersionLabel).arg(SideOfSize(model_.ShownSize())));
  ShowSymbol(model_.Result().symbol, tooLong);
}

void CDialogDM::OpenText(const QString& text) {
  QTextCursor cursor(TextBox()->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(text);
}

QString CDialogDM::FileNameHint() const { return TextBox()->toPlainText(); }

}  // namespace quillet
