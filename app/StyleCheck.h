// The read-back of the styled symbol a page shows. Reading a large styled
// symbol back takes up to seconds: it starts once the typing pauses, runs
// on Qt's thread pool, and its result goes to the state, which keeps it
// only for the symbol still shown.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <string>

#include "image/ImageFormats.h"
#include "model/StyleState.h"
#include "symbol/ModuleMatrix.h"
#include "symbol/Symbology.h"

namespace quillet {

class CStyleCheck : public QObject {
  Q_OBJECT
 public:
  CStyleCheck(StyleState& state, Symbology symbology, QObject* parent);

  // Reads `matrix` as `options` draw it back, for the state's current
  // generation, once the typing pauses; `expected` is what it must read.
  void Schedule(const ModuleMatrix& matrix, const ImageOptions& options, const std::string& expected);
  // The symbol shown needs no read-back: one due is not started.
  void Cancel() { delay_.stop(); }
  // A save, copy or drag needs the verdict now: a read-back due runs at
  // once, one under way is waited for.
  void Finish();

 signals:
  // The state took a read-back's result.
  void Checked();

 private:
  struct Job {
    unsigned generation = 0;
    ModuleMatrix matrix;
    ImageOptions options;
    std::string expected;
  };
  struct Result {
    unsigned generation = 0;
    ReadBackResult read;
  };
  static Result Run(const Job& job, Symbology symbology);
  void Start();
  void Take(const Result& result);
  void OnFinished();

  StyleState& state_;
  Symbology symbology_;
  Job due_;
  QTimer delay_;
  QFutureWatcher<Result> watcher_;
};

}  // namespace quillet
