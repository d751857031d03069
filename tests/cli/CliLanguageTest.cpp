// The command line in English and in Chinese: the sentences follow the
// locale, what scripts read does not.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "cli/Translate.h"
#include "tests/cli/CliFiles.h"
#include "tests/support/Poppler.h"

namespace {

constexpr const char* Chinese = "zh_CN.UTF-8";

// The program as main() sets it up under LC_ALL=`locale`, with the build
// tree's catalogues; back to the C locale after.
class Spoken {
 public:
  explicit Spoken(const char* locale) {
    setenv("QUILLET_LOCALEDIR", QUILLET_BUILD_LOCALEDIR, 1);
    setenv("LC_ALL", locale, 1);
    SpeakUserLanguage();
  }
  ~Spoken() {
    setenv("LC_ALL", "C", 1);
    SpeakUserLanguage();
  }
};

bool ChineseLocaleExists() { return std::setlocale(LC_MESSAGES, Chinese) && std::setlocale(LC_MESSAGES, "C"); }

CliOutcome CliIn(const char* locale, const std::string& line, const std::string& input = {}) {
  const Spoken spoken(locale);
  return Cli(line, input);
}

class CliLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ChineseLocaleExists()) << "the zh_CN.UTF-8 locale is missing: scripts/install-deps generates it";
  }
};

struct Spoke {
  const char* line;
  int status;
  const char* english;  // in the English output (standard error, else standard output)
  const char* chinese;  // in the Chinese one
};

TEST_F(CliLanguage, MessagesAndHelpFollowTheLocale) {
  const Spoke cases[] = {
      {"qr --level X --text a --dump", ExitUsage, "quillet-cli: --level takes L, M, Q or H, not 'X'\n",
       "quillet-cli: --level 只能取 L、M、Q 或 H，不能取“X”\n"},
      {"qr --help", ExitOk, "Usage: quillet-cli qr [options]", "用法：quillet-cli qr [选项]"},
      {"qr --help", ExitOk, "  --level L|M|Q|H      error-correction level (default M)\n",
       "  --level L|M|Q|H      纠错级别（默认 M）\n"},
      {"qr --text a", ExitUsage, "nothing to do: give --dump, -o FILE or both", "没有要做的事：请给出 --dump、-o FILE 或两者"},
      {"dm --text a --logo x.png -o a.png", ExitUsage, "Data Matrix symbols carry no logo",
       "Data Matrix 码不支持标志图片"},
      {"qr --txt a", ExitUsage, "unknown option '--txt' (did you mean --text?)", "未知选项“--txt”（您是不是要用 --text？）"},
      {"dm --size 10x10 --text 123456789012345678901234567890 --dump", ExitDoesNotFit,
       "the text (30 bytes) fits no size allowed by --size", "文本（30 字节）超出 --size 允许的所有尺寸"},
  };
  for (const Spoke& c : cases) {
    for (const auto& [locale, expected] : {std::pair{"C", c.english}, std::pair{Chinese, c.chinese}}) {
      const CliOutcome run = CliIn(locale, c.line);
      EXPECT_EQ(run.status, c.status) << c.line << " under " << locale;
      const std::string& text = run.err.empty() ? run.out : run.err;
      EXPECT_NE(text.find(expected), std::string::npos) << c.line << " under " << locale << ":\n" << text;
    }
  }
}

// What scripts read is the same under both: option names and values for
// completion (the help's option words, the manual tests), --dump's lines (and a module size, which printf would write
// with the locale's decimal point), read's blocks and CSV, the manifest.
TEST_F(CliLanguage, WhatScriptsReadIsTheSameInBoth) {
  TempFolder folder;
  const std::string image = (folder.Path() / "card.png").string();
  ASSERT_EQ(Cli("qr --operator 1 --field N=张三 --field M=13800000000 -o " + image).status, ExitOk);
  const std::pair<std::string, std::string> lines[] = {
      {"options qr", ""},
      {"values dm --size", ""},
      {"qr --text 0.5 --module-mm 0.5 --dpi 300 --dump", ""},
      {"dm --text 12345 --module-mm 0.5 --dump", ""},
      {"read " + image, ""},
      {"read --csv " + image, ""},
      {"qr --batch - -o " + (folder.Path() / "out").string() + " --manifest -", "n,m\n张三,138\n"},
  };
  for (const auto& [line, input] : lines) {
    const CliOutcome english = CliIn("C", line, input), chinese = CliIn(Chinese, line, input);
    EXPECT_EQ(english.status, chinese.status) << line;
    EXPECT_EQ(english.out, chinese.out) << line;
  }
  // A failed row's status word stays; the reason after it is for people.
  const CliOutcome failed = CliIn(Chinese, "qr --batch - -o " + (folder.Path() / "out").string() + " --manifest -", "n,m\n,\n");
  EXPECT_NE(failed.out.find("\r\n1,1.png,,failed: 所有字段都为空"), std::string::npos) << failed.out;
  EXPECT_NE(failed.err.find("row 1: 所有字段都为空"), std::string::npos) << failed.err;
}

TEST_F(CliLanguage, NumbersStayInTheCLocale) {
  const Spoken spoken(Chinese);
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), Chinese);
  const CliOutcome run = Cli("qr --text a --module-mm 0.5 --dpi 96 -o - --format png");
  EXPECT_EQ(run.status, ExitOk) << run.err;
  EXPECT_NE(run.err.find("0.529 mm"), std::string::npos) << run.err;
}

// The installed program: main() reads LANG, and LC_ALL overrides it, as
// gettext's rules have it.
TEST_F(CliLanguage, TheProgramReadsTheEnvironment) {
  const std::string run = "QUILLET_LOCALEDIR=" QUILLET_BUILD_LOCALEDIR " " QUILLET_CLI " qr --level X 2>&1; true";
  EXPECT_NE(CommandOutput("env -u LC_ALL -u LC_MESSAGES -u LANGUAGE LANG=zh_CN.UTF-8 " + run).find("只能取"),
            std::string::npos);
  EXPECT_NE(CommandOutput("env -u LANGUAGE LANG=zh_CN.UTF-8 LC_ALL=C.UTF-8 " + run).find("takes L, M, Q or H"),
            std::string::npos);
  EXPECT_NE(CommandOutput("env -u LC_ALL -u LANGUAGE LANG=C LC_MESSAGES=zh_CN.UTF-8 " + run).find("只能取"),
            std::string::npos);
}

}  // namespace
