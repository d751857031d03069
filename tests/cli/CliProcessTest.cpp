// The real program in a pipeline: bytes in on standard input, an image out
// on standard output, undamaged by stream buffering or text conversion.
#include <gtest/gtest.h>

#include "tests/cli/CliFiles.h"
#include "tests/support/Poppler.h"

namespace {

TEST(CliProcess, StandardInputToStandardOutputInEveryRasterFormat) {
  for (const std::string format : {"png", "jpg", "gif", "bmp"}) {
    const std::string image =
        CommandOutput("printf 'piped\\000\\377bytes' | " QUILLET_CLI " dm --data-file - -o - --format " + format);
    EXPECT_EQ(DecodeBytes(image, DecodeFormat::DataMatrix), std::string("piped\0\xFF" "bytes", 12)) << format;
  }
}

}  // namespace
