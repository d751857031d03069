#include "cli/CliArgs.h"

#include <charconv>

#include "content/Catalogue.h"
#include "datamatrix/DmEncoder.h"
#include "qr/QrStandard.h"

namespace {

std::optional<int> ParseInt(std::string_view word, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
  return value;
}

// "a, b or c" of a list of names, or with other separators "a|b|c".
template <typename Names>
std::string OneOf(const Names& names, std::string_view separator = ", ", std::string_view lastSeparator = " or ") {
  std::string text;
  for (size_t i = 0; i < std::size(names); ++i) {
    if (i > 0) text += i + 1 == std::size(names) ? lastSeparator : separator;
    text += names[i];
  }
  return text;
}

std::vector<std::string> LevelNames() {
  std::vector<std::string> names;
  for (const char letter : qr::LevelsShown) names.emplace_back(1, letter);
  return names;
}

std::optional<char> ParseLevel(std::string_view word) {
  if (word.size() != 1) return std::nullopt;
  const char upper = static_cast<char>(word[0] & ~0x20);
  if (qr::LevelsShown.find(upper) == std::string_view::npos) return std::nullopt;
  return upper;
}

// A size index by its rows and columns: "10x10", "8x18".
std::string DmSizeName(int size) {
  return std::to_string(DmSizeAttribute(size, SymbolRows)) + "x" + std::to_string(DmSizeAttribute(size, SymbolColumns));
}

std::optional<int> ParseDmSizeName(std::string_view word) {
  for (int size = 0; size < DmSizeCount; ++size)
    if (word == DmSizeName(size)) return size;
  return std::nullopt;
}

std::optional<int> ParseDmSize(std::string_view word) {
  if (word == DmSmallestSquareName) return DmSmallestSquare;
  if (word == DmSmallestRectangleName) return DmSmallestRectangle;
  if (const auto named = ParseDmSizeName(word)) return named;
  return ParseInt(word, 0, DmSizeCount - 1);
}

std::string DmSizeChoices() {
  return std::string(DmSmallestSquareName) + ", " + std::string(DmSmallestRectangleName) + ", ROWSxCOLUMNS or 0 to " +
         std::to_string(DmSizeCount - 1);
}

std::optional<int> ParseDmScheme(std::string_view word) {
  for (const DmSchemeName& row : DmSchemeNames)
    if (row.name == word) return row.scheme;
  return std::nullopt;
}

std::vector<std::string_view> FormatNames() {
  std::vector<std::string_view> names;
  for (const ImageFormat& format : ImageFormats()) names.push_back(format.name);
  return names;
}

std::optional<const ImageFormat*> ParseFormat(std::string_view word) {
  if (const ImageFormat* format = FindFormatByName(word)) return format;
  return std::nullopt;
}

// Millimetres per module: a positive decimal number, at most a metre.
std::optional<double> ParseMillimetres(std::string_view word) {
  constexpr double MaxModuleMm = 1000.0;
  double value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || !(value > 0) || value > MaxModuleMm) return std::nullopt;
  return value;
}

std::optional<const PaperSize*> ParsePaper(std::string_view word) {
  if (const PaperSize* paper = FindPaperSize(word)) return paper;
  return std::nullopt;
}

