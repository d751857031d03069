// What the QR and DM pages share: the picture area with the symbol painted
// centred on it, the zoom slider, the version label, the printed size,
// saving with read-back verification, copying and dragging the symbol out,
// and the style. The page binds these parts: the view paints and labels,
// the transfer hands the symbol out, the style's state decides and its
// check reads the styled symbol back.
#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>
#include <string>

#include "app/Controls.h"
#include "app/PageStyle.h"
#include "app/SymbolTransfer.h"
#include "app/SymbolView.h"
#include "model/History.h"
#include "model/StyleState.h"
#include "symbol/ModuleMatrix.h"

class QAction;
class QLabel;
class QSlider;

namespace quillet {

class CStyleCheck;
class SaveDialogs;
class StyleDialogs;

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
  const PageStyle& Style() const { return styleState_.Style(); }
  // Re-encodes and redraws in `style` at once: the style dialog's preview.
  void SetStyle(PageStyle style);
  // Opens the style dialog; its "取消" puts the style back.
  void EditStyle();
  QAction* StyleAction() const { return styleAction_; }
  // Over the picture while a style is set: "已校验: 可扫描", or why the
  // styled symbol is refused or does not read back.
  QString StyleStatusText() const;
  // The picture the page shows of its symbol, in its style: one pixel a
  // module when plain; null while there is none.
  const QImage& Picture() const { return view_.Pixels(); }
  // The symbol shown as a file draws it (colours, shapes, logo, frame and
  // the files' quiet zone), no more than `side` pixels a side; null while
  // there is none.
  QImage Thumbnail(int side) const;
  // Why the styled symbol shown may not be saved, copied or dragged; empty
  // when it may, or while it is being read back.
  QString StyleProblemText() const;
  bool StyleCheckPending() const { return styleState_.Pending(); }
  // How large a logo the symbol shown takes.
  virtual LogoRoom RoomForLogo() const = 0;
  // Which shapes and presets the style dialog offers.
  Symbology PageSymbology() const { return symbology_; }

 signals:
  // The style's status changed: refused, being read back, read back or not.
  void StyleStatusChanged();
  // The symbol left the page: saved (to `place`), copied or dragged; for "最近".
  void HandedOut(quillet::HistoryKind kind, const QString& place);

 public:
  // The picture area's context menu entries: "复制图片" (Ctrl+C), "另存为..." (Ctrl+S).
  QAction* CopyAction() const { return copyAction_; }
  QAction* SaveAsAction() const { return saveAsAction_; }
  // "按打印尺寸保存..." (Ctrl+Shift+S): asks the printed side in millimetres,
  // then saves as the save button does. Files, copies and the printed size
  // under the picture keep that size (in whole pixels per module) until the
  // slider moves; the screen keeps the slider's scale.
  QAction* SaveAtSizeAction() const { return saveAtSizeAction_; }
  void SaveAtPrintedSize();
  // The pixels per module of files: the slider's, or what the printed size asks.
  int FileScale() const { return fileOptions_.scale; }
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
  void ShowSymbol(quillet::Symbol symbol, bool contentTooLong = false);
  // No symbol, because the content cannot be encoded as it stands: `why`
  // stands under the picture, and saving or copying says it again.
  void ShowProblem(const QString& why);
  QString NoSymbolBecause() const;
  void SetVersionLabel(const QString& text);
  // The slider moved or the style changed; the page re-encodes.
  virtual void OnScaleChanged() = 0;
  // What the symbol shown was made from: the read-back grows it as the
  // command line does.
  virtual const SymbolRequest& ShownRequest() const = 0;
  // The read-back grew the symbol shown to `grown`.
  virtual void ShowGrownVersion(const quillet::Symbol& grown) = 0;

  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

  ControlSet controls_;

 private:
  void ShowPrintedSize();
  // The symbol's side in modules with the files' quiet zone.
  int ModulesASide(const ModuleMatrix& matrix) const;
  int FileScaleFor(const ModuleMatrix& matrix) const;
  // The file options and the picture of `symbol` in the page's style, and
  // what is wrong with them; a read-back scheduled when one is due.
  void DrawInStyle(const quillet::Symbol& symbol);
  void ShowInView(const quillet::Symbol& symbol);
  void ShowGrown(const quillet::Symbol& grown, const ReadBackResult& read);
  void ShowStyleStatus();
  // Says why the styled symbol may not leave the page; false when it may.
  // Waits for the read-back under way.
  bool RefuseStyled();

  ModuleMatrix symbol_;
  std::string encoded_;
  Symbology symbology_;
  bool contentTooLong_ = false;
  QString problem_;
  int scale_ = 4;
  // The printed side chosen for files, quiet zone included; none: the slider's scale.
  std::optional<double> printedMm_;
  // What every file from the page is drawn with: its scale and its style.
  ImageOptions fileOptions_;
  QAction* copyAction_;
  QAction* saveAsAction_;
  QAction* saveAtSizeAction_;
  QAction* styleAction_;
  SymbolView view_;
  StyleState styleState_;
  CStyleCheck* styleCheck_;
  std::optional<QPoint> dragStart_;
  SaveDialogs* dialogs_;
  StyleDialogs* styleDialogs_;
};

}  // namespace quillet
