#include "cli/Words.h"

#include <cstdio>
#include <vector>

#include "content/Catalogue.h"
#include "content/TextList.h"

namespace {

std::string DoesNotFit(size_t bytes, const SymbolSettings& settings) {
  const std::string size = " (" + std::to_string(bytes) + " bytes) ";
  if (settings.symbology == Symbology::QrCode)
    return "the data" + size + "fits no QR Code version at level " + QrLevelLetter(settings.level);
  return "the text" + size + "fits no size allowed by --size";
}

std::string DescribeReadBackRisk(ReadBackRisk risk) {
  switch (risk) {
    case ReadBackRisk::NoQuietZone: return "without a quiet zone readers cannot find where the symbol begins";
    case ReadBackRisk::OnePixelModules: return "modules of one pixel are too small for most readers; use a larger --scale";
    case ReadBackRisk::JpegAtSmallScale:
      return "JPEG blurs modules of one or two pixels into grey; use PNG or a --scale of at least 3";
    case ReadBackRisk::None: break;
  }
  return {};
}

std::string NoDecoderFound(const std::vector<std::string>& decoders) {
  if (decoders.size() == 1) return decoders.front() + " did not find the symbol";
  return "neither " + JoinNames(decoders, " nor ", " nor ") + " found the symbol";
}

std::string DescribeReadBackFault(const ReadBackResult& result) {
  switch (result.fault) {
    case ReadBackFault::ModuleMissing: return result.cause;
    case ReadBackFault::FileNotOpened: return "cannot open it";
    case ReadBackFault::FileSizeUnknown: return "cannot tell its size";
    case ReadBackFault::FileTooLarge: return "it is larger than any symbol file";
    case ReadBackFault::FileNotRead: return "reading it failed";
    case ReadBackFault::NotAnImage: return "the file is not an image a reader recognises";
    case ReadBackFault::ImageBroken: return "the image cannot be read: " + result.cause;
    case ReadBackFault::SymbolNotFound: return NoDecoderFound(result.decoders);
    case ReadBackFault::BytesDiffer:
      return result.decoder + " read " + std::to_string(result.readBytes) + " bytes that differ from the " +
             std::to_string(result.expectedBytes) + " encoded";
    case ReadBackFault::None: break;
  }
  return {};
}

}  // namespace

std::string DescribeSymbolFailure(SymbolFailure failure, size_t bytes, const SymbolSettings& settings, bool content) {
  switch (failure) {
    case SymbolFailure::None: return {};
    case SymbolFailure::NothingToEncode:
      return content ? "every field is empty: there is nothing to encode"
                     : "the input is empty: there is nothing to encode";
    case SymbolFailure::NoSuchTab: return "the tab is not one of the format's";
    case SymbolFailure::NotInScheme:
      return "the text cannot be encoded in the scheme " + std::string(DmSchemeNameOf(settings.dmScheme));
    case SymbolFailure::DoesNotFit: return DoesNotFit(bytes, settings);
    case SymbolFailure::OutOfMemory: return "there is not enough memory for the symbol";
  }
  return {};
}

namespace {

// "at byte 3 (0xFF)": where the text goes wrong, and the byte there.
std::string Where(const TextProblem& problem) {
  const unsigned byte = problem.character.empty() ? 0u : static_cast<unsigned char>(problem.character[0]);
  char where[48];
  std::snprintf(where, sizeof where, " at byte %zu (0x%02X)", problem.offset, byte);
  return where;
}

// "'ä' (U+00E4)": the code names characters that do not show.
std::string CharacterName(const std::string& character) {
  if (character.empty()) return "''";
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(character[i]); };
  unsigned code = character.size() == 1 ? byte(0) : byte(0) & (0x7F >> character.size());
  for (size_t i = 1; i < character.size(); ++i) code = code << 6 | (byte(i) & 0x3F);
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", code);
  return "'" + character + "' (" + name + ")";
}

// "N (姓名), M (手机), ...": the tags a header may use, with the captions.
std::string FieldsOfPage(const PageSpec& page) {
  std::vector<std::string> fields;
  for (const FieldSpec& field : page.fields) {
    fields.emplace_back(FieldTags[field.slot]);
    if (!field.caption.empty()) fields.back() += " (" + BareCaption(field.caption) + ")";
  }
  return JoinNames(fields, ", ", ", ");
}

