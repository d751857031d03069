#include "cli/CliArgs.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "cli/Words.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "datamatrix/DmEncoder.h"
#include "image/StyledSymbol.h"
#include "qr/QrLevel.h"
#include "qr/QrStandard.h"
#include "symbol/SymbolRequest.h"

namespace {

std::optional<int> ParseInt(std::string_view word, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::vector<std::string> LevelNames() {
  std::vector<std::string> names;
  for (const QrLevelRow& row : QrLevels) names.emplace_back(1, row.letter);
  return names;
}

std::vector<std::string> SegmentsNames() { return {QrSegmentsNames.begin(), QrSegmentsNames.end()}; }

std::optional<QrSegments> ParseSegments(std::string_view word) {
  for (size_t i = 0; i < QrSegmentsNames.size(); ++i)
    if (QrSegmentsNames[i] == word) return static_cast<QrSegments>(i);
  return std::nullopt;
}

std::vector<std::string> OperatorNames() {
  std::vector<std::string> names;
  for (const OperatorFormatSpec& format : OperatorFormats()) names.push_back(std::to_string(format.id));
  return names;
}

int MostTabs() {
  size_t most = 0;
  for (const OperatorFormatSpec& format : OperatorFormats()) most = std::max(most, format.tabs.size());
  return static_cast<int>(most);
}

// Every tab's caption under any format, each once.
std::vector<std::string> TabCaptions() {
  std::vector<std::string> captions;
  for (const OperatorFormatSpec& format : OperatorFormats())
    for (const TabSpec& tab : format.tabs)
      if (std::find(captions.begin(), captions.end(), BareTabCaption(tab)) == captions.end())
        captions.emplace_back(BareTabCaption(tab));
  return captions;
}

// What --type takes: the positions, then the captions.
std::vector<std::string> TabNames() {
  std::vector<std::string> names;
  for (int tab = 0; tab < MostTabs(); ++tab) names.push_back(std::to_string(tab));
  for (std::string& caption : TabCaptions()) names.push_back(std::move(caption));
  return names;
}

// A tab's position, or a caption that some format has: which tab it is
// depends on --operator, which may come later.
std::optional<std::string> ParseTabWord(std::string_view word) {
  if (ParseInt(word, 0, MostTabs() - 1)) return std::string(word);
  for (const OperatorFormatSpec& format : OperatorFormats())
    if (TabOfCaption(format.id, word) >= 0) return std::string(word);
  return std::nullopt;
}

// "0 名片, 1 邮件, ..." of a format.
std::vector<std::string> NumberedTabs(const OperatorFormatSpec& format) {
  std::vector<std::string> tabs;
  for (size_t tab = 0; tab < format.tabs.size(); ++tab)
    tabs.push_back(std::to_string(tab) + " " + std::string(BareTabCaption(format.tabs[tab])));
  return tabs;
}

// A size index by its rows and columns: "10x10", "8x18".
std::string DmSizeName(int size) {
  return std::to_string(DmSizeAttribute(size, SymbolRows)) + "x" + std::to_string(DmSizeAttribute(size, SymbolColumns));
}

std::vector<std::string> DmSizeNames() {
  std::vector<std::string> names{std::string(DmSmallestSquareName), std::string(DmSmallestRectangleName)};
  for (int size = 0; size < DmSizeCount; ++size) names.push_back(DmSizeName(size));
  return names;
}

std::optional<int> ParseDmSize(std::string_view word) {
  if (word == DmSmallestSquareName) return DmSmallestSquare;
  if (word == DmSmallestRectangleName) return DmSmallestRectangle;
  for (int size = 0; size < DmSizeCount; ++size)
    if (word == DmSizeName(size)) return size;
  return ParseInt(word, 0, DmSizeCount - 1);
}

std::string DmSizeChoices() {
  return std::string(DmSmallestSquareName) + ", " + std::string(DmSmallestRectangleName) + ", ROWSxCOLUMNS or 0 to " +
         std::to_string(DmSizeCount - 1);
}

std::vector<std::string> DmSchemeList() { return {DmSchemeNames.begin(), DmSchemeNames.end()}; }

std::optional<int> ParseDmScheme(std::string_view word) {
  for (const DmSchemeName& row : DmSchemeNames)
    if (row.name == word) return row.scheme;
  return std::nullopt;
}

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const ImageFormat& format : ImageFormats()) names.emplace_back(format.name);
  return names;
}

std::optional<const ImageFormat*> ParseFormat(std::string_view word) {
  if (const ImageFormat* format = FindFormatByName(word)) return format;
  return std::nullopt;
}

std::vector<std::string> PaperNames() {
  std::vector<std::string> names;
  for (const PaperSize& paper : PaperSizes) names.emplace_back(paper.name);
  return names;
}

