#include "app/SymbolView.h"

#include <QLabel>
#include <QPainter>
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

}  // namespace

QRect CentredSymbolRect(const QRect& area, int symbolPixels) {
  const int x0 = area.x() + (area.width() - symbolPixels) / 2;
  const int y0 = area.y() + (area.height() - symbolPixels) / 2;
  return QRect(x0, y0, symbolPixels, symbolPixels);
}

void PaintSymbol(QPainter& painter, const QImage& symbol, const QRect& area, int scale) {
  // Nearest-neighbour scaling by a whole factor gives exactly the module
  // rectangles, with one image draw instead of n * n fills.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(CentredSymbolRect(area, symbol.width() * scale), symbol);
}

QImage SymbolPixels(const ModuleMatrix& matrix) {
  return RenderSymbol(matrix, 1, 0).convertToFormat(QImage::Format_RGB32);
}

SymbolView::SymbolView(QWidget* page, const QRect& pictureArea)
    : page_(page),
      printedSize_(StatusLabel(page, "printedSize")),
      styleStatus_(StatusLabel(page, "styleStatus")) {
  PlaceLabels(pictureArea);
  confirmation_.setSingleShot(true);
  QObject::connect(&confirmation_, &QTimer::timeout, page, [this] { RestorePrintedSize(); });
}

void SymbolView::SetPixels(QImage pixels, int pixelsScale) {
  pixels_ = std::move(pixels);
  pixelsScale_ = pixelsScale;
}

void SymbolView::Paint(QPainter& painter, const QRect& pictureArea, int scale) const {
  if (!pixels_.isNull()) PaintSymbol(painter, pixels_, pictureArea, scale / pixelsScale_);
}

void SymbolView::Repaint(const QRect& now) {
  // Both where the symbol was and where it is now: a shrinking symbol must
  // not leave pixels behind outside the picture area.
  const QRect changed = (shownRect_ | now) & page_->rect();
  shownRect_ = now;
  if (!changed.isEmpty()) page_->update(changed);
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
