#include "app/StyleCheck.h"

#include "app/OffThread.h"
#include "verify/ReadBack.h"

namespace quillet {

namespace {

// The pause in typing after which a styled symbol is read back.
constexpr int StyleCheckDelayMs = 250;

}  // namespace

CStyleCheck::CStyleCheck(StyleState& state, QObject* parent) : QObject(parent), state_(state) {
  delay_.setSingleShot(true);
  connect(&delay_, &QTimer::timeout, this, &CStyleCheck::Start);
  connect(&watcher_, &QFutureWatcher<Result>::finished, this, &CStyleCheck::OnFinished);
}

void CStyleCheck::Schedule(const SymbolRequest& request, const Symbol& shown, const ImageOptions& options) {
  due_ = Job{state_.Generation(), request, shown.version, options};
  delay_.start(StyleCheckDelayMs);
}

CStyleCheck::Result CStyleCheck::Run(const Job& job) {
  const CheckedSymbol checked = MakeReadableSymbol(job.request, job.options.style, nullptr, [&](const Symbol& symbol) {
    ImageOptions options = job.options;
    return std::optional(PlaceAndReadBack(symbol, job.options.style, options));
  });
  Result result{job.generation, checked.check ? checked.check->readBack : ReadBackResult{}, std::nullopt};
  if (checked.made.Ok() && checked.made.symbol.version != job.shownVersion) result.grown = checked.made.symbol;
  return result;
}

void CStyleCheck::Start() {
  RunOffThread(watcher_, [job = due_] { return Run(job); });
}

void CStyleCheck::Take(const Result& result) {
  const bool current = state_.Pending() && result.generation == state_.Generation();
  if (current && result.grown) return emit Grown(*result.grown, result.read);
  if (state_.Accept(result.generation, result.read)) emit Checked();
}

void CStyleCheck::OnFinished() {
  if (watcher_.future().resultCount() > 0) Take(watcher_.result());
}

void CStyleCheck::Finish() {
  if (!state_.Pending()) return;
  if (delay_.isActive()) {
    delay_.stop();
    return Take(Run(due_));
  }
  watcher_.waitForFinished();
  OnFinished();
}

}  // namespace quillet
