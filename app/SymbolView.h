// What a symbol page shows of its symbol: the picture painted centred on
// the picture area, the printed size (or why there is no symbol, or for a
// moment a save's confirmation) and the style's status beneath it, placed
// clear of the template's controls.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QTimer>

#include "symbol/ModuleMatrix.h"

class QLabel;
class QPainter;
class QWidget;

namespace quillet {

// Top-left of a symbol W pixels wide centred on `area`; integer division
// truncates toward zero, so an oversized symbol starts left of / above it.
QRect CentredSymbolRect(const QRect& area, int symbolPixels);

// Paints `symbol` (one pixel per module, RGB32) at `scale` centred on `area`.
void PaintSymbol(QPainter& painter, const QImage& symbol, const QRect& area, int scale);

// The symbol as one pixel per module, black on white.
QImage SymbolPixels(const ModuleMatrix& matrix);

class SymbolView {
 public:
  // The labels go on `page`, beneath `pictureArea`.
  SymbolView(QWidget* page, const QRect& pictureArea);

  // What the page paints: `pixels` drawn at `pixelsScale` (one pixel a
  // module, or a styled symbol at the page's scale); null for no symbol.
  void SetPixels(QImage pixels, int pixelsScale);
  const QImage& Pixels() const { return pixels_; }
  // Paints the pixels at the page's `scale`.
  void Paint(QPainter& painter, const QRect& pictureArea, int scale) const;
  // Repaints where the symbol was and where it is now (`now`).
  void Repaint(const QRect& now);

  // The printed size, or in red why there is no symbol.
  void ShowPrintedSize(const QString& text, bool problem);
  // Stands for a moment in place of the printed size.
  void ShowConfirmation(const QString& text);
  QString PrintedSizeText() const;

  // Hidden when empty; a problem in red.
  void ShowStyleStatus(const QString& text, bool problem);
  QString StyleStatusText() const;

 private:
  // The first strip `label` high from `top` down, as wide as the picture
  // area, that no shown control is in.
  QRect FreeStripBelow(const QWidget* label, const QRect& area, int top, int gap) const;
  void PlaceLabels(const QRect& area);
  void RestorePrintedSize();

  QWidget* page_;
  QLabel* printedSize_;
  QLabel* styleStatus_;
  QString sizeText_;
  bool sizeProblem_ = false;
  QTimer confirmation_;
  QImage pixels_;
  int pixelsScale_ = 1;
  QRect shownRect_;
};

}  // namespace quillet