std::vector<std::string> EncodingNames() { return {"utf-8", "gb18030"}; }

// "N=", "M=", ...: what --field starts with, for completion.
std::vector<std::string> FieldTagWords() {
  std::vector<std::string> words;
  for (std::string_view tag : FieldTags) words.push_back(std::string(tag) + "=");
  return words;
}

// Millimetres per module: a positive decimal number, at most a metre.
std::optional<double> ParseMillimetres(std::string_view word) {
  constexpr double MaxModuleMm = 1000.0;
  double value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || !(value > 0) || value > MaxModuleMm) return std::nullopt;
  return value;
}

// --bg takes a colour or "none", a transparent background.
struct Background {
  Rgb colour;
  bool transparent;
};

std::optional<Background> ParseBackground(std::string_view word) {
  if (word == "none") return Background{White, true};
  if (auto colour = ParseColour(word)) return Background{*colour, false};
  return std::nullopt;
}

std::optional<const PaperSize*> ParsePaper(std::string_view word) {
  if (const PaperSize* paper = FindPaperSize(word)) return paper;
  return std::nullopt;
}

// The options whose values are a fixed set: what `values` prints and what
// their messages list.
struct ValueList {
  std::string_view option;
  std::optional<CliCommand> command;  // none: both
  std::vector<std::string> (*names)();
};
const ValueList ValueLists[] = {
    {"--level", CliCommand::Qr, LevelNames},      {"--segments", CliCommand::Qr, SegmentsNames},
    {"--operator", CliCommand::Qr, OperatorNames},
    {"--type", CliCommand::Qr, TabNames},         {"--field", CliCommand::Qr, FieldTagWords},
    {"--size", CliCommand::Dm, DmSizeNames},
    {"--scheme", CliCommand::Dm, DmSchemeList},   {"--format", std::nullopt, FormatNames},
    {"--sheet", std::nullopt, PaperNames},        {"--encoding", std::nullopt, EncodingNames},
};

// The option words of a command, as its help lists them: the lines that start
// with blanks and a dash, up to the description after two blanks.
std::vector<std::string> OptionsOf(CliCommand command) {
  std::vector<std::string> options{"--help"};
  std::istringstream help(CliUsage(command));
  for (std::string line; std::getline(help, line);) {
    const size_t dash = line.find_first_not_of(' ');
    if (dash == 0 || dash == std::string::npos || line[dash] != '-') continue;
    std::istringstream words(line.substr(dash, line.find("  ", dash) - dash));
    for (std::string word; words >> word;)
      if (word[0] == '-' && std::find(options.begin(), options.end(), word) == options.end()) options.push_back(word);
  }
  return options;
}

// Single-character edits, insertions and deletions from one word to the other.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The option a misspelt word most likely meant, or empty: at most two edits
// away, and fewer than half its letters.
std::string NearestOption(const std::vector<std::string>& options, std::string_view word) {
  std::string nearest;
  size_t best = 3;
  for (const std::string& option : options) {
    const size_t distance = EditDistance(word, option);
    if (distance < best && 2 * distance < option.size() - 2) best = distance, nearest = option;
  }
  return nearest;
}

bool Lists(const std::vector<std::string>& options, std::string_view word) {
  return std::find(options.begin(), options.end(), word) != options.end();
}

std::string UnknownOption(CliCommand command, std::string_view word) {
  const std::string name = command == CliCommand::Qr ? "qr" : "dm";
  const std::vector<std::string> options = OptionsOf(command);
  const size_t equals = word.find('=');
  if (word.starts_with("--") && equals != std::string_view::npos && Lists(options, word.substr(0, equals)))
    return "unknown option '" + std::string(word) + "': give the value as a word of its own, " +
           std::string(word.substr(0, equals)) + " " + std::string(word.substr(equals + 1));
  const CliCommand other = command == CliCommand::Qr ? CliCommand::Dm : CliCommand::Qr;
  if (Lists(OptionsOf(other), word))
    return std::string(word) + " is an option of " + (other == CliCommand::Qr ? "qr" : "dm") + ", not of " + name;
  const std::string nearest = NearestOption(options, word);
  return "unknown option '" + std::string(word) + "'" + (nearest.empty() ? "" : " (did you mean " + nearest + "?)");
}

bool IsVersionWord(std::string_view word) { return word == "--version" || word == "-V"; }

