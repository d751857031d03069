#include "app/AboutDlg.h"

#include <QPushButton>

#include "app/Controls.h"

CAboutDlg::CAboutDlg(QWidget* parent, const DialogUnits& units) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(AboutBoxLayout.caption.data(), static_cast<qsizetype>(AboutBoxLayout.caption.size())));
  const ControlSet controls(AboutBoxLayout, this, units);
  auto* ok = controls.Get<QPushButton>(ControlId::AboutOk);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  setFixedSize(DialogSize(AboutBoxLayout, units));
}
