#include "app/ScreenCapture.h"

#include <QBuffer>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QUrl>

#include "verify/InputFile.h"

namespace quillet {

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
// A screenshot of several 8K screens as PNG stays well below this.
constexpr int64_t MaxScreenshotBytes = 512LL << 20;

bool PortalAnswers() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  if (bus.interface()->isServiceRegistered(PortalService).value()) return true;
  return bus.interface()->activatableServiceNames().value().contains(PortalService);
}

// Every screen, each at its place in the virtual desktop, in device pixels.
class X11Capture : public ScreenCapture {
 public:
  void Start(Done done) override {
    QTimer::singleShot(0, this, [done] {
      const QImage picture = Grab();
      done(picture.isNull() ? CaptureResult{{}, CaptureRefusal::NoScreen} : CaptureResult{picture});
    });
  }

 private:
  static QImage Grab() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) return {};
    const QRect desktop = screens.first()->virtualGeometry();
    const qreal ratio = screens.first()->devicePixelRatio();
    QImage picture((desktop.size() * ratio), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (QScreen* screen : screens) {
      const QRect place = screen->geometry().translated(-desktop.topLeft());
      painter.drawPixmap(QRectF(place.topLeft() * ratio, place.size() * ratio), screen->grabWindow(0), QRectF());
    }
    return picture;
  }
};

class RefusedCapture : public ScreenCapture {
 public:
  explicit RefusedCapture(CaptureRefusal refusal) : refusal_(refusal) {}
  void Start(Done done) override {
    QTimer::singleShot(0, this, [this, done] { done({{}, refusal_}); });
  }

 private:
  CaptureRefusal refusal_;
};

// The portal's picture is a file someone else wrote: bounded before it is
// decoded, its kind told by its bytes.
QImage ReadPortalPicture(const QString& path) {
  const InputFile file = ReadInputFile(path.toStdString(), MaxScreenshotBytes);
  if (file.failure != InputFileFailure::None) return {};
  QByteArray bytes = QByteArray::fromRawData(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  const QSize size = reader.size();
  if (!size.isValid() || static_cast<int64_t>(size.width()) * size.height() > MaxImagePixels) return {};
  return reader.read();
}

// Where the portal will answer: its request object is named after our bus
// name and the token we give.
QString RequestPath(const QString& token) {
  QString sender = QDBusConnection::sessionBus().baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  return PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

}  // namespace

CaptureChoice ThisSessionsCapture() {
  const SessionFacts facts{QGuiApplication::platformName().toStdString(), qEnvironmentVariable("XDG_SESSION_TYPE").toStdString(),
                           PortalAnswers()};
  return ChooseCapture(facts);
}

std::unique_ptr<ScreenCapture> MakeScreenCapture(const CaptureChoice& choice) {
  switch (choice.route) {
    case CaptureRoute::X11: return std::make_unique<X11Capture>();
    case CaptureRoute::Portal: return std::make_unique<PortalCapture>();
    case CaptureRoute::Unavailable: break;
  }
  return std::make_unique<RefusedCapture>(choice.refusal);
}

PortalCapture::PortalCapture(int timeoutMs) {
  timeout_.setSingleShot(true);
  timeout_.setInterval(timeoutMs);
  connect(&timeout_, &QTimer::timeout, this, [this] { Finish({{}, CaptureRefusal::PortalTimedOut}); });
}

void PortalCapture::Start(Done done) {
  done_ = std::move(done);
  const QString token = QStringLiteral("quillet%1").arg(QRandomGenerator::global()->generate());
  // Listening before asking: the answer may come before the call returns.
  Listen(RequestPath(token));
  QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                     QStringLiteral("Screenshot"));
  call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("interactive"), true}};
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError()) return Finish({{}, CaptureRefusal::PortalFailed});
    // An older portal names its request otherwise.
    if (reply.value().path() != listening_) Listen(reply.value().path());
  });
  timeout_.start();
}

void PortalCapture::Listen(const QString& requestPath) {
  listening_ = requestPath;
  QDBusConnection::sessionBus().connect(PortalService, requestPath, RequestInterface, QStringLiteral("Response"), this,
                                        SLOT(Answered(uint, QVariantMap)));
}

void PortalCapture::Answered(uint code, const QVariantMap& results) {
  const QUrl uri(results.value(QStringLiteral("uri")).toString());
  switch (InterpretPortalResponse(code, uri.isLocalFile())) {
    case PortalOutcome::Cancelled: return Finish({{}, CaptureRefusal::None, true});
    case PortalOutcome::Failed: return Finish({{}, CaptureRefusal::PortalFailed});
    case PortalOutcome::Picture: break;
  }
  const QImage picture = ReadPortalPicture(uri.toLocalFile());
  Finish(picture.isNull() ? CaptureResult{{}, CaptureRefusal::Unreadable} : CaptureResult{picture});
}

void PortalCapture::Finish(const CaptureResult& result) {
  if (!done_) return;
  timeout_.stop();
  QDBusConnection::sessionBus().disconnect(PortalService, listening_, RequestInterface, QStringLiteral("Response"), this,
                                           SLOT(Answered(uint, QVariantMap)));
  std::exchange(done_, nullptr)(result);
}

}  // namespace quillet
