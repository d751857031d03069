#include "content/pages/DialogTypeBase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <limits>

#include "gui/TextBytes.h"

namespace {

QString EditText(const QWidget* edit) {
  if (const auto* line = qobject_cast<const QLineEdit*>(edit)) return line->text();
  // Raw text keeps non-breaking spaces that toPlainText would turn into blanks.
  return static_cast<const QPlainTextEdit*>(edit)->document()->toRawText();
}

}  // namespace

CDialogTypeBase::CDialogTypeBase(const PageSpec& definition, QWidget* parent, const DialogUnits& units)
    : QWidget(parent), definition_(definition) {
  for (const FieldSpec& field : definition.fields) AddField(field, units);
}

void CDialogTypeBase::AddField(const FieldSpec& field, const DialogUnits& units) {
  if (!field.caption.empty()) {
    auto* caption = new QLabel(FromUtf8(field.caption), this);
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    caption->setGeometry(GrownToText(units.Map(field.captionRect), caption->sizeHint()));
  }
  QWidget* edit = nullptr;
  if (field.multiLine) {
    auto* multi = new QPlainTextEdit(this);
    multi->setTabChangesFocus(true);
    multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Word-boundary wrapping is quadratic in Qt for a long run without a
    // break (a pasted megabyte took minutes); wrapping anywhere stays linear.
    multi->setWordWrapMode(QTextOption::WrapAnywhere);
    connect(multi, &QPlainTextEdit::textChanged, this, [this, slot = field.slot] { OnChangeField(slot); });
    edit = multi;
  } else {
    auto* line = new QLineEdit(this);
    // QLineEdit would silently cut a paste at 32767 characters.
    line->setMaxLength(std::numeric_limits<int>::max());
    connect(line, &QLineEdit::textChanged, this, [this, slot = field.slot] { OnChangeField(slot); });
    edit = line;
  }
  edit->setObjectName(QString::number(field.controlId));
  edit->setGeometry(units.Map(field.editRect));
  edits_[field.slot] = edit;
}

QWidget* CDialogTypeBase::FieldEdit(int slot) const {
  return slot >= 0 && slot < FieldSlotCount ? edits_[slot] : nullptr;
}

void CDialogTypeBase::OnChangeField(int slot) { emit FieldChanged(slot, ToCodePageBytes(EditText(edits_[slot]))); }

void CDialogTypeBase::ResetFields() {
  for (QWidget* edit : edits_) {
    if (auto* line = qobject_cast<QLineEdit*>(edit)) line->clear();
    if (auto* multi = qobject_cast<QPlainTextEdit*>(edit)) multi->clear();
  }
}

std::vector<std::pair<int, QString>> CDialogTypeBase::FilledFields() const {
  std::vector<std::pair<int, QString>> filled;
  for (int slot = 0; slot < FieldSlotCount; ++slot) {
    if (edits_[slot] == nullptr) continue;
    QString text = EditText(edits_[slot]);
    if (!text.isEmpty()) filled.emplace_back(slot, std::move(text));
  }
  return filled;
}

void CDialogTypeBase::SetFieldText(int slot, const QString& text) {
  QWidget* edit = FieldEdit(slot);
  if (auto* line = qobject_cast<QLineEdit*>(edit)) line->setText(text);
  if (auto* multi = qobject_cast<QPlainTextEdit*>(edit)) multi->setPlainText(text);
}
