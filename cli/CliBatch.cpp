#include "cli/CliBatch.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>

#include "batch/BatchJob.h"
#include "cli/CliRun.h"

namespace {

// Set by SIGINT and SIGTERM: the batch stops starting rows and lets the rows
// being written finish, so that only complete files remain. A second signal
// ends the program at once.
std::atomic<bool> stopRequested = false;
volatile sig_atomic_t stopSignal = 0;
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void RequestStop(int signal) {
  stopSignal = signal;
  stopRequested = true;
  ::signal(signal, SIG_DFL);
}

// Installs the handlers for the run and restores the previous ones after it.
class StopSignals {
 public:
  StopSignals() {
    stopRequested = false;
    stopSignal = 0;
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for standard input returns and the run ends.
    ::sigaction(SIGINT, &action, &previousInt_);
    ::sigaction(SIGTERM, &action, &previousTerm_);
  }
  ~StopSignals() {
    ::sigaction(SIGINT, &previousInt_, nullptr);
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
  }

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

// One line on a terminal, redrawn at most ten times a second: rows done of
// the total, the rate and the time left.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}

  void Update(const BatchProgress& progress) {
    if (!shown_) return;
    const auto now = Clock::now();
    const bool last = progress.total >= 0 && progress.done == progress.total;
    if (!last && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? progress.done / seconds : 0;
    char line[160];
    if (progress.total < 0) {
      std::snprintf(line, sizeof line, "%ld rows, %.0f/s", progress.done, rate);
    } else {
      const double left = rate > 0 ? (progress.total - progress.done) / rate : 0;
      std::snprintf(line, sizeof line, "%ld of %ld rows, %.0f/s, %.0f s left", progress.done, progress.total, rate, left);
    }
    err_ << "\r\033[K" << line << std::flush;
    drawn_ = true;
  }

  // Before any other line on the terminal.
  void Clear() {
    if (drawn_) err_ << "\r\033[K";
    drawn_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  bool shown_;
  bool drawn_ = false;
  Clock::time_point start_ = Clock::now();
  // The first line waits a tenth of a second too, so that the rate means something.
  Clock::time_point lastDraw_ = start_;
};

BatchJob JobOf(const CliOptions& options, std::istream& in, std::ostream& out) {
  const CliBatchOptions& batch = *options.batch;
  BatchJob job;
  job.kind = options.command == CliCommand::Qr ? SymbolKind::Qr : SymbolKind::Dm;
  job.inputPath = batch.input == StandardStream ? "standard input" : batch.input;
  if (batch.input == StandardStream) job.inputStream = &in;
  job.encoding = batch.encoding;
  job.operatorFormat = options.operatorFormat;
  job.tab = options.tab;
  job.level = options.level;
  job.version = options.version;
  job.dmSize = options.dmSize;
  job.dmScheme = options.dmScheme;
  job.image = options.image;
  job.verify = options.verify;
  if (batch.sheet)
    job.labels = LabelSheetJob{{*batch.sheet, batch.columns, batch.rows, options.image}, batch.caption, *options.outputFile};
  else
    job.outputDir = *options.outputFile;
  job.nameTemplate = batch.nameTemplate;
  job.jobs = batch.jobs;
  job.manifestPath = batch.manifest.value_or("");
  if (job.manifestPath == StandardStream) job.manifestStream = &out;
  job.cancel = &stopRequested;
  return job;
}

int ExitStatus(const BatchSummary& summary) {
  switch (summary.outcome) {
    case BatchOutcome::Finished: return summary.failed == 0 ? ExitOk : ExitSomeRowsFailed;
    case BatchOutcome::BadInput: return ExitUsage;
    case BatchOutcome::OutputUnusable: return ExitWriteFailed;
    case BatchOutcome::Cancelled: return 128 + (stopSignal ? stopSignal : SIGINT);
  }
  return ExitUsage;
}

}  // namespace

int RunBatchCli(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  // Only the real standard error can be a terminal; tests pass a string stream.
  ProgressLine progress(err, &err == &std::cerr && ::isatty(STDERR_FILENO));
  BatchJob job = JobOf(options, in, out);
  job.onRow = [&](const BatchRowResult& row) {
    if (row.Ok()) return;
    progress.Clear();
    err << "row " << row.row << ": " << row.error << '\n';
  };
  job.onProgress = [&](const BatchProgress& p) { progress.Update(p); };
  StopSignals signals;
  const BatchSummary summary = RunBatch(job);
  progress.Clear();
  if (!summary.problem.message.empty()) err << "quillet-cli: " << summary.problem.message << '\n';
  // A guess worth knowing when rows fail: the input was not UTF-8.
  if (!options.batch->encoding && summary.encoding == TextEncoding::Gb18030 && summary.outcome != BatchOutcome::BadInput)
    err << "quillet-cli: the input is not valid UTF-8 and was read as GB18030\n";
  if (summary.pages > 0) err << "'" << *options.outputFile << "': " << summary.pages << " page" << (summary.pages > 1 ? "s" : "") << '\n';
  if (summary.outcome == BatchOutcome::Cancelled) err << "interrupted: ";
  if (summary.outcome == BatchOutcome::Finished || summary.outcome == BatchOutcome::Cancelled ||
      summary.written + summary.failed > 0)
    err << summary.written << " written, " << summary.failed << " failed\n";
  return ExitStatus(summary);
}
