// Opening a symbol from an image while the window keeps answering: for a
// small file, a pasted picture, a 4000 x 3000 camera photo and a 3840 x 2160
// screen capture, the time from the open to the page filled, and the longest
// the window's event loop went without turning meanwhile (a 5 ms timer's
// longest gap between ticks).
// Part of gui_bench: gui_bench --benchmark_filter=Read
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "app/DialogMain.h"
#include "app/OpenImage.h"
#include "app/TesselDlg.h"
#include "bench/read/Photos.h"

using namespace quillet;

namespace {

class SilentOpenDialogs : public OpenDialogs {
 public:
  bool spoke = false;
  QString AskImageFile(QWidget*) override { return {}; }
  int PickSymbol(QWidget*, const QString&, const QStringList&) override { return 0; }  // of the screen's two, the first
  Choice AskNotHeld(QWidget*, const QString&) override { return spoke = true, Choice::Cancel; }
  void ShowMessage(QWidget*, const QString&) override { spoke = true; }
};

enum class ReadKind { SmallFile, Paste, Photo, Screen };

struct Input {
  QString file;  // empty: a picture in memory
  QImage picture;
};

Input InputOf(ReadKind kind, const QTemporaryDir& folder) {
  const auto written = [&](const char* name, const QByteArray& bytes) {
    QFile file(folder.filePath(QString::fromLatin1(name)));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
  };
  switch (kind) {
    case ReadKind::SmallFile: return {written("screen.png", PngOf(ScreenCapture().copy(2250, 1250, 400, 400))), {}};
    case ReadKind::Paste: return {{}, ScreenCapture().copy(2250, 1250, 400, 400)};
    case ReadKind::Photo: return {written("photo.jpg", JpegOf(CameraPhoto(true))), {}};
    case ReadKind::Screen: return {{}, ScreenCapture()};
  }
  return {};
}

void BM_ReadWithoutFreezing(benchmark::State& state) {
  const auto kind = static_cast<ReadKind>(state.range(0));
  static const char* const names[] = {"small file", "paste", "4000x3000 photo", "3840x2160 screen"};
  state.SetLabel(names[state.range(0)]);
  QTemporaryDir folder;
  const Input input = InputOf(kind, folder);
  CDialogMain window;
  SilentOpenDialogs dialogs;
  window.SetOpenDialogs(dialogs);
  window.show();
  QTimer ticks;
  QElapsedTimer sinceTick;
  qint64 longestGap = 0;
  ticks.setInterval(5);
  QObject::connect(&ticks, &QTimer::timeout, [&] {
    longestGap = std::max(longestGap, sinceTick.restart());
  });
  std::vector<double> opened;
  for (auto _ : state) {
    QTest::qWait(20);  // the last open's repaints are not this read's
    ticks.start();
    sinceTick.start();
    QElapsedTimer open;
    open.start();
    if (input.file.isEmpty()) window.Opener().OpenPicture(input.picture);
    else window.OpenImageFile(input.file);
    while (window.Opener().Reading().Busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = static_cast<double>(open.nsecsElapsed()) / 1e6;
    ticks.stop();
    state.SetIterationTime(ms / 1e3);
    opened.push_back(ms);
  }
  if (dialogs.spoke || window.QrPage()->CurrentPayload().empty()) state.SkipWithError("the image did not open");
  std::sort(opened.begin(), opened.end());
  state.counters["median_ms"] = opened[opened.size() / 2];
  state.counters["longest_gap_ms"] = static_cast<double>(longestGap);
}
BENCHMARK(BM_ReadWithoutFreezing)->DenseRange(0, 3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
