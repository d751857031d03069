// Why a batch could not start or finish: by kind, for front ends that word it
// in their own language, and in English for the command line.
#pragma once

#include <string>
#include <utility>

#include "batch/BatchSettings.h"
#include "batch/LabelAdvice.h"
#include "image/ImageResult.h"

enum class BatchStop {
  None,
  Other,              // only `message` tells: options and headers that front ends check first
  InputUnreadable,    // `subject` the input, `error` why
  InputEmpty,         // no header row
  HeaderBroken,       // unclosed, too long, or not text in the input's encoding
  FolderNotCreated,   // `subject` the output folder, `error` why (ENOTDIR: it is not a folder)
  FolderNotWritable,  // `subject` the folder, `error` why
  OutputFailed,       // `output`: the label sheet, or its folder, and why
  LabelTooLarge,      // `label`: the first row's label does not fit a cell of the sheet
  OutputRules,        // `rules`: the name template, the caption or the sheet's file
};

struct BatchProblem {
  BatchStop stop = BatchStop::None;
  std::string subject;
  int error = 0;  // errno, 0 when none applies
  ImageResult output;
  LabelAdvice label;
  OutputProblem rules;
  std::string message;  // English
};

inline BatchProblem MakeBatchProblem(BatchStop stop, std::string message, std::string subject = {}, int error = 0) {
  BatchProblem problem;
  problem.stop = stop;
  problem.subject = std::move(subject);
  problem.error = error;
  problem.message = std::move(message);
  return problem;
}
