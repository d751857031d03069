#include "app/SymbolPage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>
#include <span>
#include <string>
#include <string_view>

#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/SymbolImage.h"
#include "app/SymbolTransfer.h"
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

// The saving rule's four entries in their order, then the further formats
// the formats table offers.
QStringList SaveFilterCaptions() {
  QStringList captions;
  for (const ImageFormat* format : SaveDialogFormats())
    captions << FromUtf8(format->filterCaption) + QStringLiteral(" (*") + FromUtf8(format->extensions.front()) +
                    QLatin1Char(')');
  return captions;
}

// The default extension of a save-dialog entry, with its dot; empty for none.
QString FilterExtension(int filterEntry) {
  const std::span<const ImageFormat* const> offered = SaveDialogFormats();
  if (filterEntry < 1 || filterEntry > static_cast<int>(offered.size())) return {};
  return FromUtf8(offered[filterEntry - 1]->extensions.front());
}

// Reserved somewhere: path separators, and what FAT and NTFS refuse.
bool UnsafeInFileName(char32_t c) {
  return !QChar::isPrint(c) || std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
}

// How long the confirmation of a save that read back stays in the page.
constexpr int ConfirmationMs = 4000;

QString Text(std::string_view utf8) { return FromUtf8(utf8); }

QString RiskText(ReadBackRisk risk) {
  switch (risk) {
    case ReadBackRisk::NoQuietZone: return Text(UiText::RiskNoQuietZone);
    case ReadBackRisk::OnePixelModules: return Text(UiText::RiskOnePixel);
    case ReadBackRisk::JpegAtSmallScale: return Text(UiText::RiskJpeg);
    case ReadBackRisk::None: break;
  }
  return {};
}

QString ReadBackProblem(const ReadBackResult& result) {
  switch (result.status) {
    case ReadBackStatus::DifferentBytes: return Text(UiText::DifferentBytesWhy);
    case ReadBackStatus::CannotCheck: return Text(UiText::CannotCheckWhy).arg(CannotCheckReason(result));
    case ReadBackStatus::NotRead:
    case ReadBackStatus::ReadBack: break;
  }
  return Text(UiText::NotReadBackWhy);
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

std::optional<std::string> SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, int scale,
                                           SaveDialogs& dialogs, const QString& content) {
  if (symbol == nullptr || symbol->Empty()) {
    dialogs.ShowMessage(page, FromUtf8(UiText::NoSymbol), true);
    return std::nullopt;
  }
  SaveFileQuestion question{SaveFilterCaptions(), dialogs.lastFolder, dialogs.lastFilterEntry,
                            SuggestedFileName(content, dialogs.lastFilterEntry)};
  QString shownName;
  for (;;) {
    const auto choice = dialogs.AskSaveFileName(page, question);
    if (!choice) return std::nullopt;
    shownName = FromLocalPath(AppendDefaultExtension(ToLocalPath(choice->first), choice->second));
    const QFileInfo chosen(shownName);
    dialogs.lastFolder = chosen.absolutePath();
    dialogs.lastFilterEntry = choice->second;
    // "No" to replacing a file goes back to the dialog, not out of the save.
    if (FindFormatForFile(ToLocalPath(shownName)) == nullptr || !chosen.exists() ||
        dialogs.ConfirmOverwrite(page, shownName))
      break;
    question = SaveFileQuestion{question.filters, dialogs.lastFolder, dialogs.lastFilterEntry, chosen.fileName()};
  }
  const ImageResult result = SaveImageFile(*symbol, PageImageOptions(scale), ToLocalPath(shownName));
  if (result.Ok()) return ToLocalPath(shownName);
  dialogs.ShowMessage(page, FromUtf8(UiText::SaveFailed) + QLatin1Char('\n') + DescribeSaveFailure(result), false);
  return std::nullopt;
}

QString SuggestedFileName(const QString& content, int filterEntry) {
  std::u32string name;
  for (const char32_t c : content.toUcs4()) name += UnsafeInFileName(c) ? U' ' : c;
  QString safe = QString::fromUcs4(name.data(), static_cast<qsizetype>(name.size())).simplified();
  // A leading dot hides the file; Windows drops trailing dots and blanks.
  while (safe.startsWith(QLatin1Char('.')) || safe.startsWith(QLatin1Char(' '))) safe.remove(0, 1);
  const std::u32string start = safe.toStdU32String().substr(0, MaxSuggestedNameLength);
  safe = QString::fromUcs4(start.data(), static_cast<qsizetype>(start.size()));
  while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' '))) safe.chop(1);
  return (safe.isEmpty() ? FromUtf8(UiText::DefaultFileName) : safe) + FilterExtension(filterEntry);
}

CSymbolPage::CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units, Symbology symbology)
    : QWidget(parent),
      controls_(layout, this, units),
      symbology_(symbology),
      printedSize_(new QLabel(this)),
      copyAction_(new QAction(Text(UiText::CopyImage), this)),
      saveAsAction_(new QAction(Text(UiText::SaveAs), this)),
      dialogs_(&DesktopSaveDialogs()) {
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
  connect(controls_.Get<QPushButton>(ControlId::Save), &QPushButton::clicked, this, &CSymbolPage::SaveAndVerify);
  // Clicking the picture gives the page the focus, so that Ctrl+C there
  // copies the symbol; in a text field it keeps copying the selected text.
  setFocusPolicy(Qt::ClickFocus);
  copyAction_->setShortcut(QKeySequence::Copy);
  saveAsAction_->setShortcut(QKeySequence::Save);
  for (QAction* action : {copyAction_, saveAsAction_}) {
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
  }
  connect(copyAction_, &QAction::triggered, this, &CSymbolPage::CopySymbol);
  connect(saveAsAction_, &QAction::triggered, this, &CSymbolPage::SaveAndVerify);
  printedSize_->setObjectName(QStringLiteral("printedSize"));
  printedSize_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  PlacePrintedSizeLabel();
  confirmation_.setSingleShot(true);
  connect(&confirmation_, &QTimer::timeout, this, &CSymbolPage::ShowPrintedSize);
}

