// A picture of the screen: X11's screens grabbed directly, or the desktop
// portal's screenshot on Wayland, chosen at run time; or why there is none.
#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <functional>
#include <memory>

#include "model/ScreenRead.h"

namespace quillet {

struct CaptureResult {
  QImage picture;
  CaptureRefusal refusal = CaptureRefusal::None;
  bool cancelled = false;  // the user cancelled the desktop's own screenshot
};

class ScreenCapture : public QObject {
 public:
  using Done = std::function<void(const CaptureResult&)>;
  // `done` is called once, later from the event loop, never from within.
  virtual void Start(Done done) = 0;
};

// The route for this session, as ChooseCapture decides.
CaptureChoice ThisSessionsCapture();
std::unique_ptr<ScreenCapture> MakeScreenCapture(const CaptureChoice& choice);

// The portal's Screenshot, interactive, answered by a Response signal on
// the request's object; a timeout where the desktop never answers.
class PortalCapture : public ScreenCapture {
  Q_OBJECT
 public:
  // Long enough for the user to pick a region in the desktop's own tool.
  static constexpr int DefaultTimeoutMs = 120'000;
  explicit PortalCapture(int timeoutMs = DefaultTimeoutMs);
  void Start(Done done) override;

 private slots:
  void Answered(uint code, const QVariantMap& results);

 private:
  void Finish(const CaptureResult& result);
  void Listen(const QString& requestPath);

  Done done_;
  QTimer timeout_;
  QString listening_;
};

}  // namespace quillet
