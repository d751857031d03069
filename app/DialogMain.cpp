#include "app/DialogMain.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/BatchDesktop.h"
#include "app/BatchDialog.h"
#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"
#include "res/Strings.h"

namespace {

// A page at its template size; on a screen too small for the window the
// page scrolls instead of losing its lower and right controls.
class PageScroller : public QScrollArea {
 public:
  explicit PageScroller(QWidget* page) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(page);
  }
  QSize sizeHint() const override { return widget()->minimumSizeHint(); }
};

// The corner buttons, flat, keep clear of the window's edge.
QWidget* CornerWithMargin(std::initializer_list<QPushButton*> buttons, int margin) {
  auto* corner = new QWidget;
  auto* layout = new QHBoxLayout(corner);
  layout->setContentsMargins(0, 0, margin, 0);
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
      aboutButton_(new QPushButton(FromUtf8(UiText::AboutEntry))),
      batchButton_(new QPushButton(FromUtf8(UiText::BatchEntry))) {
  setWindowTitle(FromUtf8(MainWindowLayout.caption));
  setWindowIcon(AppIcon());
  tabs_->addTab(new PageScroller(qrPage_), FromUtf8(UiText::QrTab));
  tabs_->addTab(new PageScroller(dmPage_), FromUtf8(UiText::DmTab));
  tabs_->setCornerWidget(CornerWithMargin({batchButton_, aboutButton_}, units_.X(4)), Qt::TopRightCorner);
  connect(aboutButton_, &QPushButton::clicked, this, &CDialogMain::ShowAbout);
  connect(batchButton_, &QPushButton::clicked, this, &CDialogMain::ShowBatch);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);

  naturalSize_ = DialogSize(MainWindowLayout, units_).expandedTo(tabs_->sizeHint());
  setMaximumSize(naturalSize_);
  setMinimumSize(naturalSize_ / 2);
  FitScreen();
  tabs_->setCurrentIndex(0);
}

void CDialogMain::FitScreen() {
  // Room for the window manager's title bar and frame, which the window
  // cannot measure before it is shown.
  const QSize decorations = units_.Map(8, 40);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize room = screen ? screen->availableSize() - decorations : naturalSize_;
  resize(naturalSize_.boundedTo(room.expandedTo(minimumSize())));
}

void CDialogMain::ShowAbout() {
  CAboutDlg about(this, units_);
  about.exec();
}

void CDialogMain::ShowBatch() {
  const BatchPage page = BatchPageOf(dmPage_->isVisibleTo(tabs_) ? dmPage_->Choice() : qrPage_->Choice());
  CBatchDlg batch(this, page, RealBatchDesktop());
  batch.exec();
}
