#include "app/SymbolView.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include "app/SymbolImage.h"

namespace quillet {

namespace {

// How long the confirmation of a save that read back stays in the page.
constexpr int ConfirmationMs = 4000;

QLabel* StatusLabel(QWidget* page, const char* name) {
  auto* label = new QLabel(page);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// The symbol at the size it is shown, as large as that; the scroll area
// around it clips it to the picture area and centres it when it is smaller.
class SymbolCanvas : public QWidget {
 public:
  SymbolCanvas(QWidget* parent, const QImage& pixels) : QWidget(parent), pixels_(pixels) {
    // Clicks, drags and the context menu go to the page, as on the picture area.
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (pixels_.isNull()) return;
    // Nearest-neighbour scaling by a whole factor gives exactly the module
    // rectangles, with one image draw instead of n * n fills.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), pixels_);
  }

 private:
  const QImage& pixels_;
};

// Inside the frame's line, borderless, showing the page beneath where there is no symbol.
QScrollArea* PictureScroller(QWidget* page, const QRect& pictureArea) {
  auto* scroller = new QScrollArea(page);
  scroller->setObjectName(QStringLiteral("pictureScroller"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setAlignment(Qt::AlignCenter);
  scroller->setWidgetResizable(false);
  // The tab order stays the template's; the wheel and the bars scroll.
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->viewport()->setAutoFillBackground(false);
  scroller->setGeometry(pictureArea.adjusted(1, 1, -1, -1));
  return scroller;
}

}  // namespace

QImage SymbolPixels(const ModuleMatrix& matrix) {
  return RenderSymbol(matrix, 1, 0).convertToFormat(QImage::Format_RGB32);
}

SymbolView::SymbolView(QWidget* page, const QRect& pictureArea)
    : page_(page),
      scroller_(PictureScroller(page, pictureArea)),
      canvas_(new SymbolCanvas(nullptr, pixels_)),
      printedSize_(StatusLabel(page, "printedSize")),
      styleStatus_(StatusLabel(page, "styleStatus")) {
  scroller_->setWidget(canvas_);
  canvas_->resize(0, 0);
  PlaceLabels(pictureArea);
  confirmation_.setSingleShot(true);
  QObject::connect(&confirmation_, &QTimer::timeout, page, [this] { RestorePrintedSize(); });
}

void SymbolView::Show(QImage pixels, int pixelsScale, int scale) {
  pixels_ = std::move(pixels);
  pixelsScale_ = pixelsScale;
  const QSize size = pixels_.isNull() ? QSize(0, 0) : pixels_.size() * (scale / pixelsScale_);
  if (size != canvas_->size()) {
    canvas_->resize(size);
    for (QScrollBar* bar : {scroller_->horizontalScrollBar(), scroller_->verticalScrollBar()})
      bar->setValue((bar->minimum() + bar->maximum()) / 2);
  }
  canvas_->update();
}

QRect SymbolView::SymbolRect() const {
  if (pixels_.isNull()) return {};
  return QRect(canvas_->mapTo(page_, QPoint(0, 0)), canvas_->size());
}

QRect SymbolView::ShownSymbolRect() const {
  return SymbolRect() & QRect(scroller_->viewport()->mapTo(page_, QPoint(0, 0)), scroller_->viewport()->size());
}

// Beneath the picture area, in the first free strip below it, clear of the
// template's controls: a control reaching in from the left (the QR page's
// note) pushes it down, one on the right (a save button) cuts it short. The
// style's status goes in the strip below the printed size.
void SymbolView::PlaceLabels(const QRect& area) {
  const int gap = printedSize_->fontMetrics().height() / 4;
  printedSize_->setGeometry(FreeStripBelow(printedSize_, area, area.bottom() + gap, gap));
  styleStatus_->hide();
  styleStatus_->setGeometry(FreeStripBelow(styleStatus_, area, printedSize_->geometry().bottom() + 1, gap));
}

QRect SymbolView::FreeStripBelow(const QWidget* label, const QRect& area, int top, int gap) const {
  QRect place(area.left(), top, area.width(), label->fontMetrics().height());
  for (bool moved = true; moved;) {
    moved = false;
    for (QWidget* control : page_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (control == label || !control->isVisibleTo(page_) || !control->geometry().intersects(place)) continue;
      if (control->geometry().left() <= place.center().x()) place.moveTop(control->geometry().bottom() + 1);
      else place.setRight(control->geometry().left() - 2 * gap);
      moved = true;
    }
  }
  return place;
}

void SymbolView::ShowPrintedSize(const QString& text, bool problem) {
  sizeText_ = text;
  sizeProblem_ = problem;
  RestorePrintedSize();
}

void SymbolView::RestorePrintedSize() {
  confirmation_.stop();
  printedSize_->setStyleSheet(sizeProblem_ ? QStringLiteral("color: #c00000") : QString());
  printedSize_->setText(sizeText_);
}

void SymbolView::ShowConfirmation(const QString& text) {
  printedSize_->setText(text);
  confirmation_.start(ConfirmationMs);
}

QString SymbolView::PrintedSizeText() const { return printedSize_->text(); }

void SymbolView::ShowStyleStatus(const QString& text, bool problem) {
  styleStatus_->setStyleSheet(problem ? QStringLiteral("color: red") : QString());
  // A long reason is cut short in the page; the tooltip, the dialog and a
  // refused save give it whole.
  styleStatus_->setText(styleStatus_->fontMetrics().elidedText(text, Qt::ElideRight, styleStatus_->width()));
  styleStatus_->setToolTip(text);
  styleStatus_->setVisible(!text.isEmpty());
}

QString SymbolView::StyleStatusText() const { return styleStatus_->toolTip(); }

}  // namespace quillet
