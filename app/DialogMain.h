// The main window: the "QR码" and "DM码" tabs over the two symbol pages, and
// the About entry in the tab bar's corner.
#pragma once

#include <QWidget>

#include "gui/DialogUnits.h"

class CDialogDM;
class CTesselDlg;
class QPushButton;
class QTabWidget;

class CDialogMain : public QWidget {
  Q_OBJECT
 public:
  CDialogMain();

  CTesselDlg* QrPage() const { return qrPage_; }
  CDialogDM* DmPage() const { return dmPage_; }
  QTabWidget* Tabs() const { return tabs_; }
  QPushButton* AboutButton() const { return aboutButton_; }
  QPushButton* BatchButton() const { return batchButton_; }
  // The template's size, grown where this platform's controls need more.
  QSize NaturalSize() const { return naturalSize_; }

 public slots:
  void ShowAbout();
  // "批量生成" for the page shown.
  void ShowBatch();

 private:
  void FitScreen();

  DialogUnits units_;
  QTabWidget* tabs_;
  CDialogDM* dmPage_;
  CTesselDlg* qrPage_;
  QPushButton* aboutButton_;
  QPushButton* batchButton_;
  QSize naturalSize_;
};
