#include "cli/CliOptionTable.h"

#include <algorithm>
#include <charconv>

#include "cli/OptionSlots.h"
#include "cli/Translate.h"
#include "cli/Words.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "datamatrix/DmEncoder.h"
#include "image/SymbolFrame.h"
#include "qr/QrLevel.h"
#include "qr/QrStandard.h"

namespace quillet {

namespace {

using namespace slots;

// ---- How the rows take their values.

using Outcome = std::optional<CliProblemKind>;
constexpr Outcome Taken = std::nullopt;

// The value parsed into the place `Slot` gives, or a bad value.
template <auto Parse, auto Slot>
Outcome Parsed(CliParseState& state, const CliOptionRow&, std::string_view word) {
  auto value = Parse(word);
  if (!value) return CliProblemKind::BadValue;
  auto& slot = Slot(state);
  slot = static_cast<std::remove_reference_t<decltype(slot)>>(std::move(*value));
  return Taken;
}

template <auto Slot>
Outcome Number(CliParseState& state, const CliOptionRow& row, std::string_view word) {
  const auto value = ParseInt(word, row.low, row.high);
  if (!value) return CliProblemKind::BadValue;
  Slot(state) = *value;
  return Taken;
}

// Input and output files: each once.
template <auto Slot>
Outcome Once(CliParseState& state, const CliOptionRow&, std::string_view word) {
  std::optional<std::string>& slot = Slot(state);
  if (slot) return CliProblemKind::GivenTwice;
  slot = std::string(word);
  return Taken;
}

template <auto Slot, bool On = true>
Outcome Switch(CliParseState& state, const CliOptionRow&, std::string_view) {
  Slot(state) = On;
  return Taken;
}

// --text and --gbk-text: the text, and the bytes it becomes.
template <DataCharset Charset>
Outcome TextAs(CliParseState& state, const CliOptionRow& row, std::string_view word) {
  state.options.textCharset = Charset;
  state.options.textOption = state.option;
  return Once<TextSlot>(state, row, word);
}

Outcome GbkColumn(CliParseState& state, const CliOptionRow&, std::string_view) {
  BatchOf(state);  // a batch's option, refused without --batch
  state.options.textCharset = DataCharset::CodePage936;
  return Taken;
}

Outcome Help(CliParseState& state, const CliOptionRow&, std::string_view) {
  state.options.helpTopic = state.options.command;
  return Taken;
}

// --scale, --module-mm and --size-mm each set the size; the parser refuses more than one.
template <CliApply Apply>
Outcome Size(CliParseState& state, const CliOptionRow& row, std::string_view word) {
  if (std::find(state.sizesGiven.begin(), state.sizesGiven.end(), &row) == state.sizesGiven.end())
    state.sizesGiven.push_back(&row);
  return Apply(state, row, word);
}

Outcome BackgroundColour(CliParseState& state, const CliOptionRow&, std::string_view word) {
  const std::optional<Background> background = ParseBackground(word);
  if (!background) return CliProblemKind::BadValue;
  state.options.image.style.background = background->colour;
  state.options.image.style.transparentBackground = background->transparent;
  return Taken;
}

// The preset's shapes and colours, under the style options given before it.
Outcome Preset(CliParseState& state, const CliOptionRow&, std::string_view word) {
  const Symbology symbology = state.options.symbol.symbology;
  const std::optional<StylePreset> preset = ParseStylePreset(word, symbology);
  if (!preset) return CliProblemKind::BadValue;
  state.options.image.style = WithPreset(state.options.image.style, *preset, symbology);
  // Each took its value once already: what they say again cannot fail.
  for (const auto& [given, value] : state.styleGiven)
    if (given->apply != Preset) given->apply(state, *given, value);
  return Taken;
}

// A caption of only blanks would draw an empty band.
Outcome FrameText(CliParseState& state, const CliOptionRow& row, std::string_view word) {
  if (TrimCaption(word).empty()) return CliProblemKind::BlankCaption;
  return Parsed<ParseCaption, FrameTextSlot>(state, row, word);
}

Outcome NoLogo(CliParseState&, const CliOptionRow&, std::string_view) { return CliProblemKind::NoLogoInDm; }

// Content fields: --operator, --type and --field compose the payload.
template <CliApply Apply>
Outcome WithContent(CliParseState& state, const CliOptionRow& row, std::string_view word) {
  state.options.contentMode = true;
  return Apply(state, row, word);
}

Outcome Field(CliParseState& state, const CliOptionRow&, std::string_view word) {
  const size_t equals = word.find('=');
  if (equals == std::string_view::npos || equals == 0) return CliProblemKind::FieldNotTagged;
  state.options.fields.emplace_back(std::string(word.substr(0, equals)), std::string(word.substr(equals + 1)));
  return Taken;
}


Outcome BatchInput(CliParseState& state, const CliOptionRow&, std::string_view word) {
  if (!BatchOf(state).input.empty()) return CliProblemKind::BatchGivenTwice;
  BatchOf(state).input = std::string(word);
  return Taken;
}

template <auto Slot>
Outcome Text(CliParseState& state, const CliOptionRow&, std::string_view word) {
  Slot(state) = std::string(word);
  return Taken;
}

using enum CliSection;

// Of qr and of dm, which take different presets.
constexpr const char* PresetHelp = N_("shapes and colours at once: {values}; the\nstyle options given with it win over its own");

const CliOptionRow Rows[] = {
    {.name = "--help", .alias = "-h", .commands = QrAndDm | ReadOnly, .section = Input, .apply = Help},

    {.name = "--raw", .commands = ReadOnly, .section = Output,
     .help = N_("the decoded bytes as they are, one symbol after another"), .apply = Switch<RawSlot>},
    {.name = "--csv", .commands = ReadOnly, .section = Output,
     .help = N_("one row per symbol under a header of the tags used, as\n"
                "qr --batch reads it: first the column file (the image's\n"
                "name without folder and extension, for --name {file}),\n"
                "then the symbols of the first one's content type; the\n"
                "others are named on standard error and left out"),
     .apply = Switch<CsvSlot>},
    {.name = "--expect", .value = "N", .commands = ReadOnly, .section = Output,
     .help = N_("each file must give at least N symbols (default 1)"), .low = 0, .high = MaxExpectedSymbols,
     .apply = Number<ExpectSlot>},
    {.name = "--text", .alias = "--utf8-text", .value = "TEXT", .commands = QrAndDm, .section = Input,
     .help = N_("text, encoded as its UTF-8 bytes, which every phone reads"),
     .apply = TextAs<DataCharset::Utf8>},
    {.name = "--gbk-text", .value = "TEXT", .commands = QrAndDm, .section = Input,
     .help = N_("text, encoded as its code page 936 (GBK) bytes, for readers\n"
                "that expect them (operator readers, older symbols); a\n"
                "character without a GBK code is refused"),
     .apply = TextAs<DataCharset::CodePage936>},
    {.name = "--data-file", .value = "FILE", .commands = QrAndDm, .section = Input,
     .help = N_("the file's bytes exactly as they are; - reads standard input"), .apply = Once<DataFileSlot>},

    {.name = "--operator", .value = "{values}", .commands = QrOnly, .section = Content, .help = N_("\n{operators}"),
     .values = OperatorNames, .low = 1, .high = OperatorFormatCount, .nested = true,
     .apply = WithContent<Number<OperatorSlot>>},
    {.name = "--type", .tried = "--tab", .value = "TAB", .commands = QrOnly, .section = Content,
     .help = N_("the content type: its tab's name, caption or position\n"
                "from 0, the left-most (default 0); the tabs, with their\n"
                "names, under each --operator:\n{tabs}"),
     .values = TabNames, .takes = TabTakes, .nested = true, .apply = WithContent<Parsed<ParseTabWord, TabSlot>>},
    {.name = "--field", .value = "TAG=VALUE", .commands = QrOnly, .section = Content,
     .help = N_("a field by its tag, its caption or a field word (below);\n"
                "repeatable; \\n in VALUE is a line break (CR LF); tags:\n{tags}"),
     .values = FieldTagWords, .nested = true, .apply = WithContent<Field>},

    {.name = "--level", .value = "{values}", .commands = QrOnly, .section = Symbol,
     .help = N_("error-correction level (default {defaultLevel})"), .values = LevelNames,
     .apply = Parsed<ParseQrLevel, LevelSlot>},
    {.name = "--version", .value = "N", .commands = QrOnly, .section = Symbol,
     .help = N_("smallest version to use, 1 to {maxVersion}; 0 = automatic (default)"), .low = 0,
     .high = qr::MaxVersion, .apply = Number<VersionSlot>},
    {.name = "--segments", .value = "{values}", .commands = QrOnly, .section = Symbol,
     .help = N_("optimal (default): numeric, alphanumeric and byte segments\n"
             "wherever they make a smaller symbol; single: one segment,\n"
             "as the QR page writes it (operator formats' fields always\n"
             "are; 通用格式 always takes the optimal segments)"),
     .values = SegmentsNames, .apply = Parsed<ParseSegments, SegmentsSlot>},
    {.name = "--size", .value = "SIZE", .commands = DmOnly, .section = Symbol,
     .help = N_("{sizes}\n(auto = the smallest square (default), rect = the smallest rectangle;\n{sizeIndices})"),
     .values = DmSizeNames, .takes = DmSizeTakes, .apply = Parsed<ParseDmSize, DmSizeSlot>},
    {.name = "--scheme", .value = "NAME", .commands = DmOnly, .section = Symbol,
     .help = N_("{values}\n(default smallest; ascii with --eci)"), .values = DmSchemeList,
     .apply = Parsed<ParseDmScheme, SchemeSlot>},
    {.name = "--eci", .commands = QrAndDm, .section = Symbol,
     .help = N_("begin the symbol with an ECI naming the text's character set:\n"
                "{eciUtf8} for UTF-8 (--text), {eciCodePage936} for code page 936 (--gbk-text);\n"
                "off by default for a text, as some readers show it as text\nor refuse the symbol{eciContent}"),
     .apply = Switch<EciSlot>},
    {.name = "--no-eci", .commands = QrOnly, .section = Symbol,
     .help = N_("no ECI, not even for 通用格式's content fields, whose\nsymbols have one by default: without it zbar reads\nsome Chinese names as Japanese"),
     .apply = Switch<EciSlot, false>},

    {.name = "--dump", .commands = QrAndDm, .section = Output,
     .help = N_("print the symbol's header line and rows, 1 dark, 0 light"), .apply = Switch<DumpSlot>},
    {.name = "-o", .alias = "--output", .tried = "--out --output-file", .value = "FILE", .commands = QrAndDm, .section = Output,
     .help = N_("write an image; the format follows the extension\n({extensions}); -o - writes to standard output"),
     .apply = Once<OutputSlot>},
    {.name = "--format", .value = "NAME", .commands = QrAndDm, .section = Output,
     .help = N_("the format for -o -: {values}\n(default png); utf8 and utf8i draw the symbol in the\n"
             "terminal: utf8 for a dark background (light modules as\n"
             "blocks), utf8i for a light one (dark modules as blocks)"),
     .values = FormatNames, .apply = Parsed<ParseFormat, FormatSlot>},
    {.name = "--scale", .value = "S", .commands = QrAndDm, .section = Output,
     .help = N_("pixels per module (default {scale}); the image is at most\n{maxImageSide} pixels a side"),
     .low = MinScale, .high = MaxImageSide, .apply = Size<Number<ScaleSlot>>},
    {.name = "--quiet-zone", .value = "N", .commands = QrAndDm, .section = Output,
     .help = N_("light modules around the symbol (default {quiet})"), .low = 0, .high = MaxQuietZoneModules,
     .apply = Number<QuietZoneSlot>},
    {.name = "--module-mm", .value = "X", .commands = QrAndDm, .section = Output,
     .help = N_("module size in millimetres instead of --scale: exactly X in\n"
                "SVG, PDF and EPS, the whole pixels nearest X at --dpi in\n"
                "the other formats (said when more than 5 % off)"),
     .takes = MillimetresTakes, .apply = Size<Parsed<ParseMillimetres, ModuleMmSlot>>},
    {.name = "--size-mm", .value = "X", .commands = QrAndDm, .section = Output,
     .help = N_("the whole printed symbol, quiet zone included, X millimetres\n"
                "a side (a rectangle's longer side) instead of --scale:\n"
                "exactly in SVG, PDF and EPS, in whole pixels per module at\n"
                "the dpi in the other formats (said when more than 2 % off)"),
     .takes = SymbolMillimetresTakes, .apply = Size<Parsed<ParseMillimetres, SymbolMmSlot>>},
    {.name = "--dpi", .value = "N", .commands = QrAndDm, .section = Output,
     .help = N_("resolution recorded in the file (default {dpi}); the one\nthe pixels of --module-mm and --size-mm are worked out for"),
     .low = MinDpi, .high = MaxDpi, .apply = Number<DpiSlot>},
    {.name = "--verify", .commands = QrAndDm, .section = Output,
     .help = N_("read the written image back with independent decoders\n"
             "(zxing-cpp, zbar, libdmtx) and fail with status 5 when\nit does not give the encoded bytes"),
     .apply = Switch<VerifySlot>},

    {.name = "--preset", .tried = "--style --theme", .value = "NAME", .commands = QrOnly, .section = Style,
     .help = PresetHelp,
     .values = PresetNames<Symbology::QrCode>, .apply = Preset},
    {.name = "--preset", .tried = "--style --theme", .value = "NAME", .commands = DmOnly, .section = Style,
     .help = PresetHelp,
     .values = PresetNames<Symbology::DataMatrix>, .apply = Preset},
    {.name = "--fg", .tried = "--color --colour --foreground --fg-color --fg-colour", .value = "COLOUR", .commands = QrAndDm, .section = Style,
     .help = N_("dark modules, #RRGGBB (default #000000)"), .takes = ColourTakes,
     .apply = Parsed<ParseColour, ForegroundSlot>},
    {.name = "--bg", .tried = "--background --bg-color --bg-colour", .value = "COLOUR", .commands = QrAndDm, .section = Style,
     .help = N_("light modules and quiet zone, #RRGGBB or none for a\ntransparent background (default #ffffff; JPEG and BMP\n"
                "keep no transparency and are written on white)"),
     .takes = BackgroundTakes, .apply = BackgroundColour},
    {.name = "--shape", .value = "SHAPE", .commands = QrOnly, .section = Style,
     .help = N_("how dark modules are drawn: {moduleShapes}\n(default square)"),
     .values = ModuleShapeNames, .apply = Parsed<ParseModuleShape, ModuleShapeSlot>},
    // Data Matrix's L finder and clock track take no rounded joins.
    {.name = "--shape", .value = "SHAPE", .commands = DmOnly, .section = Style,
     .help = N_("how dark modules are drawn: {dmModuleShapes}\n(default square)"),
     .values = DmModuleShapeNames, .apply = Parsed<ParseDmModuleShape, ModuleShapeSlot>},
    {.name = "--eyes", .value = "SHAPE", .commands = QrOnly, .section = Style,
     .help = N_("how the three finder patterns are drawn: {eyeShapes}\n(default square)"),
     .values = EyeShapeNames, .apply = Parsed<ParseEyeShape, EyeShapeSlot>},
    {.name = "--eye-fg", .tried = "--eye-colour --eye-color", .value = "COLOUR", .commands = QrOnly, .section = Style,
     .help = N_("the finder patterns' colour, #RRGGBB (default: that of --fg)"), .takes = ColourTakes,
     .apply = Parsed<ParseColour, EyeColourSlot>},
    {.name = "--gradient", .value = "KIND", .commands = QrAndDm, .section = Style,
     .help = N_("dark modules shade from --fg into --fg2: {gradients}; linear\nruns from the top left corner to the bottom right, radial\nfrom the centre out (default none)"),
     .values = GradientNames, .apply = Parsed<ParseGradient, GradientSlot>},
    {.name = "--fg2", .value = "COLOUR", .commands = QrAndDm, .section = Style,
     .help = N_("the gradient's second colour, #RRGGBB"), .takes = ColourTakes,
     .apply = Parsed<ParseColour, SecondForegroundSlot>},
    {.name = "--frame", .value = "TEXT", .commands = QrAndDm, .section = Style,
     .help = N_("a frame around the symbol and its quiet zone, with TEXT\n(at most {maxCaption} characters, in no script written right\nto left or joined) in a band below or above it, drawn in\nWenQuanYi Zen Hei"),
     .takes = CaptionTakes, .apply = FrameText},
    {.name = "--frame-position", .value = "WHERE", .commands = QrAndDm, .section = Style,
     .help = N_("where the frame's caption goes: {framePositions} (default below)"),
     .values = FramePositionNames, .apply = Parsed<ParseFramePosition, FramePositionSlot>},
    {.name = "--frame-fg", .tried = "--frame-colour --frame-color", .value = "COLOUR", .commands = QrAndDm,
     .section = Style, .help = N_("the frame's colour, #RRGGBB (default: that of --fg); the\ncaption is in the background's"),
     .takes = ColourTakes, .apply = Parsed<ParseColour, FrameColourSlot>},
    {.name = "--allow-low-contrast", .commands = QrAndDm, .section = Style,
     .help = N_("colours closer than a contrast ratio of {minContrast}:1"), .apply = Switch<LowContrastSlot>},
    {.name = "--allow-inverted", .commands = QrAndDm, .section = Style,
     .help = N_("light modules on a dark background, which many readers\ndo not try"), .apply = Switch<InvertedSlot>},
    {.name = "--logo", .value = "FILE", .commands = QrOnly, .section = Style,
     .help = N_("a logo (PNG, JPEG or SVG) centred on a pad of light\nmodules; raises the level to H unless --level is given"),
     .apply = Once<LogoSlot>},
    {.name = "--logo-size", .value = "SHARE", .commands = QrOnly, .section = Style,
     .help = N_("the pad's longer side as a share of the symbol's side,\n{logoShares};\n"
             "with no --version the symbol grows until its level can repair\n"
             "the modules the logo covers, in no block more than half of what\n"
             "its error correction corrects (default: {defaultLogoShare}%)"),
     .takes = LogoShareWords, .apply = Parsed<ParseLogoShare, LogoShareSlot>},
    {.name = "--logo-pad", .value = "PAD", .commands = QrOnly, .section = Style,
     .help = N_("which modules of its box the logo's pad clears: {logoPads};\n"
             "shape (the default) those under the logo's opaque pixels and\n"
             "a margin of one, square all of them"),
     .values = LogoPadNames, .apply = Parsed<ParseLogoPad, LogoPadSlot>},
    // A Data Matrix symbol has no room for a logo: said so, rather than "an option of qr".
    {.name = "--logo", .commands = DmOnly, .section = Style, .apply = NoLogo},
    {.name = "--logo-size", .commands = DmOnly, .section = Style, .apply = NoLogo},
    {.name = "--logo-pad", .commands = DmOnly, .section = Style, .apply = NoLogo},

    {.name = "--batch", .value = "INPUT", .commands = QrAndDm, .section = Batch,
     .help = N_("one file per row of a CSV file (TSV when it ends in .tsv; - reads\n"
             "standard input); the first row names the columns"),
     .apply = BatchInput},
    {.name = "-o", .value = "DIR", .commands = QrAndDm, .section = Batch,
     .help = N_("the folder for the files, created when missing")},
    {.name = "--name", .value = "TEMPLATE", .commands = QrAndDm, .section = Batch,
     .help = N_("file names: {row} the row's number (zero-padded), {COLUMN} a\n"
             "column's value made safe; the extension is the format\n(default {defaultName})"),
     .batchOnly = true, .apply = Text<NameSlot>},
    {.name = "--jobs", .value = "N", .commands = QrAndDm, .section = Batch,
     .help = N_("threads that encode and write (default: one per hardware thread)"), .low = 1, .high = MaxBatchJobs,
     .batchOnly = true, .apply = Number<JobsSlot>},
    {.name = "--manifest", .value = "FILE", .commands = QrAndDm, .section = Batch,
     .help = N_("a CSV of row, file, symbol and status (- for standard output)"), .batchOnly = true,
     .apply = Text<ManifestSlot>},
    {.name = "--encoding", .value = "NAME", .commands = QrAndDm, .section = Batch,
     .help = N_("{values} (default: UTF-8 unless the input is not valid UTF-8)"), .values = EncodingNames,
     .batchOnly = true, .apply = Parsed<ParseTextEncoding, EncodingSlot>},
    {.name = "--verify", .commands = QrAndDm, .section = Batch,
     .help = N_("read every file back; a row that does not read back fails")},
    {.name = "--gbk", .commands = QrAndDm, .section = Batch,
     .help = N_("a column named text as code page 936 (GBK) bytes, as\n"
                "--gbk-text, rather than UTF-8 (whatever --encoding the\ninput is in)"),
     .batchOnly = true, .apply = GbkColumn},
    {.name = "--sheet", .value = "PAPER", .commands = QrAndDm, .section = Batch,
     .help = N_("instead of files, one label sheet: -o FILE.pdf, PAPER {values};\n"
             "the symbols in a grid of --columns and --rows a page, each at\n"
             "its physical size (--size-mm, --module-mm, or --scale at the\n"
             "dpi), centred in its cell, with equal margins, on as many\n"
             "pages as needed"),
     .values = PaperNames, .batchOnly = true, .apply = Parsed<ParsePaper, SheetSlot>},
    {.name = "--columns", .value = "C", .commands = QrAndDm, .section = Batch,
     .help = N_("the columns of the grid, 1 to {maxSheetCells}"), .low = 1, .high = MaxSheetCells, .batchOnly = true,
     .nested = true, .apply = Number<ColumnsSlot>},
    {.name = "--rows", .value = "R", .commands = QrAndDm, .section = Batch,
     .help = N_("the rows of the grid, 1 to {maxSheetCells}"), .low = 1, .high = MaxSheetCells, .batchOnly = true,
     .nested = true, .apply = Number<RowsSlot>},
    {.name = "--caption", .value = "TEMPLATE", .commands = QrAndDm, .section = Batch,
     .help = N_("the text under each symbol, {row} and {COLUMN} as in --name"), .batchOnly = true, .nested = true,
     .apply = Text<CaptionSlot>},
};

}  // namespace

std::span<const CliOptionRow> CliOptionRows() { return Rows; }

bool RowOf(const CliOptionRow& row, CliCommand command) {
  unsigned bit = 0;
  if (command == CliCommand::Qr) bit = QrOnly;
  if (command == CliCommand::Dm) bit = DmOnly;
  if (command == CliCommand::Read) bit = ReadOnly;
  return (row.commands & bit) != 0;
}

const CliOptionRow* FindTriedOption(CliCommand command, std::string_view word) {
  for (const CliOptionRow& row : Rows) {
    if (!row.apply || !RowOf(row, command)) continue;
    for (size_t at = 0; at < row.tried.size();) {
      const size_t end = std::min(row.tried.find(' ', at), row.tried.size());
      if (row.tried.substr(at, end - at) == word) return &row;
      at = end + 1;
    }
  }
  return nullptr;
}

const CliOptionRow* FindCliOption(CliCommand command, std::string_view word) {
  for (const CliOptionRow& row : Rows)
    if (row.apply && RowOf(row, command) && (row.name == word || (!row.alias.empty() && row.alias == word))) return &row;
  return nullptr;
}

std::string ValueTakes(const CliOptionRow& row) {
  if (row.takes) return row.takes();
  if (row.high > row.low) return Fill(_("{1} to {2}"), {std::to_string(row.low), std::to_string(row.high)});
  return Alternatives(row.values());
}

}  // namespace quillet
