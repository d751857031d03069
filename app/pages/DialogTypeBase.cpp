#include "app/pages/DialogTypeBase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <limits>

#include "app/pages/DateTimeField.h"
#include "gui/TextBytes.h"

namespace quillet {

namespace {

QString ChoiceValue(const QComboBox* box) { return box->currentData().toString(); }

}  // namespace

CDialogTypeBase::CDialogTypeBase(const PageSpec& definition, QWidget* parent, const DialogUnits& units)
    : QWidget(parent), definition_(definition) {
  for (const FieldSpec& field : definition.fields) AddField(field, units);
}

void CDialogTypeBase::AddField(const FieldSpec& field, const DialogUnits& units) {
  // A check box carries its caption itself.
  if (!field.caption.empty() && field.kind != FieldKind::Check) {
    // Room for the "*" that a choice may add.
    auto* caption = new QLabel(FromUtf8(CaptionMarked(field.caption, true)), this);
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    caption->setGeometry(GrownToText(units.Map(field.captionRect), caption->sizeHint()));
    caption->setText(FromUtf8(field.caption));
    captions_[field.slot] = caption;
  }
  QWidget* edit = CreateEdit(field);
  edit->setObjectName(QString::number(field.controlId));
  QRect place = units.Map(field.editRect);
  if (field.kind != FieldKind::Text) place = GrownToText(place, QSize(0, edit->sizeHint().height()));
  edit->setGeometry(place);
  edits_[field.slot] = edit;
}

QWidget* CDialogTypeBase::CreateEdit(const FieldSpec& field) {
  const auto changed = [this, slot = field.slot] { OnChangeField(slot); };
  switch (field.kind) {
    case FieldKind::Choice: {
      auto* box = new QComboBox(this);
      for (const FieldChoice& choice : field.choices) box->addItem(FromUtf8(choice.caption), FromUtf8(choice.value));
      connect(box, &QComboBox::currentIndexChanged, this, changed);
      return box;
    }
    case FieldKind::Check: {
      auto* box = new QCheckBox(FromUtf8(field.caption), this);
      connect(box, &QCheckBox::toggled, this, changed);
      return box;
    }
    case FieldKind::DateTime: {
      auto* time = new CDateTimeField(this);
      connect(time, &QDateTimeEdit::dateTimeChanged, this, changed);
      return time;
    }
    case FieldKind::Text: break;
  }
  if (field.multiLine) {
    auto* multi = new QPlainTextEdit(this);
    multi->setTabChangesFocus(true);
    multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Word-boundary wrapping is quadratic in Qt for a long run without a
    // break (a pasted megabyte took minutes); wrapping anywhere stays linear.
    multi->setWordWrapMode(QTextOption::WrapAnywhere);
    connect(multi, &QPlainTextEdit::textChanged, this, changed);
    return multi;
  }
  auto* line = new QLineEdit(this);
  // QLineEdit would silently cut a paste at 32767 characters.
  line->setMaxLength(std::numeric_limits<int>::max());
  connect(line, &QLineEdit::textChanged, this, changed);
  return line;
}

QWidget* CDialogTypeBase::FieldEdit(int slot) const {
  return slot >= 0 && slot < FieldSlotCount ? edits_[slot] : nullptr;
}

QString CDialogTypeBase::FieldText(int slot) const {
  const QWidget* edit = FieldEdit(slot);
  if (const auto* line = qobject_cast<const QLineEdit*>(edit)) return line->text();
  // Raw text keeps non-breaking spaces that toPlainText would turn into blanks.
  if (const auto* multi = qobject_cast<const QPlainTextEdit*>(edit)) return multi->document()->toRawText();
  if (const auto* box = qobject_cast<const QComboBox*>(edit)) return ChoiceValue(box);
  if (const auto* check = qobject_cast<const QCheckBox*>(edit)) return check->isChecked() ? FromUtf8(CheckedValue) : QString();
  if (const auto* time = qobject_cast<const CDateTimeField*>(edit)) return time->Value();
  return {};
}

std::string CDialogTypeBase::FieldBytes(int slot) const {
  return ToUtf8Bytes(FieldText(slot));
}

void CDialogTypeBase::MarkRequired(int slot, bool required) {
  const FieldSpec* field = FindField(definition_, slot);
  if (field != nullptr && captions_[slot] != nullptr) captions_[slot]->setText(FromUtf8(CaptionMarked(field->caption, required)));
}

QString CDialogTypeBase::CaptionText(int slot) const {
  return slot >= 0 && slot < FieldSlotCount && captions_[slot] != nullptr ? captions_[slot]->text() : QString();
}

void CDialogTypeBase::OnChangeField(int slot) { emit FieldChanged(slot, FieldBytes(slot)); }

void CDialogTypeBase::ResetFields() {
  for (const FieldSpec& field : definition_.fields) SetFieldText(field.slot, QString());
}

std::vector<std::pair<int, QString>> CDialogTypeBase::FilledFields() const {
  std::vector<std::pair<int, QString>> filled;
  for (int slot = 0; slot < FieldSlotCount; ++slot) {
    const auto* box = qobject_cast<const QComboBox*>(edits_[slot]);
    // A drop-down always holds a value; only another than the first was entered.
    if (edits_[slot] == nullptr || (box != nullptr && box->currentIndex() <= 0)) continue;
    QString text = FieldText(slot);
    if (!text.isEmpty()) filled.emplace_back(slot, std::move(text));
  }
  return filled;
}

void CDialogTypeBase::SetFieldText(int slot, const QString& text) {
  QWidget* edit = FieldEdit(slot);
  if (auto* line = qobject_cast<QLineEdit*>(edit)) line->setText(text);
  if (auto* multi = qobject_cast<QPlainTextEdit*>(edit)) multi->setPlainText(text);
  if (auto* box = qobject_cast<QComboBox*>(edit)) box->setCurrentIndex(std::max(box->findData(text), 0));
  if (auto* check = qobject_cast<QCheckBox*>(edit)) check->setChecked(text == FromUtf8(CheckedValue));
  if (auto* time = qobject_cast<CDateTimeField*>(edit)) time->SetValue(text);
}

}  // namespace quillet
