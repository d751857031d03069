// Every input a soak run ever failed on is kept in regressions/ and must
// now decode back to itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/soak/SoakCase.h"

TEST(SoakReplay, SavedFailuresNowRoundTrip) {
  const std::filesystem::path dir = QUILLET_SOAK_REGRESSIONS;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".case") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const auto c = ParseSoakCase(bytes.str());
    ASSERT_TRUE(c) << entry.path();
    std::optional<std::string> decoded;
    EXPECT_NE(RunSoakCase(*c, &decoded), SoakOutcome::Mismatch) << entry.path() << " read as " << Printable(decoded);
  }
}
