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

namespace {

int SideOfSize(int sizeIndex) { return DmSizeAttribute(sizeIndex, SymbolRows); }

constexpr int LargestSquare = DmSquareSizeCount - 1;

}  // namespace

CDialogDM::CDialogDM(QWidget* parent, const DialogUnits& units)
    : CSymbolPage(DmPageLayout, parent, units, Symbology::DataMatrix) {
  auto* sizes = controls_.Get<QComboBox>(ControlId::VersionList);
  for (int i = 0; i < DmSquareSizeCount; ++i) sizes->addItem(FromUtf8(UiText::VersionItem).arg(SideOfSize(i)));
  sizes->setCurrentIndex(0);
  controls_.WidenListsToItems();
  connect(sizes, &QComboBox::activated, this, &CDialogDM::OnSizeSelected);
  connect(TextBox(), &QPlainTextEdit::textChanged, this, &CDialogDM::ReadTextAndGenerate);
  connect(controls_.Get<QPushButton>(ControlId::Reset), &QPushButton::clicked, this, &CDialogDM::RemoveSelection);
  connect(controls_.Get<QCheckBox>(ControlId::Eci), &QCheckBox::toggled, this, &CDialogDM::GenerateSymbol);
  // Enter belongs to the text: the field takes Tab only to move focus.
  TextBox()->setTabChangesFocus(true);
  // "重填" leaves the focus on its button; Ctrl+Z there takes the removal back.
  // In the text box Ctrl+Z is the box's own.
  auto* undo = new QShortcut(QKeySequence::Undo, this, TextBox(), &QPlainTextEdit::undo);
  undo->setContext(Qt::WidgetWithChildrenShortcut);
}

PageChoice CDialogDM::Choice() const {
  PageChoice choice;
  choice.symbol.symbology = Symbology::DataMatrix;
  // The size the user chose is the smallest: a longer text takes a larger one.
  choice.symbol.dmSize = std::clamp(controls_.Get<QComboBox>(ControlId::VersionList)->currentIndex(), 0, LargestSquare);
  choice.symbol.dmGrowSize = true;
  choice.symbol.eci = controls_.Get<QCheckBox>(ControlId::Eci)->isChecked();
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
  text_ = ToCodePageBytes(TextBox()->document()->toRawText());
  GenerateSymbol();
}

void CDialogDM::OnSizeSelected(int index) {
  if (index >= 0 && index < DmSquareSizeCount) sizeIndex_ = index;
  GenerateSymbol();
}

void CDialogDM::RemoveSelection() {
  TextBox()->textCursor().removeSelectedText();
  ReadTextAndGenerate();
}

void CDialogDM::GenerateSymbol() {
  SymbolRequest request;
  static_cast<SymbolSettings&>(request) = Choice().symbol;
  request.dmSize = sizeIndex_;  // the size grown to so far
  request.data = text_;
  SymbolResult result = MakeSymbol(request);
  const bool tooLong = result.failure == SymbolFailure::DoesNotFit;
  // The size grows with the text and stays grown for the next encoding.
  if (result.Ok()) sizeIndex_ = result.symbol.dmSizeIndex;
  if (tooLong) sizeIndex_ = LargestSquare;
  SetVersionLabel(tooLong ? FromUtf8(UiText::ContentTooLong) : FromUtf8(UiText::VersionLabel).arg(SideOfSize(sizeIndex_)));
  ShowSymbol(std::move(result.symbol), tooLong);
}

void CDialogDM::OpenText(const QString& text) {
  QTextCursor cursor(TextBox()->document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(text);
}

QString CDialogDM::FileNameHint() const { return TextBox()->toPlainText(); }
