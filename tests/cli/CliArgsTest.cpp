// The options as parsed; mistakes, their messages and the usage shown are
// tested through RunCli in CliTest.
#include <gtest/gtest.h>

#include "cli/CliArgs.h"

namespace {

CliParseResult Parse(std::vector<std::string> words) { return ParseCliArgs(words); }

// Values that no end-to-end test of CliTest and CliPrintTest gives.
TEST(CliArgs, ReadsEveryOption) {
  const CliParseResult qr = Parse({"qr", "--type", "5", "--field", "BN=a=b", "--field", "ST=", "--dump"});
  ASSERT_TRUE(qr.options) << qr.error;
  const std::vector<std::pair<std::string, std::string>> fields = {{"BN", "a=b"}, {"ST", ""}};
  EXPECT_EQ(qr.options->fields, fields);
  const CliParseResult dm = Parse({"dm", "--size", "rect", "--scheme", "edifact", "--data-file", "in.bin", "--dump"});
  ASSERT_TRUE(dm.options) << dm.error;
  EXPECT_EQ(dm.options->dmSize, -2);
  EXPECT_EQ(dm.options->dmScheme, 4);
  EXPECT_EQ(dm.options->dataFile, "in.bin");
  const CliParseResult out = Parse({"dm", "--size", "16x48", "--text", "a", "-o", "-", "--format", "JPEG",
                                    "--quiet-zone", "0", "--scale", "16"});
  ASSERT_TRUE(out.options) << out.error;
  EXPECT_EQ(out.options->dmSize, 29);
  EXPECT_EQ(out.options->format, FindFormatByName("jpg"));
  EXPECT_EQ(out.options->image.quietZone, 0);
  EXPECT_EQ(out.options->image.scale, 16);
}

// "\n" becomes CR LF (decoded in CliTest); other backslashes stay.
TEST(CliArgs, OtherBackslashesInFieldValuesStay) {
  EXPECT_EQ(ExpandLineBreaks(R"(a\\)"), R"(a\\)");
  EXPECT_EQ(ExpandLineBreaks(R"(end\)"), R"(end\)");
}

}  // namespace
