#include "app/DialogMain.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>

#include "app/AboutDlg.h"
#include "app/AppIcon.h"
#include "app/BatchDesktop.h"
#include "app/BatchDialog.h"
#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/HistoryDialog.h"
#include "app/OpenImage.h"
#include "app/ScreenReading.h"
#include "app/TesselDlg.h"
#include "app/WindowHistory.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"
#include "res/Strings.h"

namespace quillet {

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

// The first local file a drag carries; empty for anything else.
QString DraggedFile(const QMimeData* data) {
  if (data == nullptr) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

bool IsPasteKey(const QEvent* event) {
  return event->type() == QEvent::KeyPress && static_cast<const QKeyEvent*>(event)->matches(QKeySequence::Paste);
}

}  // namespace

CDialogMain::CDialogMain()
    : units_(DialogFont()),
      tabs_(new QTabWidget(this)),
      dmPage_(new CDialogDM(nullptr, units_)),
      qrPage_(new CTesselDlg(nullptr, units_)),
      aboutButton_(new QPushButton(FromUtf8(UiText::AboutEntry))),
      batchButton_(new QPushButton(FromUtf8(UiText::BatchEntry))),
      openButton_(new QPushButton(FromUtf8(UiText::OpenImageEntry))),
      screenButton_(new QPushButton(FromUtf8(UiText::ScreenEntry))),
      historyButton_(new QPushButton(FromUtf8(UiText::HistoryEntry))),
      history_(std::make_unique<WindowHistory>()),
      opener_(std::make_unique<SymbolOpener>(this, tabs_, qrPage_, dmPage_)),
      screen_(std::make_unique<ScreenReading>(this, *opener_)) {
  setWindowTitle(FromUtf8(MainWindowLayout.caption));
  setWindowIcon(AppIcon());
  tabs_->addTab(new PageScroller(qrPage_), FromUtf8(UiText::QrTab));
  tabs_->addTab(new PageScroller(dmPage_), FromUtf8(UiText::DmTab));
  tabs_->setCornerWidget(CornerWithMargin({openButton_, screenButton_, historyButton_, batchButton_, aboutButton_}, units_.X(4)), Qt::TopRightCorner);
  connect(aboutButton_, &QPushButton::clicked, this, &CDialogMain::ShowAbout);
  connect(batchButton_, &QPushButton::clicked, this, &CDialogMain::ShowBatch);
  connect(openButton_, &QPushButton::clicked, this, &CDialogMain::OpenImage);
  new QShortcut(QKeySequence::Open, this, this, &CDialogMain::OpenImage);
  connect(screenButton_, &QPushButton::clicked, this, &CDialogMain::ReadScreen);
  new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), this, this, &CDialogMain::ReadScreen);
  connect(historyButton_, &QPushButton::clicked, this, &CDialogMain::ShowHistory);
  RecordHistory();
  WatchDropsAndPastes();
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
  connect(&batch, &CBatchDlg::RunFinished, this,
          [this](const QString& folder) { RecordShown(HistoryKind::Batch, folder); });
  batch.exec();
}

CDialogMain::~CDialogMain() = default;

void CDialogMain::SetOpenDialogs(OpenDialogs& dialogs) { opener_->SetDialogs(dialogs); }

void CDialogMain::OpenImage() { opener_->AskAndOpen(); }

void CDialogMain::OpenImageFile(const QString& path) { opener_->OpenFile(path); }

void CDialogMain::ReadScreen() { screen_->Start(); }

bool CDialogMain::PasteImage() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasImage()) return false;
  opener_->OpenPicture(qvariant_cast<QImage>(data->imageData()));
  return true;
}

void CDialogMain::ShowHistory() {
  auto* dialog = new CHistoryDlg(this, *history_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    if (const HistoryEntry* entry = history_->List().Find(dialog->Chosen().value_or(0))) OpenEntry(*this, *entry);
  });
  dialog->open();
}

// Saves, copies and drags from either page, batch runs and images opened.
void CDialogMain::RecordHistory() {
  connect(qrPage_, &CSymbolPage::HandedOut, this,
          [this](HistoryKind kind, const QString& place) { history_->Record(EntryOf(*qrPage_, kind, place)); });
  connect(dmPage_, &CSymbolPage::HandedOut, this,
          [this](HistoryKind kind, const QString& place) { history_->Record(EntryOf(*dmPage_, kind, place)); });
  opener_->SetOpened([this](HistoryKind kind, const QString& source) { RecordShown(kind, source); });
}

void CDialogMain::RecordShown(HistoryKind kind, const QString& place) {
  const bool dm = dmPage_->isVisibleTo(tabs_);
  history_->Record(dm ? EntryOf(*dmPage_, kind, place) : EntryOf(*qrPage_, kind, place));
}

// A file dropped on an edit would otherwise become its path as text, and
// Ctrl+V there would paste nothing from a picture: the window takes both.
void CDialogMain::WatchDropsAndPastes() {
  setAcceptDrops(true);
  for (QWidget* child : findChildren<QWidget*>())
    if (child->acceptDrops()) child->installEventFilter(this);
  auto* paste = new QShortcut(QKeySequence::Paste, this);
  paste->setContext(Qt::WindowShortcut);
  connect(paste, &QShortcut::activated, this, &CDialogMain::PasteImage);
}

bool CDialogMain::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if ((type == QEvent::DragEnter || type == QEvent::DragMove) &&
      !DraggedFile(static_cast<QDropEvent*>(event)->mimeData()).isEmpty()) {
    static_cast<QDropEvent*>(event)->acceptProposedAction();
    return true;
  }
  if (type == QEvent::Drop && !DraggedFile(static_cast<QDropEvent*>(event)->mimeData()).isEmpty()) {
    dropEvent(static_cast<QDropEvent*>(event));
    return true;
  }
  const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
  if (IsPasteKey(event) && clipboard != nullptr && !clipboard->hasText()) return PasteImage();
  return QWidget::eventFilter(watched, event);
}

void CDialogMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CDialogMain::dropEvent(QDropEvent* event) {
  const QString path = DraggedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenImageFile(path);
}

}  // namespace quillet
