#include "cli/Words.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/CliOptionTable.h"
#include "cli/Translate.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "content/idna/IdnaModule.h"
#include "image/ImageFormats.h"
#include "image/SymbolFrame.h"

namespace quillet {

namespace {

std::string DoesNotFit(size_t bytes, const SymbolSettings& settings) {
  const std::string count = std::to_string(bytes);
  if (settings.symbology == Symbology::QrCode)
    return Fill(_("the data ({1} bytes) fits no QR Code version at level {2}"),
                {count, std::string(1, QrLevelLetter(settings.level))});
  return Fill(_("the text ({1} bytes) fits no size allowed by --size"), {count});
}

std::string DescribeReadBackRisk(ReadBackRisk risk) {
  switch (risk) {
    case ReadBackRisk::NoQuietZone: return _("without a quiet zone readers cannot find where the symbol begins");
    case ReadBackRisk::OnePixelModules: return _("modules of one pixel are too small for most readers; use a larger --scale");
    case ReadBackRisk::JpegAtSmallScale:
      return _("JPEG blurs modules of one or two pixels into grey; use PNG or a --scale of at least 3");
    case ReadBackRisk::None: break;
  }
  return {};
}

std::string NoDecoderFound(const std::vector<std::string>& decoders) {
  if (decoders.size() == 1) return Fill(_("{1} did not find the symbol"), {decoders.front()});
  return Fill(_("neither {1} found the symbol"), {JoinNames(decoders, _(" nor "), _(" nor "))});
}

}  // namespace

std::string CharacterName(const std::string& character) {
  char32_t code = 0;
  if (character.empty() || NextCharacter(character, 0, &code) == 0) return "'" + character + "'";
  return "'" + character + "' (" + CodePointName(code) + ")";
}

std::string DescribeReadBackFault(const ReadBackResult& result) {
  switch (result.fault) {
    case ReadBackFault::ModuleMissing: return result.cause;
    case ReadBackFault::FileNotOpened: return _("cannot open it");
    case ReadBackFault::FileSizeUnknown: return _("cannot tell its size");
    case ReadBackFault::FileTooLarge: return _("it is larger than any symbol file");
    case ReadBackFault::FileNotRead: return _("reading it failed");
    case ReadBackFault::NotAnImage: return _("the file is not an image a reader recognises");
    case ReadBackFault::ImageBroken:
      return Fill(_("the image cannot be read: {1}"), {DescribeImageReadProblem(result.image)});
    case ReadBackFault::SymbolNotFound: return NoDecoderFound(result.decoders);
    case ReadBackFault::BytesDiffer:
      return Fill(_("{1} read {2} bytes that differ from the {3} encoded"),
                  {result.decoder, std::to_string(result.readBytes), std::to_string(result.expectedBytes)});
    case ReadBackFault::LostUnderCondition: return DescribeConditionLost(result);
    case ReadBackFault::None: break;
  }
  return {};
}

std::string DescribeSymbolFailure(SymbolFailure failure, size_t bytes, const SymbolSettings& settings, bool content) {
  switch (failure) {
    case SymbolFailure::None: return {};
    case SymbolFailure::NothingToEncode:
      return content ? _("every field is empty: there is nothing to encode")
                     : _("the input is empty: there is nothing to encode");
    case SymbolFailure::NoSuchTab: return _("the tab is not one of the format's");
    case SymbolFailure::FieldNotCarried: return _("a field's value has no place in its form");
    case SymbolFailure::NotInScheme:
      return Fill(_("the text cannot be encoded in the scheme {1}"), {DmSchemeNameOf(settings.dmScheme)});
    case SymbolFailure::DoesNotFit: return DoesNotFit(bytes, settings);
    case SymbolFailure::OutOfMemory: return _("there is not enough memory for the symbol");
  }
  return {};
}

namespace {

// "at byte 3 (0xFF)": where the text goes wrong, and the byte there.
std::string Where(const TextProblem& problem) {
  const unsigned byte = problem.character.empty() ? 0u : static_cast<unsigned char>(problem.character[0]);
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", byte);
  return Fill(_(" at byte {1} ({2})"), {std::to_string(problem.offset), hex});
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
  const PageSpec* page = PageForTab(refusal.page.format, refusal.page.tab);
  return TabWords(refusal.page.format, refusal.page.tab) + " (" + (page ? FieldsOfPage(*page) : std::string()) + ")";
}

std::string FormatCaption(int operatorFormat) {
  const OperatorFormatSpec* format = FindOperatorFormat(operatorFormat);
  return format ? std::string(format->caption) : Fill(_("operator format {1}"), {std::to_string(operatorFormat)});
}

// "'x'", "'x' and 'y'": the columns a refusal names.
std::string ColumnList(const HeaderRefusal& refusal) {
  std::vector<std::string> quoted;
  for (const std::string& column : refusal.columns) quoted.push_back(Quoted(column));
  if (quoted.empty()) quoted.push_back(Quoted(refusal.column));
  return JoinNames(quoted, _(", "), _(" and "));
}

std::string UnknownColumn(const HeaderRefusal& refusal) {
  const std::string columns = ColumnList(refusal);
  const auto count = static_cast<unsigned long>(std::max<size_t>(1, refusal.columns.size()));
  if (refusal.kind == Symbology::DataMatrix)
    return Fill(P_("column {1} is neither 'text' nor a column of the name template",
                   "columns {1} are neither 'text' nor columns of the name template", count),
                {columns});
  return Fill(P_("column {1} is neither a field of {2}, nor 'text', nor a column of the name template",
                 "columns {1} are neither fields of {2}, nor 'text', nor columns of the name template", count),
              {columns, PageWithFields(refusal)});
}

}  // namespace

std::string Millimetres(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g mm", mm);
  return text;
}

std::string Millimetres(double widthMm, double heightMm) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f x %.1f mm", widthMm, heightMm);
  return text;
}