QSize CSymbolPage::minimumSizeHint() const {
  // Every control and a narrow margin: the template's page reaches below its
  // tab control, and its empty strip there is not needed.
  const QRect used = childrenRect();
  return QSize(used.right() + 1 + controls_.Units().X(2), used.bottom() + 1 + controls_.Units().Y(2));
}

QString CSymbolPage::PrintedSizeText() const { return printedSize_->text(); }

// Beneath the picture area, in the first free strip below it, clear of the
// template's controls: a control reaching in from the left (the QR page's
// note) pushes it down, one on the right (a save button) cuts it short.
void CSymbolPage::PlacePrintedSizeLabel() {
  const QRect area = PictureArea();
  const int gap = printedSize_->fontMetrics().height() / 4;
  QRect place(area.left(), area.bottom() + gap, area.width(), printedSize_->fontMetrics().height());
  for (bool moved = true; moved;) {
    moved = false;
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (control == printedSize_ || !control->geometry().intersects(place)) continue;
      if (control->geometry().left() <= place.center().x()) place.moveTop(control->geometry().bottom() + 1);
      else place.setRight(control->geometry().left() - 2 * gap);
      moved = true;
    }
  }
  printedSize_->setGeometry(place);
}

void CSymbolPage::ShowPrintedSize() {
  confirmation_.stop();
  printedSize_->setText(HasSymbol() ? ::PrintedSizeText(symbol_, scale_) : QString());
}

void CSymbolPage::CopySymbol() {
  if (!HasSymbol()) {
    dialogs_->ShowMessage(this, Text(UiText::NoSymbol), true);
    return;
  }
  if (QMimeData* data = SymbolMimeData(symbol_, scale_)) QApplication::clipboard()->setMimeData(data);
}

void CSymbolPage::SaveAndVerify() {
  if (contentTooLong_) {
    dialogs_->ShowMessage(this, FromUtf8(UiText::TooLongToSave), true);
    return;
  }
  const std::optional<std::string> fileName = SaveSymbolImage(this, &symbol_, scale_, *dialogs_, FileNameHint());
  if (!fileName) return;
  ReportReadBack(*fileName, VerifySymbolFile(*fileName, symbol_, PageImageOptions(scale_), symbology_, encoded_));
}

// A file that reads back gets a short confirmation in the page; one that
// does not stays on disk, and the user is told why it may not scan.
void CSymbolPage::ReportReadBack(const std::string& fileName, const ReadBackResult& result) {
  if (result.Ok()) {
    printedSize_->setText(Text(UiText::SavedAndReadBack).arg(QString::fromStdString(result.decoder)));
    confirmation_.start(ConfirmationMs);
    return;
  }
  QString why = ReadBackProblem(result);
  if (const ImageFormat* format = FindFormatForFile(fileName))
    if (const QString risk = RiskText(LikelyReadBackRisk(*format, PageImageOptions(scale_))); !risk.isEmpty()) why += QLatin1Char('\n') + risk;
  const QString shownName = FromLocalPath(fileName);
  dialogs_->ShowMessage(this, Text(UiText::NotReadBack).arg(shownName, why), true);
}

void CSymbolPage::contextMenuEvent(QContextMenuEvent* event) {
  if (!PictureArea().contains(event->pos())) return QWidget::contextMenuEvent(event);
  QMenu menu(this);
  menu.addAction(copyAction_);
  menu.addAction(saveAsAction_);
  menu.exec(event->globalPos());
}

void CSymbolPage::mousePressEvent(QMouseEvent* event) {
  dragStart_.reset();
  if (event->button() == Qt::LeftButton && SymbolRect().contains(event->pos())) dragStart_ = event->pos();
  QWidget::mousePressEvent(event);
}

// Dragging the symbol out drops a PNG file (and the image itself) in other programs.
void CSymbolPage::mouseMoveEvent(QMouseEvent* event) {
  if (!dragStart_ || !(event->buttons() & Qt::LeftButton) || !HasSymbol() ||
      (event->pos() - *dragStart_).manhattanLength() < QApplication::startDragDistance())
    return QWidget::mouseMoveEvent(event);
  dragStart_.reset();
  auto* drag = new QDrag(this);
  drag->setMimeData(SymbolDragData(symbol_, scale_));
  drag->setPixmap(QPixmap::fromImage(pixels_.scaled(pixels_.size() * std::min(scale_, 4))));
  drag->exec(Qt::CopyAction);
}

QRect CSymbolPage::PictureArea() const { return controls_.Get<QWidget>(ControlId::Picture)->geometry(); }

QRect CSymbolPage::SymbolRect() const {
  if (!HasSymbol()) return QRect();
  return CentredSymbolRect(PictureArea(), symbol_.Columns() * scale_);
}

QString CSymbolPage::VersionLabelText() const { return controls_.Get<QLabel>(ControlId::VersionLabel)->text(); }

void CSymbolPage::SetVersionLabel(const QString& text) { controls_.Get<QLabel>(ControlId::VersionLabel)->setText(text); }

void CSymbolPage::ShowSymbol(ModuleMatrix matrix, std::string encoded, bool contentTooLong) {
  symbol_ = std::move(matrix);
  contentTooLong_ = contentTooLong;
  encoded_ = HasSymbol() ? std::move(encoded) : std::string();
  pixels_ = HasSymbol() ? SymbolPixels(symbol_) : QImage();
  ShowPrintedSize();
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
