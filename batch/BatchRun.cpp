#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "batch/BatchInput.h"
#include "batch/BatchJob.h"
#include "batch/Manifest.h"
#include "batch/RowPipeline.h"
#include "image/AtomicFile.h"
#include "image/PrintFormats.h"

namespace {

bool Cancelled(const BatchJob& job) { return job.cancel && job.cancel->load(std::memory_order_relaxed); }

BatchSummary Stop(BatchOutcome outcome, BatchProblem problem) {
  BatchSummary summary;
  summary.outcome = outcome;
  summary.problem = std::move(problem);
  return summary;
}

BatchProblem Other(std::string message) { return MakeBatchProblem(BatchStop::Other, std::move(message)); }

BatchProblem InFolder(BatchStop stop, const std::string& folder, int error, const std::string& english) {
  return MakeBatchProblem(stop, english + " '" + folder + "': " + std::strerror(error), folder, error);
}

BatchProblem OutputFailed(const ImageResult& output, const std::string& english) {
  BatchProblem problem = MakeBatchProblem(BatchStop::OutputFailed, english);
  problem.output = output;
  return problem;
}

std::string CheckNameTemplate(const NameTemplate& names) {
  if (!FindFormatForFile(names.Text()))
    return "the name template '" + names.Text() + "' must end in " + KnownExtensions(", ", " or ");
  if (!names.UsesRow() && names.Columns().empty())
    return "the name template '" + names.Text() + "' gives every row the same name: use {row} or {COLUMN}";
  return {};
}

// The header as UTF-8, or a reason.
std::optional<std::vector<std::string>> ReadHeader(TableReader& reader, TextEncoding encoding, BatchProblem* problem) {
  TableRecord record;
  if (!reader.Next(record)) {
    *problem = EmptyInput();
    return std::nullopt;
  }
  if (record.overflow || record.unterminatedQuote) {
    *problem = MakeBatchProblem(BatchStop::HeaderBroken, "the header row is not closed or too long");
    return std::nullopt;
  }
  std::vector<std::string> header;
  for (size_t i = 0; i < record.cells.size(); ++i) {
    std::string error;
    auto utf8 = CellToUtf8(record.cells[i], encoding, &error);
    if (!utf8) {
      *problem =
          MakeBatchProblem(BatchStop::HeaderBroken, "the header's column " + std::to_string(i + 1) + ": " + error);
      return std::nullopt;
    }
    header.push_back(std::move(*utf8));
  }
  return header;
}

std::optional<BatchProblem> PrepareFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return InFolder(BatchStop::FolderNotCreated, folder, error.value(), "cannot create the folder");
  if (!std::filesystem::is_directory(folder, error))
    return MakeBatchProblem(BatchStop::FolderNotCreated, "'" + folder + "' is not a folder", folder, ENOTDIR);
  if (::access(folder.c_str(), W_OK | X_OK) != 0)
    return InFolder(BatchStop::FolderNotWritable, folder, errno, "cannot write in the folder");
  return std::nullopt;
}

// A label sheet goes into an existing folder, as a single file does.
std::optional<BatchProblem> CheckSheetFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  const std::string shown = folder.empty() ? "." : folder.string();
  std::error_code error;
  if (!std::filesystem::is_directory(shown, error)) {
    const ImageResult missing{ImageFailure::FolderMissing, shown, 0};
    return OutputFailed(missing, DescribeImageFailure(missing));
  }
  if (::access(shown.c_str(), W_OK | X_OK) != 0)
    return InFolder(BatchStop::FolderNotWritable, shown, errno, "cannot write in the folder");
  return std::nullopt;
}

class BatchRun {
 public:
  explicit BatchRun(const BatchJob& job) : job_(job) {}

