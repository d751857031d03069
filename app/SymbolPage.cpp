#include "app/SymbolPage.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>

#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/SymbolImage.h"
#include "content/pages/TextBytes.h"
#include "image/ImageFormats.h"
#include "res/Strings.h"

namespace {

// A symbol larger than the picture area is painted on the page beneath the
// controls; each control fills its own rectangle with the page's button face
// so it stays whole and readable over the modules, as native controls do.
void PaintOwnBackground(QWidget* control) {
  control->setBackgroundRole(QPalette::Button);
  control->setAutoFillBackground(true);
}

QString SaveFilter() {
  QStringList entries;
  for (const ImageFormat* format : SaveDialogFormats())
    entries << FromUtf8(format->filterCaption) + QStringLiteral(" (*") + FromUtf8(format->extensions.front()) +
                   QLatin1Char(')');
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
  const std::string fileName = AppendDefaultExtension(QFile::encodeName(choice->first).toStdString(), choice->second);
  const QString shownName = QFile::decodeName(QByteArray::fromStdString(fileName));
  if (FindFormatForFile(fileName) != nullptr && QFileInfo::exists(shownName) &&
      !dialogs.ConfirmOverwrite(page, shownName)) {
    return;
  }
  ImageOptions options;
  options.scale = scale;
  const ImageResult result = SaveImageFile(*symbol, options, fileName);
  if (result.Ok()) return;
  dialogs.ShowMessage(page, FromUtf8(UiText::SaveFailed) + QLatin1Char('\n') + DescribeSaveFailure(result), false);
}

CSymbolPage::CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units)
    : QWidget(parent), controls_(layout, this, units), dialogs_(&DesktopSaveDialogs()) {
  setMinimumSize(DialogSize(layout, units));
  QWidget* picture = controls_.Get<QWidget>(ControlId::Picture);
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control != picture) PaintOwnBackground(control);
  }
  auto* zoom = controls_.Get<QSlider>(ControlId::Zoom);
  zoom->setRange(MinScale, MaxScale);
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