bool IsVersionWord(std::string_view word) { return word == "--version" || word == "-V"; }

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
    if (command == "qr") options_.command = CliCommand::Qr;
    else if (command == "dm") options_.command = CliCommand::Dm;
    else return Fail("unknown command '" + std::string(command) + "' (use qr or dm)");
    for (next_ = 1; next_ < args_.size() && error_.empty();) Option(args_[next_++]);
    if (!error_.empty()) return Fail(error_);
    if (options_.helpTopic != CliCommand::Help) {
      options_.command = CliCommand::Help;
      return Done();
    }
    if (const std::string problem = CheckComplete(); !problem.empty()) return Fail(problem);
    if (const std::string problem = ApplyModuleSize(); !problem.empty()) return Fail(problem);
    return Done();
  }

 private:
  void Option(std::string_view name) {
    const bool qr = options_.command == CliCommand::Qr;
    if (name == "--help" || name == "-h") options_.helpTopic = options_.command;
    else if (name == "--text") SetOnce(options_.text, Value(name));
    else if (name == "--data-file") SetOnce(options_.dataFile, Value(name));
    else if (name == "--dump") options_.dump = true;
    else if (name == "-o" || name == "--output") SetOnce(options_.outputFile, Value(name));
    else if (name == "--format") Parsed(name, ParseFormat, options_.format, OneOf(FormatNames()));
    else if (name == "--scale") Number(name, MinScale, MaxScale, options_.image.scale), scaleGiven_ = true;
    else if (name == "--module-mm") {
      Parsed(name, ParseMillimetres, options_.moduleMm, "a size in millimetres such as 0.5");
      if (error_.empty()) moduleMmWord_ = args_[next_ - 1];
    }
    else if (name == "--verify") options_.verify = true;
    else if (name == "--quiet-zone") Number(name, 0, MaxQuietZoneModules, options_.image.quietZone);
    else if (name == "--dpi") Number(name, MinDpi, MaxDpi, options_.image.dpi);
    else if (qr && name == "--level") Parsed(name, ParseLevel, options_.level, OneOf(LevelNames()));
    else if (qr && name == "--version") Number(name, 0, qr::MaxVersion, options_.version);
    else if (qr && name == "--operator") Content(), Number(name, 1, OperatorFormatCount, options_.operatorFormat);
    else if (qr && name == "--type") Content(), Number(name, 0, MaxTabsPerFormat - 1, options_.tab);
    else if (qr && name == "--field") Content(), Field(Value(name));
    else if (name == "--batch") BatchInput(Value(name));
    else if (name == "--name") Batch().nameTemplate = Value(name);
    else if (name == "--jobs") Number(name, 1, MaxBatchJobs, Batch().jobs);
    else if (name == "--manifest") Batch().manifest = std::string(Value(name));
    else if (name == "--encoding") Parsed(name, ParseTextEncoding, Batch().encoding, "utf-8 or gb18030");
    else if (name == "--sheet") Parsed(name, ParsePaper, Batch().sheet, PaperSizeNames());
    else if (name == "--columns") Number(name, 1, MaxSheetCells, Batch().columns);
    else if (name == "--rows") Number(name, 1, MaxSheetCells, Batch().rows);
    else if (name == "--caption") Batch().caption = Value(name);
    else if (!qr && name == "--size") Parsed(name, ParseDmSize, options_.dmSize, DmSizeChoices());
    else if (!qr && name == "--scheme") Parsed(name, ParseDmScheme, options_.dmScheme, OneOf(DmSchemeNames));
    else error_ = "unknown option '" + std::string(name) + "'";
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
    if (const auto value = parse(word)) target = static_cast<T>(*value);
    else error_ = std::string(name) + " takes " + expected + ", not '" + std::string(word) + "'";
  }

  void Content() { options_.contentMode = true; }

  CliBatchOptions& Batch() {
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

  std::string CheckComplete() const {
    if (options_.batch) return CheckBatch();
    const int inputs = (options_.text ? 1 : 0) + (options_.dataFile ? 1 : 0) + (options_.contentMode ? 1 : 0);
    if (inputs == 0)
      return options_.command == CliCommand::Qr ? "give --text, --data-file or content fields (--field)"
                                                : "give --text or --data-file";
    if (inputs > 1) return "give only one of --text, --data-file and content fields";
    if (!options_.dump && !options_.outputFile) return "nothing to do: give --dump, -o FILE or both";
    if (options_.verify && !options_.outputFile) return "--verify checks an image: give -o FILE";
    if (options_.outputFile) return CheckOutput(*options_.outputFile);
    if (options_.format) return "--format needs -o: -o - for standard output";
    return {};
  }

  // --operator and --type choose the page; the rows give the rest.
  std::string CheckBatch() const {
    if (options_.batch->input.empty()) return "--name, --jobs, --manifest and --encoding go with --batch INPUT";
    if (options_.text || options_.dataFile || !options_.fields.empty())
      return "--batch takes the symbols' data from its rows: no --text, --data-file or --field";
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
    options_.scaleNotice = scale.notice;
    return {};
  }

  CliParseResult Fail(std::string message) { return {std::nullopt, std::move(message), options_.command}; }
  CliParseResult Done() { return {options_, {}, options_.command}; }

  std::span<const std::string> args_;
  size_t next_ = 0;
  CliOptions options_;
  std::string error_;
  bool scaleGiven_ = false;
  std::string_view moduleMmWord_;
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

constexpr std::string_view QrUsage = R"(Usage: quillet-cli qr [options] (--text TEXT | --data-file FILE | content fields) (--dump | -o FILE)
       quillet-cli qr [options] --batch INPUT -o DIR

Encodes a QR Code symbol.

Input (exactly one):
  --text TEXT          UTF-8 text, encoded as its code page 936 (GBK) bytes
  --data-file FILE     the file's bytes exactly as they are; - reads standard input
  content fields       compose a payload as the QR page does, with 0x01 0x10 in front:
    --operator 1|2|3   1 = 中国移动v1.0 (default), 2 = 中国移动v2.0, 3 = 中国联通
    --type TAB         tab position of the content type, 0 = the left-most (default)
    --field TAG=VALUE  a field by its tag (N, M, TEL, EM, ... TEXT); repeatable;
                       \n in VALUE is a line break (CR LF)

Symbol:
  --level {levels}      error-correction level (default M)
  --version N          smallest version to use, 1 to {maxVersion}; 0 = automatic (default)
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

constexpr std::string_view DmUsage = R"(Usage: quillet-cli dm [options] (--text TEXT | --data-file FILE) (--dump | -o FILE)

Encodes a Data Matrix ECC 200 symbol.

Input (exactly one):
  --text TEXT          UTF-8 text, encoded as its code page 936 (GBK) bytes
  --data-file FILE     the file's bytes exactly as they are; - reads standard input

Symbol:
  --size SIZE          {sizes}
                       (auto = the smallest square (default), rect = the smallest rectangle;
                       {sizeIndices})
  --scheme NAME        {schemes} (default smallest)
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

constexpr std::string_view OutputUsage = R"(
Output (one or both):
  --dump               print the symbol's header line and rows, 1 dark, 0 light
  -o FILE              write an image; the format follows the extension
                       ({extensions}); -o - writes to standard output
  --format NAME        the format for -o -: {formats} (default png);
                       utf8 draws the symbol in the terminal (light modules as blocks)
  --scale S            pixels per module, {minScale} to {maxScale} (default 4)
  --quiet-zone N       light modules around the symbol (default {quiet})
  --module-mm X        module size in millimetres instead of --scale: the whole
                       pixels nearest X at --dpi (said when more than 5 % off)
  --dpi N              resolution recorded in the file (default {dpi}); with
                       --module-mm also the one the scale is worked out for
  --verify             read the written image back with independent decoders
                       (zxing-cpp, zbar, libdmtx) and fail with status 5 when
                       it does not give the encoded bytes
)";

