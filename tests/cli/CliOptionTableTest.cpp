// The option table drives the parser and the help: every row is listed,
// takes what it offers, and lands where it says; problems come back as
// kinds with their subject.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "cli/CliOptionTable.h"
#include "cli/Words.h"
#include "tests/cli/CliFiles.h"

using namespace quillet;

namespace {

CliParseResult Parse(const std::string& line) { return ParseCliArgs(Words(line)); }

const CliCommand Commands[] = {CliCommand::Qr, CliCommand::Dm};

std::string NameOf(CliCommand command) { return command == CliCommand::Qr ? "qr" : "dm"; }

// Each listed option starts a line of its command's help (the manual tests
// find an option named anywhere in it), and each of its fixed values is one
// the parser takes (what completion offers, it accepts).
TEST(CliOptionTable, EveryListedOptionIsInTheHelpAndTakesItsValues) {
  for (const CliCommand command : Commands) {
    const std::string help = CliUsage(command);
    for (const std::string& option : CliOptionNames(command)) {
      EXPECT_TRUE(help.find("\n  " + option + " ") != std::string::npos ||
                  help.find("\n    " + option + " ") != std::string::npos)
          << NameOf(command) << " " << option;
      const CliOptionRow& row = *FindCliOption(command, option);
      if (row.value.empty()) continue;
      const CliParseResult missing = Parse(NameOf(command) + " " + option);
      ASSERT_TRUE(missing.problem) << option;
      EXPECT_EQ(missing.problem->kind, CliProblemKind::ValueMissing) << option;
      for (const std::string& value : OptionValues(command, option).value_or(std::vector<std::string>{}))
        EXPECT_TRUE(Parse(NameOf(command) + " " + option + " " + value + " --help").options)
            << NameOf(command) << " " << option << " " << value;
    }
  }
}

// read's options are rows too: each starts a line of read's help and none
// is qr's or dm's; the command line takes them, and refuses what they
// refuse, as the rows say.
TEST(CliOptionTable, ReadsOptionsAreRowsOfTheTable) {
  const std::string help = CliUsage(CliCommand::Read);
  EXPECT_EQ(CliOptionNames(CliCommand::Read), (std::vector<std::string>{"--raw", "--csv", "--expect"}));
  for (const std::string& option : CliOptionNames(CliCommand::Read)) {
    EXPECT_NE(help.find("\n  " + option + " "), std::string::npos) << option;
    EXPECT_EQ(FindCliOption(CliCommand::Qr, option), nullptr) << option;
    EXPECT_EQ(FindCliOption(CliCommand::Dm, option), nullptr) << option;
  }
  const struct {
    std::string line;
    int status;
    std::string err;
  } cases[] = {
      {"read --expect", ExitUsage, "quillet-cli: --expect takes a number of symbols, 0 to 10000\n"},
      {"read --expect 10001 a.png", ExitUsage, "quillet-cli: --expect takes a number of symbols, 0 to 10000\n"},
      {"read --raw --csv a.png", ExitUsage, "quillet-cli: --raw and --csv exclude each other\n"},
      {"read --level H a.png", ExitUsage, "quillet-cli: unknown option '--level'\n"},
      {"read --help", ExitOk, ""},
      {"read -h", ExitOk, ""},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.line);
    EXPECT_EQ(run.status, c.status) << c.line;
    if (c.status == ExitOk) EXPECT_EQ(run.out, help) << c.line;
    else EXPECT_EQ(run.err, c.err + CliShortUsage(CliCommand::Read)) << c.line;
  }
}

