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
#include <QPromise>
#include <QPushButton>
#include <QSlider>
#include <QThreadPool>
#include <cmath>
#include <span>
#include <string>
#include <string_view>

#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/StyleDialog.h"
#include "app/SymbolImage.h"
#include "app/SymbolTransfer.h"
#include "gui/TextBytes.h"
#include "image/ImageFormats.h"
#include "image/StyledImage.h"
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
    captions << FromUtf8(UiText::SaveFormatCaption(format->name)) + QStringLiteral(" (*") + FromUtf8(format->extensions.front()) +
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
// The pause in typing after which a styled symbol is read back.
constexpr int StyleCheckDelayMs = 250;

QString Chinese(std::string_view utf8) { return FromUtf8(utf8); }

QString RiskText(ReadBackRisk risk) {
  switch (risk) {
    case ReadBackRisk::NoQuietZone: return Chinese(UiText::RiskNoQuietZone);
    case ReadBackRisk::OnePixelModules: return Chinese(UiText::RiskOnePixel);
    case ReadBackRisk::JpegAtSmallScale: return Chinese(UiText::RiskJpeg);
    case ReadBackRisk::None: break;
  }
  return {};
}

QString ReadBackProblem(const ReadBackResult& result) {
  switch (result.status) {
    case ReadBackStatus::DifferentBytes: return Chinese(UiText::DifferentBytesWhy);
    case ReadBackStatus::CannotCheck: return Chinese(UiText::CannotCheckWhy).arg(CannotCheckReason(result));
    case ReadBackStatus::NotRead:
    case ReadBackStatus::ReadBack: break;
  }
  return Chinese(UiText::NotReadBackWhy);
}

QString ColourName(Rgb colour) { return QString::fromStdString(FormatColour(colour)); }

// The contrast rule's refusal, naming the colours and their ratio.
QString ContrastProblem(const StyleCheck& check, const SymbolStyle& style) {
  const std::string_view text = check.failure == StyleFailure::Inverted ? UiText::StyleInverted : UiText::StyleLowContrast;
  const Rgb background = SolidBackground(style);
  return Chinese(text).arg(ColourName(style.foreground), ColourName(background)).arg(check.ratio, 0, 'f', 2);
}

