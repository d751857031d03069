#include "cli/Words.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/CliOptionTable.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "image/ImageFormats.h"

namespace quillet {

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
    case ReadBackFault::ImageBroken: return "the image cannot be read: " + DescribeImageReadProblem(result.image);
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
    case SymbolFailure::FieldNotCarried: return "a field's value has no place in its form";
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
  const PageSpec* page = PageForTab(refusal.page.format, refusal.page.tab);
  return TabInUserWords(refusal.page.format, refusal.page.tab) + " (" + (page ? FieldsOfPage(*page) : std::string()) + ")";
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

std::string DescribeModuleScale(const ModuleScale& scale) {
  if (!scale.offRequest) return {};
  return "a module of " + Millimetres(scale.requestedMm) + " is " + std::to_string(scale.scale) + " pixel" +
         (scale.scale == 1 ? "" : "s") + " at " + std::to_string(scale.dpi) + " dpi, which prints at " +
         Millimetres(scale.moduleMm);
}

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

namespace {

// "field LAT (纬度)", as the page captions it.
std::string FieldName(const FieldProblem& problem, FormatTab shown) {
  if (problem.slot < 0 || problem.slot >= FieldSlotCount) return "a field";
  std::string name = "field " + std::string(FieldTags[problem.slot]);
  const PageSpec* page = PageForTab(shown.format, shown.tab);
  if (const FieldSpec* field = page ? FindField(*page, problem.slot) : nullptr)
    name += " (" + BareCaption(field->caption) + ")";
  return name;
}

// "WPA, WEP or nopass"; a check box takes true or false.
std::string ChoicesOf(const FieldProblem& problem, FormatTab shown) {
  const PageSpec* page = PageForTab(shown.format, shown.tab);
  const FieldSpec* field = page ? FindField(*page, problem.slot) : nullptr;
  if (field == nullptr || field->kind == FieldKind::Check)
    return std::string(CheckedValue) + " or " + std::string(UncheckedValue);
  std::vector<std::string_view> values;
  for (const FieldChoice& choice : field->choices) values.push_back(choice.value);
  return JoinNames(values);
}

std::string DegreesLimit(const FieldProblem& problem) {
  return problem.slot == FieldSlotOfTag("LAT") ? "-90 to 90" : "-180 to 180";
}

}  // namespace

std::string DescribeFieldProblem(const FieldProblem& problem, FormatTab shown) {
  const std::string field = FieldName(problem, shown);
  switch (problem.failure) {
    case FieldFailure::Missing: return field + " is empty, but the " + std::string(BareTabCaption(*FindTab(shown.format, shown.tab))) + " form needs it";
    case FieldFailure::NotUtf8: return field + " is not UTF-8 text";
    case FieldFailure::NotANumber: return field + " is no decimal number of degrees";
    case FieldFailure::OutOfRange: return field + " lies outside " + DegreesLimit(problem) + " degrees";
    case FieldFailure::NotADateTime: return field + " is no date and time as " + std::string(DateTimeLayout);
    case FieldFailure::EndsBeforeStart: return field + " is before the start";
    case FieldFailure::NotAChoice: return field + " takes " + ChoicesOf(problem, shown);
    case FieldFailure::NotAPhoneNumber: return field + " is no phone number (digits and + * # - . ( ) only)";
    case FieldFailure::NotAMailAddress: return field + " holds a recipient without '@'";
    case FieldFailure::NoIdnaForm: return field + " names a host that has no IDNA (punycode) form";
    case FieldFailure::PasswordUnused: return field + " is given for a network without a password (ENC nopass)";
    case FieldFailure::NotInCodePage: return field + ": " + DescribeTextProblem(problem.text);
    case FieldFailure::None: break;
  }
  return {};
}

std::string DescribeHeaderRefusal(const HeaderRefusal& refusal) {
  const std::string pair = "columns '" + refusal.column + "' and '" + refusal.other + "' both give the ";
  switch (refusal.failure) {
    case HeaderFailure::NoSuchTab:
      return "tab " + std::to_string(refusal.page.tab) + " is not a tab of " + FormatCaption(refusal.page.format);
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

std::string Quoted(const std::string& subject) { return "'" + subject + "'"; }

namespace {

std::string Because(int error) { return error ? std::string(": ") + std::strerror(error) : std::string(); }

std::string UnknownExtension(const std::string& extension) {
  const std::string known = KnownExtensions(", ", " or ");
  if (extension.empty()) return "the file name has no extension; use " + known;
  return "unknown image file extension " + Quoted(extension) + "; use " + known;
}

}  // namespace

std::string DescribeImageFailure(const ImageResult& result) {
  const std::string& subject = result.subject;
  switch (result.failure) {
    case ImageFailure::None: return "done";
    case ImageFailure::NoSymbol: return "there is no symbol to save";
    case ImageFailure::BadScale:
      return "scale " + subject + " is outside " + std::to_string(MinScale) + " to " + std::to_string(MaxScale);
    case ImageFailure::BadQuietZone:
      return "a quiet zone of " + subject + " modules is outside 0 to " + std::to_string(MaxQuietZoneModules);
    case ImageFailure::BadDpi:
      return "dpi " + subject + " is outside " + std::to_string(MinDpi) + " to " + std::to_string(MaxDpi);
    case ImageFailure::UnknownExtension: return UnknownExtension(subject);
    case ImageFailure::FolderMissing: return "the folder " + Quoted(subject) + " does not exist";
    case ImageFailure::IsFolder: return Quoted(subject) + " is a folder";
    case ImageFailure::CannotCreate: return "cannot create a file in the folder " + Quoted(subject) + Because(result.error);
    case ImageFailure::CannotWrite: return "writing " + Quoted(subject) + " failed" + Because(result.error);
    case ImageFailure::CannotReplace: return "cannot replace " + Quoted(subject) + Because(result.error);
    case ImageFailure::OutOfMemory: return "out of memory";
    case ImageFailure::EncoderFailed: return "the image encoder failed: " + subject;
  }
  return "unknown failure";
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

namespace {

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Share(double share) { return Fixed(share, 2); }

// The first block that loses more than it may.
int WorstBlock(const LogoDamage& damage) {
  for (size_t b = 0; b < damage.blocks.size(); ++b)
    if (damage.blocks[b].destroyed > damage.blocks[b].Allowed()) return static_cast<int>(b);
  return -1;
}

std::string SymbolName(const LogoFit& fit) {
  return "version " + std::to_string(fit.version) + " at level " + QrLevelLetter(fit.level);
}

}  // namespace

std::string DescribeStyleCheck(const StyleCheck& check) {
  // Cut, not rounded: 2.995 is below 3:1 and must not read "3.00:1".
  const double ratio = std::floor(check.ratio * 100) / 100;
  const std::string colours = "the colours " + check.subject + " (contrast ratio " + Fixed(ratio, 2) + ":1)";
  switch (check.failure) {
    case StyleFailure::LowContrast:
      return colours + " are below the " + Fixed(MinContrastRatio, 0) +
             ":1 scanners need: choose colours further apart, or give --allow-low-contrast";
    case StyleFailure::Inverted:
      return colours + " put light modules on a dark background, which many readers do not try: "
                       "give --allow-inverted";
    case StyleFailure::None: break;
  }
  return {};
}

namespace {

// What the readers found: "16-bit BMP", "no image in the GIF", or the library's message.
std::string ReadDetailWords(ImageReadDetail detail, const std::string& message, int number) {
  switch (detail) {
    case ImageReadDetail::LibraryMessage: return message;
    case ImageReadDetail::GifError: return "GIF error " + std::to_string(number);
    case ImageReadDetail::NoGifImage: return "no image in the GIF";
    case ImageReadDetail::JpegScans: return "JPEG of more than " + std::to_string(number) + " scans";
    case ImageReadDetail::OldBmpHeader: return "old-style BMP header";
    case ImageReadDetail::CompressedBmp: return "compressed BMP";
    case ImageReadDetail::BmpBits: return std::to_string(number) + "-bit BMP";
    case ImageReadDetail::BmpPaletteIndex: return "BMP pixel outside its palette";
    case ImageReadDetail::SvgUnreadable: return "unreadable SVG";
    case ImageReadDetail::SvgNotDrawn: return "the SVG cannot be drawn";
    case ImageReadDetail::None: break;
  }
  return {};
}

}  // namespace

std::string DescribeImageReadProblem(const ImageReadProblem& problem) {
  const std::string detail = ReadDetailWords(problem.detail, problem.subject, problem.number);
  switch (problem.failure) {
    case ImageReadFailure::None: return {};
    case ImageReadFailure::CannotOpen: return std::strerror(problem.error);
    case ImageReadFailure::NotAnImage: return "not a PNG, JPEG, GIF or BMP image";
    case ImageReadFailure::Unsupported: return "a " + detail + ", which cannot be read";
    case ImageReadFailure::TooLarge:
      if (problem.subject.empty()) return "the file is larger than any image";
      return "too large: " + problem.subject + " pixels, more than the " + std::to_string(MaxImagePixels / 1'000'000) +
             " megapixels an image may have";
    case ImageReadFailure::Truncated: return "the file is cut short";
    case ImageReadFailure::Damaged: return "the image is damaged (" + detail + ")";
    case ImageReadFailure::NoDecoders: return "the decoders cannot be loaded: " + problem.subject;
  }
  return {};
}

std::string LogoShareWords() {
  return Fixed(MinLogoShare, 2) + " to " + Fixed(MaxLogoShare, 1) + " (or " + Fixed(100 * MinLogoShare, 0) + "% to " +
         Fixed(100 * MaxLogoShare, 0) + "%)";
}

std::string DescribeLogoFit(const LogoFit& fit) {
  switch (fit.failure) {
    case LogoFailure::NotQrCode: return "Data Matrix symbols carry no logo; a logo goes in a QR Code";
    case LogoFailure::NoRoom:
      return "a QR Code of " + SymbolName(fit) + " cannot spare the modules of even the smallest logo; give " +
             (fit.level == QrLevel::H ? std::string("a larger --version") : std::string("--level H"));
    case LogoFailure::TooLarge: {
      const LogoDamage& damage = fit.damage;
      std::string why = damage.coversFixedPattern ? "covers a finder, timing or format pattern" : std::string();
      if (const int block = WorstBlock(damage); block >= 0) {
        const BlockDamage& worst = damage.blocks[static_cast<size_t>(block)];
        why = "destroys " + std::to_string(worst.destroyed) + " codewords of block " + std::to_string(block + 1) +
              ", more than half of the " + std::to_string(worst.correctable) + " it corrects";
      }
      return "a logo of " + std::to_string(damage.padSide) + " modules " + why + "; the largest a QR Code of " +
             SymbolName(fit) + " allows is " + std::to_string(fit.largestSide) + " modules, --logo-size " +
             Share(fit.largestShare);
    }
    case LogoFailure::None: break;
  }
  return {};
}

std::string DescribeLogoFile(const LogoFileResult& result) {
  const std::string file = "the logo '" + result.subject + "'";
  switch (result.failure) {
    case LogoFileFailure::CannotOpen: return "cannot read " + file + ": " + std::strerror(result.error);
    case LogoFileFailure::TooLarge:
      return file + " is larger than a logo may be (" + std::to_string(MaxLogoFileBytes >> 20) + " MB, " +
             std::to_string(MaxLogoSide) + " pixels a side)";
    case LogoFileFailure::NotALogo: return file + " is neither a PNG, a JPEG nor an SVG image";
    case LogoFileFailure::Unreadable:
      return file + " cannot be read as an image: " + ReadDetailWords(result.reason, result.detail, 0);
    case LogoFileFailure::NoReader: return "cannot read logos: " + result.detail;
    case LogoFileFailure::None: break;
  }
  return {};
}

std::string DescribeStyledNotReadBack(const ReadBackResult& check) {
  return "the styled symbol does not read back, so it is not written: " + DescribeReadBackFault(check);
}

std::string DescribeStyleReport(const LogoFit& fit, const ReadBackResult& check) {
  std::string report;
  if (fit.damage.padSide > 0) {
    report += "logo " + std::to_string(fit.damage.padSide) + " modules, largest " + std::to_string(fit.largestSide) +
              " (" + Share(fit.largestShare) + " of the side)\n";
    for (size_t b = 0; b < fit.damage.blocks.size(); ++b) {
      const BlockDamage& block = fit.damage.blocks[b];
      report += "block " + std::to_string(b + 1) + " destroyed " + std::to_string(block.destroyed) + " of " +
                std::to_string(block.correctable) + " correctable (at most " + std::to_string(block.Allowed()) + ")\n";
    }
  }
  report += check.Ok() ? "read back by " + check.decoder + "\n" : "not read back: " + DescribeReadBackFault(check) + "\n";
  return report;
}

std::string DescribeUnheld(const Unheld& unheld) {
  switch (unheld.reason) {
    case UnheldReason::None: return {};
    case UnheldReason::UnknownTag: return "'" + unheld.subject + "' is no field";
    case UnheldReason::TagNotOnPage: return "no page of its type has the field '" + unheld.subject + "'";
    case UnheldReason::RepeatedTag: return "the field '" + unheld.subject + "' is given twice";
    case UnheldReason::Malformed: return "the payload is cut short or malformed";
    case UnheldReason::NotCodePage: return "the text has characters code page 936 cannot carry";
    case UnheldReason::NotAChoice: return "the page cannot show '" + unheld.subject + "'";
  }
  return {};
}

// ---- The command line's own words

namespace {

std::string_view CommandName(CliCommand command) { return command == CliCommand::Qr ? "qr" : "dm"; }

// A problem of one option's words: a value it cannot take, one it lacks.
std::string DescribeOptionProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::ValueMissing: return p.option + " needs a value";
    case CliProblemKind::BadValue: return p.option + " takes " + p.detail + ", not '" + p.word + "'";
    case CliProblemKind::GivenTwice: return "an input or output option is given twice";
    case CliProblemKind::BatchGivenTwice: return "--batch is given twice";
    case CliProblemKind::FieldNotTagged: return p.option + " takes TAG=VALUE, not '" + p.word + "'";
    case CliProblemKind::NoLogoInDm: return p.option + ": Data Matrix symbols carry no logo; a logo goes in a QR Code (qr)";
    case CliProblemKind::ValueJoined:
      return "unknown option '" + p.word + "': give the value as a word of its own, " + p.option + " " + p.detail;
    case CliProblemKind::OptionOfOther: {
      const CliCommand other = p.command == CliCommand::Qr ? CliCommand::Dm : CliCommand::Qr;
      return p.option + " is an option of " + std::string(CommandName(other)) + ", not of " +
             std::string(CommandName(p.command));
    }
    case CliProblemKind::UnknownOption:
      return "unknown option '" + p.word + "'" + (p.detail.empty() ? "" : " (did you mean " + p.detail + "?)");
    default: return {};
  }
}

// What the input, the symbol's options and the output lack or have too much of.
std::string DescribeCombinationProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::TabNotOfFormat:
      return "--type " + p.word + " is not a tab of " + std::string(FindOperatorFormat(p.operatorFormat)->caption) +
             "; its tabs are " + JoinNames(NumberedTabs(p.operatorFormat), ", ", ", ") +
             (p.formatWithTab == 0 ? "" : "; " + p.word + " is a tab of " +
                                              std::string(FindOperatorFormat(p.formatWithTab)->caption) +
                                              ": give --operator " + std::to_string(p.formatWithTab));
    case CliProblemKind::EciWithDataFile:
      return "--eci names the character set of a text: it goes with --text or --gbk-text, not --data-file";
    case CliProblemKind::EciNeedsAscii: return "--eci takes the ascii scheme: give --scheme ascii or none";
    case CliProblemKind::NoInput:
      return p.command == CliCommand::Qr ? "give --text, --gbk-text, --data-file or content fields (--field)"
                                         : "give --text, --gbk-text or --data-file";
    case CliProblemKind::SeveralInputs: return "give only one of --text, --gbk-text, --data-file and content fields";
    case CliProblemKind::GeneralTakesOptimal:
      return "通用格式 always takes the optimal segments: --segments goes with --text or --data-file";
    case CliProblemKind::ContentIsOneSegment:
      return "content fields are written in one segment, as the QR page writes them: "
             "--segments optimal goes with --text or --data-file";
    case CliProblemKind::NothingToDo: return "nothing to do: give --dump, -o FILE or both";
    case CliProblemKind::VerifyNeedsFile: return "--verify checks an image: give -o FILE";
    case CliProblemKind::FormatNeedsOutput: return "--format needs -o: -o - for standard output";
    case CliProblemKind::StandardOutputTwice: return "--dump and -o - both write to standard output; give one of them";
    case CliProblemKind::UnknownExtension:
      return "cannot tell the image format of '" + p.word + "': use the extension " + KnownExtensions(", ", " or ") +
             ", or -o - with --format";
    case CliProblemKind::FormatDisagrees:
      return "--format " + p.detail + " does not match the extension of '" + p.word + "'";
    case CliProblemKind::VerifyOfText: return "--verify checks an image file; " + p.word + " is text";
    case CliProblemKind::ScaleAndModuleMm: return "give --scale or --module-mm, not both";
    case CliProblemKind::ModuleMmTooFine:
      return "--module-mm " + p.word + " at --dpi " + std::to_string(p.dpi) + " is " + std::to_string(p.scale) +
             " pixels per module; the most is " + std::to_string(MaxScale) + ": give a lower --dpi";
    case CliProblemKind::LogoSizeWithoutLogo: return "--logo-size goes with --logo FILE";
    case CliProblemKind::SheetWithStyle: return "a label sheet prints plain symbols: no --fg, --bg or --logo with --sheet";
    case CliProblemKind::Colours: return DescribeStyleCheck(p.colours);
    default: return {};
  }
}

std::string DescribeBatchProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::BatchOnlyWithoutBatch: return p.option + " goes with --batch INPUT";
    case CliProblemKind::BatchWithInput:
      return "--batch takes the symbols' data from its rows: no --text, --gbk-text, --data-file or --field";
    case CliProblemKind::SegmentsWithBatch: return "--segments goes with --text or --data-file, not --batch";
    case CliProblemKind::BatchWithDump:
      return "--batch writes files: no --dump or --format (the name's extension is the format)";
    case CliProblemKind::BatchNeedsFolder: return "--batch needs -o DIR, the folder for the files";
    case CliProblemKind::SheetOptionsWithoutSheet: return "--columns, --rows and --caption go with --sheet";
    case CliProblemKind::SheetNeedsGrid: return "--sheet needs --columns C and --rows R";
    case CliProblemKind::SheetWithName: return "--sheet writes one PDF: no --name";
    case CliProblemKind::SheetNeedsPdf: return "--sheet writes a PDF: give -o FILE.pdf";
    default: return {};
  }
}

}  // namespace

std::string DescribeCliProblem(const CliProblem& p) {
  switch (p.kind) {
    case CliProblemKind::NoCommand: return "no command given";
    case CliProblemKind::UnknownCommand: return "unknown command '" + p.word + "' (use qr, dm or read)";
    case CliProblemKind::ValuesUsage: return "values takes qr or dm and an option: values qr --level";
    case CliProblemKind::NoFixedValues: return p.option + " of " + p.word + " takes no fixed set of values";
    default: break;
  }
  for (auto describe : {DescribeOptionProblem, DescribeCombinationProblem, DescribeBatchProblem})
    if (std::string words = describe(p); !words.empty()) return words;
  return "the options cannot be used together";
}

}  // namespace quillet