// The values an option takes land in the field it stands for.
TEST(CliOptionTable, ValuesLandWhereTheirOptionSays) {
  const struct {
    std::string line;
    std::function<bool(const CliOptions&)> holds;
  } cases[] = {
      {"qr --text a --dump --scale 7", [](const CliOptions& o) { return o.image.scale == 7; }},
      {"qr --text a --dump --quiet-zone 9", [](const CliOptions& o) { return o.image.quietZone == 9; }},
      {"qr --text a --dump --dpi 300", [](const CliOptions& o) { return o.image.dpi == 300; }},
      {"qr --text a --dump --version 7", [](const CliOptions& o) { return o.symbol.version == 7; }},
      {"qr --text a --dump --level q", [](const CliOptions& o) { return o.symbol.level == QrLevel::Q; }},
      // --utf8-text is --text's other word.
      {"qr --utf8-text a --dump",
       [](const CliOptions& o) { return o.textCharset == DataCharset::Utf8 && o.textOption == "--utf8-text"; }},
      {"dm --gbk-text a --dump",
       [](const CliOptions& o) { return o.textCharset == DataCharset::CodePage936 && o.text == "a"; }},
      {"qr --type 文本 --field TEXT=a --dump", [](const CliOptions& o) { return o.contentPage == FormatTab{GeneralFormat, 8}; }},
      {"qr --field N=a --operator 1 --dump", [](const CliOptions& o) { return o.contentPage == FormatTab{1, 0}; }},
      {"qr --field TEL=1 --operator 4 --type 电话 --dump",
       [](const CliOptions& o) { return o.contentMode && o.contentPage == FormatTab{4, 3} && o.fields.size() == 1; }},
      {"dm --text a --output x.png --size 8x18 --scheme c40",
       [](const CliOptions& o) { return o.outputFile == "x.png" && o.symbol.dmSize == 24 && o.symbol.dmScheme == DmEncodation::C40; }},
      {"dm --text a --dump --eci",
       [](const CliOptions& o) { return o.symbol.eci == true && o.symbol.dmScheme == DmEncodation::Ascii; }},
      // Unset, the content's format decides.
      {"qr --field N=a --dump", [](const CliOptions& o) { return !o.symbol.eci; }},
      {"qr --no-eci --field N=a --dump", [](const CliOptions& o) { return o.symbol.eci == false; }},
      {"qr --text a -o x.png --bg none --fg #102030",
       [](const CliOptions& o) { return o.image.style.transparentBackground && o.image.style.foreground == Rgb{16, 32, 48}; }},
      {"qr --text a -o x.png --logo l.png --logo-size 0.2",
       [](const CliOptions& o) {
         return o.logoFile == "l.png" && o.symbol.level == QrLevel::H && o.image.style.logoPad == LogoPad::Shape;
       }},
      {"qr --text a -o x.png --logo l.png --logo-pad square",
       [](const CliOptions& o) { return o.image.style.logoPad == LogoPad::Square; }},
      {"qr --batch r.csv -o x.pdf --sheet A5 --columns 2 --rows 3 --caption {row} --jobs 5 --encoding gb18030",
       [](const CliOptions& o) {
         const CliBatchOptions& b = *o.batch;
         return b.input == "r.csv" && b.sheet && b.columns == 2 && b.rows == 3 && b.caption == "{row}" && b.jobs == 5 &&
                b.encoding == TextEncoding::Gb18030;
       }},
  };
  for (const auto& c : cases) {
    const CliParseResult parsed = Parse(c.line);
    ASSERT_TRUE(parsed.options) << c.line << ": " << parsed.error;
    EXPECT_TRUE(c.holds(*parsed.options)) << c.line;
  }
}

