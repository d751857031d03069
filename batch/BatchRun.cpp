#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "batch/BatchInput.h"
#include "batch/BatchJob.h"
#include "batch/BatchProgress.h"
#include "batch/Manifest.h"
#include "batch/RowPipeline.h"
#include "image/AtomicFile.h"
#include "image/PrintFormats.h"

namespace quillet {

namespace {

bool Cancelled(const BatchJob& job) { return job.cancel && job.cancel->load(std::memory_order_relaxed); }

BatchSummary Stop(BatchOutcome outcome, BatchProblem problem) {
  BatchSummary summary;
  summary.outcome = outcome;
  summary.problem = std::move(problem);
  return summary;
}

BatchProblem OutputFailed(BatchStop stop, const ImageResult& output, std::string subject = {}) {
  BatchProblem problem = MakeBatchProblem(stop, std::move(subject), output.error);
  problem.output = output;
  return problem;
}

BatchProblem SheetFailed(BatchStop stop, SheetProblem sheet) {
  BatchProblem problem = MakeBatchProblem(stop);
  problem.sheet = std::move(sheet);
  return problem;
}

BatchProblem HeaderBroken(long column, TextProblem text = {}) {
  BatchProblem problem = MakeBatchProblem(BatchStop::HeaderBroken);
  problem.column = column;
  problem.text = std::move(text);
  return problem;
}

bool EndsInPdf(const std::string& path) {
  const ImageFormat* format = FindFormatForFile(path);
  return format && format == FindFormatByName("pdf");
}

// The header as UTF-8, or a reason.
std::optional<std::vector<std::string>> ReadHeader(TableReader& reader, TextEncoding encoding, BatchProblem* problem) {
  TableRecord record;
  if (!reader.Next(record)) {
    *problem = EmptyInput();
    return std::nullopt;
  }
  if (record.overflow || record.unterminatedQuote) {
    *problem = HeaderBroken(0);
    return std::nullopt;
  }
  std::vector<std::string> header;
  for (size_t i = 0; i < record.cells.size(); ++i) {
    TextProblem text;
    auto utf8 = CellToUtf8(record.cells[i], encoding, &text);
    if (!utf8) {
      *problem = HeaderBroken(static_cast<long>(i + 1), std::move(text));
      return std::nullopt;
    }
    header.push_back(std::move(*utf8));
  }
  return header;
}

std::optional<BatchProblem> PrepareFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return MakeBatchProblem(BatchStop::FolderNotCreated, folder, error.value());
  if (!std::filesystem::is_directory(folder, error)) return MakeBatchProblem(BatchStop::NotAFolder, folder, ENOTDIR);
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return MakeBatchProblem(BatchStop::FolderNotWritable, folder, errno);
  return std::nullopt;
}

// A label sheet goes into an existing folder, as a single file does.
std::optional<BatchProblem> CheckSheetFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  const std::string shown = folder.empty() ? "." : folder.string();
  std::error_code error;
  if (!std::filesystem::is_directory(shown, error))
    return OutputFailed(BatchStop::OutputFailed, {ImageFailure::FolderMissing, shown, 0});
  if (::access(shown.c_str(), W_OK | X_OK) != 0) return MakeBatchProblem(BatchStop::FolderNotWritable, shown, errno);
  return std::nullopt;
}

class BatchRun {
 public:
  explicit BatchRun(const BatchJob& job) : job_(job) {}

  BatchSummary Run() {
    if (auto problem = Open(true)) return Stop(BatchOutcome::BadInput, *problem);
    if (Cancelled(job_)) return Stop(BatchOutcome::Cancelled, {});
    std::vector<RowTask> ahead;
    if (job_.labels)
      if (auto tooLarge = CheckFirstLabel(ahead)) return Stop(BatchOutcome::BadInput, *tooLarge);
    if (auto unusable = job_.labels ? CheckSheetFolder(job_.labels->path) : PrepareFolder(job_.outputDir))
      return Stop(BatchOutcome::OutputUnusable, *unusable);
    SheetProblem sheet;
    if (job_.labels && !OpenSheet(&sheet)) return Stop(BatchOutcome::BadInput, SheetFailed(BatchStop::SheetNotOpened, sheet));
    if (job_.manifestStream) manifest_.Open(*job_.manifestStream);
    else if (!job_.manifestPath.empty())
      if (const ImageResult opened = manifest_.Open(job_.manifestPath); !opened.Ok())
        return Stop(BatchOutcome::OutputUnusable, ManifestFailed(opened));
    Rows(std::move(ahead));
    summary_.outcome = Cancelled(job_) ? BatchOutcome::Cancelled : BatchOutcome::Finished;
    if (job_.labels && !Cancelled(job_))
      if (auto unwritten = WriteSheet()) {
        summary_.outcome = BatchOutcome::OutputUnusable;
        summary_.problem = *unwritten;
      }
    if (const ImageResult closed = manifest_.Close(); !closed.Ok()) {
      summary_.outcome = BatchOutcome::OutputUnusable;
      summary_.problem = ManifestFailed(closed);
    }
    return summary_;
  }

