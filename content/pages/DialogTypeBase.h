// The content pages: one child page per content type, built from its row of
// the catalogue. Every edit reports (slot, whole text as code page 936
// bytes) at once; the QR page stores it and recomposes.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "content/Catalogue.h"
#include "gui/DialogUnits.h"

class CDialogTypeBase : public QWidget {
  Q_OBJECT
 public:
  CDialogTypeBase(const PageSpec& definition, QWidget* parent, const DialogUnits& units);

  const PageSpec& Definition() const { return definition_; }
  // The edit bound to a slot, or null when this page does not show it.
  QWidget* FieldEdit(int slot) const;
  // Empties every field the page shows; each reports its empty value.
  virtual void ResetFields();
  // Slot and text of every field that holds text, in slot order.
  std::vector<std::pair<int, QString>> FilledFields() const;
  // Sets a field's text; it reports the change like a typed one.
  void SetFieldText(int slot, const QString& text);

 signals:
  void FieldChanged(int slot, const std::string& text);

 private:
  void AddField(const FieldSpec& field, const DialogUnits& units);
  void OnChangeField(int slot);

  const PageSpec& definition_;
  std::array<QWidget*, FieldSlotCount> edits_{};
};
