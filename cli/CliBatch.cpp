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
#include "cli/Translate.h"
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

// "12", a rate or a time left in whole units.
std::string Whole(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

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
    if (progress.total < 0)
      err_ << "\r\033[K" << Fill(_("{1} rows, {2}/s"), {std::to_string(progress.done), Whole(pace.rowsPerSecond)});
    else
      err_ << "\r\033[K"
           << Fill(_("{1} of {2} rows, {3}/s, {4} s left"),
                   {std::to_string(progress.done), std::to_string(progress.total), Whole(pace.rowsPerSecond),
                    Whole(std::max(pace.secondsLeft, 0.0))});
    err_ << std::flush;
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
  job.inputPath = batch.input == StandardStream ? _("standard input") : batch.input;
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
  std::string text = Fill(_("the labels do not fit: the first row's symbol ({1} modules) measures {2} with its quiet "
                            "zone and caption, a cell {3}"),
                          {std::to_string(advice.modules), Millimetres(fit.widthMm, fit.heightMm),
                           Millimetres(fit.cellWidthMm, fit.cellHeightMm)});
  std::vector<std::string> remedies;
  if (advice.mostColumns > 0)
    remedies.push_back("--columns " + std::to_string(advice.mostColumns) + " --rows " + std::to_string(advice.mostRows));
  if (advice.largestModuleMm > 0) {
    char module[32];
    std::snprintf(module, sizeof module, "%.2f", advice.largestModuleMm);
    remedies.push_back(Fill(_("--module-mm {1} or less"), {module}));
  }
  if (advice.mostModules > 0)
    remedies.push_back(Fill(_("a symbol of at most {1} modules (a lower version or less content)"),
                            {std::to_string(advice.mostModules)}));
  if (remedies.empty()) return text;
  return text + Fill(_("; it fits with {1}"), {JoinNames(remedies, ", ", _(", or "))});
}

std::string OutputRuleText(const OutputProblem& problem) {
  switch (problem.rule) {
    case OutputRule::NameTemplateBroken: return DescribeTemplateFault(problem.fault, false);
    case OutputRule::CaptionBroken: return DescribeTemplateFault(problem.fault, true);
    case OutputRule::NoImageExtension:
      return Fill(_("the name template '{1}' must end in {2}"), {problem.subject, KnownExtensions(", ", _(" or "))});
    case OutputRule::SameNameEveryRow:
      return Fill(_("the name template '{1}' gives every row the same name: use {row} or {COLUMN}"), {problem.subject});
    case OutputRule::SheetNotPdf:
      return Fill(_("a label sheet is a PDF file: '{1}' does not end in .pdf"), {problem.subject});
    case OutputRule::None: break;
  }
  return {};
}

std::string HeaderBrokenText(const BatchProblem& problem) {
  if (problem.column == 0) return _("the header row is not closed or too long");
  return Fill(_("the header's column {1}: {2}"), {std::to_string(problem.column), DescribeTextProblem(problem.text)});
}

std::string InputNotKeptText(const BatchProblem& problem) {
  const std::string where = problem.path.empty() ? _("a temporary file") : Quoted(problem.path);
  return Fill(_("cannot keep a copy of {1} in {2}: {3}"), {problem.subject, where, std::strerror(problem.error)});
}

std::string ManifestText(const BatchProblem& problem) {
  if (problem.error == 0)
    return Fill(_("cannot write the manifest to {1}"),
                {problem.subject.empty() ? std::string(_("standard output")) : problem.subject});
  return Fill(_("cannot write the manifest {1}: {2}"), {Quoted(problem.subject), std::strerror(problem.error)});
}

std::string ProblemText(const BatchProblem& problem, const BatchSettings& settings) {
  const std::string why = problem.error ? std::strerror(problem.error) : "";
  const LabelSheetLayout sheet = settings.labels ? settings.labels->sheet : LabelSheetLayout{};
  switch (problem.stop) {
    case BatchStop::InputUnreadable: return Fill(_("cannot read {1}: {2}"), {Quoted(problem.subject), why});
    case BatchStop::InputNotKept: return InputNotKeptText(problem);
    case BatchStop::InputEmpty: return _("the input is empty: its first row must name the columns");
    case BatchStop::HeaderBroken: return HeaderBrokenText(problem);
    case BatchStop::HeaderRefused: return DescribeHeaderRefusal(problem.header);
    case BatchStop::FolderNotCreated: return Fill(_("cannot create the folder {1}: {2}"), {Quoted(problem.subject), why});
    case BatchStop::NotAFolder: return Fill(_("{1} is not a folder"), {Quoted(problem.subject)});
    case BatchStop::FolderNotWritable:
      return Fill(_("cannot write in the folder {1}: {2}"), {Quoted(problem.subject), why});
    case BatchStop::OutputFailed: return DescribeImageFailure(problem.output);
    case BatchStop::SheetNotOpened: return DescribeSheetProblem(problem.sheet, sheet);
    case BatchStop::SheetNotMade:
      return Fill(_("cannot make the label sheet: {1}"), {DescribeSheetProblem(problem.sheet, sheet)});
    case BatchStop::SheetNotWritten:
      return Fill(_("cannot write {1}: {2}"), {Quoted(problem.subject), DescribeImageFailure(problem.output)});
    case BatchStop::ManifestNotWritten: return ManifestText(problem);
    case BatchStop::LabelTooLarge: return LabelTooLargeText(problem.label);
    case BatchStop::OutputRules: return OutputRuleText(problem.rules);
    case BatchStop::None: break;
  }
  return {};
}

