#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <tuple>

#include "image/ImageWriters.h"
#include "tests/image/TestSymbols.h"

namespace {

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}
QStringList Entries(const QTemporaryDir& dir) { return Entries(dir.path()); }

struct NameCase {
  QString typed;
  int filterEntry;
  QString saved;
  QByteArray outcome;  // the format Qt finds in the bytes, or for a refusal part of the reason
};

const NameCase NameCases[] = {
    {"a", 1, "a.bmp", "bmp"},
    {"a", 2, "a.jpg", "jpeg"},
    {"a", 3, "a.gif", "gif"},
    {"a", 4, "a.png", "png"},
    {"typed.png", 1, "typed.png", "png"},
    {"UPPER.PNG", 2, "UPPER.PNG", "png"},
    {"a.JPEG", 4, "a.JPEG", "jpeg"},
    {"a.Dib", 4, "a.Dib", "bmp"},
    {"qr.v2.png", 1, "qr.v2.png", "png"},
    {"v1.2/a", 4, "v1.2/a.png", "png"},
    {"二维码 ü", 4, "二维码 ü.png", "png"},
    {"a.txt", 4, "a.txt", "refused: \".txt\""},
    {"a.png.txt", 1, "a.png.txt", "refused: \".txt\""},
    {"a.", 3, "a.", "refused: \".\""},
};

// The saved name and format follow the typed name and the filter entry; an
// existing file of that name is replaced, or, when the save is refused, kept.
TEST(SavedFiles, NameAndFilterEntryPickTheFormat) {
  for (const NameCase& c : NameCases) {
    SCOPED_TRACE(c.typed.toStdString());
    QTemporaryDir dir;
    const QFileInfo saved(dir.filePath(c.saved));
    QDir(dir.path()).mkpath(saved.path());
    const QString path = AppendDefaultExtension(dir.filePath(c.typed), c.filterEntry);
    ASSERT_EQ(path, saved.filePath());
    WriteFile(path, "old");
    const SaveResult result = SaveSymbolFile(PatternMatrix(21, 21, 5), 2, path);
    EXPECT_EQ(Entries(saved.path()), QStringList{saved.fileName()});
    if (c.outcome.startsWith("refused: ")) {
      EXPECT_FALSE(result.ok);
      EXPECT_TRUE(result.error.contains(c.outcome.mid(9))) << result.error.toStdString();
      EXPECT_EQ(ReadFile(path), "old");
    } else {
      ASSERT_TRUE(result.ok) << result.error.toStdString();
      QImageReader reader(path);
      reader.setDecideFormatFromContent(true);
      EXPECT_EQ(reader.format(), c.outcome);
    }
  }
}

TEST(SavedFiles, RefusedSavesSayWhyAndWriteNothing) {
  const std::tuple<ModuleMatrix, int, QString, QString> cases[] = {
      {ModuleMatrix(), 4, "a.png", "no symbol"},
      {PatternMatrix(21, 21, 5), 0, "a.png", "scale 0"},
      {PatternMatrix(21, 21, 5), 17, "a.png", "scale 17"},
      {PatternMatrix(21, 21, 5), 4, "missing/a.png", "does not exist"},
      {PatternMatrix(21, 21, 5), 4, "/proc/quillet-symbol.png", "\"/proc\""},  // not even root may create files there
  };
  for (const auto& [matrix, scale, name, reason] : cases) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(name);  // an absolute name stays as it is
    const SaveResult result = SaveSymbolFile(matrix, scale, path);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(reason)) << result.error.toStdString();
    EXPECT_TRUE(Entries(dir).isEmpty());
    EXPECT_FALSE(QFile::exists(path));
  }
}

// A write that runs out of room (here the file size limit, as a full disk
// would) leaves the old file whole and no partial file behind.
TEST(SavedFiles, FailedWriteLeavesNoTruncatedFile) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("big.bmp"), "keep me");
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit oldLimit{};
  getrlimit(RLIMIT_FSIZE, &oldLimit);
  rlimit small = oldLimit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const SaveResult replaced = SaveSymbolFile(PatternMatrix(177, 177, 5), 16, dir.filePath("big.bmp"));
  const SaveResult fresh = SaveSymbolFile(PatternMatrix(177, 177, 5), 16, dir.filePath("new.bmp"));
  setrlimit(RLIMIT_FSIZE, &oldLimit);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(replaced.ok);
  EXPECT_TRUE(replaced.error.contains("too large")) << replaced.error.toStdString();
  EXPECT_FALSE(fresh.ok);
  EXPECT_EQ(ReadFile(dir.filePath("big.bmp")), "keep me");
  EXPECT_EQ(Entries(dir), QStringList{"big.bmp"});
}

}  // namespace
