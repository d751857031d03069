#include "batch/Manifest.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace quillet {

namespace {

constexpr const char* Header = "row,file,symbol,status\r\n";


}  // namespace

ManifestWriter::~ManifestWriter() { Discard(); }

ImageResult ManifestWriter::Open(const std::string& path) {
  path_ = path;
  const std::filesystem::path target(path);
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  temporary_ = (folder / ".quillet-XXXXXX.tmp").string();
  const int fd = ::mkstemps(temporary_.data(), 4);
  if (fd < 0) {
    const int error = errno;
    temporary_.clear();
    return {ImageFailure::CannotCreate, folder.string(), error};
  }
  // A manifest is an ordinary file: not the 0600 of a temporary one.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  file_ = ::fdopen(fd, "w");
  std::fputs(Header, file_);
  return {};
}

void ManifestWriter::Open(std::ostream& stream) {
  stream_ = &stream;
  *stream_ << Header;
}

void ManifestWriter::Add(const BatchRowResult& result, const std::string& reason) {
  if (!file_ && !stream_) return;
  const std::string status = result.Ok() ? std::string(ManifestWritten) : std::string(ManifestFailed) + reason;
  const std::string line = std::to_string(result.row) + "," + CsvField(result.fileName) + "," +
                           CsvField(result.symbol) + "," + CsvField(status) + "\r\n";
  if (stream_) stream_->write(line.data(), static_cast<std::streamsize>(line.size()));
  else std::fwrite(line.data(), 1, line.size(), file_);
}

ImageResult ManifestWriter::Close() {
  if (stream_) {
    const bool written = static_cast<bool>(stream_->flush());
    stream_ = nullptr;
    if (!written) return {ImageFailure::CannotWrite, path_, 0};
    return {};
  }
  if (!file_) return {};
  const bool written = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  const int error = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed) {
    const int why = written ? errno : error;
    Discard();
    return {ImageFailure::CannotWrite, path_, why};
  }
  if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    const int renameError = errno;
    Discard();
    return {ImageFailure::CannotReplace, path_, renameError};
  }
  temporary_.clear();
  return {};
}

void ManifestWriter::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

std::string CsvField(const std::string& value) {
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (const char c : value) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace quillet