// The parser says what is wrong as a kind and its subject; the words are the
// front end's.
TEST(CliOptionTable, ProblemsAreKindsWithTheirSubject) {
  const struct {
    std::string line;
    CliProblemKind kind;
    std::string option, word, detail;
  } cases[] = {
      {"qr --level X", CliProblemKind::BadValue, "--level", "X", "L, M, Q or H"},
      {"qr --jobs 0", CliProblemKind::BadValue, "--jobs", "0", "1 to 256"},
      {"qr --columns 101", CliProblemKind::BadValue, "--columns", "101", "1 to 100"},
      {"qr -o", CliProblemKind::ValueMissing, "-o", "", ""},
      {"dm --output a.png --output b.png", CliProblemKind::GivenTwice, "--output", "b.png", ""},
      {"dm --level H", CliProblemKind::OptionOfOther, "--level", "", ""},
      {"qr --scheme ascii", CliProblemKind::OptionOfOther, "--scheme", "", ""},
      {"dm --logo x.png", CliProblemKind::NoLogoInDm, "--logo", "", ""},
      {"qr --txt a", CliProblemKind::UnknownOption, "", "--txt", "--text"},
      // Words people try lead to the option, whatever their spelling distance.
      {"qr --color #ff0000", CliProblemKind::UnknownOption, "", "--color", "--fg"},
      {"dm --colour=#ff0000", CliProblemKind::UnknownOption, "", "--colour=#ff0000", "--fg"},
      {"qr --out a.png", CliProblemKind::UnknownOption, "", "--out", "-o"},
      {"qr --tab 1", CliProblemKind::UnknownOption, "", "--tab", "--type"},
      {"dm --tab 1", CliProblemKind::UnknownOption, "", "--tab", ""},
      {"qr --level=H", CliProblemKind::ValueJoined, "--level", "--level=H", "H"},
      {"qr --rows 2 --text a --dump", CliProblemKind::BatchOnlyWithoutBatch, "--rows", "", ""},
      {"qr --operator 2 --type 8 --field N=x --dump", CliProblemKind::TabNotOfFormat, "--type", "8", ""},
      {"qr --text a -o a.png --size-mm 50 --module-mm 1", CliProblemKind::SeveralSizes, "--module-mm", "", "--size-mm"},
      {"qr --text a -o a.png --size-mm 0", CliProblemKind::BadValue, "--size-mm", "0", "a size in millimetres such as 50"},
      {"qr --type 书签 --field URL=x --dump", CliProblemKind::TabNotOfFormat, "--type", "书签", ""},
      {"dm --gbk --text a --dump", CliProblemKind::BatchOnlyWithoutBatch, "--gbk", "", ""},
      {"qr --text a -o a.png --fg #777777 --bg #888888", CliProblemKind::Colours, "", "", ""},
      {"values dm --name", CliProblemKind::NoFixedValues, "--name", "dm", ""},
  };
  for (const auto& c : cases) {
    const CliParseResult parsed = Parse(c.line);
    ASSERT_TRUE(parsed.problem) << c.line;
    const CliProblem& p = *parsed.problem;
    EXPECT_EQ(p.kind, c.kind) << c.line << ": " << parsed.error;
    EXPECT_EQ(std::tie(p.option, p.word, p.detail), std::tie(c.option, c.word, c.detail)) << c.line;
    EXPECT_EQ(parsed.error, DescribeCliProblem(p));
  }
  EXPECT_EQ(Parse("qr --operator 2 --type 8 --field N=x --dump").problem->operatorFormat, 2);
  // An operator format's caption under the default 通用格式 names the format that has it.
  const CliProblem bookmark = *Parse("qr --type 书签 --field URL=x --dump").problem;
  EXPECT_EQ(std::tie(bookmark.operatorFormat, bookmark.formatWithTab), std::make_tuple(GeneralFormat, 1));
}

// --type takes a tab's ASCII name under any --operator, before or after it,
// in any case; a name the format lacks is no tab of it.
TEST(CliOptionTable, TypeTakesTabNames) {
  const struct {
    int format;
    std::string name;
    int tab;  // -1: not a tab of the format
  } cases[] = {
      {4, "card", 0},       {4, "WiFi", 1},  {4, "event", 7},    {4, "phone", -1}, {1, "phone", 4},
      {1, "sms-service", 7}, {1, "url", -1}, {2, "bookmark", -1}, {3, "Custom", 8},
  };
  for (const auto& c : cases) {
    for (const std::string& line : {"qr --operator " + std::to_string(c.format) + " --type " + c.name + " --dump",
                                    "qr --type " + c.name + " --operator " + std::to_string(c.format) + " --dump"}) {
      const CliParseResult parsed = Parse(line + " --field x=y");
      if (c.tab < 0) {
        ASSERT_TRUE(parsed.problem) << line;
        EXPECT_EQ(parsed.problem->kind, CliProblemKind::TabNotOfFormat) << line;
        continue;
      }
      ASSERT_TRUE(parsed.options) << line << ": " << parsed.error;
      EXPECT_EQ(parsed.options->contentPage, (FormatTab{c.format, c.tab})) << line;
    }
  }
  const auto values = OptionValues(CliCommand::Qr, "--type");
  for (const char* name : {"card", "wifi", "sms-service", "custom", "名片", "0"})
    EXPECT_NE(std::find(values->begin(), values->end(), name), values->end()) << name;
}

}  // namespace
