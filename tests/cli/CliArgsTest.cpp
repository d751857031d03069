#include <gtest/gtest.h>

#include "cli/CliArgs.h"

namespace {

CliParseResult Parse(std::vector<std::string> words) { return ParseCliArgs(words); }

struct RejectCase {
  std::vector<std::string> words;
  std::string messagePart;
};

TEST(CliArgs, RejectsBadUsageWithAMessageNamingTheProblem) {
  const std::vector<RejectCase> cases = {
      {{}, "no command"},
      {{"pdf417"}, "unknown command 'pdf417'"},
      {{"qr", "--text"}, "--text needs a value"},
      {{"qr", "--text", "a"}, "nothing to do"},
      {{"qr", "--dump"}, "give --text"},
      {{"qr", "--text", "a", "--data-file", "f", "--dump"}, "only one"},
      {{"qr", "--text", "a", "--field", "N=x", "--dump"}, "only one"},
      {{"qr", "--text", "a", "--text", "b", "--dump"}, "twice"},
      {{"qr", "--level", "X", "--text", "a", "--dump"}, "--level takes L, M, Q or H"},
      {{"qr", "--version", "41", "--text", "a", "--dump"}, "--version takes 0 to 40"},
      {{"qr", "--version", "3x", "--text", "a", "--dump"}, "--version takes"},
      {{"qr", "--scale", "0", "--text", "a", "-o", "x.png"}, "--scale takes 1 to 16"},
      {{"qr", "--operator", "4", "--dump"}, "--operator takes 1 to 3"},
      {{"qr", "--field", "TEXT", "--dump"}, "--field takes TAG=VALUE"},
      {{"qr", "--field", "=x", "--dump"}, "--field takes TAG=VALUE"},
      {{"qr", "--size", "3", "--text", "a", "--dump"}, "unknown option '--size'"},
      {{"dm", "--level", "H", "--text", "a", "--dump"}, "unknown option '--level'"},
      {{"dm", "--size", "30", "--text", "a", "--dump"}, "--size takes auto, rect, ROWSxCOLUMNS or 0 to 29"},
      {{"dm", "--size", "11x11", "--text", "a", "--dump"}, "--size takes"},
      {{"qr", "--text", "a", "--format", "png", "--dump"}, "--format needs -o"},
      {{"qr", "--text", "a", "--format", "tiff", "-o", "-"}, "--format takes bmp, jpg, gif, png, svg, pdf, eps or utf8"},
      {{"qr", "--text", "a", "--format", "gif", "-o", "x.png"}, "--format gif does not match"},
      {{"qr", "--text", "a", "-o", "-", "--dump"}, "both write to standard output"},
      {{"qr", "--text", "a", "-o", "x.txt"}, "cannot tell the image format of 'x.txt': use the extension .bmp"},
      {{"qr", "--text", "a", "-o", "x.png", "--dpi", "0"}, "--dpi takes 1 to 10000"},
      {{"qr", "--text", "a", "-o", "x.png", "--quiet-zone", "65"}, "--quiet-zone takes 0 to 64"},
      {{"dm", "--scheme", "kanji", "--text", "a", "--dump"}, "--scheme takes"},
      {{"dm", "--field", "N=x", "--dump"}, "unknown option"},
  };
  for (const RejectCase& c : cases) {
    const CliParseResult result = Parse(c.words);
    EXPECT_FALSE(result.options) << c.messagePart;
    EXPECT_NE(result.error.find(c.messagePart), std::string::npos) << result.error;
  }
}

TEST(CliArgs, ReadsEveryOption) {
  const CliParseResult qr = Parse({"qr", "--level", "h", "--version", "7", "--operator", "2", "--type", "5", "--field",
                                   "BN=a=b", "--field", "ST=", "--dump", "-o", "out.gif", "--scale", "16"});
  ASSERT_TRUE(qr.options) << qr.error;
  EXPECT_EQ(qr.options->level, 'H');
  EXPECT_EQ(qr.options->version, 7);
  EXPECT_TRUE(qr.options->contentMode);
  EXPECT_EQ(qr.options->operatorFormat, 2);
  EXPECT_EQ(qr.options->tab, 5);
  const std::vector<std::pair<std::string, std::string>> fields = {{"BN", "a=b"}, {"ST", ""}};
  EXPECT_EQ(qr.options->fields, fields);
  EXPECT_EQ(qr.options->outputFile, "out.gif");
  EXPECT_EQ(qr.options->image.scale, 16);

  const CliParseResult dm = Parse({"dm", "--size", "rect", "--scheme", "edifact", "--data-file", "in.bin", "--dump"});
  ASSERT_TRUE(dm.options) << dm.error;
  EXPECT_EQ(dm.options->dmSize, -2);
  EXPECT_EQ(dm.options->dmScheme, 4);
  EXPECT_EQ(dm.options->dataFile, "in.bin");

  const CliParseResult out = Parse({"dm", "--size", "16x48", "--text", "a", "-o", "-", "--format", "JPEG", "--dpi",
                                    "300", "--quiet-zone", "0", "--scale", "1"});
  ASSERT_TRUE(out.options) << out.error;
  EXPECT_EQ(out.options->dmSize, 29);
  EXPECT_EQ(out.options->format, FindFormatByName("jpg"));
  EXPECT_EQ(out.options->image.dpi, 300);
  EXPECT_EQ(out.options->image.quietZone, 0);
  EXPECT_EQ(out.options->image.scale, 1);
}

// The usage shown with an error is that of the command the user typed.
TEST(CliArgs, ErrorsNameTheCommandWhoseUsageToShow) {
  EXPECT_EQ(Parse({"qr", "--bogus"}).topic, CliCommand::Qr);
  EXPECT_EQ(Parse({"dm", "--level", "H"}).topic, CliCommand::Dm);
  EXPECT_EQ(Parse({"pdf417"}).topic, CliCommand::Help);
}

TEST(CliArgs, VersionIsTheProgramsOnlyBeforeACommand) {
  EXPECT_EQ(Parse({"--version"}).options->command, CliCommand::Version);
  const CliParseResult qr = Parse({"qr", "--version", "3", "--text", "a", "--dump"});
  ASSERT_TRUE(qr.options) << qr.error;
  EXPECT_EQ(qr.options->command, CliCommand::Qr);
  EXPECT_EQ(qr.options->version, 3);
}

TEST(CliArgs, HelpNeedsNothingElse) {
  for (const auto& words : std::vector<std::vector<std::string>>{{"--help"}, {"qr", "--help"}, {"dm", "-h"}}) {
    const CliParseResult result = Parse(words);
    ASSERT_TRUE(result.options) << result.error;
    EXPECT_EQ(result.options->command, CliCommand::Help);
  }
}

TEST(CliArgs, BackslashNInFieldValuesBecomesCarriageReturnLineFeed) {
  EXPECT_EQ(ExpandLineBreaks(R"(a\nb)"), "a\r\nb");
  EXPECT_EQ(ExpandLineBreaks(R"(a\\)"), R"(a\\)");
  EXPECT_EQ(ExpandLineBreaks(R"(end\)"), R"(end\)");
}

}  // namespace
