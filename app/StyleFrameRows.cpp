#include "app/StyleFrameRows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/StyleQuestions.h"
#include "app/StyleWords.h"
#include "gui/TextBytes.h"
#include "image/SymbolFrame.h"
#include "model/StyleState.h"
#include "res/Strings.h"

namespace quillet {

CStyleFrameRows::CStyleFrameRows(QWidget* parent)
    : QWidget(parent),
      gradient_(new QComboBox(this)),
      secondColour_(new QPushButton(this)),
      frameText_(new QLineEdit(this)),
      framePosition_(new QComboBox(this)),
      frameColour_(new QPushButton(this)) {
  for (const GradientRow& row : Gradients()) gradient_->addItem(GradientWords(row.gradient), static_cast<int>(row.gradient));
  for (const FramePositionRow& row : FramePositions())
    framePosition_->addItem(FramePositionWords(row.position), static_cast<int>(row.position));
  frameText_->setPlaceholderText(FromUtf8(UiText::StyleFrameTextHint));
  auto* gradientRow = new QHBoxLayout;
  gradientRow->addWidget(gradient_);
  gradientRow->addWidget(secondColour_);
  auto* form = new QFormLayout(this);
  form->setContentsMargins(0, 0, 0, 0);
  form->addRow(FromUtf8(UiText::StyleGradient), gradientRow);
  form->addRow(FromUtf8(UiText::StyleFrameText), frameText_);
  form->addRow(FromUtf8(UiText::StyleFramePosition), framePosition_);
  form->addRow(FromUtf8(UiText::StyleFrameColour), frameColour_);
  for (QComboBox* box : {gradient_, framePosition_}) connect(box, &QComboBox::currentIndexChanged, this, &CStyleFrameRows::Edited);
  connect(frameText_, &QLineEdit::textEdited, this, &CStyleFrameRows::Edited);
  connect(secondColour_, &QPushButton::clicked, this, &CStyleFrameRows::SecondColourClicked);
  connect(frameColour_, &QPushButton::clicked, this, &CStyleFrameRows::FrameColourClicked);
}

void CStyleFrameRows::Show(const SymbolStyle& style) {
  gradient_->setCurrentIndex(gradient_->findData(static_cast<int>(style.gradient)));
  ShowColour(secondColour_, style.foreground2.value_or(DefaultSecondColour));
  secondColour_->setEnabled(style.gradient != Gradient::None);
  // Set only when it differs: setting it moves the cursor to the end of what
  // is being typed, and the style's caption lacks the blanks still being typed around it.
  if (TrimCaption(frameText_->text().toStdString()) != style.frameText)
    frameText_->setText(QString::fromStdString(style.frameText));
  framePosition_->setCurrentIndex(framePosition_->findData(static_cast<int>(style.framePosition)));
  ShowColour(frameColour_, style.FrameColour());
  framePosition_->setEnabled(style.HasFrame());
  frameColour_->setEnabled(style.HasFrame());
}

SymbolStyle CStyleFrameRows::Read(SymbolStyle style) const {
  style = WithGradient(std::move(style), static_cast<Gradient>(gradient_->currentData().toInt()));
  style.frameText = frameText_->text().toStdString();
  style.framePosition = static_cast<FramePosition>(framePosition_->currentData().toInt());
  return style;
}

}  // namespace quillet
