#include "app/DialogMain.h"

#include <QPushButton>
#include <QTabWidget>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"

CDialogMain::CDialogMain()
    : units_(DialogFont()),
      tabs_(new QTabWidget(this)),
      dmPage_(new CDialogDM(nullptr, units_)),
      qrPage_(new CTesselDlg(nullptr, units_)),
      aboutButton_(new QPushButton(FromUtf8(UiText::AboutEntry), tabs_)) {
  setWindowTitle(FromUtf8(MainWindowLayout.caption));
  setWindowIcon(AppIcon());
  tabs_->addTab(qrPage_, FromUtf8(UiText::QrTab));
  tabs_->addTab(dmPage_, FromUtf8(UiText::DmTab));
  aboutButton_->setFlat(true);
  aboutButton_->setAutoDefault(false);
  tabs_->setCornerWidget(aboutButton_, Qt::TopRightCorner);
  connect(aboutButton_, &QPushButton::clicked, this, &CDialogMain::ShowAbout);

  // The template's size, grown if this platform's tab row needs more room.
  const QSize templateSize = DialogSize(MainWindowLayout, units_);
  const QSize size = templateSize.expandedTo(tabs_->sizeHint());
  tabs_->setGeometry(QRect(QPoint(0, 0), size));
  setFixedSize(size);
  tabs_->setCurrentIndex(0);
}

void CDialogMain::ShowAbout() {
  CAboutDlg about(this, units_);
  about.exec();
}
