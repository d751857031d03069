// The real program in a pipeline: bytes in on standard input, an image out
// on standard output, undamaged by stream buffering or text conversion.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <string>

#include "tests/support/Decode.h"

namespace {

// Runs `command` through the shell and returns its standard output.
std::string Output(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  pclose(pipe);
  return out;
}

std::optional<std::string> DecodeBytes(const std::string& bytes, DecodeFormat format) {
  const QImage image = QImage::fromData(QByteArray::fromStdString(bytes)).convertToFormat(QImage::Format_Grayscale8);
  if (image.isNull()) return std::nullopt;
  std::vector<uint8_t> pixels;
  for (int y = 0; y < image.height(); ++y)
    pixels.insert(pixels.end(), image.constScanLine(y), image.constScanLine(y) + image.width());
  return DecodeImage(pixels.data(), image.width(), image.height(), format);
}

TEST(CliProcess, StandardInputToStandardOutputInEveryRasterFormat) {
  for (const std::string format : {"png", "jpg", "gif", "bmp"}) {
    const std::string image =
        Output("printf 'piped\\000\\377bytes' | " QUILLET_CLI " dm --data-file - -o - --format " + format);
    EXPECT_EQ(DecodeBytes(image, DecodeFormat::DataMatrix), std::string("piped\0\xFF" "bytes", 12)) << format;
  }
}

TEST(CliProcess, VersionComesFromTheBuild) {
  EXPECT_EQ(Output(QUILLET_CLI " --version"), "quillet-cli " QUILLET_VERSION "\n");
}

}  // namespace
