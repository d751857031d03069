// "最近" with a full history of 100 entries: reading the file as the window
// starts, and the dialog listing them when the button is clicked.
// Part of gui_bench: gui_bench --benchmark_filter=History
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "app/DialogMain.h"
#include "app/HistoryDialog.h"
#include "app/HistoryStore.h"
#include "app/OpenImage.h"
#include "app/TesselDlg.h"
#include "app/WindowHistory.h"
#include "app/pages/DialogTypeBase.h"

using namespace quillet;

namespace {

// A folder whose history.sqlite holds HistoryCapacity entries, each made
// from the QR page with a different name, so every thumbnail differs.
QString FullHistory(QTemporaryDir& folder) {
  CDialogMain window;
  HistoryStore store(folder.path());
  CTesselDlg& qr = *window.QrPage();
  const auto slot = static_cast<unsigned>(qr.CurrentPage()->Definition().fields[0].slot);
  for (int i = 0; i < HistoryCapacity; ++i) {
    qr.SetFieldValue(slot, "客户 " + std::to_string(i) + " https://example.com/some/longer/path");
    HistoryEntry entry = EntryOf(qr, HistoryKind::Saved, QStringLiteral("/home/user/Pictures/card%1.png").arg(i));
    entry.time = 1'765'000'000 + i;
    store.Add(entry);
  }
  return folder.path();
}

void BM_HistoryReadFile(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = FullHistory(folder);
  for (auto _ : state) {
    HistoryStore store(path);
    History list;
    list.Load(store.Read());
    benchmark::DoNotOptimize(list.Entries().size());
  }
}
BENCHMARK(BM_HistoryReadFile)->Unit(benchmark::kMillisecond);

void BM_HistoryDialogShown(benchmark::State& state) {
  QTemporaryDir folder;
  const QString path = FullHistory(folder);
  CDialogMain window;
  window.History().Keep(std::make_unique<HistoryStore>(path));
  for (auto _ : state) {
    CHistoryDlg dialog(&window, window.History(), window.Opener().Dialogs());
    dialog.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(dialog.List());
  }
}
BENCHMARK(BM_HistoryDialogShown)->Unit(benchmark::kMillisecond);

}  // namespace
