// A stand-in for the desktop's screenshot portal on a private session bus:
// answers Screenshot with the Response given on the command line.
//   stand-in-portal CODE [PICTURE]   (CODE 0: the picture's uri, 1: cancelled)
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

class ScreenshotPortal : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
 public:
  ScreenshotPortal(uint code, QString picture) : code_(code), picture_(std::move(picture)) {}

 public slots:
  QDBusObjectPath Screenshot(const QString&, const QVariantMap& options, const QDBusMessage& call) {
    QString sender = call.service().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                .arg(sender, options.value(QStringLiteral("handle_token")).toString());
    // The user picks the region in the desktop's own tool: a call that
    // does not ask for it fails.
    const uint code = options.value(QStringLiteral("interactive")).toBool() ? code_ : 2;
    // After the reply, as a desktop answers once the user is done.
    QTimer::singleShot(50, this, [this, code, request, to = call.service()] {
      QDBusMessage response = QDBusMessage::createTargetedSignal(to, request, QStringLiteral("org.freedesktop.portal.Request"),
                                                                 QStringLiteral("Response"));
      QVariantMap results;
      if (!picture_.isEmpty()) results[QStringLiteral("uri")] = QUrl::fromLocalFile(picture_).toString();
      response << code << results;
      QDBusConnection::sessionBus().send(response);
    });
    return QDBusObjectPath(request);
  }

 private:
  uint code_;
  QString picture_;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  ScreenshotPortal portal(QString::fromLocal8Bit(argv[1]).toUInt(), argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal, QDBusConnection::ExportAllSlots) ||
      !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
    return 1;
  return app.exec();
}

#include "StandInPortal.moc"
