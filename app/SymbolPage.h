// What the QR and DM pages share: the picture area with the symbol painted
// centred on it, the zoom slider, the version label, the printed size,
// saving with read-back verification, copying and dragging the symbol out.
#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>

#include "app/Controls.h"
#include "app/PageStyle.h"
#include "image/StyledSymbol.h"
#include "symbol/ModuleMatrix.h"
#include "verify/ReadBack.h"

class QAction;
class QLabel;
class QSlider;
class SaveDialogs;
class StyleDialogs;

// Top-left of a symbol W pixels wide centred on `area`; integer division
// truncates toward zero, so an oversized symbol starts left of / above it.
QRect CentredSymbolRect(const QRect& area, int symbolPixels);

// Paints `symbol` (one pixel per module, RGB32) at `scale` centred on `area`.
void PaintSymbol(QPainter& painter, const QImage& symbol, const QRect& area, int scale);

// The symbol as one pixel per module, black on white.
QImage SymbolPixels(const ModuleMatrix& matrix);

// Asks for a name (in the folder and with the filter last used, suggesting
// one from `content`), appends the filter's extension, asks before replacing
// a file (going back to the name on "No") and writes the symbol as `options`
// draw it; reports every failure with a message. The name written, or
// nullopt when nothing was.
std::optional<std::string> SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, const ImageOptions& options,
                                           SaveDialogs& dialogs, const QString& content);

// A file name from the start of `content`, safe on any file system (no path
// separators, control or reserved characters, no leading dot, at most
// MaxSuggestedNameLength characters), with the extension of save-dialog
// entry `filterEntry`; "二维码" when nothing of `content` is left.
QString SuggestedFileName(const QString& content, int filterEntry);
constexpr int MaxSuggestedNameLength = 40;

class CSymbolPage : public QWidget {
  Q_OBJECT
 public:
  bool HasSymbol() const { return !symbol_.Empty(); }
  const ModuleMatrix& Symbol() const { return symbol_; }
  int Scale() const { return scale_; }
  QSize minimumSizeHint() const override;
  QRect PictureArea() const;
  // Where the symbol is painted, empty while there is none.
  QRect SymbolRect() const;
  QString VersionLabelText() const;
  // "打印尺寸: 12.4 mm (300 dpi)", for a moment after a save its
  // confirmation, or why there is no symbol.
  QString PrintedSizeText() const;
  // Tests answer the save questions themselves.
  void SetSaveDialogs(SaveDialogs* dialogs) { dialogs_ = dialogs; }
  void SetStyleDialogs(StyleDialogs* dialogs) { styleDialogs_ = dialogs; }

  // The style of everything the page makes, for the run: "重填" leaves it.
  const PageStyle& Style() const { return style_; }
  // Re-encodes and redraws in `style` at once: the style dialog's preview.
  void SetStyle(PageStyle style);
  // Opens the style dialog; its "取消" puts the style back.
  void EditStyle();
  QAction* StyleAction() const { return styleAction_; }
  // Over the picture while a style is set: "已校验: 可扫描", or why the
  // styled symbol is refused or does not read back.
  QString StyleStatusText() const;
  // Why the styled symbol shown may not be saved, copied or dragged; empty
  // when it may, or while it is being read back.
  QString StyleProblemText() const { return styleProblem_; }
  bool StyleCheckPending() const { return checkPending_; }
  // How large a logo the symbol shown takes.
  virtual LogoRoom RoomForLogo() const = 0;

 signals:
  // The style's status changed: refused, being read back, read back or not.
  void StyleStatusChanged();

 public:
  // The picture area's context menu entries: "复制图片" (Ctrl+C), "另存为..." (Ctrl+S).
  QAction* CopyAction() const { return copyAction_; }
  QAction* SaveAsAction() const { return saveAsAction_; }
  // Puts the symbol with its quiet zone at the current scale on the
  // clipboard as PNG and SVG; with no symbol says "请先生成图片".
  void CopySymbol();
  // The save button's action: save, then read the file back.
  void SaveAndVerify();
  // What the symbol shown says first, for the name a save suggests: the
  // name on a business card, the start of a text.
  virtual QString FileNameHint() const = 0;

 protected:
  CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units, Symbology symbology);

  // An empty matrix shows no symbol, and saving then says why; the symbol's
  // data are the bytes a saved file must read back as. A styled symbol is
  // read back before it is shown as good. Repaints only what changed.
  void ShowSymbol(::Symbol symbol, bool contentTooLong = false);
  // No symbol, because the content cannot be encoded as it stands: `why`
  // stands under the picture, and saving or copying says it again.
  void ShowProblem(const QString& why);
  QString NoSymbolBecause() const;
  void SetVersionLabel(const QString& text);
  // The slider moved or the style changed; the page re-encodes.
  virtual void OnScaleChanged() = 0;

  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

  ControlSet controls_;

 private:
  void RepaintSymbolArea();
  void ShowPrintedSize();
  void PlacePrintedSizeLabel();
  void PlaceStyleStatusLabel();
  // The first strip `label` high from `top` down, as wide as the picture
  // area, that no shown control is in.
  QRect FreeStripBelow(const QWidget* label, int top, int gap) const;
  void ReportReadBack(const std::string& fileName, const ReadBackResult& result);
  // The file options and the picture of `symbol` in the page's style, and what is wrong with them.
  void DrawInStyle(const ::Symbol& symbol);
  void ShowStyleStatus(const QString& text, bool problem);
  // Says why the styled symbol may not leave the page; false when it may.
  // Waits for the read-back under way.
  bool RefuseStyled();
  void ScheduleStyleCheck();
  void StartStyleCheck();
  void OnStyleChecked();
  void AcceptStyleCheck(const ReadBackResult& read);
  void FinishStyleCheck();

  struct CheckedStyle {
    unsigned generation = 0;
    ReadBackResult result;
  };

  ModuleMatrix symbol_;
  std::string encoded_;
  Symbology symbology_;
  QLabel* printedSize_;
  QTimer confirmation_;
  QAction* copyAction_;
  QAction* saveAsAction_;
  QAction* styleAction_;
  QLabel* styleStatus_;
  std::optional<QPoint> dragStart_;
  bool contentTooLong_ = false;
  QString problem_;
  // One pixel a module, or for a styled symbol the page's scale.
  QImage pixels_;
  int pixelsScale_ = 1;
  QRect shownRect_;
  int scale_ = 4;
  PageStyle style_;
  // What every file from the page is drawn with: its scale and its style.
  ImageOptions fileOptions_;
  QString styleProblem_;
  // The read-back of the styled symbol shown: each symbol drawn is a new
  // generation; a result of an older one is dropped.
  unsigned checkGeneration_ = 0;
  bool checkPending_ = false;
  QTimer checkDelay_;
  QFutureWatcher<CheckedStyle> checkWatcher_;
  SaveDialogs* dialogs_;
  StyleDialogs* styleDialogs_;
};
