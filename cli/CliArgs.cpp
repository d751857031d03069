#include "cli/CliArgs.h"

#include <algorithm>
#include <sstream>

#include "cli/CliOptionTable.h"
#include "cli/Words.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "datamatrix/DmEncoder.h"
#include "image/StyledSymbol.h"
#include "qr/QrLevel.h"
#include "qr/QrStandard.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

namespace {

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

CliProblem MakeProblem(CliProblemKind kind, CliCommand command, std::string_view option = {}, std::string_view word = {},
                   std::string detail = {}) {
  return {.kind = kind, .command = command, .option = std::string(option), .word = std::string(word),
          .detail = std::move(detail)};
}

CliProblem UnknownOption(CliCommand command, std::string_view word) {
  std::vector<std::string> options = CliOptionNames(command);
  options.insert(options.begin(), "--help");
  const size_t equals = word.find('=');
  if (word.starts_with("--") && equals != std::string_view::npos && Lists(options, word.substr(0, equals)))
    return MakeProblem(CliProblemKind::ValueJoined, command, word.substr(0, equals), word,
                   std::string(word.substr(equals + 1)));
  const CliCommand other = command == CliCommand::Qr ? CliCommand::Dm : CliCommand::Qr;
  if (Lists(CliOptionNames(other), word)) return MakeProblem(CliProblemKind::OptionOfOther, command, word);
  // A word people try for an option (--color for --fg) beats spelling's nearest.
  if (const CliOptionRow* tried = FindTriedOption(command, word.substr(0, equals)))
    return MakeProblem(CliProblemKind::UnknownOption, command, {}, word, std::string(tried->name));
  return MakeProblem(CliProblemKind::UnknownOption, command, {}, word, NearestOption(options, word));
}

bool IsVersionWord(std::string_view word) { return word == "--version" || word == "-V"; }

std::optional<CliCommand> CommandOfWord(std::string_view word) {
  if (word == "qr") return CliCommand::Qr;
  if (word == "dm") return CliCommand::Dm;
  return std::nullopt;
}

using Check = std::optional<CliProblem>;

class Parser {
 public:
  explicit Parser(std::span<const std::string> args) : args_(args) {}

  CliParseResult Run() {
    if (args_.empty()) return Fail(MakeProblem(CliProblemKind::NoCommand, CliCommand::Help));
    const std::string_view command = args_[0];
    if (command == "--help" || command == "-h" || command == "help") return Done();
    if (IsVersionWord(command)) {
      options().command = CliCommand::Version;
      return Done();
    }
    if (command == "values") return Values();
    if (command == "options" && args_.size() == 2 && (CommandOfWord(args_[1]) || args_[1] == "read")) {
      options().command = CliCommand::Options;
      options().helpTopic = CommandOfWord(args_[1]).value_or(CliCommand::Read);
      return Done();
    }
    if (const auto known = CommandOfWord(command)) options().command = *known;
    else return Fail(MakeProblem(CliProblemKind::UnknownCommand, CliCommand::Help, {}, command));
    options().symbol.symbology = options().command == CliCommand::Qr ? Symbology::QrCode : Symbology::DataMatrix;
    for (next_ = 1; next_ < args_.size();)
      if (Check problem = Option(args_[next_++])) return Fail(*problem);
    if (options().helpTopic != CliCommand::Help) {
      options().command = CliCommand::Help;
      return Done();
    }
    for (auto check : {&Parser::ResolveTab, &Parser::CheckEci, &Parser::CheckComplete, &Parser::ApplyModuleSize,
                       &Parser::CheckStyle})
      if (Check problem = (this->*check)()) return Fail(*problem);
    if (options().segments) options().symbol.segments = *options().segments;
    return Done();
  }

 private:
  CliOptions& options() { return state_.options; }
  const CliOptions& options() const { return state_.options; }
  CliProblem Problem(CliProblemKind kind, std::string_view option = {}, std::string_view word = {},
                     std::string detail = {}) const {
    return MakeProblem(kind, options().command, option, word, std::move(detail));
  }

