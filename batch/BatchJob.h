// Batch generation: one symbol file per row of a spreadsheet. The engine
// behind `quillet-cli qr|dm --batch`, usable by any front end: a job in, one
// result per row through a callback in row order, a summary out.
#pragma once

#include <atomic>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "batch/BatchProblem.h"
#include "batch/BatchSettings.h"
#include "batch/ColumnPlan.h"
#include "batch/NameTemplate.h"
#include "verify/ReadBack.h"
#include "batch/TextEncoding.h"
#include "datamatrix/DmEncoder.h"
#include "image/ImageFormats.h"
#include "image/LabelSheet.h"
#include "image/PhysicalSize.h"
#include "image/StyledSymbol.h"
#include "qr/QrLevel.h"

namespace quillet {

// Why a row was not written, for front ends that word it in their own language.
enum class RowFailure {
  None,
  BrokenRow,        // an unclosed quote, or beyond the reader's limits
  TooManyCells,     // more cells than the header
  BadText,          // a cell that is not valid text in the input's encoding
  UnnamedColumn,    // a value in a column without a header
  RequiredFieldEmpty,  // a field the page marks required is empty while others are filled
  EmptyName,        // the name template gave an empty name
  DuplicateName,    // an earlier row has the same file name
  FieldNotCarried,  // a field's value has no place in 通用格式's form (`field`; `column` feeds it)
  NothingToEncode,  // every field (or the text) is empty
  DoesNotFit,       // fits no symbol version or size
  WriteFailed,      // see `image`
  NotReadBack,      // with `verify`: no independent decoder reads the encoded bytes back
  LabelTooLarge,    // on a label sheet: the symbol and its caption do not fit a cell
  LogoDoesNotFit,   // the row's symbol cannot spare the modules of the logo: see `logo`
  StyleNotReadBack, // the styled symbol does not give the encoded bytes to every decoder: see
                    // `readBack`; nothing was written
};

// Why a row failed, by kind with its subject; each front end words it.
struct RowProblem {
  RowFailure failure = RowFailure::None;
  // UTF-8 header of the column it is about (NothingToEncode: the text column,
  // when the rows are raw text); empty for an unnamed one.
  std::string column;
  long columnIndex = -1;  // from 0, for a failure about a column
  long count = 0;         // TooManyCells: the row's cells; DuplicateName: the earlier row; DoesNotFit: the bytes
  long limit = 0;         // TooManyCells: the header's cells
  bool overflow = false;  // BrokenRow: too long, rather than a quote not closed
  SymbolFailure symbol = SymbolFailure::None;  // DoesNotFit: the symbol request's own kind
  TextProblem text;    // BadText: where the cell is not text
  FieldProblem field;  // FieldNotCarried: the field and why
  SheetProblem sheet;  // LabelTooLarge: the sheet's reason
  // NotReadBack: the read-back's outcome, and what in the format and
  // options most likely kept the file from reading back.
  ReadBackResult readBack;
  ReadBackRisk risk = ReadBackRisk::None;
  LogoFit logo;  // LogoDoesNotFit: the pad asked for and the largest the symbol allows
  explicit operator bool() const { return failure != RowFailure::None; }
};

struct BatchRowResult {
  long row = 0;             // among the data rows, from 1
  std::string fileName;     // inside the output folder; empty when none could be made
  std::string symbol;       // "version 3 level M" or "24x24"; empty when not encoded
  RowProblem problem;       // failure None when the file was written
  ImageResult image;        // the saving's own outcome, for WriteFailed
  // A raster file written at a printed size: the whole pixels per module it
  // took, and how far they put it from the size asked for.
  ModuleScale pixels;
  // On a label sheet: the symbol and its caption, until the sheet places them.
  std::shared_ptr<const ModuleMatrix> label;
  ImageOptions labelImage;  // as it is drawn: sized, styled, its logo placed
  std::string caption;
  bool Ok() const { return !problem; }
};

struct BatchProgress {
  long done = 0;    // rows finished, written or failed
  long total = -1;  // data rows in the input, -1 while unknown
  long written = 0;
  long failed = 0;
  int pages = 0;  // of the label sheet
};

// The settings, where the rows come from, and who hears of them.
struct BatchJob : BatchSettings {
  // The input: the file at inputPath, or inputStream when set (standard
  // input), which is then named inputPath in messages. A name ending in
  // ".tsv" means tab-separated values, anything else CSV.
  std::string inputPath;
  std::istream* inputStream = nullptr;
  std::optional<TextEncoding> encoding;  // nullopt: UTF-8 unless it is not valid UTF-8

  // With a manifest: a failed row's reason, in the words of the front end that asked for it.
  std::function<std::string(const BatchRowResult&)> describeRow;
  std::ostream* manifestStream = nullptr;  // set: the manifest is written here instead (standard output)

  // Called on the thread that runs the batch, in row order.
  std::function<void(const BatchRowResult&)> onRow;
  std::function<void(const BatchProgress&)> onProgress;
  // Set from anywhere (a signal handler, a Cancel button): no new row starts,
  // the rows being written finish, and the manifest is closed.
  const std::atomic<bool>* cancel = nullptr;
};

enum class BatchOutcome {
  Finished,       // every row was tried (some may have failed)
  BadInput,       // bad options, unreadable input or a bad header; nothing written
  OutputUnusable, // the output folder or the manifest cannot be created or written
  Cancelled,
};

struct BatchSummary {
  BatchOutcome outcome = BatchOutcome::Finished;
  BatchProblem problem;  // for BadInput and OutputUnusable
  TextEncoding encoding = TextEncoding::Utf8;  // the one the input was read in
  long written = 0;
  long failed = 0;
  int pages = 0;  // of the label sheet
};

BatchSummary RunBatch(const BatchJob& job);
// What RunBatch would stop for before writing anything (the templates, the
// input and its header, a first label too large for its cell), without
// writing; `stop` None when it would start.
BatchProblem CheckBatch(const BatchJob& job);

// Default for BatchJob::jobs = 0.
int DefaultBatchJobs();

}  // namespace quillet
