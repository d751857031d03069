#include "app/DialogMain.h"

#include <QPushButton>
#include <QTabWidget>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "res/Strings.h"

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

CDialogMain::CDialogMain()
    : units_(DialogFont()),
      tabs_(new QTabWidget(this)),
      dmPage_(new CDialogDM(nullptr, units_)),
      qrPage_(new CTesselDlg(nullptr, units_)),
      aboutButton_(new QPushButton(Text(UiText::AboutEntry), tabs_)) {
  setWindowTitle(Text(MainWindowLayout.caption));
  setWindowIcon(AppIcon());
  tabs_->addTab(qrPage_, Text(UiText::QrTab));
  tabs_->addTab(dmPage_, Text(UiText::DmTab));
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
