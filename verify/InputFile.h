// A file a user names, read whole. Hostile until checked: a pipe or a
// device is refused (its read could block or never end), and the size is
// bounded before anything is allocated for it.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace quillet {

enum class InputFileFailure { None, CannotOpen, NotAFile, TooLarge };

struct InputFile {
  InputFileFailure failure = InputFileFailure::None;
  int error = 0;  // CannotOpen: errno
  std::string bytes;
};

inline InputFile ReadInputFile(const std::string& path, int64_t maxBytes) {
  // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {InputFileFailure::CannotOpen, errno, {}};
  InputFile file;
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    file = {InputFileFailure::CannotOpen, errno, {}};
  } else if (S_ISDIR(info.st_mode)) {
    file = {InputFileFailure::CannotOpen, EISDIR, {}};
  } else if (!S_ISREG(info.st_mode)) {
    file.failure = InputFileFailure::NotAFile;
  } else if (info.st_size > maxBytes) {
    file.failure = InputFileFailure::TooLarge;
  } else {
    file.bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    ssize_t count = 0;
    while (done < file.bytes.size() && (count = read(fd, file.bytes.data() + done, file.bytes.size() - done)) > 0)
      done += static_cast<size_t>(count);
    if (count < 0) file = {InputFileFailure::CannotOpen, errno, {}};
    file.bytes.resize(done);
  }
  close(fd);
  return file;
}

}  // namespace quillet
