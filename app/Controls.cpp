#include "app/Controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <algorithm>

#include "app/AppIcon.h"
#include "gui/TextBytes.h"

CTabControl::CTabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)), pane_(new QFrame(this)) {
  static_cast<QFrame*>(pane_)->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  pane_->lower();
}

void CTabControl::resizeEvent(QResizeEvent*) {
  const int barHeight = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, width(), barHeight);
  pane_->setGeometry(0, barHeight - 1, width(), height() - barHeight + 1);
}

namespace {

QWidget* CreateWidget(const ControlSpec& control, QWidget* parent) {
  switch (control.kind) {
    case ControlKind::Label:
      return new QLabel(FromUtf8(control.caption), parent);
    case ControlKind::RadioButton:
      return new QRadioButton(FromUtf8(control.caption), parent);
    case ControlKind::TabControl:
      return new CTabControl(parent);
    case ControlKind::DropDownList:
      return new QComboBox(parent);
    case ControlKind::GreyFrame: {
      auto* frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Box | QFrame::Plain);
      frame->setForegroundRole(QPalette::Mid);
      frame->setAttribute(Qt::WA_TransparentForMouseEvents);
      return frame;
    }
    case ControlKind::VerticalSlider: {
      auto* slider = new QSlider(Qt::Vertical, parent);
      slider->setInvertedAppearance(true);
      slider->setInvertedControls(true);
      slider->setTickPosition(QSlider::NoTicks);
      return slider;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(FromUtf8(control.caption), parent);
      button->setAutoDefault(false);
      return button;
    }
    case ControlKind::MultiLineEdit: {
      auto* edit = new QPlainTextEdit(parent);
      edit->setTabChangesFocus(true);
      edit->setLineWrapMode(QPlainTextEdit::NoWrap);
      return edit;
    }
    case ControlKind::Icon: {
      auto* label = new QLabel(parent);
      label->setPixmap(AppIcon().pixmap(32, 32));
      return label;
    }
  }
  return nullptr;
}

QRect Geometry(const ControlSpec& control, const QWidget* widget, const DialogUnits& units) {
  QRect rect = units.Map(control.rect);
  // A drop-down list's template height is that of its open list.
  if (control.kind == ControlKind::DropDownList) rect.setHeight(widget->sizeHint().height());
  if (control.kind == ControlKind::Icon) rect.setSize(QSize(32, 32));
  // A stand-in font may be wider than 宋体: never cut a label's text.
  if (control.kind == ControlKind::Label) rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
  return rect;
}

}  // namespace

ControlSet::ControlSet(const DialogLayout& layout, QWidget* parent, const DialogUnits& units) {
  for (const ControlSpec& control : layout.controls) {
    QWidget* widget = CreateWidget(control, parent);
    widget->setGeometry(Geometry(control, widget, units));
    if (control.id == NoControlId) continue;
    widget->setObjectName(QString::number(control.id));
    byId_[control.id] = widget;
  }
}

QSize DialogSize(const DialogLayout& layout, const DialogUnits& units) {
  return units.Map(layout.width, layout.height);
}