namespace {

// "19.0 mm": a whole symbol's printed size, to a tenth of a millimetre.
std::string OneDecimalMm(double mm) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f mm", mm);
  return text;
}

}  // namespace

std::string DescribeModuleScale(const ModuleScale& scale) {
  if (!scale.offRequest) return {};
  if (scale.modules == 0)
    return Fill(P_("a module of {1} is {2} pixel at {3} dpi, which prints at {4}",
                   "a module of {1} is {2} pixels at {3} dpi, which prints at {4}", scale.scale),
                {Millimetres(scale.requestedMm), std::to_string(scale.scale), std::to_string(scale.dpi),
                 Millimetres(scale.moduleMm)});
  return Fill(P_("a symbol of {1} ({2} modules a side with its quiet zone) is {3} pixel per module at {4} dpi, "
                 "which prints at {5}",
                 "a symbol of {1} ({2} modules a side with its quiet zone) is {3} pixels per module at {4} dpi, "
                 "which prints at {5}",
                 scale.scale),
              {OneDecimalMm(scale.requestedMm), std::to_string(scale.modules), std::to_string(scale.scale),
               std::to_string(scale.dpi), OneDecimalMm(scale.PrintedMm())});
}

std::string DescribeTextProblem(const TextProblem& problem) {
  switch (problem.failure) {
    case TextFailure::InvalidUtf8: return Fill(_("invalid UTF-8{1}"), {Where(problem)});
    case TextFailure::InvalidCodePage: return Fill(_("invalid code page 936 sequence{1}"), {Where(problem)});
    case TextFailure::NoCode: return Fill(_("character without a GB18030 code{1}"), {Where(problem)});
    case TextFailure::NotInCodePage936:
      return Fill(_("{1} has no code page 936 (GBK) code"), {CharacterName(problem.character)});
    case TextFailure::None: break;
  }
  return {};
}

