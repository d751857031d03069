#include "app/ModalFocus.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace quillet {

namespace {

class ModalFocusReturn : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && watched->isWidgetType()) ActivateOpener(static_cast<QWidget*>(watched));
    return false;
  }

 private:
  static void ActivateOpener(const QWidget* closed) {
    if (!closed->isWindow() || !closed->isModal() || closed->parentWidget() == nullptr) return;
    QWidget* opener = closed->parentWidget()->window();
    if (opener->isVisible()) opener->activateWindow();
  }
};

}  // namespace

void ReturnFocusAfterModalDialogs(QApplication& app) { app.installEventFilter(new ModalFocusReturn(&app)); }

}  // namespace quillet
