#include "app/ScreenReading.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/OpenImage.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

std::string_view RefusalText(CaptureRefusal refusal) {
  switch (refusal) {
    case CaptureRefusal::None: break;
    case CaptureRefusal::WaylandNoPortal: return UiText::ScreenWaylandNoPortal;
    case CaptureRefusal::NoScreen: return UiText::ScreenNoScreen;
    case CaptureRefusal::PortalFailed: return UiText::ScreenPortalFailed;
    case CaptureRefusal::PortalTimedOut: return UiText::ScreenPortalTimedOut;
    case CaptureRefusal::Unreadable: return UiText::ScreenUnreadable;
  }
  return {};
}

class RegionOverlay : public QWidget {
 public:
  explicit RegionOverlay(const QImage& picture) : picture_(picture) {
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
    setCursor(Qt::CrossCursor);
    const QScreen* screen = QGuiApplication::primaryScreen();
    setGeometry(screen != nullptr ? screen->virtualGeometry() : QRect(QPoint(), picture.size()));
  }

  std::optional<QRect> Choose() {
    QEventLoop loop;
    done_ = [&loop] { loop.quit(); };
    show();
    activateWindow();
    grabKeyboard();
    loop.exec();
    releaseKeyboard();
    hide();
    return chosen_;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(rect(), picture_);
    painter.fillRect(rect(), QColor(0, 0, 0, 128));
    const QRect drag = Dragged();
    if (dragging_) painter.drawImage(drag, picture_, ToPicture(drag));
    painter.setPen(Qt::white);
    painter.drawText(rect().adjusted(0, 20, 0, 0), Qt::AlignHCenter | Qt::AlignTop, FromUtf8(UiText::ScreenRegionHint));
    if (dragging_) painter.drawRect(drag);
  }
  void mousePressEvent(QMouseEvent* event) override { from_ = to_ = event->position().toPoint(), dragging_ = true; }
  void mouseMoveEvent(QMouseEvent* event) override { to_ = event->position().toPoint(), update(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    to_ = event->position().toPoint();
    // The corners are edges between pixels, in the picture's pixels.
    const QPoint from = ToPicture(from_), to = ToPicture(to_);
    if (const auto box = RegionBox(from.x(), from.y(), to.x(), to.y(), picture_.width(), picture_.height()))
      chosen_ = QRect(QPoint(box->left, box->top), QPoint(box->right - 1, box->bottom - 1));
    done_();
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) done_();
  }

 private:
  // From either corner; QRect::normalized() moves a corner dragged up or
  // left by a pixel.
  QRect Dragged() const {
    return {QPoint(std::min(from_.x(), to_.x()), std::min(from_.y(), to_.y())),
            QPoint(std::max(from_.x(), to_.x()), std::max(from_.y(), to_.y()))};
  }
  // The overlay shows the picture stretched over the screen.
  QPoint ToPicture(const QPoint& shown) const {
    return {shown.x() * picture_.width() / std::max(1, width()), shown.y() * picture_.height() / std::max(1, height())};
  }
  QRect ToPicture(const QRect& shown) const { return {ToPicture(shown.topLeft()), ToPicture(shown.bottomRight())}; }

  QImage picture_;
  QPoint from_, to_;
  bool dragging_ = false;
  std::optional<QRect> chosen_;
  std::function<void()> done_;
};

}  // namespace

std::optional<QRect> ChooseRegionOnScreen(const QImage& picture) { return RegionOverlay(picture).Choose(); }

ScreenReading::ScreenReading(QWidget* window, SymbolOpener& opener)
    : window_(window),
      opener_(opener),
      maker_([] { return MakeScreenCapture(ThisSessionsCapture()); }),
      chooser_(ChooseRegionOnScreen) {}

ScreenReading::~ScreenReading() = default;

void ScreenReading::Start() {
  if (Busy()) return;
  capture_ = maker_();
  wasShown_ = window_->isVisible();
  window_->hide();
  QTimer::singleShot(HideDelayMs, this, &ScreenReading::Capture);
}

void ScreenReading::Capture() {
  capture_->Start([this](const CaptureResult& result) { Captured(result); });
}

void ScreenReading::Captured(const CaptureResult& result) {
  // The capture is done with once it has answered; freed from the event loop.
  capture_.release()->deleteLater();
  Restore();
  if (result.cancelled) return;
  if (result.refusal != CaptureRefusal::None)
    return opener_.Dialogs().ShowMessage(window_, FromUtf8(RefusalText(result.refusal)));
  Read(result.picture);
}

void ScreenReading::Read(const QImage& picture) { Read(picture, picture); }

// `shown`: the whole capture or a region of it; a region is chosen on the whole.
void ScreenReading::Read(const QImage& picture, const QImage& shown) {
  opener_.OpenCapture(shown, [this, picture] {
    if (const std::optional<QRect> region = chooser_(picture)) Read(picture, picture.copy(*region));
  });
}

void ScreenReading::Restore() {
  if (!wasShown_) return;
  window_->show();
  window_->raise();
  window_->activateWindow();
}

}  // namespace quillet