namespace {

// "field LAT (纬度)", as the page captions it.
std::string FieldName(const FieldProblem& problem, FormatTab shown) {
  if (problem.slot < 0 || problem.slot >= FieldSlotCount) return _("a field");
  std::string tag(FieldTags[problem.slot]);
  const PageSpec* page = PageForTab(shown.format, shown.tab);
  if (const FieldSpec* field = page ? FindField(*page, problem.slot) : nullptr)
    tag += " (" + BareCaption(field->caption) + ")";
  return Fill(_("field {1}"), {tag});
}

// "WPA, WEP or nopass"; a check box takes true or false.
std::string ChoicesOf(const FieldProblem& problem, FormatTab shown) {
  const PageSpec* page = PageForTab(shown.format, shown.tab);
  const FieldSpec* field = page ? FindField(*page, problem.slot) : nullptr;
  if (field == nullptr || field->kind == FieldKind::Check)
    return Alternatives(std::vector<std::string_view>{CheckedValue, UncheckedValue});
  std::vector<std::string_view> values;
  for (const FieldChoice& choice : field->choices) values.push_back(choice.value);
  return Alternatives(values);
}

std::string DegreesLimit(const FieldProblem& problem) {
  return problem.slot == FieldSlotOfTag("LAT") ? "-90 to 90" : "-180 to 180";
}

}  // namespace

std::string DescribeFieldProblem(const FieldProblem& problem, FormatTab shown) {
  const std::string field = FieldName(problem, shown);
  switch (problem.failure) {
    case FieldFailure::Missing:
      return Fill(_("{1} is empty, but the {2} form needs it"),
                  {field, BareTabCaption(*FindTab(shown.format, shown.tab))});
    case FieldFailure::NotUtf8: return Fill(_("{1} is not UTF-8 text"), {field});
    case FieldFailure::NotANumber: return Fill(_("{1} is no decimal number of degrees"), {field});
    case FieldFailure::OutOfRange: return Fill(_("{1} lies outside {2} degrees"), {field, DegreesLimit(problem)});
    case FieldFailure::NotADateTime: return Fill(_("{1} is no date and time as {2}"), {field, DateTimeLayout});
    case FieldFailure::EndsBeforeStart: return Fill(_("{1} is before the start"), {field});
    case FieldFailure::NotAChoice: return Fill(_("{1} takes {2}"), {field, ChoicesOf(problem, shown)});
    case FieldFailure::NotAPhoneNumber:
      return Fill(_("{1} is no phone number (digits and + * # - . ( ) only)"), {field});
    case FieldFailure::NotAMailAddress: return Fill(_("{1} holds a recipient without '@'"), {field});
    case FieldFailure::NoIdnaForm: return Fill(_("{1} names a host that has no IDNA (punycode) form"), {field});
    case FieldFailure::NoIdnaLibrary:
      return Fill(_("{1} names a host outside ASCII, and the IDNA module ({2}, with libidn2) that writes it in ASCII "
                    "cannot be loaded"),
                  {field, QUILLET_IDNA_MODULE});
    case FieldFailure::PasswordUnused:
      return Fill(_("{1} is given for a network without a password (ENC nopass)"), {field});
    case FieldFailure::NotInCodePage: return field + ": " + DescribeTextProblem(problem.text);
    case FieldFailure::None: break;
  }
  return {};
}

std::string DescribeUnknownField(const std::string& name, FormatTab page) {
  const PageSpec* spec = PageForTab(page.format, page.tab);
  return Fill(_("field {1} is not on {2}; its fields are {3}"),
              {Quoted(name), TabWords(page.format, page.tab), spec ? FieldsOfPage(*spec) : std::string()});
}

std::string DescribeFieldTwice(const std::string& first, const std::string& second, FormatTab page, int slot) {
  FieldProblem field;
  field.slot = slot;
  return Fill(_("--field {1} and --field {2} both give the {3}"), {first, second, FieldName(field, page)});
}

