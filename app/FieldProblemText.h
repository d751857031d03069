// Why a field's value cannot go into its format's form, in the user's words:
// the field named by its caption on the page of `tab`.
#pragma once

#include <QString>

#include "content/GeneralPayload.h"

QString FieldProblemText(const FieldProblem& problem, int operatorFormat, int tab);