std::optional<CliCommand> CommandOfWord(std::string_view word) {
  if (word == "qr") return CliCommand::Qr;
  if (word == "dm") return CliCommand::Dm;
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(std::span<const std::string> args) : args_(args) {}

  CliParseResult Run() {
    if (args_.empty()) return Fail("no command given");
    const std::string_view command = args_[0];
    if (command == "--help" || command == "-h" || command == "help") return Done();
    if (IsVersionWord(command)) {
      options_.command = CliCommand::Version;
      return Done();
    }
    if (command == "values") return Values();
    if (const auto known = CommandOfWord(command)) options_.command = *known;
    else return Fail("unknown command '" + std::string(command) + "' (use qr, dm or read)");
    options_.symbol.symbology = options_.command == CliCommand::Qr ? Symbology::QrCode : Symbology::DataMatrix;
    for (next_ = 1; next_ < args_.size() && error_.empty();) Option(args_[next_++]);
    if (!error_.empty()) return Fail(error_);
    if (options_.helpTopic != CliCommand::Help) {
      options_.command = CliCommand::Help;
      return Done();
    }
    for (auto check : {&Parser::ResolveTab, &Parser::CheckEci, &Parser::CheckComplete, &Parser::ApplyModuleSize,
                       &Parser::CheckStyle})
      if (const std::string problem = (this->*check)(); !problem.empty()) return Fail(problem);
    if (options_.segments) options_.symbol.segments = *options_.segments;
    return Done();
  }

 private:
  // values (qr|dm) OPTION
  CliParseResult Values() {
    const auto command = args_.size() == 3 ? CommandOfWord(args_[1]) : std::nullopt;
    if (!command) return Fail("values takes qr or dm and an option: values qr --level");
    options_.command = CliCommand::Values;
    options_.helpTopic = *command;
    options_.valuesOf = args_[2];
    if (!OptionValues(*command, args_[2])) return Fail(args_[2] + " of " + args_[1] + " takes no fixed set of values");
    return Done();
  }

  void Option(std::string_view name) {
    const bool qr = options_.command == CliCommand::Qr;
    if (name == "--help" || name == "-h") options_.helpTopic = options_.command;
    else if (name == "--text") SetOnce(options_.text, Value(name));
    else if (name == "--utf8-text") SetOnce(options_.text, Value(name)), options_.textUtf8 = true;
    else if (name == "--eci") options_.symbol.eci = true;
    else if (name == "--data-file") SetOnce(options_.dataFile, Value(name));
    else if (name == "--dump") options_.dump = true;
    else if (name == "-o" || name == "--output") SetOnce(options_.outputFile, Value(name));
    else if (name == "--format") Parsed(name, ParseFormat, options_.format, JoinNames(FormatNames()));
    else if (name == "--scale") Number(name, MinScale, MaxScale, options_.image.scale), scaleGiven_ = true;
    else if (name == "--module-mm") {
      Parsed(name, ParseMillimetres, options_.moduleMm, "a size in millimetres such as 0.5");
      if (error_.empty()) moduleMmWord_ = args_[next_ - 1];
    }
    else if (name == "--verify") options_.verify = true;
    else if (name == "--quiet-zone") Number(name, 0, MaxQuietZoneModules, options_.image.quietZone);
    else if (name == "--dpi") Number(name, MinDpi, MaxDpi, options_.image.dpi);
    else if (qr && name == "--level")
      Parsed(name, ParseQrLevel, options_.symbol.level, JoinNames(LevelNames())), levelGiven_ = true;
    else if (name == "--fg") Parsed(name, ParseColour, options_.image.style.foreground, "a colour #RRGGBB");
    else if (name == "--bg") BackgroundColour(name);
    else if (name == "--allow-low-contrast") options_.contrast.lowContrast = true;
    else if (name == "--allow-inverted") options_.contrast.inverted = true;
    else if (name == "--logo" || name == "--logo-size") Logo(name, qr);
    else if (qr && name == "--version") Number(name, 0, qr::MaxVersion, options_.symbol.version);
    else if (qr && name == "--segments") Parsed(name, ParseSegments, options_.segments, JoinNames(QrSegmentsNames));
    else if (qr && name == "--operator") Content(), Number(name, 1, OperatorFormatCount, options_.operatorFormat);
    else if (qr && name == "--type")
      Content(), Parsed(name, ParseTabWord, tabWord_, "a tab's position (0 to " + std::to_string(MostTabs() - 1) +
                                                          ") or caption (" + JoinNames(TabCaptions()) + ")");
    else if (qr && name == "--field") Content(), Field(Value(name));
    else if (name == "--batch") BatchInput(Value(name));
    else if (name == "--name") Batch(name).nameTemplate = Value(name);
    else if (name == "--jobs") Number(name, 1, MaxBatchJobs, Batch(name).jobs);
    else if (name == "--manifest") Batch(name).manifest = std::string(Value(name));
    else if (name == "--encoding") Parsed(name, ParseTextEncoding, Batch(name).encoding, JoinNames(EncodingNames()));
    else if (name == "--sheet") Parsed(name, ParsePaper, Batch(name).sheet, PaperSizeNames());
    else if (name == "--columns") Number(name, 1, MaxSheetCells, Batch(name).columns);
    else if (name == "--rows") Number(name, 1, MaxSheetCells, Batch(name).rows);
    else if (name == "--caption") Batch(name).caption = Value(name);
    else if (!qr && name == "--size") Parsed(name, ParseDmSize, options_.symbol.dmSize, DmSizeChoices());
    else if (!qr && name == "--scheme")
      Parsed(name, ParseDmScheme, options_.symbol.dmScheme, JoinNames(DmSchemeNames)), schemeGiven_ = true;
    else error_ = UnknownOption(options_.command, name);
  }
  std::string_view Value(std::string_view name) {
    if (next_ >= args_.size()) {
      error_ = std::string(name) + " needs a value";
      return {};
    }
    return args_[next_++];
  }

  void SetOnce(std::optional<std::string>& slot, std::string_view value) {
    if (!error_.empty()) return;
    if (slot) error_ = "an input or output option is given twice";
    slot = std::string(value);
  }

  void Number(std::string_view name, int low, int high, int& target) {
    Parsed(name, [low, high](std::string_view w) { return ParseInt(w, low, high); }, target,
           std::to_string(low) + " to " + std::to_string(high));
  }

  template <typename ParseFn, typename T>
  void Parsed(std::string_view name, ParseFn parse, T& target, const std::string& expected) {
    const std::string_view word = Value(name);
    if (!error_.empty()) return;
    if (auto value = parse(word)) target = static_cast<T>(std::move(*value));
    else error_ = std::string(name) + " takes " + expected + ", not '" + std::string(word) + "'";
  }

  void Content() { options_.contentMode = true; }

  void BackgroundColour(std::string_view name) {
    std::optional<Background> background;
    Parsed(name, ParseBackground, background, "a colour #RRGGBB or none (transparent)");
    if (!background) return;
    options_.image.style.background = background->colour;
    options_.image.style.transparentBackground = background->transparent;
  }

  void Logo(std::string_view name, bool qr) {
    if (!qr) {
      error_ = std::string(name) + ": Data Matrix symbols carry no logo; a logo goes in a QR Code (qr)";
      return;
    }
    if (name == "--logo") SetOnce(options_.logoFile, Value(name));
    else Parsed(name, ParseLogoShare, options_.image.style.logoShare, LogoShareWords());
  }

  // Colours that scanners can tell apart, the logo's options together, and
  // the strongest level for a logo unless the user chose one.
  std::string CheckStyle() {
    const SymbolStyle& style = options_.image.style;
    if (style.logoShare && !options_.logoFile) return "--logo-size goes with --logo FILE";
    if (options_.batch && options_.batch->sheet && (style.HasColours() || options_.logoFile))
      return "a label sheet prints plain symbols: no --fg, --bg or --logo with --sheet";
    if (const StyleCheck check = CheckContrast(style, options_.contrast); !check.Ok()) return DescribeStyleCheck(check);
    if (options_.logoFile) options_.symbol.level = LevelWithLogo(levelGiven_, options_.symbol.level);
    return {};
  }

  // `option` only goes with --batch; the first such one is named when --batch is missing.
  CliBatchOptions& Batch(std::string_view option = {}) {
    if (batchOnly_.empty()) batchOnly_ = option;
    if (!options_.batch) options_.batch.emplace();
    return *options_.batch;
  }

  void BatchInput(std::string_view input) {
    if (!error_.empty()) return;
    if (!Batch().input.empty()) error_ = "--batch is given twice";
    Batch().input = std::string(input);
  }

  void Field(std::string_view word) {
    if (!error_.empty()) return;
    const size_t equals = word.find('=');
    if (equals == std::string_view::npos || equals == 0) {
      error_ = "--field takes TAG=VALUE, not '" + std::string(word) + "'";
      return;
    }
    options_.fields.emplace_back(std::string(word.substr(0, equals)), std::string(word.substr(equals + 1)));
  }

  // --type by caption means the tab of that caption under --operator.
  std::string ResolveTab() {
    if (!tabWord_) return {};
    const OperatorFormatSpec& format = *FindOperatorFormat(options_.operatorFormat);
    const auto position = ParseInt(*tabWord_, 0, MostTabs() - 1);
    options_.tab = position ? *position : TabOfCaption(format.id, *tabWord_);
    if (FindTab(format.id, options_.tab)) return {};
    return "--type " + *tabWord_ + " is not a tab of " + std::string(format.caption) + "; its tabs are " +
           JoinNames(NumberedTabs(format), ", ", ", ");
  }

  // The ECI names the text's character set: a file's bytes have none, and
  // in a Data Matrix only ASCII codewords can follow it where they stand.
  std::string CheckEci() {
    if (!options_.symbol.eci) return {};
    if (options_.dataFile) return "--eci names the character set of a text: it goes with --text or --utf8-text, not --data-file";
    if (options_.command != CliCommand::Dm) return {};
    if (schemeGiven_ && options_.symbol.dmScheme != Ascii) return "--eci takes the ascii scheme: give --scheme ascii or none";
    options_.symbol.dmScheme = Ascii;
    return {};
  }

  std::string CheckComplete() {
    if (options_.batch) return CheckBatch();
    const int inputs = (options_.text ? 1 : 0) + (options_.dataFile ? 1 : 0) + (options_.contentMode ? 1 : 0);
    if (inputs == 0)
      return options_.command == CliCommand::Qr ? "give --text, --utf8-text, --data-file or content fields (--field)"
                                                : "give --text, --utf8-text or --data-file";
    if (inputs > 1) return "give only one of --text, --utf8-text, --data-file and content fields";
    if (options_.contentMode && options_.segments && IsGeneralFormat(options_.operatorFormat))
      return "通用格式 always takes the optimal segments: --segments goes with --text or --data-file";
    if (options_.contentMode && options_.segments == QrSegments::Optimal)
      return "content fields are written in one segment, as the QR page writes them: "
             "--segments optimal goes with --text or --data-file";
    if (!options_.dump && !options_.outputFile) return "nothing to do: give --dump, -o FILE or both";
    if (options_.verify && !options_.outputFile) return "--verify checks an image: give -o FILE";
    if (options_.outputFile) return CheckOutput(*options_.outputFile);
    if (options_.format) return "--format needs -o: -o - for standard output";
    return {};
  }

  // --operator and --type choose the page; the rows give the rest.
  std::string CheckBatch() {
    if (options_.batch->input.empty()) return std::string(batchOnly_) + " goes with --batch INPUT";
    if (options_.text || options_.dataFile || !options_.fields.empty())
      return "--batch takes the symbols' data from its rows: no --text, --utf8-text, --data-file or --field";
    if (options_.segments) return "--segments goes with --text or --data-file, not --batch";
    if (options_.dump || options_.format) return "--batch writes files: no --dump or --format (the name's extension is the format)";
    if (!options_.outputFile || *options_.outputFile == StandardStream) return "--batch needs -o DIR, the folder for the files";
    return CheckSheet(*options_.batch);
  }

  // A label sheet is one PDF laid out in a grid; its options go together.
  std::string CheckSheet(const CliBatchOptions& batch) const {
    if (!batch.sheet) {
      if (batch.columns || batch.rows || !batch.caption.empty()) return "--columns, --rows and --caption go with --sheet";
      return {};
    }
    if (!batch.columns || !batch.rows) return "--sheet needs --columns C and --rows R";
    if (batch.nameTemplate != NameTemplate::Default) return "--sheet writes one PDF: no --name";
    if (FindFormatForFile(*options_.outputFile) != FindFormatByName("pdf"))
      return "--sheet writes a PDF: give -o FILE.pdf";
    return {};
  }

  // A file's format follows its extension; --format must agree with it.
  std::string CheckOutput(const std::string& output) const {
    if (output == StandardStream)
      return options_.dump ? "--dump and -o - both write to standard output; give one of them" : "";
    const ImageFormat* format = FindFormatForFile(output);
    if (format == nullptr)
      return "cannot tell the image format of '" + output + "': use the extension " + KnownExtensions(", ", " or ") +
             ", or -o - with --format";
    if (options_.format && options_.format != format)
      return "--format " + std::string(options_.format->name) + " does not match the extension of '" + output + "'";
    return {};
  }

  // --module-mm with --dpi gives the scale: the nearest whole pixels.
  std::string ApplyModuleSize() {
    const ImageFormat* format = options_.format ? options_.format : FindFormatForFile(options_.outputFile.value_or(""));
    if (options_.verify && format && format->extensions.empty())
      return "--verify checks an image file; " + std::string(format->name) + " is text";
    if (!options_.moduleMm) return {};
    if (scaleGiven_) return "give --scale or --module-mm, not both";
    const ModuleScale scale = ScaleForModuleMillimetres(*options_.moduleMm, options_.image.dpi);
    if (scale.scale > MaxScale)
      return "--module-mm " + std::string(moduleMmWord_) + " at --dpi " +
             std::to_string(options_.image.dpi) + " is " + std::to_string(scale.scale) +
             " pixels per module; the most is " + std::to_string(MaxScale) + ": give a lower --dpi";
    options_.image.scale = scale.scale;
    options_.scaleNotice = DescribeModuleScale(scale);
    return {};
  }

  CliParseResult Fail(std::string message) { return {std::nullopt, std::move(message), options_.command}; }
  CliParseResult Done() { return {options_, {}, options_.command}; }

  std::span<const std::string> args_;
  size_t next_ = 0;
  CliOptions options_;
  std::string error_;
  bool scaleGiven_ = false;
  bool levelGiven_ = false;
  bool schemeGiven_ = false;
  std::string_view moduleMmWord_;
  std::optional<std::string> tabWord_;
  std::string_view batchOnly_;
};

}  // namespace