std::string DescribeHeaderRefusal(const HeaderRefusal& refusal) {
  switch (refusal.failure) {
    case HeaderFailure::NoSuchTab:
      return Fill(_("tab {1} is not a tab of {2}"),
                  {std::to_string(refusal.page.tab), FormatCaption(refusal.page.format)});
    case HeaderFailure::UnknownColumn: return UnknownColumn(refusal);
    case HeaderFailure::TwoTextColumns:
      return Fill(_("columns '{1}' and '{2}' both give the text"), {refusal.column, refusal.other});
    case HeaderFailure::TwoColumnsOneField:
      return Fill(_("columns '{1}' and '{2}' both give the field {3}"),
                  {refusal.column, refusal.other, refusal.slot >= 0 ? FieldTags[refusal.slot] : std::string_view()});
    case HeaderFailure::NoTextColumn: return _("no column is named 'text'");
    case HeaderFailure::TextWithField:
      return Fill(_("with a column 'text' each row is one raw symbol, so no other column may be a field "
                    "(as '{1}' is)"), {refusal.column});
    case HeaderFailure::NoField: return Fill(_("no column is a field of {1} or 'text'"), {PageWithFields(refusal)});
    case HeaderFailure::NoTemplateColumn:
      return Fill(_("the name template uses {{1}}, which is no column of the input"), {refusal.column});
    case HeaderFailure::None: break;
  }
  return {};
}

std::string Quoted(const std::string& subject) { return "'" + subject + "'"; }

std::string TabWords(int operatorFormat, int tab) {
  const TabSpec* tabEntry = FindTab(operatorFormat, tab);
  if (tabEntry == nullptr) return {};
  return Fill(_("\"{1}\" of {2}"), {BareTabCaption(*tabEntry), FindOperatorFormat(operatorFormat)->caption});
}

namespace {

std::string Because(int error) { return error ? std::string(": ") + std::strerror(error) : std::string(); }

std::string UnknownExtension(const std::string& extension) {
  const std::string known = KnownExtensions(", ", " or ");
  if (extension.empty()) return Fill(_("the file name has no extension; use {1}"), {known});
  return Fill(_("unknown image file extension {1}; use {2}"), {Quoted(extension), known});
}

// PDF, EPS and label sheets are drawn by a module loaded on first use.
std::string PrintModuleNotLoaded(const std::string& loaderWords) {
  return Fill(_("the print module (PDF, EPS, label sheets) cannot be loaded: {1}"), {loaderWords});
}

}  // namespace

std::string DescribeImageFailure(const ImageResult& result) {
  const std::string& subject = result.subject;
  switch (result.failure) {
    case ImageFailure::None: return _("done");
    case ImageFailure::NoSymbol: return _("there is no symbol to save");
    case ImageFailure::BadScale: return Fill(_("scale {1} is less than {2}"), {subject, std::to_string(MinScale)});
    case ImageFailure::TooLarge:
      return Fill(_("the image would be {1} pixels a side; the most is {2}: ask for a smaller size or a lower --dpi"),
                  {subject, std::to_string(MaxImageSide)});
    case ImageFailure::BadQuietZone:
      return Fill(_("a quiet zone of {1} modules is outside 0 to {2}"), {subject, std::to_string(MaxQuietZoneModules)});
    case ImageFailure::BadDpi:
      return Fill(_("dpi {1} is outside {2} to {3}"), {subject, std::to_string(MinDpi), std::to_string(MaxDpi)});
    case ImageFailure::UnknownExtension: return UnknownExtension(subject);
    case ImageFailure::FolderMissing: return Fill(_("the folder {1} does not exist"), {Quoted(subject)});
    case ImageFailure::IsFolder: return Fill(_("{1} is a folder"), {Quoted(subject)});
    case ImageFailure::CannotCreate:
      return Fill(_("cannot create a file in the folder {1}"), {Quoted(subject)}) + Because(result.error);
    case ImageFailure::CannotWrite: return Fill(_("writing {1} failed"), {Quoted(subject)}) + Because(result.error);
    case ImageFailure::CannotReplace: return Fill(_("cannot replace {1}"), {Quoted(subject)}) + Because(result.error);
    case ImageFailure::OutOfMemory: return _("out of memory");
    case ImageFailure::EncoderFailed: return Fill(_("the image encoder failed: {1}"), {subject});
    case ImageFailure::NoPrintModule: return PrintModuleNotLoaded(subject);
    case ImageFailure::BadCaption:
      return Fill(_("a frame's caption is one line of at most {1} characters"), {std::to_string(MaxCaptionCharacters)});
    case ImageFailure::NoCaptionFont:
      return Fill(_("the font {1} for the frame's caption is not installed (Debian: fonts-wqy-zenhei)"), {subject});
    case ImageFailure::CaptionCharacter:
      return Fill(_("the caption's font has no {1}: the frame would show an empty box in its place"),
                  {CharacterName(subject)});
    case ImageFailure::CaptionScript:
      return Fill(_("{1} is of a script whose letters join, reorder or run right to left, which a frame's caption "
                    "cannot draw; give the caption in another script"),
                  {CharacterName(subject)});
  }
  return _("unknown failure");
}