QString LogoProblem(const LogoFit& fit, const Symbol& symbol) {
  const QString level = FromUtf8(UiText::ErrorCorrectionLevels[QrLevelPosition(symbol.level)]);
  switch (fit.failure) {
    case LogoFailure::NotQrCode: return Chinese(UiText::StyleNoLogoInDm);
    case LogoFailure::NoRoom: return Chinese(UiText::StyleNoLogoRoom).arg(level).arg(symbol.version);
    case LogoFailure::TooLarge:
      return Chinese(UiText::StyleLogoTooLarge).arg(level).arg(symbol.version).arg(std::floor(fit.largestShare * 100));
    case LogoFailure::None: break;
  }
  return {};
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

std::optional<std::string> SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, const ImageOptions& options,
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
  const ImageResult result = SaveImageFile(*symbol, options, ToLocalPath(shownName));
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
      copyAction_(new QAction(Chinese(UiText::CopyImage), this)),
      saveAsAction_(new QAction(Chinese(UiText::SaveAs), this)),
      styleAction_(new QAction(Chinese(UiText::StyleEntry), this)),
      styleStatus_(new QLabel(this)),
      fileOptions_(PageImageOptions(scale_)),
      dialogs_(&DesktopSaveDialogs()),
      styleDialogs_(&DesktopStyleDialogs()) {
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
  connect(controls_.Get<QPushButton>(ControlId::Style), &QPushButton::clicked, this, &CSymbolPage::EditStyle);
  connect(styleAction_, &QAction::triggered, this, &CSymbolPage::EditStyle);
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
  PlaceStyleStatusLabel();
  confirmation_.setSingleShot(true);
  connect(&confirmation_, &QTimer::timeout, this, &CSymbolPage::ShowPrintedSize);
  checkDelay_.setSingleShot(true);
  connect(&checkDelay_, &QTimer::timeout, this, &CSymbolPage::StartStyleCheck);
  connect(&checkWatcher_, &QFutureWatcher<CheckedStyle>::finished, this, &CSymbolPage::OnStyleChecked);
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
// note) pushes it down, one on the right (a save button) cuts it short. The
// style's status goes in the strip below the printed size.
void CSymbolPage::PlacePrintedSizeLabel() {
  const QRect area = PictureArea();
  const int gap = printedSize_->fontMetrics().height() / 4;
  printedSize_->setGeometry(FreeStripBelow(printedSize_, area.bottom() + gap, gap));
}

QRect CSymbolPage::FreeStripBelow(const QWidget* label, int top, int gap) const {
  const QRect area = PictureArea();
  QRect place(area.left(), top, area.width(), label->fontMetrics().height());
  for (bool moved = true; moved;) {
    moved = false;
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (control == label || !control->isVisibleTo(this) || !control->geometry().intersects(place)) continue;
      if (control->geometry().left() <= place.center().x()) place.moveTop(control->geometry().bottom() + 1);
      else place.setRight(control->geometry().left() - 2 * gap);
      moved = true;
    }
  }
  return place;
}

void CSymbolPage::ShowPrintedSize() {
  confirmation_.stop();
  printedSize_->setStyleSheet(problem_.isEmpty() ? QString() : QStringLiteral("color: #c00000"));
  printedSize_->setText(HasSymbol() ? ::PrintedSizeText(symbol_, scale_) : problem_);
}

void CSymbolPage::CopySymbol() {
  if (!HasSymbol()) {
    dialogs_->ShowMessage(this, problem_.isEmpty() ? Chinese(UiText::NoSymbol) : NoSymbolBecause(), true);
    return;
  }
  if (RefuseStyled()) return;
  if (QMimeData* data = SymbolMimeData(symbol_, fileOptions_)) QApplication::clipboard()->setMimeData(data);
}

void CSymbolPage::SaveAndVerify() {
  if (contentTooLong_ || !problem_.isEmpty()) {
    dialogs_->ShowMessage(this, problem_.isEmpty() ? FromUtf8(UiText::TooLongToSave) : NoSymbolBecause(), true);
    return;
  }
  if (RefuseStyled()) return;
  const std::optional<std::string> fileName = SaveSymbolImage(this, &symbol_, fileOptions_, *dialogs_, FileNameHint());
  if (!fileName) return;
  ReportReadBack(*fileName, VerifySymbolFile(*fileName, symbol_, fileOptions_, symbology_, encoded_));
}

bool CSymbolPage::RefuseStyled() {
  FinishStyleCheck();
  if (styleProblem_.isEmpty() || !HasSymbol()) return false;
  dialogs_->ShowMessage(this, Chinese(UiText::StyleRefusedSave).arg(styleProblem_), true);
  return true;
}

// A file that reads back gets a short confirmation in the page; one that
// does not stays on disk, and the user is told why it may not scan.
void CSymbolPage::ReportReadBack(const std::string& fileName, const ReadBackResult& result) {
  if (result.Ok()) {
    printedSize_->setText(Chinese(UiText::SavedAndReadBack).arg(QString::fromStdString(result.decoder)));
    confirmation_.start(ConfirmationMs);
    return;
  }
  QString why = ReadBackProblem(result);
  if (const ImageFormat* format = FindFormatForFile(fileName))
    if (const QString risk = RiskText(LikelyReadBackRisk(*format, fileOptions_)); !risk.isEmpty()) why += QLatin1Char('\n') + risk;
  const QString shownName = FromLocalPath(fileName);
  dialogs_->ShowMessage(this, Chinese(UiText::NotReadBack).arg(shownName, why), true);
}

void CSymbolPage::contextMenuEvent(QContextMenuEvent* event) {
  if (!PictureArea().contains(event->pos())) return QWidget::contextMenuEvent(event);
  QMenu menu(this);
  menu.addAction(copyAction_);
  menu.addAction(saveAsAction_);
  menu.addAction(styleAction_);
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
  if (RefuseStyled()) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(SymbolDragData(symbol_, fileOptions_));
  const int dragScale = std::min(scale_, 4);
  drag->setPixmap(QPixmap::fromImage(pixels_.scaled(symbol_.Columns() * dragScale, symbol_.Rows() * dragScale)));
  drag->exec(Qt::CopyAction);
}

QRect CSymbolPage::PictureArea() const { return controls_.Get<QWidget>(ControlId::Picture)->geometry(); }

QRect CSymbolPage::SymbolRect() const {
  if (!HasSymbol()) return QRect();
  return CentredSymbolRect(PictureArea(), symbol_.Columns() * scale_);
}

QString CSymbolPage::VersionLabelText() const { return controls_.Get<QLabel>(ControlId::VersionLabel)->text(); }

void CSymbolPage::SetVersionLabel(const QString& text) { controls_.Get<QLabel>(ControlId::VersionLabel)->setText(text); }

// Under the picture, where there is no room to spare, the reason alone.
QString CSymbolPage::NoSymbolBecause() const { return Chinese(UiText::NoSymbolBecause).arg(problem_); }

void CSymbolPage::ShowProblem(const QString& why) {
  ShowSymbol(::Symbol{});
  problem_ = why;
  ShowPrintedSize();
}

void CSymbolPage::ShowSymbol(::Symbol symbol, bool contentTooLong) {
  problem_.clear();
  symbol_ = std::move(symbol.matrix);
  contentTooLong_ = contentTooLong;
  encoded_ = HasSymbol() ? std::move(symbol.data) : std::string();
  DrawInStyle(symbol);
  ShowPrintedSize();
  RepaintSymbolArea();
}

void CSymbolPage::SetStyle(PageStyle style) {
  style_ = std::move(style);
  OnScaleChanged();
}

void CSymbolPage::EditStyle() {
  CStyleDlg dialog(*this, *styleDialogs_);
  dialog.exec();
}

// A plain symbol is drawn one pixel a module and scaled as painted; a styled
// one at the page's scale, so that the logo keeps its detail.
void CSymbolPage::DrawInStyle(const ::Symbol& symbol) {
  fileOptions_ = PageImageOptions(scale_);
  styleProblem_.clear();
  pixelsScale_ = 1;
  if (!HasSymbol()) {
    pixels_ = QImage();
    return ShowStyleStatus({}, false);
  }
  if (style_.style.IsPlain()) {
    pixels_ = SymbolPixels(symbol_);
    return ShowStyleStatus({}, false);
  }
  const LogoFit fit = ApplyStyle(symbol, style_.style, fileOptions_);
  ImageOptions screen = fileOptions_;
  screen.quietZone = 0;
  pixels_ = ToQImage(RenderStyledSymbol(symbol_, screen));
  pixelsScale_ = scale_;
  if (const StyleCheck contrast = CheckContrast(style_.style, style_.allowed); !contrast.Ok())
    styleProblem_ = ContrastProblem(contrast, style_.style);
  else if (!fit.Ok())
    styleProblem_ = LogoProblem(fit, symbol);
  if (!styleProblem_.isEmpty()) return ShowStyleStatus(styleProblem_, true);
  ScheduleStyleCheck();
}

// Reading a large styled symbol back takes up to seconds: it runs once the
// typing pauses, away from the window's thread, and only for the symbol
// still shown.
void CSymbolPage::ScheduleStyleCheck() {
  ++checkGeneration_;
  checkPending_ = true;
  ShowStyleStatus(Chinese(UiText::StyleChecking), false);
  checkDelay_.start(StyleCheckDelayMs);
}

void CSymbolPage::StartStyleCheck() {
  auto promise = std::make_shared<QPromise<CheckedStyle>>();
  checkWatcher_.setFuture(promise->future());
  promise->start();
  QThreadPool::globalInstance()->start(
      [promise, generation = checkGeneration_, matrix = symbol_, options = fileOptions_, symbology = symbology_,
       expected = encoded_] {
        promise->addResult(CheckedStyle{generation, VerifyStyledSymbol(matrix, options, symbology, expected)});
        promise->finish();
      });
}

void CSymbolPage::OnStyleChecked() {
  if (!checkPending_ || checkWatcher_.future().resultCount() == 0) return;
  const CheckedStyle checked = checkWatcher_.result();
  if (checked.generation == checkGeneration_) AcceptStyleCheck(checked.result);
}

void CSymbolPage::AcceptStyleCheck(const ReadBackResult& read) {
  checkPending_ = false;
  if (!read.Ok()) styleProblem_ = Chinese(UiText::StyleNotReadBack).arg(ReadBackProblem(read));
  ShowStyleStatus(read.Ok() ? Chinese(UiText::StyleReadBack) : styleProblem_, !read.Ok());
}

void CSymbolPage::FinishStyleCheck() {
  if (!checkPending_) return;
  if (checkDelay_.isActive()) {
    checkDelay_.stop();
    return AcceptStyleCheck(VerifyStyledSymbol(symbol_, fileOptions_, symbology_, encoded_));
  }
  checkWatcher_.waitForFinished();
  OnStyleChecked();
}

void CSymbolPage::ShowStyleStatus(const QString& text, bool problem) {
  styleStatus_->setStyleSheet(problem ? QStringLiteral("color: red") : QString());
  // A long reason is cut short in the page; the tooltip, the dialog and a
  // refused save give it whole.
  styleStatus_->setText(styleStatus_->fontMetrics().elidedText(text, Qt::ElideRight, styleStatus_->width()));
  styleStatus_->setToolTip(text);
  styleStatus_->setVisible(!text.isEmpty());
  emit StyleStatusChanged();
}

QString CSymbolPage::StyleStatusText() const { return styleStatus_->toolTip(); }

void CSymbolPage::PlaceStyleStatusLabel() {
  styleStatus_->setObjectName(QStringLiteral("styleStatus"));
  styleStatus_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  styleStatus_->hide();
  styleStatus_->setGeometry(FreeStripBelow(styleStatus_, printedSize_->geometry().bottom() + 1, printedSize_->fontMetrics().height() / 4));
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
  if (HasSymbol()) PaintSymbol(painter, pixels_, PictureArea(), scale_ / pixelsScale_);
}