CliParseResult ParseCliArgs(std::span<const std::string> args) { return Parser(args).Run(); }

std::string ExpandLineBreaks(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else {
      out += value[i];
    }
  }
  return out;
}

namespace {

constexpr std::string_view QrUsage = R"(Usage: quillet-cli qr [options] (--text TEXT | --utf8-text TEXT | --data-file FILE | content fields) (--dump | -o FILE)
       quillet-cli qr [options] --batch INPUT -o DIR

Encodes a QR Code symbol.

Input (exactly one):
{textInputs}
  content fields       compose a payload as the QR page does:
    --operator {operatorIds}
{operators}
    --type TAB         the content type: its tab's caption or position from 0, the
                       left-most (default 0); the tabs under each --operator:
{tabs}
    --field TAG=VALUE  a field by its tag; repeatable; \n in VALUE is a line break
                       (CR LF); the tags: {tags}

Symbol:
  --level {levels}      error-correction level (default {defaultLevel})
  --version N          smallest version to use, 1 to {maxVersion}; 0 = automatic (default)
  --segments {segments}
                       optimal (default): numeric, alphanumeric and byte segments
                       wherever they make a smaller symbol; single: one segment,
                       as the QR page writes it (operator formats' fields always
                       are; 通用格式 always takes the optimal segments)
{eci}{eciContent}
{output}
{batch}
  Each later row is one symbol composed as the QR page composes it under --operator
  and --type: a column is a field by its tag (N, M, TEL, ... any case) or its caption
  (姓名, 手机, 邮箱, ...). A column named text instead gives one raw symbol per row.

Examples:
  quillet-cli qr --operator 3 --type 8 --field TEXT=hello -o hello.png
  quillet-cli qr --batch cards.csv -o cards --name '{row}-{姓名}.png'

Exit status: 0 done, 1 bad usage, unreadable input or a bad header, 2 the data fits
no version, 3 the image file or the output folder could not be written, 4 some rows
of a batch failed, 5 the image does not read back (--verify).
)";

