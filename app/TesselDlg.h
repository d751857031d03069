// The QR page: operator format, content type and its page, error-correction
// level, version, zoom; re-encodes the composed payload on every change.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/SymbolPage.h"
#include "content/Payload.h"

class CDialogTypeBase;
class CQrCodeEncoder;
class CTabControl;
class QComboBox;

class CTesselDlg : public CSymbolPage {
  Q_OBJECT
 public:
  CTesselDlg(QWidget* parent, const DialogUnits& units);
  ~CTesselDlg() override;

  // Stores one field's whole text and recomposes; slots above 23 are ignored.
  void SetFieldValue(unsigned slot, std::string text);
  void ComposePayload();

  const std::string& CurrentPayload() const { return currentPayload_; }
  const FieldValueArray& FieldValues() const { return fieldValues_; }
  int OperatorFormat() const { return operatorFormat_; }
  int RequestedVersion() const;
  CDialogTypeBase* CurrentPage() const { return currentPage_; }
  CDialogTypeBase* Page(std::string_view className) const;
  CTabControl* ContentTabs() const;

 protected:
  void OnScaleChanged() override { ComposePayload(); }

 private:
  void CreateContentPages(const DialogUnits& units);
  void FillCombos();
  void SwitchOperatorFormat(int format);
  void SwitchContentType(int tab);
  void RebuildTabs(int format);
  void ShowContentPage(CDialogTypeBase* page);
  void ResetCurrentPage();
  void ClearFieldValues();
  void OnLevelSelected(int index);
  void OnVersionSelected(int index);
  // Encodes the current payload; false when it fits no version.
  bool EncodeCurrentPayload();

  std::vector<CDialogTypeBase*> pages_;  // children, in catalogue order
  CDialogTypeBase* currentPage_ = nullptr;
  int operatorFormat_ = 1;
  FieldValueArray fieldValues_;
  std::unique_ptr<CQrCodeEncoder> encoder_;
  std::string currentPayload_;
  // While a page clears its fields, compose once at the end, not per field.
  bool resetting_ = false;
};
