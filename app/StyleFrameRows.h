// The "样式" dialog's rows for a gradient of the dark modules and a frame
// with its caption. They show a style and read their choices back into
// one; the dialog asks the colours, applies and shows the refusals.
#pragma once

#include <QWidget>

#include "image/SymbolStyle.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillet {

class CStyleFrameRows : public QWidget {
  Q_OBJECT
 public:
  explicit CStyleFrameRows(QWidget* parent);

  QComboBox* GradientBox() const { return gradient_; }
  QPushButton* SecondColourButton() const { return secondColour_; }
  QLineEdit* FrameTextEdit() const { return frameText_; }
  QComboBox* FramePositionBox() const { return framePosition_; }
  QPushButton* FrameColourButton() const { return frameColour_; }

  void Show(const SymbolStyle& style);
  // `style` with the gradient, the caption and its position the rows hold.
  SymbolStyle Read(SymbolStyle style) const;

 signals:
  void Edited();
  void SecondColourClicked();
  void FrameColourClicked();

 private:
  QComboBox* gradient_;
  QPushButton* secondColour_;
  QLineEdit* frameText_;
  QComboBox* framePosition_;
  QPushButton* frameColour_;
};

}  // namespace quillet
