// What the QR and DM pages share: the picture area with the symbol painted
// centred on it, the zoom slider, the version label and saving.
#pragma once

#include <QImage>
#include <QWidget>

#include "app/Controls.h"
#include "image/ModuleMatrix.h"

class QLabel;
class QSlider;
class SaveDialogs;

// Top-left of a symbol W pixels wide centred on `area`; integer division
// truncates toward zero, so an oversized symbol starts left of / above it.
QRect CentredSymbolRect(const QRect& area, int symbolPixels);

// Paints `symbol` (one pixel per module, RGB32) at `scale` centred on `area`.
void PaintSymbol(QPainter& painter, const QImage& symbol, const QRect& area, int scale);

// The symbol as one pixel per module, black on white.
QImage SymbolPixels(const ModuleMatrix& matrix);

// Asks for a name (in the folder and with the filter last used), appends the
// filter's extension, asks before replacing a file (going back to the name on
// "No") and writes the symbol; reports every failure with a message.
void SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, int scale, SaveDialogs& dialogs);

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
  // Tests answer the save questions themselves.
  void SetSaveDialogs(SaveDialogs* dialogs) { dialogs_ = dialogs; }

 protected:
  CSymbolPage(const DialogLayout& layout, QWidget* parent, const DialogUnits& units);

  // An empty matrix shows no symbol; saving then says why. Repaints only what changed.
  void ShowSymbol(ModuleMatrix matrix, bool contentTooLong = false);
  void SetVersionLabel(const QString& text);
  // The slider moved; the page re-encodes.
  virtual void OnScaleChanged() = 0;

  void paintEvent(QPaintEvent* event) override;

  ControlSet controls_;

 private:
  void Save();
  void RepaintSymbolArea();

  ModuleMatrix symbol_;
  bool contentTooLong_ = false;
  QImage pixels_;
  QRect shownRect_;
  int scale_ = 4;
  SaveDialogs* dialogs_;
};
