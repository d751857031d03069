// quillet-cli qr|dm --batch: one symbol file per row of a spreadsheet.
#pragma once

#include <istream>
#include <ostream>

#include "batch/BatchJob.h"
#include "cli/CliArgs.h"

namespace quillet {

// Exit status when every row was written is ExitOk; ExitSomeRowsFailed when
// some failed; ExitUsage for bad options, an unreadable input or a bad header;
// ExitWriteFailed when the output folder cannot be created or written; 128 +
// the signal's number after SIGINT or SIGTERM. `out` takes --manifest -.
int RunBatchCli(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// Why a row failed, in the words of the "row R: reason" lines and of the manifest.
std::string RowReasonText(const BatchRowResult& row, const BatchSettings& settings);

}  // namespace quillet
