#include "app/SymbolPage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "app/SaveDialogs.h"
#include "app/StyleCheck.h"
#include "app/StyleDialog.h"
#include "app/StyleWords.h"
#include "app/SymbolImage.h"
#include "gui/TextBytes.h"
#include "image/PhysicalSize.h"
#include "image/StyledImage.h"
#include "image/SymbolFrame.h"
#include "res/Strings.h"

namespace quillet {

namespace {

// Each control fills its own rectangle with the page's button face, as
// native controls do.
void PaintOwnBackground(QWidget* control) {
  control->setBackgroundRole(QPalette::Button);
  control->setAutoFillBackground(true);
}

}  // namespace

CSymbolPage::CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units, Symbology symbology)
    : QWidget(parent),
      controls_(layout, this, units),
      symbology_(symbology),
      fileOptions_(PageImageOptions(scale_)),
      copyAction_(new QAction(FromUtf8(UiText::CopyImage), this)),
      saveAsAction_(new QAction(FromUtf8(UiText::SaveAs), this)),
      saveAtSizeAction_(new QAction(FromUtf8(UiText::SaveAtPrintedSize), this)),
      styleAction_(new QAction(FromUtf8(UiText::StyleEntry), this)),
      view_(this, PictureArea()),
      styleCheck_(new CStyleCheck(styleState_, this)),
      dialogs_(&DesktopSaveDialogs()),
      styleDialogs_(&DesktopStyleDialogs()) {
  QWidget* picture = controls_.Get<QWidget>(ControlId::Picture);
  for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (control != picture) PaintOwnBackground(control);
  }
  auto* zoom = controls_.Get<QSlider>(ControlId::Zoom);
  zoom->setRange(MinScale, MaxScale);
  zoom->setValue(scale_);
  zoom->setToolTip(FromUtf8(UiText::ZoomTip));
  connect(zoom, &QSlider::valueChanged, this, [this](int value) {
    scale_ = value;
    printedMm_.reset();
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
  saveAtSizeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  for (QAction* action : {copyAction_, saveAsAction_, saveAtSizeAction_}) {
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
  }
  connect(copyAction_, &QAction::triggered, this, &CSymbolPage::CopySymbol);
  connect(saveAsAction_, &QAction::triggered, this, &CSymbolPage::SaveAndVerify);
  connect(saveAtSizeAction_, &QAction::triggered, this, &CSymbolPage::SaveAtPrintedSize);
  connect(styleCheck_, &CStyleCheck::Checked, this, &CSymbolPage::ShowStyleStatus);
  connect(styleCheck_, &CStyleCheck::Grown, this, &CSymbolPage::ShowGrown);
}

QSize CSymbolPage::minimumSizeHint() const {
  // Every control and a narrow margin: the template's page reaches below its
  // tab control, and its empty strip there is not needed.
  const QRect used = childrenRect();
  return QSize(used.right() + 1 + controls_.Units().X(2), used.bottom() + 1 + controls_.Units().Y(2));
}

QString CSymbolPage::PrintedSizeText() const { return view_.PrintedSizeText(); }

int CSymbolPage::ModulesASide(const ModuleMatrix& matrix) const {
  return quillet::ModulesASide(fileOptions_, matrix.Columns(), matrix.Rows());
}

// The whole pixels per module nearest the printed size, for every symbol the
// content makes, within the largest image.
int CSymbolPage::FileScaleFor(const ModuleMatrix& matrix) const {
  if (!printedMm_ || matrix.Empty()) return scale_;
  const int modules = ModulesASide(matrix);
  return std::min(ScaleForSymbolMillimetres(*printedMm_, modules, fileOptions_.dpi).scale, MaxImageSide / modules);
}

void CSymbolPage::ShowPrintedSize() {
  if (!HasSymbol()) return view_.ShowPrintedSize(problem_, !problem_.isEmpty());
  QString text = quillet::PrintedSizeText(symbol_, fileOptions_);
  // Whole pixels put it this far off the size asked for.
  if (printedMm_) {
    const ModuleScale print = ScaleForSymbolMillimetres(*printedMm_, ModulesASide(symbol_), fileOptions_.dpi);
    if (print.offRequest)
      text += FromUtf8(UiText::PrintedSizeOff).arg(*printedMm_, 0, 'f', 1).arg(std::abs(print.OffShare()) * 100, 0, 'f', 1);
  }
  view_.ShowPrintedSize(text, false);
}

void CSymbolPage::SaveAtPrintedSize() {
  // With no symbol to save, the save says why.
  if (!HasSymbol() || contentTooLong_ || !problem_.isEmpty()) return SaveAndVerify();
  const int modules = ModulesASide(symbol_);
  const double pixelMm = MillimetresPerInch / fileOptions_.dpi;
  const double shown = modules * fileOptions_.scale * pixelMm;
  const QString question = FromUtf8(UiText::PrintedSizeQuestion).arg(fileOptions_.dpi);
  const std::optional<double> chosen =
      dialogs_->AskPrintedSize(this, question, shown, modules * pixelMm, (MaxImageSide / modules) * modules * pixelMm);
  if (!chosen) return;
  printedMm_ = *chosen;
  OnScaleChanged();
  SaveAndVerify();
}

void CSymbolPage::CopySymbol() {
  if (!HasSymbol()) {
    dialogs_->ShowMessage(this, problem_.isEmpty() ? FromUtf8(UiText::NoSymbol) : NoSymbolBecause(), true);
    return;
  }
  if (RefuseStyled()) return;
  QMimeData* data = SymbolMimeData(symbol_, fileOptions_);
  if (data == nullptr) return;
  QApplication::clipboard()->setMimeData(data);
  emit HandedOut(HistoryKind::Copied, {});
}

// A file that reads back gets a short confirmation in the page; one that
// does not stays on disk, and the user is told why it may not scan.
void CSymbolPage::SaveAndVerify() {
  if (contentTooLong_ || !problem_.isEmpty()) {
    dialogs_->ShowMessage(this, problem_.isEmpty() ? FromUtf8(UiText::TooLongToSave) : NoSymbolBecause(), true);
    return;
  }
  if (RefuseStyled()) return;
  const std::optional<std::string> fileName = SaveSymbolImage(this, &symbol_, fileOptions_, *dialogs_, FileNameHint());
  if (!fileName) return;
  emit HandedOut(HistoryKind::Saved, QString::fromStdString(*fileName));
  const ReadBackResult read = VerifySymbolFile(*fileName, symbol_, fileOptions_, symbology_, encoded_);
  if (read.Ok()) view_.ShowConfirmation(FromUtf8(UiText::SavedAndReadBack).arg(QString::fromStdString(read.decoder)));
  else dialogs_->ShowMessage(this, NotReadBackWarning(*fileName, read, fileOptions_), true);
}

bool CSymbolPage::RefuseStyled() {
  styleCheck_->Finish();
  if (!styleState_.Refused() || !HasSymbol()) return false;
  dialogs_->ShowMessage(this, FromUtf8(UiText::StyleRefusedSave).arg(StyleProblemText()), true);
  return true;
}

void CSymbolPage::contextMenuEvent(QContextMenuEvent* event) {
  if (!PictureArea().contains(event->pos())) return QWidget::contextMenuEvent(event);
  QMenu menu(this);
  menu.addAction(copyAction_);
  menu.addAction(saveAsAction_);
  menu.addAction(saveAtSizeAction_);
  menu.addAction(styleAction_);
  menu.exec(event->globalPos());
}

void CSymbolPage::mousePressEvent(QMouseEvent* event) {
  dragStart_.reset();
  if (event->button() == Qt::LeftButton && HasSymbol() && view_.ShownSymbolRect().contains(event->pos()))
    dragStart_ = event->pos();
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
  // Its ratio kept: a frame's band makes the picture taller than the symbol.
  drag->setPixmap(QPixmap::fromImage(
      view_.Pixels().scaled(symbol_.Columns() * dragScale, symbol_.Rows() * dragScale, Qt::KeepAspectRatio)));
  if (drag->exec(Qt::CopyAction) != Qt::IgnoreAction) emit HandedOut(HistoryKind::Dragged, {});
}

QRect CSymbolPage::PictureArea() const { return controls_.Get<QWidget>(ControlId::Picture)->geometry(); }

QRect CSymbolPage::SymbolRect() const { return HasSymbol() ? view_.SymbolRect() : QRect(); }

QString CSymbolPage::VersionLabelText() const { return controls_.Get<QLabel>(ControlId::VersionLabel)->text(); }

void CSymbolPage::SetVersionLabel(const QString& text) { controls_.Get<QLabel>(ControlId::VersionLabel)->setText(text); }

// Under the picture, where there is no room to spare, the reason alone.
QString CSymbolPage::NoSymbolBecause() const { return FromUtf8(UiText::NoSymbolBecause).arg(problem_); }

void CSymbolPage::ShowProblem(const QString& why) {
  ShowSymbol(quillet::Symbol{});
  problem_ = why;
  ShowPrintedSize();
}

void CSymbolPage::ShowSymbol(quillet::Symbol symbol, bool contentTooLong) {
  problem_.clear();
  contentTooLong_ = contentTooLong;
  DrawInStyle(symbol);
  symbol_ = std::move(symbol.matrix);
  encoded_ = HasSymbol() ? std::move(symbol.data) : std::string();
  ShowStyleStatus();
  ShowPrintedSize();
}

void CSymbolPage::SetStyle(PageStyle style) {
  styleState_.SetStyle(std::move(style));
  OnScaleChanged();
}

void CSymbolPage::EditStyle() {
  CStyleDlg dialog(*this, *styleDialogs_);
  dialog.exec();
}

// A plain symbol is drawn one pixel a module and scaled as painted; a styled
// one at the page's scale, so that the logo keeps its detail.
void CSymbolPage::DrawInStyle(const quillet::Symbol& symbol) {
  fileOptions_ = PageImageOptions(FileScaleFor(symbol.matrix));
  if (styleState_.Draw(symbol, fileOptions_)) styleCheck_->Schedule(ShownRequest(), symbol, fileOptions_);
  else styleCheck_->Cancel();
  ShowInView(symbol);
}

// The read-back grew the symbol to read under the camera's conditions: the
// grown one is shown with its verdict, and not read back again.
void CSymbolPage::ShowGrown(const quillet::Symbol& grown, const ReadBackResult& read) {
  fileOptions_ = PageImageOptions(FileScaleFor(grown.matrix));
  if (styleState_.Draw(grown, fileOptions_)) styleState_.Accept(styleState_.Generation(), read);
  ShowInView(grown);
  symbol_ = grown.matrix;
  encoded_ = grown.data;
  ShowGrownVersion(grown);
  ShowStyleStatus();
  ShowPrintedSize();
}

void CSymbolPage::ShowInView(const quillet::Symbol& symbol) {
  if (!styleState_.Styled()) {
    view_.Show(symbol.matrix.Empty() ? QImage() : SymbolPixels(symbol.matrix), 1, scale_);
  } else {
    ImageOptions screen = fileOptions_;
    screen.scale = scale_;
    screen.quietZone = 0;
    view_.Show(ToQImage(RenderStyledSymbol(symbol.matrix, screen)), scale_, scale_);
  }
}

QImage CSymbolPage::Thumbnail(int side) const {
  if (!HasSymbol()) return {};
  const FrameLayout layout = LayOutFrame(fileOptions_.style, symbol_.Columns(), symbol_.Rows(), fileOptions_.quietZone);
  ImageOptions options = fileOptions_;
  options.scale = std::max(1, side / std::max(layout.width, layout.height));
  QImage picture = styleState_.Styled() ? ToQImage(RenderStyledSymbol(symbol_, options))
                                        : RenderSymbol(symbol_, options.scale, options.quietZone);
  // A large symbol at one pixel a module is still too large: shrunk, it stays recognisable.
  if (picture.width() > side || picture.height() > side)
    picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return picture;
}

void CSymbolPage::ShowStyleStatus() {
  view_.ShowStyleStatus(StyleStatusWords(styleState_), styleState_.Refused());
  emit StyleStatusChanged();
}

QString CSymbolPage::StyleStatusText() const { return view_.StyleStatusText(); }

QString CSymbolPage::StyleProblemText() const { return StyleProblemWords(styleState_); }

void CSymbolPage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().color(QPalette::Button));
}

}  // namespace quillet
