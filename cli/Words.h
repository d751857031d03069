// The lower layers' failures in English, for the command line: the symbol
// request's, the text conversions', a batch header's and a label sheet's.
#pragma once

#include <string>

#include "batch/ColumnPlan.h"
#include "batch/NameTemplate.h"
#include "content/CodePage.h"
#include "content/Recognition.h"
#include "image/ImageResult.h"
#include "image/PhysicalSize.h"
#include "image/LabelSheet.h"
#include "image/StyledSymbol.h"
#include "image/SymbolFrame.h"
#include "symbol/SymbolRequest.h"
#include "verify/LogoFile.h"
#include "verify/ImageRead.h"
#include "verify/ReadBack.h"

namespace quillet {

// `bytes`: how much was to be encoded; `content`: whether it came from a
// content page's fields, whose emptiness is told as such.
std::string DescribeSymbolFailure(SymbolFailure failure, size_t bytes, const SymbolSettings& settings, bool content);
// Why a general format's field has no place in its form, naming the field:
// "field LAT (纬度) lies outside -90 to 90 degrees".
std::string DescribeFieldProblem(const FieldProblem& problem, FormatTab shown);
// Why a --field names no field of the page: "field 'X' is not on "名片" of
// 通用格式; its fields are N (姓名), M (手机), ...".
std::string DescribeUnknownField(const std::string& name, FormatTab page);
// Two --field options, named `first` and `second`, that give the same field.
std::string DescribeFieldTwice(const std::string& first, const std::string& second, FormatTab page, int slot);
// "invalid UTF-8 at byte 3 (0xFF)", "'😀' (U+1F600) has no code page 936 (GBK) code".
std::string DescribeTextProblem(const TextProblem& problem);
// Why the batch refuses a header: "column 'Nmae' is neither a field of ...".
std::string DescribeHeaderRefusal(const HeaderRefusal& refusal);
// "the name template has an empty '{}'"; `caption`: the caption template's.
std::string DescribeTemplateFault(TemplateFault fault, bool caption);
// Why a read-back failed: "neither zxing-cpp nor zbar found the symbol".
std::string DescribeReadBackFault(const ReadBackResult& result);
// "'x.jpg' does not read back: <the read-back's reason>; <the likely cause>",
// `what` naming the file.
std::string DescribeNotReadBack(const ReadBackResult& result, ReadBackRisk risk, const std::string& what);
// "\"名片\" of 中国移动v1.0": a format's tab, as the user picks it.
std::string TabWords(int operatorFormat, int tab);
// "'ä' (U+00E4)": the code names characters that do not show.
std::string CharacterName(const std::string& character);
// 'name': how the command line sets a path or a name given by the user apart.
std::string Quoted(const std::string& subject);
// Why an image was not encoded or saved: "the folder 'x' does not exist".
std::string DescribeImageFailure(const ImageResult& result);
// "0.529 mm": a module's side, to three digits.
std::string Millimetres(double mm);
// "60.3 x 64.0 mm": a label's or a cell's width and height, to a tenth.
std::string Millimetres(double widthMm, double heightMm);
// "a module of 0.5 mm is 2 pixels at 96 dpi, which prints at 0.529 mm", or
// "a symbol of 20.0 mm (25 modules a side with its quiet zone) is 3 pixels
// per module at 100 dpi, which prints at 19.1 mm", when the whole pixels are
// off the size asked for by more than its tolerance; empty otherwise.
std::string DescribeModuleScale(const ModuleScale& scale);
// Why a label sheet could not be begun, finished, or take a label.
std::string DescribeSheetProblem(const SheetProblem& problem, const LabelSheetLayout& layout);

// Why --frame's caption cannot be drawn as written (a character the font
// lacks, a script that needs shaping); empty for anything else.
std::string DescribeCaptionDrawing(const CaptionCheck& check);
// Why colours are refused: "--fg #777777 on --bg #888888: ...".
std::string DescribeStyleCheck(const StyleCheck& check);
// "0.05 to 0.5 (or 5% to 50%)": what --logo-size takes.
std::string LogoShareWords();
// Why a logo cannot go on its symbol, with the largest size that can.
std::string DescribeLogoFit(const LogoFit& fit);
// Why the logo file cannot be used.
std::string DescribeLogoFile(const LogoFileResult& result);
// The camera condition under which a styled symbol lost what the plain
// symbol keeps, and what would help.
std::string DescribeConditionLost(const ReadBackResult& result);
// A styled symbol that does not read back, and so is not written.
std::string DescribeStyledNotReadBack(const ReadBackResult& check);
// For --dump: the pad, each block's destroyed codewords against what it
// corrects, who read the styled symbol back, and each decoder under each
// camera condition.
std::string DescribeStyleReport(const LogoFit& fit, const ReadBackResult& check);
// Why an image gave no symbols: "the file is cut short", "more pixels (30000 x
// 30000) than the 100 megapixels an image may have".
std::string DescribeImageReadProblem(const ImageReadProblem& problem);
// Why the fields do not hold what a symbol gave: "the tag 'XYZ' is no field".
std::string DescribeUnheld(const Unheld& unheld);

// ---- The command line's own words

struct CliProblem;
// Why the words make no command that can run: "--level takes L, M, Q or H,
// not 'X'", "unknown option '--txt' (did you mean --text?)".
std::string DescribeCliProblem(const CliProblem& problem);

}  // namespace quillet
