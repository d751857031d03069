#include "cli/CliBatch.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include "batch/BatchJob.h"
#include "batch/BatchProgress.h"
#include "batch/TableReader.h"
#include "cli/CliRun.h"
#include "cli/Words.h"

namespace quillet {

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
    const BatchPace pace = PaceOf(progress, std::chrono::duration<double>(now - start_).count());
    char line[160];
    if (progress.total < 0)
      std::snprintf(line, sizeof line, "%ld rows, %.0f/s", progress.done, pace.rowsPerSecond);
    else
      std::snprintf(line, sizeof line, "%ld of %ld rows, %.0f/s, %.0f s left", progress.done, progress.total,
                    pace.rowsPerSecond, std::max(pace.secondsLeft, 0.0));
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
  static_cast<SymbolSettings&>(job) = options.symbol;
  // Rows are written as the pages write them: one segment.
  job.segments = QrSegments::Single;
  job.inputPath = batch.input == StandardStream ? "standard input" : batch.input;
  if (batch.input == StandardStream) job.inputStream = &in;
  job.encoding = batch.encoding;
  job.contentPage = options.contentPage;
  job.textCharset = options.textCharset;
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

std::string LabelTooLargeText(const LabelAdvice& advice) {
  const LabelFit& fit = advice.fit;
  std::string text = "the labels do not fit: the first row's symbol (" + std::to_string(advice.modules) +
                     " modules) measures " + Millimetres(fit.widthMm, fit.heightMm) +
                     " with its quiet zone and caption, a cell " + Millimetres(fit.cellWidthMm, fit.cellHeightMm);
  std::vector<std::string> remedies;
  if (advice.mostColumns > 0)
    remedies.push_back("--columns " + std::to_string(advice.mostColumns) + " --rows " + std::to_string(advice.mostRows));
  if (advice.largestModuleMm > 0) {
    char module[48];
    std::snprintf(module, sizeof module, "--module-mm %.2f or less", advice.largestModuleMm);
    remedies.push_back(module);
  }
  if (advice.mostModules > 0)
    remedies.push_back("a symbol of at most " + std::to_string(advice.mostModules) +
                       " modules (a lower version or less content)");
  for (size_t i = 0; i < remedies.size(); ++i)
    text += (i == 0 ? "; it fits with " : i + 1 == remedies.size() ? ", or " : ", ") + remedies[i];
  return text;
}

std::string OutputRuleText(const OutputProblem& problem) {
  const std::string names = "the name template '" + problem.subject + "'";
  switch (problem.rule) {
    case OutputRule::NameTemplateBroken: return DescribeTemplateFault(problem.fault, false);
    case OutputRule::CaptionBroken: return DescribeTemplateFault(problem.fault, true);
    case OutputRule::NoImageExtension: return names + " must end in " + KnownExtensions(", ", " or ");
    case OutputRule::SameNameEveryRow: return names + " gives every row the same name: use {row} or {COLUMN}";
    case OutputRule::SheetNotPdf: return "a label sheet is a PDF file: '" + problem.subject + "' does not end in .pdf";
    case OutputRule::None: break;
  }
  return {};
}

std::string HeaderBrokenText(const BatchProblem& problem) {
  if (problem.column == 0) return "the header row is not closed or too long";
  return "the header's column " + std::to_string(problem.column) + ": " + DescribeTextProblem(problem.text);
}

std::string InputNotKeptText(const BatchProblem& problem) {
  const std::string where = problem.path.empty() ? "a temporary file" : Quoted(problem.path);
  return "cannot keep a copy of " + problem.subject + " in " + where + ": " + std::strerror(problem.error);
}

std::string ManifestText(const BatchProblem& problem) {
  if (problem.error == 0)
    return "cannot write the manifest to " + (problem.subject.empty() ? std::string("standard output") : problem.subject);
  return "cannot write the manifest " + Quoted(problem.subject) + ": " + std::strerror(problem.error);
}

std::string ProblemText(const BatchProblem& problem, const BatchSettings& settings) {
  const std::string why = problem.error ? std::strerror(problem.error) : "";
  const LabelSheetLayout sheet = settings.labels ? settings.labels->sheet : LabelSheetLayout{};
  switch (problem.stop) {
    case BatchStop::InputUnreadable: return "cannot read " + Quoted(problem.subject) + ": " + why;
    case BatchStop::InputNotKept: return InputNotKeptText(problem);
    case BatchStop::InputEmpty: return "the input is empty: its first row must name the columns";
    case BatchStop::HeaderBroken: return HeaderBrokenText(problem);
    case BatchStop::HeaderRefused: return DescribeHeaderRefusal(problem.header);
    case BatchStop::FolderNotCreated: return "cannot create the folder " + Quoted(problem.subject) + ": " + why;
    case BatchStop::NotAFolder: return Quoted(problem.subject) + " is not a folder";
    case BatchStop::FolderNotWritable: return "cannot write in the folder " + Quoted(problem.subject) + ": " + why;
    case BatchStop::OutputFailed: return DescribeImageFailure(problem.output);
    case BatchStop::SheetNotOpened: return DescribeSheetProblem(problem.sheet, sheet);
    case BatchStop::SheetNotMade: return "cannot make the label sheet: " + DescribeSheetProblem(problem.sheet, sheet);
    case BatchStop::SheetNotWritten:
      return "cannot write " + Quoted(problem.subject) + ": " + DescribeImageFailure(problem.output);
    case BatchStop::ManifestNotWritten: return ManifestText(problem);
    case BatchStop::LabelTooLarge: return LabelTooLargeText(problem.label);
    case BatchStop::OutputRules: return OutputRuleText(problem.rules);
    case BatchStop::None: break;
  }
  return {};
}

std::string ColumnName(const RowProblem& problem) {
  if (problem.column.empty()) return "column " + std::to_string(problem.columnIndex + 1);
  return "column '" + problem.column + "'";
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

std::string RowReasonText(const BatchRowResult& row, const BatchSettings& settings) {
  const RowProblem& problem = row.problem;
  switch (problem.failure) {
    case RowFailure::BrokenRow:
      if (!problem.overflow) return "a quoted cell is not closed before the end of the input";
      return "the row is longer than " + std::to_string(TableReader::MaxRecordBytes) + " bytes or " +
             std::to_string(TableReader::MaxRecordCells) + " cells";
    case RowFailure::TooManyCells:
      return "the row has " + std::to_string(problem.count) + " cells, the header " + std::to_string(problem.limit);
    case RowFailure::BadText: return ColumnName(problem) + ": " + DescribeTextProblem(problem.text);
    case RowFailure::UnnamedColumn: return ColumnName(problem) + ": a column without a name holds a value";
    case RowFailure::RequiredFieldEmpty: return ColumnName(problem) + ": a required field is empty";
    case RowFailure::FieldNotCarried: return ColumnName(problem) + ": " + DescribeFieldProblem(problem.field, settings.contentPage);
    case RowFailure::EmptyName: return "the file name is empty";
    case RowFailure::DuplicateName:
      return "the file name '" + row.fileName + "' is already that of row " + std::to_string(problem.count);
    case RowFailure::NothingToEncode:
      if (problem.columnIndex >= 0) return "the text is empty: there is nothing to encode";
      return DescribeSymbolFailure(SymbolFailure::NothingToEncode, 0, settings, true);
    case RowFailure::DoesNotFit: return DescribeSymbolFailure(problem.symbol, problem.count, settings, true);
    case RowFailure::WriteFailed: return DescribeImageFailure(row.image);
    case RowFailure::NotReadBack:
      return DescribeNotReadBack(problem.readBack, problem.risk, settings.labels ? "the label" : Quoted(row.fileName));
    case RowFailure::LabelTooLarge:
      return DescribeSheetProblem(problem.sheet, settings.labels ? settings.labels->sheet : LabelSheetLayout{});
    case RowFailure::LogoDoesNotFit: return DescribeLogoFit(problem.logo);
    case RowFailure::StyleNotReadBack: return DescribeStyledNotReadBack(problem.readBack);
    case RowFailure::None: break;
  }
  return {};
}

int RunBatchCli(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  // Only the real standard error can be a terminal; tests pass a string stream.
  ProgressLine progress(err, &err == &std::cerr && ::isatty(STDERR_FILENO));
  BatchJob job = JobOf(options, in, out);
  job.onRow = [&](const BatchRowResult& row) {
    if (row.Ok()) return;
    progress.Clear();
    err << "row " << row.row << ": " << RowReasonText(row, job) << '\n';
  };
  job.onProgress = [&](const BatchProgress& p) { progress.Update(p); };
  job.describeRow = [&](const BatchRowResult& row) { return RowReasonText(row, job); };
  StopSignals signals;
  const BatchSummary summary = RunBatch(job);
  progress.Clear();
  if (const std::string problem = ProblemText(summary.problem, job); !problem.empty())
    err << "quillet-cli: " << problem << '\n';
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

}  // namespace quillet