std::string DescribeSheetProblem(const SheetProblem& problem, const LabelSheetLayout& layout) {
  const LabelFit& fit = problem.fit;
  switch (problem.failure) {
    case SheetFailure::NoCells: return _("a sheet needs at least one column and one row");
    case SheetFailure::NoPrintModule: return PrintModuleNotLoaded(problem.subject);
    case SheetFailure::LabelTooLarge:
      return Fill(_("a label of {1} does not fit a cell of {2} ({3}, {4} columns, {5} rows)"),
                  {Millimetres(fit.widthMm, fit.heightMm), Millimetres(fit.cellWidthMm, fit.cellHeightMm),
                   layout.paper.name, std::to_string(layout.columns), std::to_string(layout.rows)});
    case SheetFailure::NoLabel: return _("no label to print");
    case SheetFailure::Drawing: return "cairo: " + problem.subject;
    case SheetFailure::None: break;
  }
  return {};
}

std::string DescribeTemplateFault(TemplateFault fault, bool caption) {
  const std::string which = caption ? _("the caption template") : _("the name template");
  switch (fault) {
    case TemplateFault::UnclosedBrace: return Fill(_("{1} has a '{' without '}'"), {which});
    case TemplateFault::EmptyBraces: return Fill(_("{1} has an empty '{}'"), {which});
    case TemplateFault::UnsafeCharacter:
      return Fill(_("{1} may not hold a path separator or a control character"), {which});
    case TemplateFault::ControlCharacter: return Fill(_("{1} may not hold a control character"), {which});
    case TemplateFault::None: break;
  }
  return {};
}

std::string DescribeNotReadBack(const ReadBackResult& result, ReadBackRisk risk, const std::string& what) {
  std::string message = Fill(_("{1} does not read back: {2}"), {what, DescribeReadBackFault(result)});
  if (const std::string cause = DescribeReadBackRisk(risk); !cause.empty()) message += "; " + cause;
  return message;
}

std::string DescribeUnheld(const Unheld& unheld) {
  switch (unheld.reason) {
    case UnheldReason::None: return {};
    case UnheldReason::UnknownTag: return Fill(_("'{1}' is no field"), {unheld.subject});
    case UnheldReason::TagNotOnPage: return Fill(_("no page of its type has the field '{1}'"), {unheld.subject});
    case UnheldReason::RepeatedTag: return Fill(_("the field '{1}' is given twice"), {unheld.subject});
    case UnheldReason::Malformed: return _("the payload is cut short or malformed");
    case UnheldReason::NotCodePage: return _("the text has characters code page 936 cannot carry");
    case UnheldReason::NotAChoice: return Fill(_("the page cannot show '{1}'"), {unheld.subject});
  }
  return {};
}

}  // namespace quillet
