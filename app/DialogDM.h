// The DM page: free text encoded as a square Data Matrix symbol on every
// change, growing to the next size while the text does not fit.
#pragma once

#include <string>

#include "app/PageChoice.h"
#include "app/SymbolPage.h"

class QComboBox;
class QPlainTextEdit;

class CDialogDM : public CSymbolPage {
  Q_OBJECT
 public:
  CDialogDM(QWidget* parent, const DialogUnits& units);

  void GenerateSymbol();
  int SizeIndex() const { return sizeIndex_; }
  const std::string& Text() const { return text_; }
  QPlainTextEdit* TextBox() const;
  QString FileNameHint() const override;
  PageChoice Choice() const;
  // Replaces the text with a symbol's, as one edit the text box's Ctrl+Z takes back.
  void OpenText(const QString& text);
  LogoRoom RoomForLogo() const override;

 protected:
  void OnScaleChanged() override { GenerateSymbol(); }
  void showEvent(QShowEvent* event) override;

 private:
  void ReadTextAndGenerate();
  void OnSizeSelected(int index);
  void RemoveSelection();

  int sizeIndex_ = 0;
  std::string text_;
};
