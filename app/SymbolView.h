// What a symbol page shows of its symbol: the picture centred in the
// picture area and clipped to it, scrolled when larger, the printed size (or
// why there is no symbol, or for a moment a save's confirmation) and the
// style's status beneath it, placed clear of the template's controls.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QTimer>

#include "symbol/ModuleMatrix.h"

class QLabel;
class QScrollArea;
class QWidget;

namespace quillet {

// The symbol as one pixel per module, black on white.
QImage SymbolPixels(const ModuleMatrix& matrix);

class SymbolView {
 public:
  // The picture goes inside the frame of `pictureArea`, the labels beneath it.
  SymbolView(QWidget* page, const QRect& pictureArea);

  // What the picture shows: `pixels` drawn at `pixelsScale` (one pixel a
  // module, or a styled symbol at the page's scale) shown at `scale`; null
  // for no symbol. A symbol of a new size is shown from its centre.
  void Show(QImage pixels, int pixelsScale, int scale);
  const QImage& Pixels() const { return pixels_; }
  // Where the whole symbol lies, and the part of it the picture shows, in
  // the page's coordinates; empty while there is none.
  QRect SymbolRect() const;
  QRect ShownSymbolRect() const;
  QScrollArea* Scroller() const { return scroller_; }

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
  QScrollArea* scroller_;
  QWidget* canvas_;
  QLabel* printedSize_;
  QLabel* styleStatus_;
  QString sizeText_;
  bool sizeProblem_ = false;
  QTimer confirmation_;
  QImage pixels_;
  int pixelsScale_ = 1;
};

}  // namespace quillet
