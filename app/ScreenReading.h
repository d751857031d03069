// "从屏幕识别": the window steps aside, the screen is captured, the window
// comes back and the capture is read as a pasted picture would be; where
// it holds no symbol or several, a region dragged over the frozen capture
// is read instead. Esc at any point leaves everything as it was.
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>

#include "app/ScreenCapture.h"

class QWidget;

namespace quillet {

class SymbolOpener;

class ScreenReading : public QObject {
 public:
  using CaptureMaker = std::function<std::unique_ptr<ScreenCapture>()>;
  // The region of the picture to read, in its pixels; none when cancelled.
  using RegionChooser = std::function<std::optional<QRect>(const QImage& picture)>;
  // Long enough for the window manager to unmap the window and the
  // compositor to draw what was under it.
  static constexpr int HideDelayMs = 300;

  ScreenReading(QWidget* window, SymbolOpener& opener);
  ~ScreenReading() override;

  // Tests give their own capture and region.
  void SetCapture(CaptureMaker maker) { maker_ = std::move(maker); }
  void SetRegionChooser(RegionChooser chooser) { chooser_ = std::move(chooser); }
  bool Busy() const { return capture_ != nullptr; }
  void Start();

 private:
  void Capture();
  void Captured(const CaptureResult& result);
  void Read(const QImage& picture);
  void Read(const QImage& picture, const QImage& shown);
  void Restore();

  QWidget* window_;
  SymbolOpener& opener_;
  CaptureMaker maker_;
  RegionChooser chooser_;
  std::unique_ptr<ScreenCapture> capture_;
  bool wasShown_ = false;
};

// The frozen capture full screen, dimmed, with the rectangle being dragged
// shown bright; Esc or a click without a drag cancels.
std::optional<QRect> ChooseRegionOnScreen(const QImage& picture);

}  // namespace quillet