  // Only what can be known before anything is written: the options, the
  // input's header and, on a label sheet, whether the first label fits.
  BatchProblem Check() {
    if (auto problem = Open(false)) return *problem;
    std::vector<RowTask> ahead;
    if (job_.labels)
      if (auto tooLarge = CheckFirstLabel(ahead)) return *tooLarge;
    return {};
  }

 private:
  // The templates, the input, its header and what its columns feed.
  std::optional<BatchProblem> Open(bool countRows) {
    BatchProblem problem;
    const bool sheet = job_.labels.has_value();
    if (OutputProblem rules = CheckBatchOutput(job_, &names_)) {
      problem.stop = BatchStop::OutputRules;
      problem.rules = std::move(rules);
      return problem;
    }
    input_ = OpenBatchInput({job_.inputPath, job_.inputStream, job_.encoding, countRows && names_->UsesRow(),
                             job_.cancel},
                            &problem);
    if (!input_) return problem;
    summary_.encoding = input_->encoding;
    reader_.emplace(*input_->stream, input_->delimiter);
    const auto header = ReadHeader(*reader_, input_->encoding, &problem);
    if (!header) return problem;
    plan_ = PlanColumns(*header, job_.symbology, job_.contentPage, *names_, &problem.header);
    if (!plan_) {
      problem.stop = BatchStop::HeaderRefused;
      return problem;
    }
    progress_.total = input_->records < 0 ? -1 : input_->records - 1;
    namer_.emplace(*names_, *plan_, input_->encoding, DecimalWidth(std::max(progress_.total, 1L)), sheet);
    return std::nullopt;
  }

  // The rows up to the first that gives a label go into `ahead`; a problem
  // when that label does not fit a cell, so that no row is tried in vain.
  std::optional<BatchProblem> CheckFirstLabel(std::vector<RowTask>& ahead) {
    RowEncoder encoder(job_, *plan_, input_->encoding);
    TableRecord record;
    while (!Cancelled(job_) && ahead.size() < MostRowsAhead && reader_->Next(record)) {
      ahead.push_back(namer_->Next(std::move(record)));
      const BatchRowResult first = encoder.Encode(ahead.back());
      if (!first.label) continue;
      const LabelAdvice advice =
          AdviseLabel(job_.labels->sheet, first.label->Columns(), first.label->Rows(), !first.caption.empty());
      if (advice.fit.Fits()) return std::nullopt;
      BatchProblem problem = MakeBatchProblem(BatchStop::LabelTooLarge);
      problem.label = advice;
      return problem;
    }
    return std::nullopt;
  }

  void Rows(std::vector<RowTask> ahead) {
    const int jobs = job_.jobs > 0 ? job_.jobs : DefaultBatchJobs();
    RowPipeline pipeline(
        jobs, [&] { return std::make_unique<RowEncoder>(job_, *plan_, input_->encoding); },
        [this](const BatchRowResult& result) { Report(result); }, job_.cancel);
    for (RowTask& task : ahead) pipeline.Submit(std::move(task));
    TableRecord record;
    while (!Cancelled(job_) && reader_->Next(record)) pipeline.Submit(namer_->Next(std::move(record)));
    pipeline.Finish();
  }

  bool OpenSheet(SheetProblem* problem) {
    sheet_ = OpenLabelSheet(job_.labels->sheet, [this](std::string_view bytes) {
      sheetBytes_.append(bytes);
      return true;
    }, problem);
    return sheet_ != nullptr;
  }

  // The manifest names its own file; a stream has no name of its own.
  BatchProblem ManifestFailed(const ImageResult& result) const {
    return OutputFailed(BatchStop::ManifestNotWritten, result, job_.manifestStream ? std::string() : job_.manifestPath);
  }

