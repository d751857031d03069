#include "app/SymbolPage.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>

#include "app/SaveDialogs.h"
#include "gui/TextBytes.h"
#include "image/ImageWriters.h"
#include "image/SymbolImage.h"
#include "res/Strings.h"

namespace {

QString SaveFilter() {
  QStringList entries;
  for (std::string_view entry : UiText::SaveFilters) entries << FromUtf8(entry);
  return entries.join(QStringLiteral(";;"));
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

void SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, int scale, SaveDialogs& dialogs) {
  if (symbol == nullptr || symbol->Empty()) {
    dialogs.ShowMessage(page, FromUtf8(UiText::NoSymbol), true);
    return;
  }
  const auto choice = dialogs.AskSaveFileName(page, SaveFilter());
  if (!choice) return;
  const QString fileName = AppendDefaultExtension(choice->first, choice->second);
  if (FindEncoderForFile(fileName) != nullptr && QFileInfo::exists(fileName) &&
      !dialogs.ConfirmOverwrite(page, fileName)) {
    return;
  }
  const SaveResult result = SaveSymbolFile(*symbol, scale, fileName);
  if (result.ok) return;
  QString message = FromUtf8(UiText::SaveFailed);
  if (!result.error.isEmpty()) message += QLatin1Char('\n') + result.error;
  dialogs.ShowMessage(page, message, false);
}

CSymbolPage::CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units)
    : QWidget(parent), controls_(layout, this, units), dialogs_(&DesktopSaveDialogs()) {
  setMinimumSize(DialogSize(layout, units));
  auto* zoom = controls_.Get<QSlider>(ControlId::Zoom);
  zoom->setRange(1, 16);
  zoom->setValue(scale_);
  connect(zoom, &QSlider::valueChanged, this, [this](int value) {
    scale_ = value;
    OnScaleChanged();
  });
  connect(controls_.Get<QPushButton>(ControlId::Save), &QPushButton::clicked, this,
          [this] { SaveSymbolImage(this, &symbol_, scale_, *dialogs_); });
}

QRect CSymbolPage::PictureArea() const { return controls_.Get<QWidget>(ControlId::Picture)->geometry(); }

QRect CSymbolPage::SymbolRect() const {
  if (!HasSymbol()) return QRect();
  return CentredSymbolRect(PictureArea(), symbol_.Columns() * scale_);
}

QString CSymbolPage::VersionLabelText() const { return controls_.Get<QLabel>(ControlId::VersionLabel)->text(); }

void CSymbolPage::SetVersionLabel(const QString& text) { controls_.Get<QLabel>(ControlId::VersionLabel)->setText(text); }

void CSymbolPage::ShowSymbol(ModuleMatrix matrix) {
  symbol_ = std::move(matrix);
  pixels_ = HasSymbol() ? SymbolPixels(symbol_) : QImage();
  RepaintSymbolArea();
}

void CSymbolPage::RepaintSymbolArea() {
  // Both where the symbol was and where it is now: a shrinking symbol must
  // not leave pixels behind outside the picture area.
  const QRect now = SymbolRect();
  const QRect changed = (shownRect_ | now) & rect();
  shownRect_ = now;
  if (!changed.isEmpty()) update(changed);
}

void CSymbolPage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().color(QPalette::Button));
  if (HasSymbol()) PaintSymbol(painter, pixels_, PictureArea(), scale_);
}