  // values (qr|dm) OPTION
  CliParseResult Values() {
    const auto command = args_.size() == 3 ? CommandOfWord(args_[1]) : std::nullopt;
    if (!command) return Fail(Problem(CliProblemKind::ValuesUsage));
    options().command = CliCommand::Values;
    options().helpTopic = *command;
    options().valuesOf = args_[2];
    if (!OptionValues(*command, args_[2])) return Fail(Problem(CliProblemKind::NoFixedValues, args_[2], args_[1]));
    return Done();
  }

  // The option's row takes its value, the word after it unless it is a switch.
  Check Option(std::string_view name) {
    const CliOptionRow* row = FindCliOption(options().command, name);
    if (!row) return UnknownOption(options().command, name);
    if (row->batchOnly && state_.batchOnly.empty()) state_.batchOnly = name;
    state_.option = name;
    std::string_view word;
    if (!row->value.empty()) {
      if (next_ >= args_.size()) return Problem(CliProblemKind::ValueMissing, name);
      word = args_[next_++];
    }
    const std::optional<CliProblemKind> kind = row->apply(state_, *row, word);
    if (!kind) {
      if (row->section == CliSection::Style) state_.styleGiven.emplace_back(row, word);
      return std::nullopt;
    }
    return Problem(*kind, name, word, *kind == CliProblemKind::BadValue ? ValueTakes(*row) : "");
  }

  // Colours that scanners can tell apart, the logo's options together, and
  // the strongest level for a logo unless the user chose one.
  Check CheckStyle() {
    const SymbolStyle& style = options().image.style;
    if (!options().logoFile && (style.logoShare || state_.logoPadGiven))
      return Problem(CliProblemKind::LogoOptionsWithoutLogo);
    if ((style.gradient != Gradient::None) != style.foreground2.has_value())
      return Problem(CliProblemKind::GradientNeedsBoth);
    if (!style.HasFrame() && (state_.framePositionGiven || style.frameColour))
      return Problem(CliProblemKind::FrameOptionsWithoutFrame);
    if (const StyleCheck check = CheckContrast(style, options().contrast); !check.Ok()) {
      CliProblem problem = Problem(CliProblemKind::Colours);
      problem.colours = check;
      return problem;
    }
    if (options().logoFile) options().symbol.level = LevelWithLogo(options().symbol.levelChosen, options().symbol.level);
    return std::nullopt;
  }

  // --type by caption means the tab of that caption under --operator.
  Check ResolveTab() {
    if (!state_.tabWord) return std::nullopt;
    const int format = options().contentPage.format;
    const auto position = ParseInt(*state_.tabWord, 0, MostTabs() - 1);
    options().contentPage.tab = position ? *position : TabOfName(format, *state_.tabWord);
    if (FindTab(format, options().contentPage.tab)) return std::nullopt;
    CliProblem problem = Problem(CliProblemKind::TabNotOfFormat, "--type", *state_.tabWord);
    problem.operatorFormat = format;
    // A caption of another format, such as an operator format's 书签 under
    // the default 通用格式: the format that has it.
    for (const OperatorFormatSpec& other : OperatorFormats())
      if (!position && TabOfName(other.id, *state_.tabWord) >= 0) {
        problem.formatWithTab = other.id;
        break;
      }
    return problem;
  }

  // The ECI names the text's character set: a file's bytes have none, and
  // in a Data Matrix only ASCII codewords can follow it where they stand.
  Check CheckEci() {
    if (!options().symbol.eci.value_or(false)) return std::nullopt;
    if (options().dataFile) return Problem(CliProblemKind::EciWithDataFile);
    if (options().command != CliCommand::Dm) return std::nullopt;
    if (state_.schemeGiven && options().symbol.dmScheme != DmEncodation::Ascii) return Problem(CliProblemKind::EciNeedsAscii);
    options().symbol.dmScheme = DmEncodation::Ascii;
    return std::nullopt;
  }

