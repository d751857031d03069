// The batch engine reports why a row failed, why it refuses a header, or why
// it stopped, by kind; the dialog words the kind in Chinese.
#pragma once

#include <QString>

#include "batch/BatchJob.h"
#include "model/BatchForm.h"

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
