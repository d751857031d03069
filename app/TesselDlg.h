// The QR page: operator format, content type and its page, error-correction
// level, version, zoom, bound to the page's model, which composes and
// encodes again on every change.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/PageChoice.h"
#include "app/SymbolPage.h"
#include "model/QrPageModel.h"

namespace quillet {

class CDialogTypeBase;
class CTabControl;

class CTesselDlg : public CSymbolPage {
  Q_OBJECT
 public:
  CTesselDlg(QWidget* parent, const DialogUnits& units);
  ~CTesselDlg() override;

  // Stores one field's whole text (UTF-8) and recomposes; slots past the last are ignored.
  void SetFieldValue(unsigned slot, std::string text);
  // Encodes the page's content again and shows it.
  void ComposePayload();

  const std::string& CurrentPayload() const { return model_.Payload(); }
  unsigned Revision() const { return model_.Revision(); }
  const FieldValueArray& FieldValues() const { return model_.Values(); }
  quillet::FieldValues Filled() const { return model_.Filled(); }
  // The version list's choice: 0 automatic; one the list lacks is ignored.
  void ChooseVersion(int version);
  int OperatorFormat() const { return model_.Page().format; }
  CDialogTypeBase* CurrentPage() const { return currentPage_; }
  CDialogTypeBase* Page(std::string_view className) const;
  CTabControl* ContentTabs() const;
  // The first field of the shown content page that holds text, top to bottom.
  QString FileNameHint() const override;
  PageChoice Choice() const;
  // Shows what a symbol read from an image holds: its format, tab and field
  // values and, when known, its level. One step: Ctrl+Z right after brings
  // back the page as it was.
  void OpenContent(FormatTab page, const FieldValueArray& values, std::optional<QrLevel> level);
  // The level of the symbol shown, which a logo may have raised.
  QrLevel LevelInForce() const { return model_.LevelInForce(); }
  static bool CanShow(FormatTab page) { return QrPageModel::CanShow(page); }
  // The format, tab and level to open with next time, and opening with them.
  QrPageChoices Choices() const { return model_.Choices(); }
  void RestoreChoices(const QrPageChoices& last);
  LogoRoom RoomForLogo() const override;

 protected:
  void OnScaleChanged() override { ComposePayload(); }
  const SymbolRequest& ShownRequest() const override { return model_.Request(); }
  void ShowGrownVersion(const quillet::Symbol& grown) override;

 private:
  void CreateContentPages(const DialogUnits& units);
  void FillCombos();
  void SetTabOrder();
  void RebuildTabs(int format);
  // The controls as the model holds them, after a switch, a reset, an undo
  // or an opening; then the symbol.
  void ShowModel();
  void ShowContentPage(CDialogTypeBase* page);
  // The symbol the model made, or why there is none.
  void ShowResult();

  QrPageModel model_;
  std::vector<CDialogTypeBase*> pages_;  // children, in catalogue order
  CDialogTypeBase* currentPage_ = nullptr;
  int tabsFormat_ = 0;  // the format whose tabs the tab row holds
};

}  // namespace quillet