  Check CheckComplete() {
    const CliOptions& o = options();
    if (o.batch) return CheckBatch();
    const int inputs = (o.text ? 1 : 0) + (o.dataFile ? 1 : 0) + (o.contentMode ? 1 : 0);
    if (inputs == 0) return Problem(CliProblemKind::NoInput);
    if (inputs > 1) return Problem(CliProblemKind::SeveralInputs);
    if (o.contentMode && o.segments && IsGeneralFormat(o.contentPage.format))
      return Problem(CliProblemKind::GeneralTakesOptimal);
    if (o.contentMode && o.segments == QrSegments::Optimal) return Problem(CliProblemKind::ContentIsOneSegment);
    if (!o.dump && !o.outputFile) return Problem(CliProblemKind::NothingToDo);
    if (o.verify && !o.outputFile) return Problem(CliProblemKind::VerifyNeedsFile);
    if (o.outputFile) return CheckOutput(*o.outputFile);
    if (o.format) return Problem(CliProblemKind::FormatNeedsOutput);
    return std::nullopt;
  }

  // --operator and --type choose the page; the rows give the rest.
  Check CheckBatch() const {
    const CliOptions& o = options();
    if (o.batch->input.empty()) return Problem(CliProblemKind::BatchOnlyWithoutBatch, state_.batchOnly);
    if (o.text || o.dataFile || !o.fields.empty()) return Problem(CliProblemKind::BatchWithInput);
    if (o.segments) return Problem(CliProblemKind::SegmentsWithBatch);
    if (o.dump || o.format) return Problem(CliProblemKind::BatchWithDump);
    if (!o.outputFile || *o.outputFile == StandardStream) return Problem(CliProblemKind::BatchNeedsFolder);
    return CheckSheet(*o.batch);
  }

  // A label sheet is one PDF laid out in a grid; its options go together.
  Check CheckSheet(const CliBatchOptions& batch) const {
    if (!batch.sheet) {
      if (batch.columns || batch.rows || !batch.caption.empty()) return Problem(CliProblemKind::SheetOptionsWithoutSheet);
      return std::nullopt;
    }
    if (!batch.columns || !batch.rows) return Problem(CliProblemKind::SheetNeedsGrid);
    if (batch.nameTemplate != NameTemplate::Default) return Problem(CliProblemKind::SheetWithName);
    if (FindFormatForFile(*options().outputFile) != FindFormatByName("pdf")) return Problem(CliProblemKind::SheetNeedsPdf);
    return std::nullopt;
  }

  // A file's format follows its extension; --format must agree with it.
  Check CheckOutput(const std::string& output) const {
    if (output == StandardStream) {
      if (options().dump) return Problem(CliProblemKind::StandardOutputTwice);
      return std::nullopt;
    }
    const ImageFormat* format = FindFormatForFile(output);
    if (format == nullptr) return Problem(CliProblemKind::UnknownExtension, "-o", output);
    if (options().format && options().format != format)
      return Problem(CliProblemKind::FormatDisagrees, "--format", output, std::string(options().format->name));
    return std::nullopt;
  }

  // One of --scale, --module-mm and --size-mm sets the size; the whole pixels a
  // printed size takes are worked out for each symbol when it is written.
  Check ApplyModuleSize() {
    const ImageFormat* format = options().format ? options().format : FindFormatForFile(options().outputFile.value_or(""));
    if (options().verify && format && format->extensions.empty())
      return Problem(CliProblemKind::VerifyOfText, "--verify", format->name);
    std::vector<const CliOptionRow*> sizes = state_.sizesGiven;
    // Named in the table's order, whatever the order given: the rows are one array.
    std::sort(sizes.begin(), sizes.end());
    if (sizes.size() > 1) return Problem(CliProblemKind::SeveralSizes, sizes[0]->name, {}, std::string(sizes[1]->name));
    return std::nullopt;
  }

  CliParseResult Fail(const CliProblem& problem) {
    return {std::nullopt, DescribeCliProblem(problem), options().command, problem};
  }
  CliParseResult Done() { return {options(), {}, options().command, std::nullopt}; }

  std::span<const std::string> args_;
  size_t next_ = 0;
  CliParseState state_;
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

std::vector<std::string> CliOptionNames(CliCommand command) {
  std::vector<std::string> names;
  for (const CliOptionRow& row : CliOptionRows())
    if (RowOf(row, command) && !row.help.empty() && !Lists(names, row.name)) names.emplace_back(row.name);
  return names;
}

std::optional<std::vector<std::string>> OptionValues(CliCommand command, std::string_view option) {
  const CliOptionRow* row = FindCliOption(command, option);
  if (row == nullptr || row->values == nullptr) return std::nullopt;
  return row->values();
}

}  // namespace quillet