  // In row order, so that the labels follow the rows of the input.
  void PlaceLabel(BatchRowResult& result) {
    SheetProblem problem;
    if (!sheet_->AddLabel(*result.label, result.labelImage, result.caption, &problem)) {
      result.problem.failure = RowFailure::LabelTooLarge;
      result.problem.sheet = std::move(problem);
    }
    result.label.reset();
  }

  // The sheet is written whole when the last row is placed; with no label
  // (every row failed) there is no file.
  std::optional<BatchProblem> WriteSheet() {
    if (sheet_->Labels() == 0) return std::nullopt;
    SheetProblem problem;
    if (!sheet_->Finish(&problem)) return SheetFailed(BatchStop::SheetNotMade, problem);
    summary_.pages = sheet_->Pages();
    const ImageResult written = WriteFileAtomically(job_.labels->path, sheetBytes_);
    if (!written.Ok()) return OutputFailed(BatchStop::SheetNotWritten, written, job_.labels->path);
    return std::nullopt;
  }

  void Report(const BatchRowResult& reported) {
    BatchRowResult placed;
    if (reported.label) {
      placed = reported;
      PlaceLabel(placed);
    }
    const BatchRowResult& result = reported.label ? placed : reported;
    (result.Ok() ? summary_.written : summary_.failed)++;
    if (!job_.manifestPath.empty())
      manifest_.Add(result, result.Ok() || !job_.describeRow ? std::string() : job_.describeRow(result));
    progress_.done++;
    progress_.written = summary_.written;
    progress_.failed = summary_.failed;
    if (job_.onRow) job_.onRow(result);
    if (job_.onProgress) job_.onProgress(progress_);
  }

  // Rows read before the first label is found: enough for a spreadsheet that
  // starts with a few bad rows, few enough that checking stays quick.
  static constexpr size_t MostRowsAhead = 100;

  const BatchJob& job_;
  std::optional<NameTemplate> names_;
  std::optional<BatchInput> input_;
  std::optional<TableReader> reader_;
  std::optional<ColumnPlan> plan_;
  std::optional<RowNamer> namer_;
  BatchSummary summary_;
  BatchProgress progress_;
  ManifestWriter manifest_;
  // Before the sheet: a sheet never finished writes its last bytes here as it is destroyed.
  std::string sheetBytes_;
  std::unique_ptr<LabelSheetWriter> sheet_;
};

}  // namespace

OutputProblem CheckBatchOutput(const BatchSettings& settings, std::optional<NameTemplate>* names) {
  TemplateFault fault = TemplateFault::None;
  std::optional<NameTemplate> parsed;
  // On a sheet the caption template names the columns a row shows, as the
  // name template does for files.
  if (settings.labels) {
    const LabelSheetJob& sheet = *settings.labels;
    parsed = NameTemplate::ParseCaption(sheet.captionTemplate, &fault);
    if (!parsed) return {OutputRule::CaptionBroken, sheet.captionTemplate, fault};
    if (!EndsInPdf(sheet.path)) return {OutputRule::SheetNotPdf, sheet.path, {}};
  } else {
    parsed = NameTemplate::Parse(settings.nameTemplate, &fault);
    if (!parsed) return {OutputRule::NameTemplateBroken, settings.nameTemplate, fault};
    if (!FindFormatForFile(parsed->Text())) return {OutputRule::NoImageExtension, settings.nameTemplate, {}};
    if (!parsed->UsesRow() && parsed->Columns().empty())
      return {OutputRule::SameNameEveryRow, settings.nameTemplate, {}};
  }
  if (names) *names = std::move(parsed);
  return {};
}

BatchSummary RunBatch(const BatchJob& job) { return BatchRun(job).Run(); }

BatchProblem CheckBatch(const BatchJob& job) { return BatchRun(job).Check(); }

BatchPace PaceOf(const BatchProgress& progress, double seconds) {
  BatchPace pace;
  if (seconds <= 0 || progress.done <= 0) return pace;
  pace.rowsPerSecond = progress.done / seconds;
  if (progress.total >= 0) pace.secondsLeft = std::max(progress.total - progress.done, 0L) / pace.rowsPerSecond;
  return pace;
}

int DefaultBatchJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

}  // namespace quillet