  BatchSummary Run() {
    std::string error;
    BatchProblem problem;
    const bool sheet = job_.labels.has_value();
    // On a sheet the caption template names the columns a row shows, as the
    // name template does for files.
    const auto names = sheet ? NameTemplate::ParseCaption(job_.labels->captionTemplate, &error)
                             : NameTemplate::Parse(job_.nameTemplate, &error);
    if (!names) return Stop(BatchOutcome::BadInput, Other(error));
    if (!sheet)
      if (error = CheckNameTemplate(*names); !error.empty()) return Stop(BatchOutcome::BadInput, Other(error));
    auto input =
        OpenBatchInput({job_.inputPath, job_.inputStream, job_.encoding, names->UsesRow(), job_.cancel}, &problem);
    if (!input) return Stop(BatchOutcome::BadInput, problem);
    if (Cancelled(job_)) return Stop(BatchOutcome::Cancelled, {});
    summary_.encoding = input->encoding;
    TableReader reader(*input->stream, input->delimiter);
    const auto header = ReadHeader(reader, input->encoding, &problem);
    if (!header) return Stop(BatchOutcome::BadInput, problem);
    const auto plan = PlanColumns(*header, job_.kind, job_.operatorFormat, job_.tab, *names, &error);
    if (!plan) return Stop(BatchOutcome::BadInput, Other(error));
    if (auto unusable = sheet ? CheckSheetFolder(job_.labels->path) : PrepareFolder(job_.outputDir))
      return Stop(BatchOutcome::OutputUnusable, *unusable);
    if (sheet && !OpenSheet(&error)) return Stop(BatchOutcome::BadInput, Other(error));
    if (job_.manifestStream) manifest_.Open(*job_.manifestStream);
    else if (!job_.manifestPath.empty())
      if (error = manifest_.Open(job_.manifestPath); !error.empty())
        return Stop(BatchOutcome::OutputUnusable, Other(error));
    progress_.total = input->records < 0 ? -1 : input->records - 1;
    RowNamer namer(*names, *plan, input->encoding, DecimalWidth(std::max(progress_.total, 1L)), sheet);
    Rows(reader, namer, *plan, input->encoding);
    summary_.outcome = Cancelled(job_) ? BatchOutcome::Cancelled : BatchOutcome::Finished;
    if (sheet && !Cancelled(job_))
      if (auto unwritten = WriteSheet()) {
        summary_.outcome = BatchOutcome::OutputUnusable;
        summary_.problem = *unwritten;
      }
    if (error = manifest_.Close(); !error.empty()) {
      summary_.outcome = BatchOutcome::OutputUnusable;
      summary_.problem = Other(error);
    }
    return summary_;
  }

 private:
  void Rows(TableReader& reader, RowNamer& namer, const ColumnPlan& plan, TextEncoding encoding) {
    const int jobs = job_.jobs > 0 ? job_.jobs : DefaultBatchJobs();
    RowPipeline pipeline(
        jobs, [&] { return std::make_unique<RowEncoder>(job_, plan, encoding); },
        [this](const BatchRowResult& result) { Report(result); }, job_.cancel);
    TableRecord record;
    while (!Cancelled(job_) && reader.Next(record)) pipeline.Submit(namer.Next(std::move(record)));
    pipeline.Finish();
  }

  bool OpenSheet(std::string* error) {
    sheet_ = OpenLabelSheet(job_.labels->sheet, [this](std::string_view bytes) {
      sheetBytes_.append(bytes);
      return true;
    }, error);
    return sheet_ != nullptr;
  }

  // In row order, so that the labels follow the rows of the input.
  void PlaceLabel(BatchRowResult& result) {
    std::string error;
    if (!sheet_->AddLabel(*result.label, result.caption, &error)) {
      result.failure = RowFailure::LabelTooLarge;
      result.error = error;
    }
    result.label.reset();
  }

  // The sheet is written whole when the last row is placed; with no label
  // (every row failed) there is no file.
  std::optional<BatchProblem> WriteSheet() {
    if (sheet_->Labels() == 0) return std::nullopt;
    std::string error;
    if (!sheet_->Finish(&error)) return Other("cannot make the label sheet: " + error);
    summary_.pages = sheet_->Pages();
    const ImageResult written = WriteFileAtomically(job_.labels->path, sheetBytes_);
    if (!written.Ok())
      return OutputFailed(written, "cannot write '" + job_.labels->path + "': " + DescribeImageFailure(written));
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
    manifest_.Add(result);
    progress_.done++;
    progress_.written = summary_.written;
    progress_.failed = summary_.failed;
    if (job_.onRow) job_.onRow(result);
    if (job_.onProgress) job_.onProgress(progress_);
  }

  const BatchJob& job_;
  BatchSummary summary_;
  BatchProgress progress_;
  ManifestWriter manifest_;
  std::unique_ptr<LabelSheetWriter> sheet_;
  std::string sheetBytes_;
};

}  // namespace

BatchSummary RunBatch(const BatchJob& job) { return BatchRun(job).Run(); }

int DefaultBatchJobs() { return std::max(1u, std::thread::hardware_concurrency()); }
