// What the "批量生成" dialog holds and decides, without Qt: the page it
// composes for, the spreadsheet and its encoding, what each column feeds,
// where the files go, why it cannot start yet, the job it runs, and the
// figures of a run. The dialog binds its controls to this and words the
// kinds in Chinese.
#pragma once

#include <optional>
#include <string>

#include "batch/BatchJob.h"
#include "image/PhysicalSize.h"
#include "model/BatchPreview.h"

namespace quillet {

enum class BatchOutput { Folder, Sheet };

// Where the files go and how, as the user set it; paths in the local encoding, trimmed.
struct BatchOutputForm {
  // The sheet's labels are laid out at a printer's resolution: the module
  // size in whole pixels at 300 dpi is within a twelfth of a millimetre of the request.
  static constexpr int SheetDpi = DefaultDpi;
  static constexpr double DefaultModuleMm = 0.5;
  // From one pixel to the most pixels per module at the sheet's resolution.
  static constexpr double LeastModuleMm = MinScale * MillimetresPerInch / SheetDpi;
  static constexpr double MostModuleMm = MaxScale * MillimetresPerInch / SheetDpi;
  static constexpr int MostGridCells = 50;

  BatchOutput to = BatchOutput::Folder;
  std::string folder;
  std::string nameTemplate{NameTemplate::Default};
  std::string sheetFile;
  int paper = 0;  // into PaperSizes
  int gridColumns = 3;
  int gridRows = 8;
  std::string caption = "{row}";
  double moduleMm = DefaultModuleMm;
  bool verify = true;

  bool ToSheet() const { return to == BatchOutput::Sheet; }
  // The sheet's symbols: the module size in whole pixels at SheetDpi.
  ImageOptions SheetSymbol() const;
  double ActualModuleMm() const;
};

// Why the form cannot start, or what is wrong with a part of it, by kind
// with its subject; the dialog words each kind.
enum class FormFault {
  None,
  NoInput,          // no spreadsheet chosen
  InputUnreadable,  // `problem`: why the spreadsheet cannot be read
  OutputRule,       // `rule`: the name template's, or on a sheet the caption's or the file's
  UnknownColumn,    // `column`: named by the template (the caption on a sheet), not in the header
  ColumnsUnused,    // `count` columns feed nothing
  HeaderRefused,    // `refusal`: why the engine refuses the header with this template
  LabelTooLarge,    // `problem`: the first label does not fit a cell of the sheet, and what would
  NoTarget,         // no folder, or no sheet file
};

struct FormProblem {
  FormFault fault = FormFault::None;
  OutputRule rule = OutputRule::None;
  std::string column;
  int count = 0;
  HeaderRefusal refusal;
  BatchProblem problem;
  explicit operator bool() const { return fault != FormFault::None; }
};

struct BatchFormCheck {
  BatchPlanCheck feeds;  // what each column feeds; no columns without a table
  FormProblem output;    // OutputRule, UnknownColumn or LabelTooLarge
  // ColumnsUnused, or HeaderRefused once the template is sound (a broken
  // one is the header's refusal only by consequence).
  FormProblem columns;
  FormProblem start;  // why it cannot start: the first of all; None when it can
};

// What the run's line of text says now.
enum class RunTold {
  Unchanged,     // still what it said: starting, until a row is done, or cancelling
  Counts,        // done of total, the rate and the time left
  CountsSoFar,   // done and the rate, the total unknown
};

// A run as the dialog shows it, from the runner's counts and the clock.
struct BatchRunFigures {
  RunTold told = RunTold::Unchanged;
  long done = 0;
  long total = 0;       // the runner's count, or the table's until it has one
  long barMaximum = 1;  // the progress bar's range is 0..barMaximum
  long barValue = 0;
  long rowsPerSecond = 0;
  long secondsLeft = 0;  // 0 while unknown
};

class BatchForm {
 public:
  // Rows of the spreadsheet shown before it runs.
  static constexpr int PreviewRows = 20;
  // The encoding list's choices in its order: detected (nullopt), then the ones one may force.
  static constexpr std::optional<TextEncoding> EncodingChoices[] = {std::nullopt, TextEncoding::Utf8,
                                                                    TextEncoding::Gb18030};

  explicit BatchForm(const BatchPage& page);

  const BatchPage& Page() const { return page_; }
  BatchOutputForm output;
  // The page's encodation scheme until another is chosen; Data Matrix only.
  int dmScheme;

  // Reads the spreadsheet at `path` with its encoding detected; the folder
  // and the sheet file default to ones beside it, named after it.
  void Load(const std::string& path);
  // Reads the spreadsheet again in `encoding`; nullopt: detected. False,
  // and nothing chosen, while there is no spreadsheet to read again.
  bool ChooseEncoding(std::optional<TextEncoding> encoding);
  std::optional<TextEncoding> ChosenEncoding() const { return encoding_; }
  const std::string& InputPath() const { return inputPath_; }
  // The spreadsheet's header, row count, detected encoding and first rows;
  // nullopt while none is loaded or it cannot be read (then InputProblem says why).
  const std::optional<BatchTable>& Table() const { return table_; }
  const BatchProblem& InputProblem() const { return inputProblem_; }

  BatchFormCheck Check() const;
  BatchSettings Settings() const;
  BatchJob Job() const;
  // Where the files go: the folder, or the one holding the sheet; absolute.
  std::string OutputFolder() const;
  // That folder is there to be opened: the files of a run may have gone nowhere.
  bool OutputFolderExists() const;

  // A run starting at `now`, seconds on a steady clock.
  void RunStarted(double now);
  // The run was asked to stop: it says so until it has stopped.
  void RunCancelling() { cancelling_ = true; }
  BatchRunFigures RunFigures(const BatchProgress& progress, double now) const;

 private:
  void Reload();
  FormProblem OutputFault(std::optional<NameTemplate>& names) const;
  FormProblem LabelProblem() const;

  BatchPage page_;
  std::string inputPath_;
  std::optional<TextEncoding> encoding_;
  std::optional<BatchTable> table_;
  BatchProblem inputProblem_;
  long runRows_ = 0;
  double runStart_ = 0;
  bool cancelling_ = false;
};

}  // namespace quillet
