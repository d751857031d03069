// Opening a batch's input: the file or standard input, its delimiter, its
// encoding and, when needed, its number of rows. Standard input is kept in an
// unnamed temporary file first when it must be read twice (to count rows or
// to detect the encoding), so memory stays bounded however long it is.
#pragma once

#include <atomic>
#include <istream>
#include <memory>
#include <optional>
#include <string>

#include "batch/BatchProblem.h"
#include "batch/TextEncoding.h"

namespace quillet {

struct BatchInputRequest {
  std::string path;                      // the file, or the name of `stream` in messages
  std::istream* stream = nullptr;        // read instead of opening `path`
  std::optional<TextEncoding> encoding;  // nullopt: detect
  bool countRows = false;
  const std::atomic<bool>* cancel = nullptr;
};

struct BatchInput {
  std::unique_ptr<std::istream> owned;
  std::istream* stream = nullptr;  // positioned at the first byte
  char delimiter = ',';
  TextEncoding encoding = TextEncoding::Utf8;
  long records = -1;  // header included; -1 when not counted
};

// Nullopt and why (InputUnreadable or InputNotKept).
std::optional<BatchInput> OpenBatchInput(const BatchInputRequest& request, BatchProblem* problem);

// What an input without a header row reports.
BatchProblem EmptyInput();

}  // namespace quillet