constexpr std::string_view DmUsage = R"(Usage: quillet-cli dm [options] (--text TEXT | --utf8-text TEXT | --data-file FILE) (--dump | -o FILE)
       quillet-cli dm [options] --batch INPUT -o DIR

Encodes a Data Matrix ECC 200 symbol.

Input (exactly one):
{textInputs}

Symbol:
  --size SIZE          {sizes}
                       (auto = the smallest square (default), rect = the smallest rectangle;
                       {sizeIndices})
  --scheme NAME        {schemes}
                       (default smallest; ascii with --eci)
{eci}
{output}
{batch}
  Each later row is one symbol from its column named text.

Examples:
  quillet-cli dm --text "Hello, world" -o hello.png
  quillet-cli dm --batch serials.tsv -o labels --name '{serial}.svg'

Exit status: 0 done, 1 bad usage, unreadable input or a bad header, 2 the text cannot
be encoded in the scheme or fits no size allowed by --size, 3 the image file or the
output folder could not be written, 4 some rows of a batch failed, 5 the image
does not read back (--verify).
)";

constexpr std::string_view TextInputUsage = R"(  --text TEXT          UTF-8 text, encoded as its code page 936 (GBK) bytes
  --utf8-text TEXT     UTF-8 text, encoded as its UTF-8 bytes
  --data-file FILE     the file's bytes exactly as they are; - reads standard input)";

