#include "app/AboutDlg.h"

#include <QPushButton>

#include "app/Controls.h"
#include "gui/TextBytes.h"

namespace quillet {

CAboutDlg::CAboutDlg(QWidget* parent, const DialogUnits& units) : QDialog(parent) {
  setWindowTitle(FromUtf8(AboutBoxLayout.caption));
  const ControlSet controls(AboutBoxLayout, this, units);
  auto* ok = controls.Get<QPushButton>(ControlId::AboutOk);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setFixedSize(DialogSize(AboutBoxLayout, units));
}

}  // namespace quillet
