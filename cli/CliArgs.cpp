#include "cli/CliArgs.h"

#include <array>
#include <charconv>

namespace {

constexpr std::array<std::string_view, 7> DmSchemeNames = {"ascii", "c40", "text", "x12", "edifact", "base256", "auto"};

std::optional<int> ParseInt(std::string_view word, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::optional<char> ParseLevel(std::string_view word) {
  if (word.size() != 1) return std::nullopt;
  const char upper = static_cast<char>(word[0] & ~0x20);
  if (upper == 'L' || upper == 'M' || upper == 'Q' || upper == 'H') return upper;
  return std::nullopt;
}

std::optional<int> ParseDmSize(std::string_view word) {
  if (word == "auto") return -1;
  if (word == "rect") return -2;
  return ParseInt(word, 0, 29);
}

std::optional<int> ParseDmScheme(std::string_view word) {
  for (size_t i = 0; i < DmSchemeNames.size(); ++i)
    if (DmSchemeNames[i] == word) return static_cast<int>(i);
  return std::nullopt;
}

class Parser {
 public:
  explicit Parser(std::span<const std::string> args) : args_(args) {}

  CliParseResult Run() {
    if (args_.empty()) return Fail("no command given");
    const std::string_view command = args_[0];
    if (command == "--help" || command == "-h" || command == "help") return Done();
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
    else if (name == "--scale") Number(name, 1, 16, options_.scale);
    else if (qr && name == "--level") Parsed(name, ParseLevel, options_.level, "L, M, Q or H");
    else if (qr && name == "--version") Number(name, 0, 40, options_.version);
    else if (qr && name == "--operator") Content(), Number(name, 1, 3, options_.operatorFormat);
    else if (qr && name == "--type") Content(), Number(name, 0, 9, options_.tab);
    else if (qr && name == "--field") Content(), Field(Value(name));
    else if (!qr && name == "--size") Parsed(name, ParseDmSize, options_.dmSize, "auto, rect or 0 to 29");
    else if (!qr && name == "--scheme")
      Parsed(name, ParseDmScheme, options_.dmScheme, "ascii, c40, text, x12, edifact, base256 or auto");
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
    const int inputs = (options_.text ? 1 : 0) + (options_.dataFile ? 1 : 0) + (options_.contentMode ? 1 : 0);
    if (inputs == 0)
      return options_.command == CliCommand::Qr ? "give --text, --data-file or content fields (--field)"
                                                : "give --text or --data-file";
    if (inputs > 1) return "give only one of --text, --data-file and content fields";
    if (!options_.dump && !options_.outputFile) return "nothing to do: give --dump, -o FILE or both";
    return {};
  }

  CliParseResult Fail(std::string message) { return {std::nullopt, std::move(message)}; }
  CliParseResult Done() { return {options_, {}}; }

  std::span<const std::string> args_;
  size_t next_ = 0;
  CliOptions options_;
  std::string error_;
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

std::string CliUsage(CliCommand topic) {
  switch (topic) {
    case CliCommand::Qr:
      return R"(Usage: quillet-cli qr [options] (--text TEXT | --data-file FILE | content fields) (--dump | -o FILE)

Encodes a QR Code symbol.

Input (exactly one):
  --text TEXT          UTF-8 text, encoded as its code page 936 (GBK) bytes
  --data-file FILE     the file's bytes exactly as they are
  content fields       compose a payload as the QR page does, with 0x01 0x10 in front:
    --operator 1|2|3   1 = 中国移动v1.0 (default), 2 = 中国移动v2.0, 3 = 中国联通
    --type TAB         tab position of the content type, 0 = the left-most (default)
    --field TAG=VALUE  a field by its tag (N, M, TEL, EM, ... TEXT); repeatable;
                       \n in VALUE is a line break (CR LF)

Symbol:
  --level L|M|Q|H      error-correction level (default M)
  --version N          smallest version to use, 1 to 40; 0 = automatic (default)

Output (one or both):
  --dump               print "version V level X mask M" and the rows, 1 dark, 0 light
  -o FILE              write an image; the format follows the extension
                       (.bmp .jpg .gif .png .svg), with a two-module quiet zone
  --scale S            pixels per module in the image, 1 to 16 (default 4)

Example:
  quillet-cli qr --operator 3 --type 8 --field TEXT=hello -o hello.png

Exit status: 0 done, 1 bad usage or unreadable file, 2 the data fits no version,
3 the image file could not be written.
)";
    case CliCommand::Dm:
      return R"(Usage: quillet-cli dm [options] (--text TEXT | --data-file FILE) (--dump | -o FILE)

Encodes a Data Matrix ECC 200 symbol.

Input (exactly one):
  --text TEXT          UTF-8 text, encoded as its code page 936 (GBK) bytes
  --data-file FILE     the file's bytes exactly as they are

Symbol:
  --size auto|rect|N   smallest square (default), smallest rectangle, or size index 0 to 29
                       (0 = 10x10 ... 23 = 144x144, 24 to 29 the rectangles)
  --scheme NAME        ascii (default), c40, text, x12, edifact, base256 or auto

Output (one or both):
  --dump               print "rows R columns C codewords ..." and the rows, 1 dark, 0 light
  -o FILE              write an image; the format follows the extension
                       (.bmp .jpg .gif .png .svg), with a two-module quiet zone
  --scale S            pixels per module in the image, 1 to 16 (default 4)

Example:
  quillet-cli dm --text "Hello, world" -o hello.png

Exit status: 0 done, 1 bad usage or unreadable file, 2 the text cannot be encoded in the
scheme or fits no size allowed by --size, 3 the image file could not be written.
)";
    case CliCommand::Help:
      break;
  }
  return R"(Usage: quillet-cli (qr | dm) [options]

  quillet-cli qr --help    QR Code symbols, from text, a file or content fields
  quillet-cli dm --help    Data Matrix symbols
)";
}
