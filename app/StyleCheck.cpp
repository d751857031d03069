#include "app/StyleCheck.h"

#include "app/OffThread.h"
#include "verify/ReadBack.h"

namespace quillet {

namespace {

// The pause in typing after which a styled symbol is read back.
constexpr int StyleCheckDelayMs = 250;

}  // namespace

CStyleCheck::CStyleCheck(StyleState& state, Symbology symbology, QObject* parent)
    : QObject(parent), state_(state), symbology_(symbology) {
  delay_.setSingleShot(true);
  connect(&delay_, &QTimer::timeout, this, &CStyleCheck::Start);
  connect(&watcher_, &QFutureWatcher<Result>::finished, this, &CStyleCheck::OnFinished);
}

void CStyleCheck::Schedule(const ModuleMatrix& matrix, const ImageOptions& options, const std::string& expected) {
  due_ = Job{state_.Generation(), matrix, options, expected};
  delay_.start(StyleCheckDelayMs);
}

CStyleCheck::Result CStyleCheck::Run(const Job& job, Symbology symbology) {
  return Result{job.generation, VerifyStyledSymbol(job.matrix, job.options, symbology, job.expected)};
}

void CStyleCheck::Start() {
  RunOffThread(watcher_, [job = due_, symbology = symbology_] { return Run(job, symbology); });
}

void CStyleCheck::Take(const Result& result) {
  if (state_.Accept(result.generation, result.read)) emit Checked();
}

void CStyleCheck::OnFinished() {
  if (watcher_.future().resultCount() > 0) Take(watcher_.result());
}

void CStyleCheck::Finish() {
  if (!state_.Pending()) return;
  if (delay_.isActive()) {
    delay_.stop();
    return Take(Run(due_, symbology_));
  }
  watcher_.waitForFinished();
  OnFinished();
}

}  // namespace quillet
