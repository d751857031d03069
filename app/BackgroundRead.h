// Reading the image a user opened off the window's thread, so that the
// window answers typing and clicks meanwhile: a busy indicator stands over
// the picture of the page shown, Esc stops the read, and a result that comes
// after the user moved on (edited a page, opened another image) is dropped.
#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>

#include "model/ImageReading.h"
#include "verify/ReadSymbols.h"

class QShortcut;

namespace quillet {

class CSymbolPage;

// A file's path, or a picture in memory (pasted, or captured from the screen).
struct ImageToRead {
  QString path;
  QImage picture;
};

// How an image is read; tests put in one that waits for them.
using ImageReader = std::function<SymbolsInImage(const ImageToRead& image, const ReadStop& stop)>;
// With the decoders, the picture made grey first.
SymbolsInImage ReadImage(const ImageToRead& image, const ReadStop& stop);

class CBackgroundRead : public QObject {
 public:
  // `pageShown` is where the indicator stands; `revision` counts the
  // changes to what the pages hold.
  CBackgroundRead(QWidget* window, std::function<CSymbolPage*()> pageShown, std::function<unsigned long()> revision);

  void SetReader(ImageReader reader) { reader_ = std::move(reader); }
  // Reads `image`, stopping the read under way; `done` gets the result on
  // the window's thread, unless it is stale by then.
  void Start(ImageToRead image, std::function<void(const SymbolsInImage&)> done);
  void Cancel();
  bool Busy() const { return state_.Busy(); }
  QWidget* Indicator() const { return indicator_; }

 private:
  struct Read {
    unsigned generation = 0;
    SymbolsInImage found;
  };
  void OnFinished();
  void ShowBusy();

  std::function<CSymbolPage*()> pageShown_;
  std::function<unsigned long()> revision_;
  ImageReader reader_ = ReadImage;
  ImageReading state_;
  std::function<void(const SymbolsInImage&)> done_;
  QFutureWatcher<Read> watcher_;
  QWidget* indicator_;
  QShortcut* escape_;
};

}  // namespace quillet
