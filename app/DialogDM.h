// The DM page: free text encoded as a square Data Matrix symbol on every
// change, growing to the next size while the text does not fit; its
// controls bound to the page's model.
#pragma once

#include <string>

#include "app/PageChoice.h"
#include "app/SymbolPage.h"
#include "model/DmPageModel.h"

class QComboBox;
class QPlainTextEdit;

namespace quillet {

class CDialogDM : public CSymbolPage {
  Q_OBJECT
 public:
  CDialogDM(QWidget* parent, const DialogUnits& units);

  // Shows the symbol the model made for the page's text and sizes.
  void GenerateSymbol();
  int SizeIndex() const { return model_.ShownSize(); }
  // The size list's choice, and opening with it; a position the list does
  // not have leaves the first.
  int ChosenSize() const { return model_.ChosenSize(); }
  void RestoreSize(int sizeIndex);
  // The text's code page 936 bytes, as encoded.
  const std::string& Text() const { return model_.TextBytes(); }
  unsigned Revision() const { return model_.Revision(); }
  QPlainTextEdit* TextBox() const;
  QString FileNameHint() const override;
  PageChoice Choice() const;
  // Replaces the text with a symbol's, as one edit the text box's Ctrl+Z takes back.
  void OpenText(const QString& text);
  LogoRoom RoomForLogo() const override;

 protected:
  void OnScaleChanged() override { GenerateSymbol(); }
  const SymbolRequest& ShownRequest() const override { return model_.Request(); }
  // Data Matrix symbols do not grow for a style.
  void ShowGrownVersion(const quillet::Symbol&) override {}
  void showEvent(QShowEvent* event) override;

 private:
  void ReadTextAndGenerate();
  void RemoveSelection();

  DmPageModel model_;
};

}  // namespace quillet
