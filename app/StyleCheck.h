// The read-back of the styled symbol a page shows. Reading a large styled
// symbol back takes up to seconds: it starts once the typing pauses, runs
// on Qt's thread pool, and its result goes to the state, which keeps it
// only for the symbol still shown. It decides as the command line and batch
// do (MakeReadableSymbol): a style that loses what the plain symbol keeps
// grows the symbol, and the page then shows the grown one.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <optional>

#include "image/ImageFormats.h"
#include "model/StyleState.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

class CStyleCheck : public QObject {
  Q_OBJECT
 public:
  CStyleCheck(StyleState& state, QObject* parent);

  // Reads `shown`, made from `request`, back as `options` draw it, for the
  // state's current generation, once the typing pauses.
  void Schedule(const SymbolRequest& request, const Symbol& shown, const ImageOptions& options);
  // The symbol shown needs no read-back: one due is not started.
  void Cancel() { delay_.stop(); }
  // A save, copy or drag needs the verdict now: a read-back due runs at
  // once, one under way is waited for.
  void Finish();

 signals:
  // The state took a read-back's result.
  void Checked();
  // The symbol shown had to grow to read: the page shows `grown`, whose
  // read-back `read` is.
  void Grown(const quillet::Symbol& grown, const quillet::ReadBackResult& read);

 private:
  struct Job {
    unsigned generation = 0;
    SymbolRequest request;
    int shownVersion = 0;
    ImageOptions options;
  };
  struct Result {
    unsigned generation = 0;
    ReadBackResult read;
    std::optional<Symbol> grown;
  };
  static Result Run(const Job& job);
  void Start();
  void Take(const Result& result);
  void OnFinished();

  StyleState& state_;
  Job due_;
  QTimer delay_;
  QFutureWatcher<Result> watcher_;
};

}  // namespace quillet
