// quillet-cli qr|dm --batch: one symbol file per row of a spreadsheet.
#pragma once

#include <istream>
#include <ostream>

#include "cli/CliArgs.h"

// Exit status when every row was written is ExitOk; ExitSomeRowsFailed when
// some failed; ExitUsage for bad options, an unreadable input or a bad header;
// ExitWriteFailed when the output folder cannot be created or written; 128 +
// the signal's number after SIGINT or SIGTERM. `out` takes --manifest -.
int RunBatchCli(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err);
