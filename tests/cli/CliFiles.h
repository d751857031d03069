// quillet-cli run in process, and what it wrote read back: files, folders,
// and images opened with Qt's readers and decoded with the real decoders.
#pragma once

#include <QImage>

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "tests/support/Decode.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace fs = std::filesystem;

struct CliOutcome {
  int status;
  std::string out;
  std::string err;
};

// The words of a command line: `line` split at its blanks.
inline std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream split(line);
  for (std::string word; split >> word;) words.push_back(word);
  return words;
}

// `line` run as the command line; `input` standard input.
inline CliOutcome Cli(const std::string& line, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunCli(Words(line), in, out, err);
  return {status, out.str(), err.str()};
}

inline std::optional<std::string> DecodePicture(const QImage& picture, DecodeFormat format) {
  const QImage image = picture.convertToFormat(QImage::Format_Grayscale8);
  if (image.isNull()) return std::nullopt;
  std::vector<uint8_t> pixels;
  for (int y = 0; y < image.height(); ++y)
    pixels.insert(pixels.end(), image.constScanLine(y), image.constScanLine(y) + image.width());
  return DecodeImage(pixels.data(), image.width(), image.height(), format);
}

inline QImage ImageFile(const fs::path& path) { return QImage(QString::fromStdString(path.string())); }

inline std::optional<std::string> DecodeFile(const fs::path& path, DecodeFormat format) {
  return DecodePicture(ImageFile(path), format);
}

// File name -> content, every file below `folder`, hidden ones included.
inline std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path().string());
  return files;
}
