// The batch engine reports why a row failed, why it refuses a header, or why
// it stopped, by kind; the dialog words the kind in Chinese.
#pragma once

#include <QString>

#include "batch/BatchJob.h"
#include "model/BatchForm.h"

namespace quillet {

QString BatchReasonText(const BatchRowResult& row);
// Why a 通用格式 field's value has no place in its form, `name` naming the
// field (its caption on the page, its column in a batch).
QString FieldProblemText(const FieldProblem& problem, const QString& name);
QString HeaderRefusalText(const HeaderRefusal& refusal);
QString BatchProblemText(const BatchProblem& problem);
QString OutputRuleText(OutputRule rule);
// The image formats' extensions, for the dialog's texts.
QString KnownExtensionList();
// Why the batch form cannot start, or what is wrong with its output or its
// columns; `sheet` when it makes a label sheet, whose captions the template is for.
QString BatchFormText(const FormProblem& problem, bool sheet);
// The page a batch composes for, as the dialog names it, with its style.
QString BatchPageText(const BatchPage& page);
// The fields of that page a column may feed, and how a column names them.
QString BatchPageFieldsText(const BatchPage& page);
// What a column feeds, above it in the preview; `sheet` when the template is the captions'.
QString ColumnFeedText(const ColumnFeed& feed, const BatchPage& page, bool sheet);
// The time a run has left, in seconds or minutes and seconds.
QString DurationText(long seconds);

}  // namespace quillet
