#include "image/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>

namespace quillet {

namespace {

constexpr std::string_view TemporaryPrefix = ".quillet-";
constexpr std::string_view TemporarySuffix = ".tmp";
constexpr int RandomCharacters = 6;
constexpr int CreateAttempts = 100;

// Without this a write beyond RLIMIT_FSIZE kills the process instead of
// failing with EFBIG. A handler the program installed itself is kept.
void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction current {};
    if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) signal(SIGXFSZ, SIG_IGN);
  });
}

std::string RandomName() {
  static constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, sizeof Alphabet - 2);
  std::string name(TemporaryPrefix);
  for (int i = 0; i < RandomCharacters; ++i) name += Alphabet[pick(random)];
  return name.append(TemporarySuffix);
}

std::string FolderPrefix(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct Temporary {
  int fd = -1;
  std::string path;
};

// Like mkstemp, but created with 0666 so that the umask applies as to any
// new file.
Temporary CreateTemporary(const std::string& folderPrefix) {
  for (int attempt = 0; attempt < CreateAttempts; ++attempt) {
    std::string path = folderPrefix + RandomName();
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return {fd, std::move(path)};
  }
  return {-1, {}};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// A replaced file keeps who may read it.
void KeepPermissions(int fd, const std::string& path) {
  struct stat old {};
  if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
}

// A symbolic link stays a link: the file it points to is replaced, in that
// file's folder. A dangling link is replaced itself.
std::string ResolvedLink(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

// A named pipe or a device cannot be replaced by renaming: it gets the bytes
// directly.
ImageResult WriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return {ImageFailure::CannotWrite, path, errno};
  const bool written = WriteAll(fd, bytes);
  const int error = errno;
  if (close(fd) != 0 || !written) return {ImageFailure::CannotWrite, path, written ? errno : error};
  return {};
}

ImageResult Abandon(const Temporary& temporary, ImageFailure failure, const std::string& subject) {
  const int error = errno;
  if (temporary.fd >= 0) close(temporary.fd);
  unlink(temporary.path.c_str());
  return {failure, subject, error};
}

}  // namespace

ImageResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
  IgnoreFileSizeSignal();
  const std::string target = ResolvedLink(path);
  struct stat status {};
  if (stat(target.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
    return WriteInPlace(target, bytes);
  const std::string prefix = FolderPrefix(target);
  Temporary temporary = CreateTemporary(prefix);
  if (temporary.fd < 0) {
    const std::string folder = prefix.empty() ? "." : prefix.size() == 1 ? prefix : prefix.substr(0, prefix.size() - 1);
    return {ImageFailure::CannotCreate, folder, errno ? errno : EEXIST};
  }
  KeepPermissions(temporary.fd, target);
  if (!WriteAll(temporary.fd, bytes)) return Abandon(temporary, ImageFailure::CannotWrite, path);
  const int fd = temporary.fd;
  temporary.fd = -1;
  if (close(fd) != 0) return Abandon(temporary, ImageFailure::CannotWrite, path);
  if (rename(temporary.path.c_str(), target.c_str()) != 0) return Abandon(temporary, ImageFailure::CannotReplace, path);
  return {};
}

bool IsAtomicTemporaryName(std::string_view fileName) {
  return fileName.size() == TemporaryPrefix.size() + RandomCharacters + TemporarySuffix.size() &&
         fileName.starts_with(TemporaryPrefix) && fileName.ends_with(TemporarySuffix);
}

}  // namespace quillet