constexpr std::string_view EciUsage = R"(  --eci                begin the symbol with an ECI naming the text's character set:
                       {eciCodePage936} for code page 936 (--text), {eciUtf8} for UTF-8 (--utf8-text);
                       off by default, as some readers show it as text or
                       refuse the symbol)";

constexpr std::string_view OutputUsage = R"(
Output (one or both):
  --dump               print the symbol's header line and rows, 1 dark, 0 light
  -o FILE              write an image; the format follows the extension
                       ({extensions}); -o - writes to standard output
  --format NAME        the format for -o -: {formats}
                       (default png); utf8 and utf8i draw the symbol in the
                       terminal: utf8 for a dark background (light modules as
                       blocks), utf8i for a light one (dark modules as blocks)
  --scale S            pixels per module, {minScale} to {maxScale} (default {scale})
  --quiet-zone N       light modules around the symbol (default {quiet})
  --module-mm X        module size in millimetres instead of --scale: the whole
                       pixels nearest X at --dpi (said when more than 5 % off)
  --dpi N              resolution recorded in the file (default {dpi}); with
                       --module-mm also the one the scale is worked out for
  --verify             read the written image back with independent decoders
                       (zxing-cpp, zbar, libdmtx) and fail with status 5 when
                       it does not give the encoded bytes

