// The lower layers' failures in English, for the command line: the symbol
// request's, the text conversions', a batch header's and a label sheet's.
#pragma once

#include <string>

#include "batch/ColumnPlan.h"
#include "batch/NameTemplate.h"
#include "content/CodePage.h"
#include "image/LabelSheet.h"
#include "symbol/SymbolRequest.h"
#include "verify/ReadBack.h"

// `bytes`: how much was to be encoded; `content`: whether it came from a
// content page's fields, whose emptiness is told as such.
std::string DescribeSymbolFailure(SymbolFailure failure, size_t bytes, const SymbolSettings& settings, bool content);
// "invalid UTF-8 at byte 3 (0xFF)", "'😀' (U+1F600) has no code page 936 (GBK) code".
std::string DescribeTextProblem(const TextProblem& problem);
// Why the batch refuses a header: "column 'Nmae' is neither a field of ...".
std::string DescribeHeaderRefusal(const HeaderRefusal& refusal);
// "the name template has an empty '{}'"; `caption`: the caption template's.
std::string DescribeTemplateFault(TemplateFault fault, bool caption);
// "'x.jpg' does not read back: <the read-back's reason>; <the likely cause>",
// `what` naming the file.
std::string DescribeNotReadBack(const ReadBackResult& result, ReadBackRisk risk, const std::string& what);
// Why a label sheet could not be begun, finished, or take a label.
std::string DescribeSheetProblem(const SheetProblem& problem, const LabelSheetLayout& layout);
