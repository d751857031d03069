// Writing image files when the system refuses: a file size limit hit in the
// middle of the write, a folder nobody may write to, a non-ASCII path. A
// failure must come back with a reason and leave an existing file intact.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "image/ImageWriters.h"

namespace {

ModuleMatrix Checkerboard(int side) {
  ModuleMatrix matrix(side, side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) matrix.SetDark(x, y, (x + y) % 2 == 0);
  return matrix;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Runs the save in a child whose files may not grow beyond `limit` bytes;
// exit status 0 means the save reported failure with a reason.
int SaveUnderFileSizeLimit(const QString& path, rlim_t limit) {
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit rl{limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
    const SaveResult result = SaveSymbolFile(Checkerboard(177), 16, path);
    _exit(!result.ok && !result.error.isEmpty() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(ImageFaults, FileSizeLimitFailsWithAReasonAndKeepsTheOldFile) {
  QTemporaryDir dir;
  for (const char* name : {"big.bmp", "big.png", "big.gif", "big.jpg", "big.svg"}) {
    const QString path = dir.filePath(name);
    const QByteArray old(3000, 'o');
    WriteAll(path, old);
    EXPECT_EQ(SaveUnderFileSizeLimit(path, 4096), 0) << name;
    EXPECT_EQ(ReadAll(path), old) << name;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5) << "no temporary files left behind";
}

TEST(ImageFaults, UnwritableFolderFailsWithAReason) {
  QTemporaryDir dir;
  // Root may write anywhere in an ordinary folder; /proc refuses new files to everyone.
  const QString folder = geteuid() == 0 ? QStringLiteral("/proc") : dir.filePath("locked");
  if (geteuid() != 0) {
    QDir().mkdir(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
  }
  const SaveResult result = SaveSymbolFile(Checkerboard(21), 4, folder + "/symbol.png");
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.error.isEmpty());
  EXPECT_FALSE(QFile::exists(folder + "/symbol.png"));
}

TEST(ImageFaults, NonAsciiPathsAreWrittenAndReadBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("二维码 ü/符号.png"));
  QDir().mkpath(QFileInfo(path).path());
  const SaveResult result = SaveSymbolFile(Checkerboard(21), 2, path);
  ASSERT_TRUE(result.ok) << result.error.toStdString();
  EXPECT_EQ(QImage(path).size(), QSize(50, 50));
}

}  // namespace
