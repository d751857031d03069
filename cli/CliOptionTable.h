// The options of qr, dm and read, one row each: the parser, the help's option
// lines, `values`, the suggestions for a misspelt option and the test of the
// manual page all read them here. Adding an option is adding a row.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/OptionValues.h"

namespace quillet {

struct CliOptionRow;

// What the parser knows besides the options: what was given, for the checks
// of the options together.
struct CliParseState {
  CliOptions options;
  std::string_view option;  // the option being taken, as typed: --utf8-text is --text's other word
  bool schemeGiven = false;
  bool framePositionGiven = false;
  bool logoPadGiven = false;
  std::vector<const CliOptionRow*> sizesGiven;  // of --scale, --module-mm and --size-mm: at most one
  std::optional<std::string> tabWord;
  std::string batchOnly;  // the first option that goes only with --batch
  // The style options taken so far, with their values: a preset given
  // after them takes them again, so that what was given explicitly wins.
  std::vector<std::pair<const CliOptionRow*, std::string_view>> styleGiven;
};

// Where an option's lines stand in the help.
enum class CliSection { Input, Content, Symbol, Output, Style, Batch };

enum CliCommands : unsigned { QrOnly = 1, DmOnly = 2, QrAndDm = 3, ReadOnly = 4 };

struct CliOptionRow;
// Takes the option's value (empty for a switch) into the state; a problem
// kind when it cannot.
using CliApply = std::optional<CliProblemKind> (*)(CliParseState& state, const CliOptionRow& row,
                                                   std::string_view word);

struct CliOptionRow {
  std::string_view name{};
  std::string_view alias{}; // another word for it, not in the help: -h, --output
  std::string_view tried{}; // blank-separated words people try for it, refused with a hint to it: --color
  std::string_view value{}; // the value's name in the help; empty: the option takes none
  unsigned commands = QrAndDm;
  CliSection section = CliSection::Input;
  std::string_view help{}; // lines without their indent, placeholders as in the usage; empty: not listed
  std::vector<std::string> (*values)() = nullptr;  // its fixed set of values
  std::string (*takes)() = nullptr;  // what a bad value is told it takes; default: the values or low to high
  int low = 0, high = 0;             // a number's range
  bool batchOnly = false;            // goes only with --batch
  bool nested = false;               // in the help under the line before it
  CliApply apply = nullptr;          // null: the help mentions an option again, its row is an earlier one
};

std::span<const CliOptionRow> CliOptionRows();
bool RowOf(const CliOptionRow& row, CliCommand command);
// The row that `word` names under `command`, or null.
const CliOptionRow* FindCliOption(CliCommand command, std::string_view word);
// The row whose `tried` words hold `word` under `command`, or null.
const CliOptionRow* FindTriedOption(CliCommand command, std::string_view word);
// What a bad value of the option is told it takes: "L, M, Q or H", "1 to 16".
std::string ValueTakes(const CliOptionRow& row);

}  // namespace quillet