Style (every styled symbol is read back by every decoder before it is written;
one that does not give the encoded bytes is not written, status 5):
  --fg COLOUR          dark modules, #RRGGBB (default #000000)
  --bg COLOUR          light modules and quiet zone, #RRGGBB or none for a
                       transparent background (default #ffffff; JPEG and BMP
                       keep no transparency and are written on white)
  --allow-low-contrast colours closer than a contrast ratio of {minContrast}:1
  --allow-inverted     light modules on a dark background, which many readers
                       do not try{logo}
)";

constexpr std::string_view BatchUsage = R"(Batch (instead of the input and output above):
  --batch INPUT        one file per row of a CSV file (TSV when it ends in .tsv; - reads
                       standard input); the first row names the columns
  -o DIR               the folder for the files, created when missing
  --name TEMPLATE      file names: {row} the row's number (zero-padded), {COLUMN} a
                       column's value made safe; the extension is the format
                       (default {defaultName})
  --jobs N             threads that encode and write (default: one per hardware thread)
  --manifest FILE      a CSV of row, file, symbol and status (- for standard output)
  --encoding NAME      utf-8 or gb18030 (default: UTF-8 unless the input is not valid UTF-8)
  --verify             read every file back; a row that does not read back fails
  --sheet PAPER        instead of files, one label sheet: -o FILE.pdf, PAPER {papers};
    --columns C        the symbols in a grid of C columns and R rows a page, each at
    --rows R           its physical size (--scale or --module-mm at --dpi), centred
                       in its cell, with equal margins, on as many pages as needed
    --caption TEMPLATE the text under each symbol, {row} and {COLUMN} as in --name
)";

constexpr std::string_view OverviewUsage = R"(Usage: quillet-cli (qr | dm | read) [options]

  quillet-cli qr --help    QR Code symbols, from text, a file or content fields
  quillet-cli dm --help    Data Matrix symbols
  quillet-cli read [--raw | --csv] FILE...
                           the symbols in images, as fields (read --help)
  quillet-cli --version    the program's version
  quillet-cli values (qr | dm) OPTION
                           the values OPTION takes, one a line (for completion)
)";

// "0 = 10x10 ... 23 = 144x144, 24 to 29 the rectangles"
std::string DmSizeIndices() {
  const int lastSquare = DmSquareSizeCount - 1;
  return "0 = " + DmSizeName(0) + " ... " + std::to_string(lastSquare) + " = " + DmSizeName(lastSquare) + ", " +
         std::to_string(DmSquareSizeCount) + " to " + std::to_string(DmSizeCount - 1) + " the rectangles";
}

// Display columns of UTF-8 text: two for CJK characters, one for others.
size_t DisplayWidth(std::string_view text) {
  size_t width = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) width += byte >= 0xE1 ? 2 : 1;
  }
  return width;
}

// "1: 0 名片, 1 邮件, ..." for every format, wrapped to 80 columns.
std::string TabLists() {
  constexpr size_t Indent = 23, Width = 80;
  std::string text;
  for (const OperatorFormatSpec& format : OperatorFormats()) {
    std::string line = std::string(Indent, ' ') + std::to_string(format.id) + ":";
    const std::vector<std::string> tabs = NumberedTabs(format);
    for (size_t i = 0; i < tabs.size(); ++i) {
      const std::string item = " " + tabs[i] + (i + 1 < tabs.size() ? "," : "");
      if (DisplayWidth(line) + DisplayWidth(item) > Width) text += line + "\n", line = std::string(Indent + 2, ' ');
      line += item;
    }
    text += line + "\n";
  }
  text.pop_back();
  return text;
}

// "                       1 = 中国移动v1.0 (default), ..." one format a line,
// the general one saying what it writes.
std::string OperatorLines() {
  std::string text;
  for (const OperatorFormatSpec& format : OperatorFormats()) {
    text += std::string(23, ' ') + std::to_string(format.id) + " = " + std::string(format.caption);
    if (format.id == CliOptions{}.operatorFormat) text += " (default)";
    text += format.composition == Composition::General ? ": UTF-8 forms every phone camera opens\n"
                                                       : ": tag:value pairs behind 0x01 0x10\n";
  }
  text.pop_back();
  return text;
}

