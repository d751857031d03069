// The content pages: one child page per content type, built from its row of
// the catalogue. Every field reports (slot, whole value as UTF-8, line
// breaks as CR LF) at once; the QR page's model stores it and recomposes.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "content/Catalogue.h"
#include "gui/DialogUnits.h"

class QLabel;

namespace quillet {

class CDialogTypeBase : public QWidget {
  Q_OBJECT
 public:
  CDialogTypeBase(const PageSpec& definition, QWidget* parent, const DialogUnits& units);

  const PageSpec& Definition() const { return definition_; }
  // The control bound to a slot, or null when this page does not show it.
  QWidget* FieldEdit(int slot) const;
  // Puts every field the page shows back to its starting value (empty, the
  // first choice, unchecked); each reports its value.
  virtual void ResetFields();
  // Slot and value of every field that differs from its starting value, in
  // slot order: what the user entered.
  std::vector<std::pair<int, QString>> FilledFields() const;
  // Sets a field's value as FilledFields gives it; it reports the change
  // like a user's.
  void SetFieldText(int slot, const QString& text);
  // The value a field reports, as FilledFields gives it.
  QString FieldText(int slot) const;
  // The same as the UTF-8 the page reports.
  std::string FieldBytes(int slot) const;
  // The field's caption with "*" in front or without it; a choice on the
  // page may make a field required.
  void MarkRequired(int slot, bool required);
  QString CaptionText(int slot) const;

 signals:
  void FieldChanged(int slot, const std::string& text);

 private:
  void AddField(const FieldSpec& field, const DialogUnits& units);
  QWidget* CreateEdit(const FieldSpec& field);
  void OnChangeField(int slot);

  const PageSpec& definition_;
  std::array<QWidget*, FieldSlotCount> edits_{};
  std::array<QLabel*, FieldSlotCount> captions_{};
};

}  // namespace quillet
