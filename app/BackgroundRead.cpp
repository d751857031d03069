#include "app/BackgroundRead.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QShortcut>

#include "app/OffThread.h"
#include "app/SymbolPage.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

// The indicator's distance from the picture area's bottom edge, and its bar's width.
constexpr int IndicatorMargin = 8;
constexpr int BarWidth = 80;

QWidget* MakeIndicator(QWidget* window) {
  auto* indicator = new QWidget(window);
  indicator->setAutoFillBackground(true);
  auto* layout = new QHBoxLayout(indicator);
  auto* bar = new QProgressBar(indicator);
  bar->setRange(0, 0);  // no end known: it moves to and fro
  bar->setTextVisible(false);
  bar->setFixedWidth(BarWidth);
  layout->addWidget(bar);
  layout->addWidget(new QLabel(FromUtf8(UiText::Reading), indicator));
  indicator->hide();
  return indicator;
}

}  // namespace

SymbolsInImage ReadImage(const ImageToRead& image, const ReadStop& stop) {
  if (!image.path.isEmpty()) return ReadSymbolsInFile(ToLocalPath(image.path), &stop);
  const QImage grey = image.picture.convertToFormat(QImage::Format_Grayscale8);
  std::vector<uint8_t> pixels(static_cast<size_t>(grey.width()) * grey.height());
  for (int y = 0; y < grey.height(); ++y)
    std::copy_n(grey.constScanLine(y), grey.width(), pixels.begin() + static_cast<ptrdiff_t>(y) * grey.width());
  return ReadSymbolsInPixels(pixels.data(), grey.width(), grey.height(), &stop);
}

CBackgroundRead::CBackgroundRead(QWidget* window, std::function<CSymbolPage*()> pageShown,
                                 std::function<unsigned long()> revision)
    : QObject(window),
      pageShown_(std::move(pageShown)),
      revision_(std::move(revision)),
      indicator_(MakeIndicator(window)),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), window)) {
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this, &CBackgroundRead::Cancel);
  connect(&watcher_, &QFutureWatcher<Read>::finished, this, &CBackgroundRead::OnFinished);
}

void CBackgroundRead::Start(ImageToRead image, std::function<void(const SymbolsInImage&)> done) {
  const unsigned generation = state_.Start(revision_());
  done_ = std::move(done);
  RunOffThread(watcher_, [generation, image = std::move(image), stop = state_.Stop(), reader = reader_] {
    return Read{generation, reader(image, *stop)};
  });
  ShowBusy();
}

void CBackgroundRead::Cancel() {
  state_.Cancel();
  ShowBusy();
}

void CBackgroundRead::OnFinished() {
  if (watcher_.future().resultCount() == 0) return;
  const Read read = watcher_.result();
  const bool current = state_.Finish(read.generation, revision_());
  ShowBusy();
  if (current && done_) std::exchange(done_, nullptr)(read.found);
}

void CBackgroundRead::ShowBusy() {
  escape_->setEnabled(state_.Busy());
  if (!state_.Busy()) return indicator_->hide();
  CSymbolPage* page = pageShown_();
  const QRect area = page->PictureArea().translated(page->mapTo(indicator_->parentWidget(), QPoint()));
  indicator_->adjustSize();
  indicator_->move(area.center().x() - indicator_->width() / 2, area.bottom() - indicator_->height() - IndicatorMargin);
  indicator_->show();
  indicator_->raise();
}

}  // namespace quillet