// Every field tag, wrapped under the --field line.
std::string TagList() {
  constexpr size_t Indent = 23, Width = 80, FirstLine = 40;
  std::string text, line;
  size_t room = Width - FirstLine;
  for (size_t slot = 0; slot < FieldTags.size(); ++slot) {
    const std::string item = std::string(FieldTags[slot]) + (slot + 1 < FieldTags.size() ? "," : "");
    if (line.size() + 1 + item.size() > room) {
      text += line + "\n" + std::string(Indent, ' ');
      line.clear();
      room = Width - Indent;
    }
    line += (line.empty() ? "" : " ") + item;
  }
  return text + line;
}

void Replace(std::string& text, std::string_view placeholder, std::string_view value) {
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
}

constexpr std::string_view LogoUsage = R"(
  --logo FILE          a logo (PNG, JPEG or SVG) centred on a pad of light
                       modules; raises the level to H unless --level is given
  --logo-size SHARE    the pad's side as a share of the symbol's, {logoShares};
                       at most what the level can repair: in no block more than
                       half of what its error correction corrects (default: about
                       three quarters of the largest side the symbol allows))";

std::string Filled(std::string_view pattern, bool qr) {
  std::string text(pattern);
  Replace(text, "{textInputs}", TextInputUsage);
  Replace(text, "{eci}", EciUsage);
  Replace(text, "{eciContent}", "\n                       (content fields: " + std::to_string(EciCodePage936) +
                                    " for the operator formats, " + std::to_string(EciUtf8) + " for 通用格式)");
  Replace(text, "{eciCodePage936}", std::to_string(EciCodePage936));
  Replace(text, "{eciUtf8}", std::to_string(EciUtf8));
  Replace(text, "{operatorIds}", JoinNames(OperatorNames(), "|", "|"));
  Replace(text, "{operators}", OperatorLines());
  Replace(text, "{tags}", TagList());
  Replace(text, "{output}", OutputUsage);
  Replace(text, "{logo}", qr ? LogoUsage : "");
  Replace(text, "{logoShares}", LogoShareWords());
  Replace(text, "{batch}", BatchUsage);
  Replace(text, "{papers}", PaperSizeNames());
  Replace(text, "{defaultName}", NameTemplate::Default);
  Replace(text, "{tabs}", TabLists());
  Replace(text, "{levels}", JoinNames(LevelNames(), "|", "|"));
  Replace(text, "{defaultLevel}", std::string(1, QrLevelLetter(DefaultQrLevel)));
  Replace(text, "{maxVersion}", std::to_string(qr::MaxVersion));
  Replace(text, "{segments}", JoinNames(QrSegmentsNames, "|", "|"));
  Replace(text, "{sizes}", DmSizeChoices());
  Replace(text, "{schemes}", JoinNames(DmSchemeNames));
  Replace(text, "{sizeIndices}", DmSizeIndices());
  Replace(text, "{extensions}", KnownExtensions(" ", " "));
  Replace(text, "{formats}", JoinNames(FormatNames()));
  Replace(text, "{scale}", std::to_string(ImageOptions{}.scale));
  Replace(text, "{minScale}", std::to_string(MinScale));
  Replace(text, "{maxScale}", std::to_string(MaxScale));
  Replace(text, "{quiet}", std::to_string(SavedQuietZoneModules));
  Replace(text, "{dpi}", std::to_string(DefaultDpi));
  Replace(text, "{minContrast}", std::to_string(static_cast<int>(MinContrastRatio)));
  return text;
}

}  // namespace

std::string CliUsage(CliCommand topic) {
  switch (topic) {
    case CliCommand::Qr: return Filled(QrUsage, true);
    case CliCommand::Dm: return Filled(DmUsage, false);
    case CliCommand::Help:
    case CliCommand::Version:
    case CliCommand::Values: break;
  }
  return std::string(OverviewUsage);
}

std::string CliShortUsage(CliCommand topic) {
  const std::string usage = CliUsage(topic);
  const std::string command = topic == CliCommand::Qr ? "qr " : topic == CliCommand::Dm ? "dm " : "";
  return usage.substr(0, usage.find("\n\n") + 1) + "Try 'quillet-cli " + command + "--help'\n";
}

std::optional<std::vector<std::string>> OptionValues(CliCommand command, std::string_view option) {
  for (const ValueList& list : ValueLists)
    if (list.option == option && list.command.value_or(command) == command) return list.names();
  return std::nullopt;
}
