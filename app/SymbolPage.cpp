#include "app/SymbolPage.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>
#include <span>
#include <string>

#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/SymbolImage.h"
#include "gui/TextBytes.h"
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

// A name as the file system takes it.
std::string LocalPath(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

// The saving rule's four entries in their order, then the further formats
// the formats table offers.
QStringList SaveFilterCaptions() {
  QStringList captions;
  for (const ImageFormat* format : SaveDialogFormats())
    captions << FromUtf8(format->filterCaption) + QStringLiteral(" (*") + FromUtf8(format->extensions.front()) +
                    QLatin1Char(')');
  return captions;
}

// A name without a dot in its last component, or ending in one, gets the
// extension of the filter entry selected when the dialog closed.
QString WithFilterExtension(const QString& fileName, int filterEntry) {
  const std::span<const ImageFormat* const> offered = SaveDialogFormats();
  if (filterEntry < 1 || filterEntry > static_cast<int>(offered.size())) return fileName;
  const QString extension = FromUtf8(offered[filterEntry - 1]->extensions.front());  // with its dot
  const QString name = QFileInfo(fileName).fileName();
  if (name.endsWith(QLatin1Char('.'))) return fileName + extension.mid(1);
  if (name.contains(QLatin1Char('.'))) return fileName;
  return fileName + extension;
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
  QString shownName;
  for (;;) {
    const auto choice = dialogs.AskSaveFileName(page, question);
    if (!choice) return;
    shownName = WithFilterExtension(choice->first, choice->second);
    const QFileInfo chosen(shownName);
    dialogs.lastFolder = chosen.absolutePath();
    dialogs.lastFilterEntry = choice->second;
    // "No" to replacing a file goes back to the dialog, not out of the save.
    if (FindFormatForFile(LocalPath(shownName)) == nullptr || !chosen.exists() ||
        dialogs.ConfirmOverwrite(page, shownName))
      break;
    question = SaveFileQuestion{question.filters, dialogs.lastFolder, dialogs.lastFilterEntry, chosen.fileName()};
  }
  ImageOptions options;
  options.scale = scale;
  const ImageResult result = SaveImageFile(*symbol, options, LocalPath(shownName));
  if (result.Ok()) return;
  dialogs.ShowMessage(page, FromUtf8(UiText::SaveFailed) + QLatin1Char('\n') + DescribeSaveFailure(result), false);
}

CSymbolPage::CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units)
    : QWidget(parent), controls_(layout, this, units), dialogs_(&DesktopSaveDialogs()) {
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
