#include "app/SymbolPage.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <vector>

#include "app/SaveDialogs.h"
#include "gui/TextBytes.h"
#include "image/ImageWriters.h"
#include "image/SymbolImage.h"
#include "res/Strings.h"

namespace {

// A symbol larger than the picture area is painted on the page beneath the
// controls; each control fills its own rectangle with the page's button face
// so it stays whole and readable over the modules, as native controls do.
void PaintOwnBackground(QWidget* control) {
  control->setBackgroundRole(QPalette::Button);
  control->setAutoFillBackground(true);
}

struct FilterEntry {
  QString caption;
  QString extension;  // given to a name typed without one
};

// The formats written beyond the four entries of the saving rule.
std::vector<FilterEntry> FurtherFormatEntries() {
  std::vector<FilterEntry> entries;
  for (const ImageEncoderInfo& encoder : ImageEncoders()) {
    const QString extension = FromUtf8(encoder.defaultExtension);
    const bool inRule = std::any_of(UiText::SaveFilters.begin(), UiText::SaveFilters.end(),
                                    [&](const UiText::FilterItem& item) { return FromUtf8(item.extension) == extension; });
    if (inRule) continue;
    const QString patterns = FromUtf8(encoder.extensions).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
    entries.push_back({FromUtf8(UiText::FurtherFormatFilter).arg(extension.toUpper(), patterns), extension});
  }
  return entries;
}

// The saving rule's four entries in their order, then the further formats.
const std::vector<FilterEntry>& SaveFilterEntries() {
  static const std::vector<FilterEntry> entries = [] {
    std::vector<FilterEntry> all;
    for (const UiText::FilterItem& item : UiText::SaveFilters) all.push_back({FromUtf8(item.caption), FromUtf8(item.extension)});
    for (FilterEntry& further : FurtherFormatEntries()) all.push_back(std::move(further));
    return all;
  }();
  return entries;
}

QStringList SaveFilterCaptions() {
  QStringList captions;
  for (const FilterEntry& entry : SaveFilterEntries()) captions << entry.caption;
  return captions;
}

// A name without a dot in its last component, or ending in one, gets the
// extension of the filter entry selected when the dialog closed.
QString WithFilterExtension(const QString& fileName, int filterEntry) {
  const QString name = QFileInfo(fileName).fileName();
  if (filterEntry < 1 || filterEntry > static_cast<int>(SaveFilterEntries().size())) return fileName;
  const QString& extension = SaveFilterEntries()[filterEntry - 1].extension;
  if (name.endsWith(QLatin1Char('.'))) return fileName + extension;
  if (name.contains(QLatin1Char('.'))) return fileName;
  return fileName + QLatin1Char('.') + extension;
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
  SaveFileQuestion question{SaveFilterCaptions(), dialogs.lastFolder, dialogs.lastFilterEntry, {}};
  QString fileName;
  for (;;) {
    const auto choice = dialogs.AskSaveFileName(page, question);
    if (!choice) return;
    fileName = WithFilterExtension(choice->first, choice->second);
    const QFileInfo chosen(fileName);
    dialogs.lastFolder = chosen.absolutePath();
    dialogs.lastFilterEntry = choice->second;
    // "No" to replacing a file goes back to the dialog, not out of the save.
    if (FindEncoderForFile(fileName) == nullptr || !chosen.exists() || dialogs.ConfirmOverwrite(page, fileName)) break;
    question = SaveFileQuestion{question.filters, dialogs.lastFolder, dialogs.lastFilterEntry, chosen.fileName()};
  }
  const SaveResult result = SaveSymbolFile(*symbol, scale, fileName);
  if (result.ok) return;
  QString message = FromUtf8(UiText::SaveFailed);
  if (!result.error.isEmpty()) message += QLatin1Char('\n') + result.error;
  dialogs.ShowMessage(page, message, false);
}

CSymbolPage::CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units)
    : QWidget(parent), controls_(layout, this, units), dialogs_(&DesktopSaveDialogs()) {
  QWidget* picture = controls_.Get<QWidget>(ControlId::Picture);
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control != picture) PaintOwnBackground(control);
  }
  auto* zoom = controls_.Get<QSlider>(ControlId::Zoom);
  zoom->setRange(1, 16);
  zoom->setValue(scale_);
  connect(zoom, &QSlider::valueChanged, this, [this](int value) {
    scale_ = value;
    OnScaleChanged();
  });
  connect(controls_.Get<QPushButton>(ControlId::Save), &QPushButton::clicked, this, &CSymbolPage::Save);
}

void CSymbolPage::Save() {
  if (contentTooLong_) {
    dialogs_->ShowMessage(this, FromUtf8(UiText::TooLongToSave), true);
    return;
  }
  SaveSymbolImage(this, &symbol_, scale_, *dialogs_);
}

QSize CSymbolPage::minimumSizeHint() const {
  // Every control and a narrow margin: the template's page reaches below its
  // tab control, and its empty strip there is not needed.
  const QRect used = childrenRect();
  return QSize(used.right() + 1 + controls_.Units().X(2), used.bottom() + 1 + controls_.Units().Y(2));
}

QRect CSymbolPage::PictureArea() const { return controls_.Get<QWidget>(ControlId::Picture)->geometry(); }

QRect CSymbolPage::SymbolRect() const {
  if (!HasSymbol()) return QRect();
  return CentredSymbolRect(PictureArea(), symbol_.Columns() * scale_);
}

QString CSymbolPage::VersionLabelText() const { return controls_.Get<QLabel>(ControlId::VersionLabel)->text(); }

void CSymbolPage::SetVersionLabel(const QString& text) { controls_.Get<QLabel>(ControlId::VersionLabel)->setText(text); }

void CSymbolPage::ShowSymbol(ModuleMatrix matrix, bool contentTooLong) {
  symbol_ = std::move(matrix);
  contentTooLong_ = contentTooLong;
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