constexpr std::string_view BatchUsage = R"(Batch (instead of the input and output above):
  --batch INPUT        one file per row of a CSV file (TSV when it ends in .tsv; - reads
                       standard input); the first row names the columns
  -o DIR               the folder for the files, created when missing
  --name TEMPLATE      file names: {row} the row's number (zero-padded), {COLUMN} a
                       column's value made safe; the extension is the format
                       (default {defaultName})
  --jobs N             threads that encode and write (default: one per hardware thread)
  --manifest FILE      a CSV of row, file, symbol and status
  --encoding NAME      utf-8 or gb18030 (default: UTF-8 unless the input is not valid UTF-8)
  --verify             read every file back; a row that does not read back fails
  --sheet PAPER        instead of files, one label sheet: -o FILE.pdf, PAPER {papers};
    --columns C        the symbols in a grid of C columns and R rows a page, each at
    --rows R           its physical size (--scale or --module-mm at --dpi), centred
                       in its cell, with equal margins, on as many pages as needed
    --caption TEMPLATE the text under each symbol, {row} and {COLUMN} as in --name
)";

constexpr std::string_view OverviewUsage = R"(Usage: quillet-cli (qr | dm) [options]

  quillet-cli qr --help    QR Code symbols, from text, a file or content fields
  quillet-cli dm --help    Data Matrix symbols
  quillet-cli --version    the program's version
)";

// "0 = 10x10 ... 23 = 144x144, 24 to 29 the rectangles"
std::string DmSizeIndices() {
  const int lastSquare = DmSquareSizeCount - 1;
  return "0 = " + DmSizeName(0) + " ... " + std::to_string(lastSquare) + " = " + DmSizeName(lastSquare) + ", " +
         std::to_string(DmSquareSizeCount) + " to " + std::to_string(DmSizeCount - 1) + " the rectangles";
}

void Replace(std::string& text, std::string_view placeholder, std::string_view value) {
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
}

std::string Filled(std::string_view pattern) {
  std::string text(pattern);
  Replace(text, "{output}", OutputUsage);
  Replace(text, "{batch}", BatchUsage);
  Replace(text, "{papers}", PaperSizeNames());
  Replace(text, "{defaultName}", NameTemplate::Default);
  Replace(text, "{levels}", OneOf(LevelNames(), "|", "|"));
  Replace(text, "{maxVersion}", std::to_string(qr::MaxVersion));
  Replace(text, "{sizes}", DmSizeChoices());
  Replace(text, "{schemes}", OneOf(DmSchemeNames));
  Replace(text, "{sizeIndices}", DmSizeIndices());
  Replace(text, "{extensions}", KnownExtensions(" ", " "));
  Replace(text, "{formats}", OneOf(FormatNames()));
  Replace(text, "{minScale}", std::to_string(MinScale));
  Replace(text, "{maxScale}", std::to_string(MaxScale));
  Replace(text, "{quiet}", std::to_string(SavedQuietZoneModules));
  Replace(text, "{dpi}", std::to_string(DefaultDpi));
  return text;
}

}  // namespace

std::string CliUsage(CliCommand topic) {
  switch (topic) {
    case CliCommand::Qr: return Filled(QrUsage);
    case CliCommand::Dm: return Filled(DmUsage);
    case CliCommand::Help:
    case CliCommand::Version: break;
  }
  return std::string(OverviewUsage);
}
