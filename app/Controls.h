// Builds the controls of a dialog layout as Qt widgets and finds them by id.
#pragma once

#include <QWidget>
#include <map>
#include <vector>

#include "gui/DialogUnits.h"
#include "res/DialogLayouts.h"

class QTabBar;

namespace quillet {

// The content-type tab control: a tab bar over a framed pane. The content
// pages are its children, placed by the QR page.
class CTabControl : public QWidget {
  Q_OBJECT
 public:
  explicit CTabControl(QWidget* parent);
  QTabBar* Bar() const { return bar_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabBar* bar_;
  QWidget* pane_;
};

class ControlSet {
 public:
  // Creates every control of `layout` as a child of `parent`, in table order.
  ControlSet(const DialogLayout& layout, QWidget* parent, const DialogUnits& units);

  template <typename Widget>
  Widget* Get(int id) const {
    return qobject_cast<Widget*>(byId_.at(id));
  }

  const DialogUnits& Units() const { return units_; }

  // Once the lists hold their items: each as wide as its longest item at
  // least, the controls right of it moved on so that the template's gaps stay.
  void WidenListsToItems();

 private:
  struct Placed {
    const ControlSpec* control;
    QWidget* widget;
  };
  void KeepTemplateGaps();

  DialogUnits units_;
  std::vector<Placed> placed_;
  std::map<int, QWidget*> byId_;
};

// The size of a dialog template in pixels.
QSize DialogSize(const DialogLayout& layout, const DialogUnits& units);

}  // namespace quillet
