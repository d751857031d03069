#include "app/DialogMain.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/BatchDesktop.h"
#include "app/BatchDialog.h"
#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "content/pages/TextBytes.h"
#include "res/BatchStrings.h"
#include "res/Strings.h"

namespace {

QWidget* CornerButtons(std::initializer_list<QPushButton*> buttons) {
  auto* corner = new QWidget;
  auto* layout = new QHBoxLayout(corner);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QPushButton* button : buttons) {
    button->setFlat(true);
    button->setAutoDefault(false);
    layout->addWidget(button);
  }
  return corner;
}

}  // namespace

CDialogMain::CDialogMain()
    : units_(DialogFont()),
      tabs_(new QTabWidget(this)),
      dmPage_(new CDialogDM(nullptr, units_)),
      qrPage_(new CTesselDlg(nullptr, units_)),
      aboutButton_(new QPushButton(FromUtf8(UiText::AboutEntry), tabs_)),
      batchButton_(new QPushButton(FromUtf8(UiText::BatchEntry), tabs_)) {
  setWindowTitle(FromUtf8(MainWindowLayout.caption));
  setWindowIcon(AppIcon());
  tabs_->addTab(qrPage_, FromUtf8(UiText::QrTab));
  tabs_->addTab(dmPage_, FromUtf8(UiText::DmTab));
  tabs_->setCornerWidget(CornerButtons({batchButton_, aboutButton_}), Qt::TopRightCorner);
  connect(aboutButton_, &QPushButton::clicked, this, &CDialogMain::ShowAbout);
  connect(batchButton_, &QPushButton::clicked, this, &CDialogMain::ShowBatch);

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

void CDialogMain::ShowBatch() {
  const BatchPage page = dmPage_->isVisibleTo(tabs_) ? BatchPageOf(*dmPage_) : BatchPageOf(*qrPage_);
  CBatchDlg batch(this, page, RealBatchDesktop());
  batch.exec();
}
