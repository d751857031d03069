// The "样式" dialog of a symbol page: the colours of the modules and of the
// background, a transparent background, and on the QR page a logo and its
// size. Every change shows at once on the page and in the dialog's own
// preview, beside the check's verdict, as the dialog may cover the page's
// picture; "取消" puts back the style the page had.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <optional>

#include "app/PageStyle.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace quillet {

class CSymbolPage;

// The questions the dialog asks, behind an interface so that tests answer
// them without a modal dialog.
class StyleDialogs {
 public:
  virtual ~StyleDialogs() = default;
  // nullopt when cancelled.
  virtual std::optional<QColor> AskColour(QWidget* parent, const QColor& initial, const QString& title) = 0;
  virtual std::optional<QString> AskLogoFile(QWidget* parent, const QString& folder) = 0;
  // An OK-only warning captioned with the application's name.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
};

// The real dialogs of the desktop, in Chinese.
StyleDialogs& DesktopStyleDialogs();

QColor ToQColor(Rgb colour);
Rgb ToRgb(const QColor& colour);

class CStyleDlg : public QDialog {
  Q_OBJECT
 public:
  CStyleDlg(CSymbolPage& page, StyleDialogs& dialogs);

  QPushButton* ForegroundButton() const { return foreground_; }
  QPushButton* BackgroundButton() const { return background_; }
  QCheckBox* TransparentBox() const { return transparent_; }
  QPushButton* LogoButton() const { return chooseLogo_; }
  QPushButton* RemoveLogoButton() const { return removeLogo_; }
  QSlider* LogoSizeSlider() const { return logoSize_; }
  QLabel* LogoSizeText() const { return logoSizeText_; }
  QLabel* LogoNote() const { return logoNote_; }
  QComboBox* PresetBox() const { return preset_; }
  QComboBox* ModuleShapeBox() const { return moduleShape_; }
  QComboBox* EyeShapeBox() const { return eyeShape_; }
  QComboBox* LogoPadBox() const { return logoPad_; }
  QPushButton* EyeColourButton() const { return eyeColour_; }
  QCheckBox* EyeSameColourBox() const { return eyeSameColour_; }
  QCheckBox* LowContrastBox() const { return allowLowContrast_; }
  QCheckBox* InvertedBox() const { return allowInverted_; }
  QLabel* ProblemText() const { return problem_; }
  QLabel* Preview() const { return preview_; }
  QLabel* PreviewVerdict() const { return verdict_; }
  QPushButton* ClearButton() const { return clear_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 public slots:
  void ChooseForeground();
  void ChooseBackground();
  void ChooseEyeColour();
  void ChoosePreset(int index);
  void ChooseLogo();
  void RemoveLogo();
  void ClearStyle();

 protected:
  void reject() override;

 private:
  QLayout* BuildColourRows();
  QLayout* BuildShapeRows();
  QLayout* BuildLogoRows();
  QLayout* BuildButtons();
  QLayout* BuildPreview();
  // The page's own picture, fitted to the preview, and the check's verdict.
  void ShowPreview();
  // Hands the style in the controls to the page and shows what it made of it.
  void Apply();
  void ApplyLogoSize(int percent);
  // The controls from the page's style, its level and its logo's limit.
  void ShowStyle();
  void ChooseColour(Rgb SymbolStyle::*colour, std::string_view title);

  CSymbolPage& page_;
  StyleDialogs& dialogs_;
  const PageStyle original_;
  QString logoFolder_;
  bool showing_ = false;

  QPushButton* foreground_;
  QPushButton* background_;
  QCheckBox* transparent_;
  QComboBox* preset_;
  QComboBox* moduleShape_;
  QComboBox* eyeShape_;
  QComboBox* logoPad_;
  QPushButton* eyeColour_;
  QCheckBox* eyeSameColour_;
  QPushButton* chooseLogo_;
  QPushButton* removeLogo_;
  QLabel* logoName_;
  QSlider* logoSize_;
  QLabel* logoSizeText_;
  QLabel* logoNote_;
  QCheckBox* allowLowContrast_;
  QCheckBox* allowInverted_;
  QLabel* problem_;
  QLabel* preview_;
  QLabel* verdict_;
  QPushButton* clear_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace quillet
