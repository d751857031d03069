// Files of the batch tests: a temporary folder, reading files back and
// decoding the images with zxing-cpp.
#pragma once

#include <stdlib.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/Decode.h"

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "quillet-batch-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::optional<std::string> DecodeFile(const fs::path& path, DecodeFormat format) {
  const QImage image = QImage(QString::fromStdString(path.string())).convertToFormat(QImage::Format_Grayscale8);
  if (image.isNull()) return std::nullopt;
  std::vector<uint8_t> pixels;
  for (int y = 0; y < image.height(); ++y)
    pixels.insert(pixels.end(), image.constScanLine(y), image.constScanLine(y) + image.width());
  return DecodeImage(pixels.data(), image.width(), image.height(), format);
}

// File name -> content, every file below `folder`, hidden ones included.
inline std::map<std::string, std::string> FilesIn(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[fs::relative(entry.path(), folder).string()] = ReadFile(entry.path());
  return files;
}
