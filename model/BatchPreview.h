// What the batch form shows of a spreadsheet before it runs: the encoding
// the batch engine detects, the first rows, and what each column feeds on the
// page the batch composes for. The engine decides every one of these; this
// only asks it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/BatchJob.h"

namespace quillet {

// The page a batch composes for, as it was set when the dialog opened: the
// batch's settings before the dialog adds the output.
using BatchPage = BatchSettings;

struct BatchTable {
  TextEncoding encoding = TextEncoding::Utf8;  // detected, or the one forced
  long rows = 0;                               // data rows, the header not counted
  std::vector<std::string> header;             // UTF-8
  // UTF-8 cells of the first rows; nullopt for a cell the encoding cannot read.
  std::vector<std::vector<std::optional<std::string>>> firstRows;
};

// Nullopt and the engine's reason when the file cannot be read or has no header.
std::optional<BatchTable> ReadBatchTable(const std::string& path, std::optional<TextEncoding> encoding, int maxRows,
                                         BatchProblem* problem);

enum class ColumnRole { Field, Text, NameOnly, Unnamed, Nothing };

struct ColumnFeed {
  ColumnRole role = ColumnRole::Nothing;
  int slot = -1;  // for Field
};

struct BatchPlanCheck {
  std::vector<ColumnFeed> columns;
  // Why the engine would refuse this header with this name template; its
  // failure is None when it accepts them.
  HeaderRefusal refusal;
  bool Refused() const { return refusal.failure != HeaderFailure::None; }
  int Unused() const;  // columns that feed nothing
};

BatchPlanCheck CheckBatchColumns(const std::vector<std::string>& header, const BatchPage& page,
                                 const NameTemplate& names);

// The first column `names` uses that `header` lacks, as the engine matches
// them (blanks around a header ignored); nullopt when it has them all.
std::optional<std::string> MissingColumn(const NameTemplate& names, const std::vector<std::string>& header);

}  // namespace quillet
