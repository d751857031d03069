// One row of a batch, from its cells to its file: the reading side gives the
// row its number and file name in input order; the encoding side, which may
// run on any thread, composes, encodes and writes it.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "batch/BatchJob.h"
#include "batch/TableReader.h"
#include "symbol/SymbolRequest.h"
#include "verify/ReadBack.h"

namespace quillet {

class CQrCodeEncoder;

using RowError = RowProblem;

struct RowTask {
  long row = 0;
  std::vector<std::string> cells;  // as read, in the input's encoding
  std::string fileName;
  RowError error;  // set when the row failed before encoding
};

// Numbers rows and names their files, one row after another in input order:
// which of two rows with the same name fails must not depend on threads.
class RowNamer {
 public:
  // With `captions` the template gives each row's caption on a label sheet:
  // values kept as they are, and two rows may share one.
  RowNamer(const NameTemplate& names, const ColumnPlan& plan, TextEncoding encoding, int rowWidth,
           bool captions = false);
  RowTask Next(TableRecord record);

 private:
  std::string NameOf(const RowTask& task, RowError& error) const;
  void ClaimName(RowTask& task);

  const NameTemplate& names_;
  const ColumnPlan& plan_;
  TextEncoding encoding_;
  int rowWidth_;
  bool captions_;
  long row_ = 0;
  // Names are unique by construction when only {row} varies; otherwise each
  // name's 64-bit hash remembers its row, a few bytes per row.
  std::unordered_map<size_t, long> claimed_;
};

class RowEncoder {
 public:
  RowEncoder(const BatchJob& job, const ColumnPlan& plan, TextEncoding encoding);
  ~RowEncoder();
  BatchRowResult Encode(const RowTask& task);

 private:
  // The row's symbol request: its text, or its fields for the job's content page.
  SymbolRequest Request(const RowTask& task, RowError& error) const;
  FieldValueArray FieldValues(const RowTask& task, RowError& error) const;
  void EncodeAndWrite(const SymbolRequest& request, const std::string& path, BatchRowResult& result);
  // The job's style placed on `symbol` as `check` found it; false, with the
  // row failed, when the logo does not fit or the decoders do not read it.
  bool StyleRow(const Symbol& symbol, const StyledSymbolCheck& check, ImageOptions& image,
                BatchRowResult& result) const;
  RowError FieldNotCarried(const FieldProblem& field) const;
  // With `verify`: fails the row when `check` did not read the symbol back.
  void CheckReadBack(const ReadBackResult& check, const ImageFormat& format, const ImageOptions& image,
                     BatchRowResult& result) const;

  const BatchJob& job_;
  const ColumnPlan& plan_;
  TextEncoding encoding_;
  std::unique_ptr<CQrCodeEncoder> qr_;  // one per thread: the encoder keeps its symbol inside
};

}  // namespace quillet
