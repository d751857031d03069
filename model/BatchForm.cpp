#include "model/BatchForm.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "batch/BatchProgress.h"

namespace quillet {

namespace fs = std::filesystem;

namespace {

FormProblem Fault(FormFault fault) {
  FormProblem problem;
  problem.fault = fault;
  return problem;
}

}  // namespace

ImageOptions BatchOutputForm::SheetSymbol() const {
  ImageOptions symbol;
  symbol.dpi = SheetDpi;
  symbol.scale = ScaleForModuleMillimetres(moduleMm, SheetDpi).scale;
  return symbol;
}

double BatchOutputForm::ActualModuleMm() const { return SheetSymbol().scale * MillimetresPerInch / SheetDpi; }

BatchForm::BatchForm(const BatchPage& page) : dmScheme(page.dmScheme), page_(page) {}

void BatchForm::Load(const std::string& path) {
  inputPath_ = path;
  encoding_.reset();
  const fs::path input(path);
  const fs::path beside = input.parent_path() / input.stem();
  if (output.folder.empty()) output.folder = beside.string();
  if (output.sheetFile.empty()) output.sheetFile = beside.string() + ".pdf";
  Reload();
}

bool BatchForm::ChooseEncoding(std::optional<TextEncoding> encoding) {
  if (inputPath_.empty()) return false;
  encoding_ = encoding;
  Reload();
  return true;
}

void BatchForm::Reload() {
  if (inputPath_.empty()) return;
  inputProblem_ = {};
  table_ = ReadBatchTable(inputPath_, encoding_, PreviewRows, &inputProblem_);
}

FormProblem BatchForm::OutputFault(std::optional<NameTemplate>& names) const {
  if (const OutputProblem output = CheckBatchOutput(Settings(), &names)) {
    FormProblem problem = Fault(FormFault::OutputRule);
    problem.rule = output.rule;
    return problem;
  }
  if (table_)
    if (std::optional<std::string> missing = MissingColumn(*names, table_->header)) {
      FormProblem problem = Fault(FormFault::UnknownColumn);
      problem.column = std::move(*missing);
      return problem;
    }
  return {};
}

FormProblem BatchForm::LabelProblem() const {
  // The first rows as the run would read them, without verifying: only the label's size matters.
  BatchJob job = Job();
  job.encoding = table_->encoding;
  job.verify = false;
  FormProblem problem = Fault(FormFault::LabelTooLarge);
  problem.problem = CheckBatch(job);
  if (problem.problem.stop != BatchStop::LabelTooLarge) return {};
  return problem;
}

BatchFormCheck BatchForm::Check() const {
  BatchFormCheck check;
  std::optional<NameTemplate> names;
  check.output = OutputFault(names);
  bool columnsReady = false;
  if (table_) {
    check.feeds = CheckBatchColumns(table_->header, page_, names ? *names : NameTemplate{});
    if (check.feeds.Unused() > 0) {
      check.columns = Fault(FormFault::ColumnsUnused);
      check.columns.count = check.feeds.Unused();
    } else if (check.feeds.Refused() && !check.output) {
      check.columns = Fault(FormFault::HeaderRefused);
      check.columns.refusal = check.feeds.refusal;
    }
    columnsReady = check.feeds.Unused() == 0 && !check.feeds.Refused();
  }
  if (output.ToSheet() && !check.output && columnsReady) check.output = LabelProblem();

  const std::string& target = output.ToSheet() ? output.sheetFile : output.folder;
  if (inputPath_.empty()) {
    check.start = Fault(FormFault::NoInput);
  } else if (!table_) {
    check.start = Fault(FormFault::InputUnreadable);
    check.start.problem = inputProblem_;
  } else if (check.output) {
    check.start = check.output;
  } else if (check.columns) {
    check.start = check.columns;
  } else if (target.empty()) {
    check.start = Fault(FormFault::NoTarget);
  }
  return check;
}

BatchSettings BatchForm::Settings() const {
  BatchSettings settings = page_;
  settings.verify = output.verify;
  settings.dmScheme = dmScheme;
  if (output.ToSheet()) {
    const PaperSize& paper = PaperSizes[static_cast<size_t>(std::clamp<int>(output.paper, 0, std::size(PaperSizes) - 1))];
    ImageOptions symbol = output.SheetSymbol();
    symbol.style = settings.image.style;  // the page's, as the dialog's header says
    settings.labels = LabelSheetJob{{paper, output.gridColumns, output.gridRows, symbol}, output.caption, output.sheetFile};
  } else {
    settings.outputDir = output.folder;
    settings.nameTemplate = output.nameTemplate;
  }
  return settings;
}

BatchJob BatchForm::Job() const {
  BatchJob job;
  static_cast<BatchSettings&>(job) = Settings();
  job.inputPath = inputPath_;
  job.encoding = encoding_;
  return job;
}

std::string BatchForm::OutputFolder() const {
  std::error_code error;
  const fs::path target = fs::absolute(output.ToSheet() ? output.sheetFile : output.folder, error).lexically_normal();
  if (output.ToSheet()) return target.parent_path().string();
  return target.has_filename() ? target.string() : target.parent_path().string();
}

bool BatchForm::OutputFolderExists() const {
  std::error_code error;
  return fs::is_directory(OutputFolder(), error);
}

void BatchForm::RunStarted(double now) {
  runRows_ = table_ ? table_->rows : 0;
  runStart_ = now;
  cancelling_ = false;
}

BatchRunFigures BatchForm::RunFigures(const BatchProgress& progress, double now) const {
  BatchProgress known = progress;
  if (known.total < 0) known.total = runRows_;
  const BatchPace pace = PaceOf(known, std::max(now - runStart_, 0.001));
  BatchRunFigures figures;
  figures.done = progress.done;
  figures.total = known.total;
  figures.barMaximum = std::max(known.total, 1L);
  figures.barValue = std::min(progress.done, figures.barMaximum);
  figures.rowsPerSecond = std::lround(pace.rowsPerSecond);
  figures.secondsLeft = std::lround(std::max(pace.secondsLeft, 0.0));
  if (!cancelling_ && figures.done > 0) figures.told = figures.total > 0 ? RunTold::Counts : RunTold::CountsSoFar;
  return figures;
}

}  // namespace quillet