std::string PageWithFields(const HeaderRefusal& refusal) {
  const PageSpec* page = PageForTab(refusal.operatorFormat, refusal.tab);
  return TabInUserWords(refusal.operatorFormat, refusal.tab) + " (" + (page ? FieldsOfPage(*page) : std::string()) + ")";
}

std::string FormatCaption(int operatorFormat) {
  const OperatorFormatSpec* format = FindOperatorFormat(operatorFormat);
  return format ? std::string(format->caption) : "operator format " + std::to_string(operatorFormat);
}

std::string UnknownColumn(const HeaderRefusal& refusal) {
  const std::string column = "column '" + refusal.column + "' is ";
  if (refusal.kind == Symbology::DataMatrix) return column + "neither 'text' nor a column of the name template";
  return column + "neither a field of " + PageWithFields(refusal) + ", nor 'text', nor a column of the name template";
}

std::string Millimetres(double widthMm, double heightMm) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f x %.1f mm", widthMm, heightMm);
  return text;
}

}  // namespace

std::string DescribeTextProblem(const TextProblem& problem) {
  switch (problem.failure) {
    case TextFailure::InvalidUtf8: return "invalid UTF-8" + Where(problem);
    case TextFailure::InvalidCodePage: return "invalid code page 936 sequence" + Where(problem);
    case TextFailure::NoCode: return "character without a GB18030 code" + Where(problem);
    case TextFailure::NotInCodePage936: return CharacterName(problem.character) + " has no code page 936 (GBK) code";
    case TextFailure::None: break;
  }
  return {};
}

std::string DescribeHeaderRefusal(const HeaderRefusal& refusal) {
  const std::string pair = "columns '" + refusal.column + "' and '" + refusal.other + "' both give the ";
  switch (refusal.failure) {
    case HeaderFailure::NoSuchTab:
      return "tab " + std::to_string(refusal.tab) + " is not a tab of " + FormatCaption(refusal.operatorFormat);
    case HeaderFailure::UnknownColumn: return UnknownColumn(refusal);
    case HeaderFailure::TwoTextColumns: return pair + "text";
    case HeaderFailure::TwoColumnsOneField:
      return pair + "field " + (refusal.slot >= 0 ? std::string(FieldTags[refusal.slot]) : std::string());
    case HeaderFailure::NoTextColumn: return "no column is named 'text'";
    case HeaderFailure::TextWithField:
      return "with a column 'text' each row is one raw symbol, so no other column may be a field (as '" +
             refusal.column + "' is)";
    case HeaderFailure::NoField: return "no column is a field of " + PageWithFields(refusal) + " or 'text'";
    case HeaderFailure::NoTemplateColumn:
      return "the name template uses {" + refusal.column + "}, which is no column of the input";
    case HeaderFailure::None: break;
  }
  return {};
}

std::string DescribeSheetProblem(const SheetProblem& problem, const LabelSheetLayout& layout) {
  const LabelFit& fit = problem.fit;
  switch (problem.failure) {
    case SheetFailure::NoCells: return "a sheet needs at least one column and one row";
    case SheetFailure::NoPrintModule: return problem.subject;
    case SheetFailure::LabelTooLarge:
      return "a label of " + Millimetres(fit.widthMm, fit.heightMm) + " does not fit a cell of " +
             Millimetres(fit.cellWidthMm, fit.cellHeightMm) + " (" + std::string(layout.paper.name) + ", " +
             std::to_string(layout.columns) + " columns, " + std::to_string(layout.rows) + " rows)";
    case SheetFailure::NoLabel: return "no label to print";
    case SheetFailure::Drawing: return "cairo: " + problem.subject;
    case SheetFailure::None: break;
  }
  return {};
}

std::string DescribeTemplateFault(TemplateFault fault, bool caption) {
  const std::string which = caption ? "the caption template" : "the name template";
  switch (fault) {
    case TemplateFault::UnclosedBrace: return which + " has a '{' without '}'";
    case TemplateFault::EmptyBraces: return which + " has an empty '{}'";
    case TemplateFault::UnsafeCharacter: return which + " may not hold a path separator or a control character";
    case TemplateFault::ControlCharacter: return which + " may not hold a control character";
    case TemplateFault::None: break;
  }
  return {};
}

std::string DescribeNotReadBack(const ReadBackResult& result, ReadBackRisk risk, const std::string& what) {
  std::string message = what + " does not read back: " + DescribeReadBackFault(result);
  if (const std::string cause = DescribeReadBackRisk(risk); !cause.empty()) message += "; " + cause;
  return message;
}