std::string ColumnName(const RowProblem& problem) {
  if (problem.column.empty()) return Fill(_("column {1}"), {std::to_string(problem.columnIndex + 1)});
  return Fill(_("column '{1}'"), {problem.column});
}

// The files whose whole pixels miss the printed size asked for: said once,
// after the rows, with the first of them as the example.
class PixelScaleNotice {
 public:
  void Note(const BatchRowResult& row) {
    if (!row.Ok() || !row.pixels.offRequest) return;
    if (files_++ == 0) first_ = "row " + std::to_string(row.row) + ": " + DescribeModuleScale(row.pixels);
  }
  void Say(std::ostream& err) const {
    if (files_ == 0) return;
    err << "quillet-cli: "
        << Fill(P_("{1} file prints off the size asked for, in whole pixels per module; {2}",
                   "{1} files print off the size asked for, in whole pixels per module; {2}",
                   static_cast<unsigned long>(files_)),
                {std::to_string(files_), first_})
        << '\n';
  }

 private:
  long files_ = 0;
  std::string first_;
};

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
      if (!problem.overflow) return _("a quoted cell is not closed before the end of the input");
      return Fill(_("the row is longer than {1} bytes or {2} cells"),
                  {std::to_string(TableReader::MaxRecordBytes), std::to_string(TableReader::MaxRecordCells)});
    case RowFailure::TooManyCells:
      return Fill(_("the row has {1} cells, the header {2}"), {std::to_string(problem.count), std::to_string(problem.limit)});
    case RowFailure::BadText: return ColumnName(problem) + ": " + DescribeTextProblem(problem.text);
    case RowFailure::UnnamedColumn: return ColumnName(problem) + _(": a column without a name holds a value");
    case RowFailure::RequiredFieldEmpty: return ColumnName(problem) + _(": a required field is empty");
    case RowFailure::FieldNotCarried: return ColumnName(problem) + ": " + DescribeFieldProblem(problem.field, settings.contentPage);
    case RowFailure::EmptyName: return _("the file name is empty");
    case RowFailure::DuplicateName:
      return Fill(_("the file name '{1}' is already that of row {2}"), {row.fileName, std::to_string(problem.count)});
    case RowFailure::NothingToEncode:
      if (problem.columnIndex >= 0) return _("the text is empty: there is nothing to encode");
      return DescribeSymbolFailure(SymbolFailure::NothingToEncode, 0, settings, true);
    case RowFailure::DoesNotFit: return DescribeSymbolFailure(problem.symbol, problem.count, settings, true);
    case RowFailure::WriteFailed: return DescribeImageFailure(row.image);
    case RowFailure::NotReadBack:
      return DescribeNotReadBack(problem.readBack, problem.risk, settings.labels ? _("the label") : Quoted(row.fileName));
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
  PixelScaleNotice pixels;
  job.onRow = [&](const BatchRowResult& row) {
    pixels.Note(row);
    if (row.Ok()) return;
    progress.Clear();
    // "row R: " opens the line under every locale, for the scripts that
    // read the log; the reason is in the user's language.
    err << "row " << row.row << ": " << RowReasonText(row, job) << '\n';
  };
  job.onProgress = [&](const BatchProgress& p) { progress.Update(p); };
  // The manifest's columns and status words stay; the reason after "failed: "
  // is a sentence for people.
  job.describeRow = [&](const BatchRowResult& row) { return RowReasonText(row, job); };
  StopSignals signals;
  const BatchSummary summary = RunBatch(job);
  progress.Clear();
  if (const std::string problem = ProblemText(summary.problem, job); !problem.empty())
    err << "quillet-cli: " << problem << '\n';
  // A guess worth knowing when rows fail: the input was not UTF-8.
  if (!options.batch->encoding && summary.encoding == TextEncoding::Gb18030 && summary.outcome != BatchOutcome::BadInput)
    err << "quillet-cli: " << _("the input is not valid UTF-8 and was read as GB18030") << '\n';
  pixels.Say(err);
  if (summary.pages > 0)
    err << Fill(P_("'{1}': {2} page", "'{1}': {2} pages", static_cast<unsigned long>(summary.pages)),
                {*options.outputFile, std::to_string(summary.pages)})
        << '\n';
  if (summary.outcome == BatchOutcome::Cancelled) err << _("interrupted: ");
  if (summary.outcome == BatchOutcome::Finished || summary.outcome == BatchOutcome::Cancelled ||
      summary.written + summary.failed > 0)
    err << Fill(_("{1} written, {2} failed"), {std::to_string(summary.written), std::to_string(summary.failed)}) << '\n';
  return ExitStatus(summary);
}

}  // namespace quillet
