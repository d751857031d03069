// Run offscreen: QT_QPA_PLATFORM=offscreen gui_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/DialogDM.h"
#include "app/DialogMain.h"
#include "app/OpenImage.h"
#include "app/SymbolImage.h"
#include "gui/DialogUnits.h"
#include "app/TesselDlg.h"
#include "app/pages/DialogTypeBase.h"
#include "qr/QrCodeEncoder.h"
#include "symbol/SymbolRequest.h"

using namespace quillet;

namespace {

template <typename Widget>
Widget* Control(QWidget* page, int id) {
  return page->findChild<Widget*>(QString::number(id));
}

// Text lengths on the custom page that, with one more character typed, give
// versions 1, 10, 25 and 40 at level L (16 bytes of prefix, tags and ";;").
int BaseLength(int version) {
  switch (version) {
    case 1: return 0;
    case 10: return 254;
    case 25: return 1256;
    default: return 2936;
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// One keystroke in the custom page's field: compose, encode, label and the
// page repainted (grabbed, so that painting really happens offscreen).
void BM_Keystroke(benchmark::State& state) {
  const int version = static_cast<int>(state.range(0));
  const int scale = static_cast<int>(state.range(1));
  CDialogMain window;
  window.show();
  CTesselDlg* page = window.QrPage();
  QTest::mouseClick(Control<QRadioButton>(page, 1011), Qt::LeftButton);
  page->ContentTabs()->Bar()->setCurrentIndex(8);
  auto* level = Control<QComboBox>(page, 1003);
  level->setCurrentIndex(0);
  emit level->activated(0);
  Control<QSlider>(page, 1002)->setValue(scale);
  auto* field = qobject_cast<QPlainTextEdit*>(page->CurrentPage()->FieldEdit(FieldSlotOfTag("TEXT")));
  const QString base(BaseLength(version), u'q');
  field->setFocus();
  // 0: the whole page repainted; 1: only the picture area, which is all a
  // keystroke invalidates besides the edit itself.
  const bool pictureOnly = state.range(2) != 0;

  std::vector<double> samples;
  for (auto _ : state) {
    field->setPlainText(base);
    field->moveCursor(QTextCursor::End);
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(field, Qt::Key_X);
    benchmark::DoNotOptimize(pictureOnly ? page->grab(page->PictureArea()) : page->grab());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1e3);
  }
  if (page->Symbol().Columns() != 17 + 4 * version) state.SkipWithError("unexpected version");
  state.counters["median_ms"] = Median(samples);
}
BENCHMARK(BM_Keystroke)
    ->ArgsProduct({{1, 10, 25, 40}, {4, 16}, {0, 1}})
    ->ArgNames({"version", "scale", "pictureOnly"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

// One keystroke after a megabyte was pasted: the page must only find out
// that the text fits no symbol. 0: the QR custom field; 1: the DM text.
void BM_KeystrokeAfterMegabyte(benchmark::State& state) {
  const bool dmPage = state.range(0) != 0;
  CDialogMain window;
  window.show();
  CTesselDlg* qr = window.QrPage();
  QTest::mouseClick(Control<QRadioButton>(qr, 1011), Qt::LeftButton);
  qr->ContentTabs()->Bar()->setCurrentIndex(8);
  if (dmPage) window.Tabs()->setCurrentIndex(1);
  QWidget* page = dmPage ? static_cast<QWidget*>(window.DmPage()) : qr;
  auto* field = dmPage ? window.DmPage()->TextBox()
                       : qobject_cast<QPlainTextEdit*>(qr->CurrentPage()->FieldEdit(FieldSlotOfTag("TEXT")));
  field->setPlainText(QString(1 << 20, u'q'));
  field->moveCursor(QTextCursor::End);
  field->setFocus();
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(field, Qt::Key_X);
    benchmark::DoNotOptimize(page->grab());
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    samples.push_back(elapsed.count() * 1e3);
  }
  state.counters["median_ms"] = Median(samples);
}
BENCHMARK(BM_KeystrokeAfterMegabyte)->Arg(0)->Arg(1)->ArgName("dmPage")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The parts of a keystroke on their own: the QR encoder alone, and the grab
// of an unchanged page.
void BM_EncodeOnly(benchmark::State& state) {
  const int version = static_cast<int>(state.range(0));
  const std::string input = "\x01\x10" "CUSTOM:TEXT:" + std::string(BaseLength(version) + 1, 'q') + ";;";
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->SetErrorCorrectionLevel("L");
  for (auto _ : state) {
    encoder->Version = 0;
    benchmark::DoNotOptimize(encoder->EncodeData(input.data(), static_cast<int32_t>(input.size())));
  }
  if (encoder->Version != version) state.SkipWithError("unexpected version");
}
BENCHMARK(BM_EncodeOnly)->Arg(1)->Arg(10)->Arg(25)->Arg(40)->ArgName("version")->Unit(benchmark::kMillisecond);

void BM_GrabOnly(benchmark::State& state) {
  CDialogMain window;
  window.show();
  CTesselDlg* page = window.QrPage();
  QTest::mouseClick(Control<QRadioButton>(page, 1011), Qt::LeftButton);
  page->ContentTabs()->Bar()->setCurrentIndex(8);
  auto* field = qobject_cast<QPlainTextEdit*>(page->CurrentPage()->FieldEdit(FieldSlotOfTag("TEXT")));
  field->setPlainText(QString(BaseLength(static_cast<int>(state.range(0))) + 1, u'q'));
  Control<QSlider>(page, 1002)->setValue(static_cast<int>(state.range(1)));
  // Only the picture: what a keystroke's update() repaints.
  const bool pictureOnly = state.range(2) != 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(pictureOnly ? page->grab(page->PictureArea()) : page->grab());
  }
}
BENCHMARK(BM_GrabOnly)
    ->ArgsProduct({{1, 40}, {4, 16}, {0, 1}})
    ->ArgNames({"version", "scale", "pictureOnly"})
    ->Unit(benchmark::kMillisecond);

// Opening answers nothing: a photo that does not open is an error here.
// Process start to main window shown (the program quits right after).
void BM_StartUp(benchmark::State& state) {
  std::vector<double> samples;
  for (auto _ : state) {
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(QUILLET_EXECUTABLE), {QStringLiteral("--quit-when-shown")});
    process.waitForFinished(10000);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    state.SetIterationTime(ms / 1e3);
    samples.push_back(ms);
    if (process.exitCode() != 0) state.SkipWithError("quillet did not start");
  }
  state.counters["median_ms"] = Median(samples);
}
BENCHMARK(BM_StartUp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setFont(DialogFont());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
