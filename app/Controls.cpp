#include "app/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <algorithm>

#include "app/AppIcon.h"
#include "gui/TextBytes.h"

namespace quillet {

CTabControl::CTabControl(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)), pane_(new QFrame(this)) {
  static_cast<QFrame*>(pane_)->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  // A click on a tab focuses the row, so that arrow keys stay in it; its
  // scroll buttons are for the mouse and take no part in the Tab order.
  bar_->setFocusPolicy(Qt::StrongFocus);
  for (QToolButton* scroll : bar_->findChildren<QToolButton*>()) scroll->setFocusPolicy(Qt::NoFocus);
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
    case ControlKind::CheckBox:
      return new QCheckBox(FromUtf8(control.caption), parent);
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
  switch (control.kind) {
    // A drop-down list's template height is that of its open list.
    case ControlKind::DropDownList: rect.setHeight(widget->sizeHint().height()); break;
    case ControlKind::Icon: rect.setSize(QSize(32, 32)); break;
    // A stand-in font may be wider or taller than 宋体: never cut a text.
    case ControlKind::Label:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: rect = GrownToText(rect, widget->sizeHint()); break;
    // A button's hint holds the style's minimum width; its text fits the template's.
    case ControlKind::PushButton: rect = GrownToText(rect, QSize(0, widget->sizeHint().height())); break;
    default: break;
  }
  return rect;
}

// As placed: a drop-down list's template height is its open list's.
bool SameRow(const QWidget* a, const QWidget* b) {
  return a->y() < b->y() + b->height() && b->y() < a->y() + a->height();
}

}  // namespace

ControlSet::ControlSet(const DialogLayout& layout, QWidget* parent, const DialogUnits& units) : units_(units) {
  for (const ControlSpec& control : layout.controls) {
    QWidget* widget = CreateWidget(control, parent);
    widget->setGeometry(Geometry(control, widget, units));
    placed_.push_back({&control, widget});
    if (control.id == NoControlId) continue;
    widget->setObjectName(QString::number(control.id));
    byId_[control.id] = widget;
  }
}

void ControlSet::WidenListsToItems() {
  for (const auto& [control, widget] : placed_) {
    if (control->kind != ControlKind::DropDownList) continue;
    auto* list = static_cast<QComboBox*>(widget);
    // Only this policy makes the hint count every item now; left on, it
    // would later resize the list by itself.
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const int longest = list->sizeHint().width();
    list->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
    list->resize(std::max(list->width(), longest), list->height());
  }
  KeepTemplateGaps();
}

void ControlSet::KeepTemplateGaps() {
  // Left to right, so that a move carries on along the row.
  std::vector<Placed> byX = placed_;
  std::stable_sort(byX.begin(), byX.end(), [](const Placed& a, const Placed& b) { return a.control->rect.x < b.control->rect.x; });
  for (const Placed& right : byX) {
    int left = right.widget->x();
    for (const Placed& before : byX) {
      const DialogRect& a = before.control->rect;
      const DialogRect& b = right.control->rect;
      if (a.x + a.width > b.x || !SameRow(before.widget, right.widget)) continue;
      left = std::max(left, before.widget->geometry().right() + 1 + units_.X(b.x - a.x - a.width));
    }
    right.widget->move(left, right.widget->y());
  }
}

QSize DialogSize(const DialogLayout& layout, const DialogUnits& units) {
  return units.Map(layout.width, layout.height);
}

}  // namespace quillet
