// Why a batch could not start or finish: by kind with its subject, for front
// ends that word it in their own language.
#pragma once

#include <string>
#include <utility>

#include "batch/BatchSettings.h"
#include "batch/ColumnPlan.h"
#include "batch/LabelAdvice.h"
#include "content/CodePage.h"
#include "image/ImageResult.h"
#include "image/LabelSheet.h"

namespace quillet {

enum class BatchStop {
  None,
  InputUnreadable,     // `subject` the input, `error` why
  InputNotKept,        // `subject` the input (standard input), `path` the temporary file when it
                       // could not be made (empty: writing to it failed), `error` why
  InputEmpty,          // no header row
  HeaderBroken,        // unclosed or too long (`column` 0), or column `column` (from 1) is not
                       // text in the input's encoding: `text`
  HeaderRefused,       // `header`: no column plan for it
  FolderNotCreated,    // `subject` the output folder, `error` why
  NotAFolder,          // `subject` the output folder exists and is no folder (`error` ENOTDIR)
  FolderNotWritable,   // `subject` the folder, `error` why
  OutputFailed,        // `output`: the label sheet's folder is missing
  SheetNotOpened,      // `sheet`: the label sheet could not be begun
  SheetNotMade,        // `sheet`: the label sheet could not be finished
  SheetNotWritten,     // `subject` the sheet's file, `output` why
  ManifestNotWritten,  // `subject` the manifest (empty for the stream), `output` why (`error` 0 for the stream)
  LabelTooLarge,       // `label`: the first row's label does not fit a cell of the sheet
  OutputRules,         // `rules`: the name template, the caption or the sheet's file
};

struct BatchProblem {
  BatchStop stop = BatchStop::None;
  std::string subject;
  int error = 0;  // errno, 0 when none applies
  std::string path;
  long column = 0;
  TextProblem text;
  HeaderRefusal header;
  ImageResult output;
  SheetProblem sheet;
  LabelAdvice label;
  OutputProblem rules;
};

inline BatchProblem MakeBatchProblem(BatchStop stop, std::string subject = {}, int error = 0) {
  BatchProblem problem;
  problem.stop = stop;
  problem.subject = std::move(subject);
  problem.error = error;
  return problem;
}

}  // namespace quillet
