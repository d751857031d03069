// The QR page: operator format, content type and its page, error-correction
// level, version, zoom; re-encodes the composed payload on every change.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/PageChoice.h"
#include "app/SymbolPage.h"
#include "content/Payload.h"
#include "qr/QrLevel.h"

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
  CDialogTypeBase* CurrentPage() const { return currentPage_; }
  CDialogTypeBase* Page(std::string_view className) const;
  CTabControl* ContentTabs() const;
  // The first field of the shown content page that holds text, top to bottom.
  QString FileNameHint() const override;
  PageChoice Choice() const;
  // Shows what a symbol read from an image holds: its format, tab and field
  // values (code page 936) and, when known, its level. One step: Ctrl+Z
  // right after brings back the page as it was.
  void OpenContent(int format, int tab, const FieldValueArray& values, std::optional<QrLevel> level);
  // Whether the page has the content page of that format's tab.
  bool CanShow(int format, int tab) const;
  LogoRoom RoomForLogo() const override;

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
  void OnResetClicked();
  // Every value empty but the starting values of the page shown.
  void ClearFieldValues();
  // Sets fields of the shown page without composing per field: the caller composes once.
  void SetPageFields(const std::vector<std::pair<int, QString>>& fields);
  // Before a switch or "重填" empties fields that hold text, keep them so
  // that Ctrl+Z right after can bring them back.
  void RememberFilledPage();
  void UndoEmptying();
  void SetTabOrder();
  void OnLevelSelected(int index);
  void SelectLevel(QrLevel level);
  // Until the user picks a level in the list, a logo raises it to H.
  QrLevel LevelInForce() const;
  // The version list's choice, the smallest version every encoding accepts (0: automatic).
  int SelectedVersion() const;

  std::vector<CDialogTypeBase*> pages_;  // children, in catalogue order
  CDialogTypeBase* currentPage_ = nullptr;
  int currentTab_ = 0;
  int operatorFormat_ = 1;
  FieldValueArray fieldValues_;
  QrLevel level_ = DefaultQrLevel;
  bool levelChosen_ = false;
  int shownVersion_ = 0;  // of the symbol shown, 0 while there is none
  std::unique_ptr<CQrCodeEncoder> encoder_;
  std::string currentPayload_;
  // While a page clears or restores its fields, compose once at the end, not per field.
  bool resetting_ = false;

  struct EmptiedPage {
    int format;
    int tab;
    std::vector<std::pair<int, QString>> fields;  // slot, text
    std::optional<QrLevel> level;                 // an opened symbol's level replaced this one
  };
  // What the last emptying switch or reset took away; gone with the next edit.
  std::optional<EmptiedPage> emptied_;
};
