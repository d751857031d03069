// The About box: icon, product line and "确定".
#pragma once

#include <QDialog>

#include "gui/DialogUnits.h"

namespace quillet {

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  CAboutDlg(QWidget* parent, const DialogUnits& units);
};

}  // namespace quillet
