// Saving to disk: the file appears whole or keeps its old content, no
// temporary file is left behind, and every refusal names its reason.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "image/AtomicFile.h"
#include "image/ImageFormats.h"
#include "tests/image/TestSymbols.h"

namespace {

QStringList Entries(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

ImageOptions Scale(int scale) {
  ImageOptions options;
  options.scale = scale;
  return options;
}

ImageResult Save(const ModuleMatrix& matrix, int scale, const QString& path) {
  return SaveImageFile(matrix, Scale(scale), QFile::encodeName(path).toStdString());
}

struct NameCase {
  QString name;
  QByteArray outcome;  // the format Qt finds in the bytes, or the refused extension
};

const NameCase NameCases[] = {
    {"a.bmp", "bmp"},      {"a.jpg", "jpeg"},     {"a.gif", "gif"},      {"a.png", "png"},
    {"UPPER.PNG", "png"},  {"a.JPEG", "jpeg"},    {"a.Dib", "bmp"},      {"二维码 ü.png", "png"},
    {"a.txt", ".txt"},     {"a.png.txt", ".txt"}, {"a.", "."},           {"noextension", ""},
    {"qr.v2.png", "png"},
};

// An existing file of the name is replaced in the format of its extension,
// or, when the save is refused, kept as it was.
TEST(SavedFiles, TheExtensionPicksTheFormatAndRefusalsKeepTheOldFile) {
  for (const NameCase& c : NameCases) {
    SCOPED_TRACE(c.name.toStdString());
    QTemporaryDir dir;
    const QString path = dir.filePath(c.name);
    WriteFile(path, "old");
    const ImageResult result = Save(PatternMatrix(21, 21, 5), 2, path);
    EXPECT_EQ(Entries(dir), QStringList{c.name});
    if (c.outcome.isEmpty() || c.outcome.startsWith('.')) {
      EXPECT_EQ(result.failure, ImageFailure::UnknownExtension);
      EXPECT_EQ(result.subject, c.outcome.toStdString());
      EXPECT_EQ(ReadFile(path), "old");
    } else {
      ASSERT_TRUE(result.Ok()) << DescribeImageFailure(result);
      QImageReader reader(path);
      reader.setDecideFormatFromContent(true);
      EXPECT_EQ(reader.format(), c.outcome);
    }
  }
}

TEST(SavedFiles, RefusedSavesSayWhyAndWriteNothing) {
  const std::tuple<ModuleMatrix, int, QString, ImageFailure, std::string> cases[] = {
      {ModuleMatrix(), 4, "a.png", ImageFailure::NoSymbol, "no symbol"},
      {PatternMatrix(21, 21, 5), 17, "a.png", ImageFailure::BadScale, "scale 17"},
      {PatternMatrix(21, 21, 5), 4, "a.txt", ImageFailure::UnknownExtension,
       "unknown image file extension \".txt\"; use .bmp, .jpg, .gif, .png, .svg, .pdf or .eps"},
      {PatternMatrix(21, 21, 5), 4, "missing/a.png", ImageFailure::FolderMissing, "missing\" does not exist"},
      {PatternMatrix(21, 21, 5), 4, "sub.png", ImageFailure::IsFolder, "sub.png\" is a folder"},
      // Not even root may create files there.
      {PatternMatrix(21, 21, 5), 4, "/proc/quillet-symbol.png", ImageFailure::CannotCreate,
       "cannot create a file in the folder \"/proc\": "},
  };
  for (const auto& [matrix, scale, name, failure, reason] : cases) {
    SCOPED_TRACE(name.toStdString());
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub.png");
    const QString path = QDir(dir.path()).filePath(name);  // an absolute name stays as it is
    const ImageResult result = Save(matrix, scale, path);
    EXPECT_EQ(result.failure, failure);
    EXPECT_NE(DescribeImageFailure(result).find(reason), std::string::npos) << DescribeImageFailure(result);
    EXPECT_EQ(Entries(dir), QStringList{"sub.png"});
    if (name != "sub.png") {
      EXPECT_FALSE(QFile::exists(path));
    }
  }
}

// A write that runs out of room (here the file size limit, as a full disk
// would) leaves the old file whole and no partial file behind; the process
// is not killed by SIGXFSZ, which the writer ignores unless handled.
TEST(SavedFiles, FailedWriteLeavesNoTruncatedFile) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("big.bmp"), "keep me");
  rlimit oldLimit{};
  getrlimit(RLIMIT_FSIZE, &oldLimit);
  rlimit small = oldLimit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const ImageResult replaced = Save(PatternMatrix(177, 177, 5), 16, dir.filePath("big.bmp"));
  const ImageResult fresh = Save(PatternMatrix(177, 177, 5), 16, dir.filePath("new.bmp"));
  setrlimit(RLIMIT_FSIZE, &oldLimit);
  EXPECT_EQ(replaced.failure, ImageFailure::CannotWrite);
  EXPECT_EQ(replaced.error, EFBIG);
  EXPECT_NE(DescribeImageFailure(replaced).find("too large"), std::string::npos) << DescribeImageFailure(replaced);
  EXPECT_EQ(fresh.failure, ImageFailure::CannotWrite);
  EXPECT_EQ(ReadFile(dir.filePath("big.bmp")), "keep me");
  EXPECT_EQ(Entries(dir), QStringList{"big.bmp"});
}

// Replacing keeps who may read the file; a new file follows the umask.
TEST(SavedFiles, PermissionsOfAReplacedFileAreKept) {
  QTemporaryDir dir;
  const std::string kept = QFile::encodeName(dir.filePath("kept.png")).toStdString();
  const std::string fresh = QFile::encodeName(dir.filePath("fresh.png")).toStdString();
  WriteFile(dir.filePath("kept.png"), "old");
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  const mode_t oldMask = umask(022);
  EXPECT_TRUE(WriteFileAtomically(kept, "new").Ok());
  EXPECT_TRUE(WriteFileAtomically(fresh, "new").Ok());
  umask(oldMask);
  struct stat status {};
  ASSERT_EQ(stat(kept.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  ASSERT_EQ(stat(fresh.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0644u);
  EXPECT_EQ(ReadFile(dir.filePath("kept.png")), "new");
}

// A link keeps pointing at its file, which gets the new content in its own
// folder; a named pipe, which cannot be replaced, receives the bytes.
TEST(SavedFiles, LinksAndPipesAreWrittenThrough) {
  QTemporaryDir dir, elsewhere;
  WriteFile(elsewhere.filePath("real.png"), "old");
  ASSERT_TRUE(QFile::link(elsewhere.filePath("real.png"), dir.filePath("link.png")));
  const ImageResult linked = Save(PatternMatrix(21, 21, 5), 2, dir.filePath("link.png"));
  ASSERT_TRUE(linked.Ok()) << DescribeImageFailure(linked);
  EXPECT_TRUE(QFileInfo(dir.filePath("link.png")).isSymLink());
  EXPECT_TRUE(ReadFile(elsewhere.filePath("real.png")).startsWith("\x89PNG"));
  EXPECT_EQ(Entries(elsewhere), QStringList{"real.png"});

  const std::string pipe = QFile::encodeName(dir.filePath("pipe.png")).toStdString();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  FILE* reader = popen(("cat '" + pipe + "' | wc -c").c_str(), "r");
  const ImageResult piped = WriteFileAtomically(pipe, "through the pipe");
  char count[32] = {};
  fgets(count, sizeof count, reader);
  pclose(reader);
  EXPECT_TRUE(piped.Ok()) << DescribeImageFailure(piped);
  EXPECT_EQ(std::atoi(count), 16);
  EXPECT_EQ(Entries(dir), (QStringList{"link.png", "pipe.png"}));
}

TEST(SavedFiles, TemporaryNamesAreRecognised) {
  EXPECT_TRUE(IsAtomicTemporaryName(".quillet-Ab3xYz.tmp"));
  EXPECT_FALSE(IsAtomicTemporaryName(".quillet-Ab3xY.tmp"));
  EXPECT_FALSE(IsAtomicTemporaryName("quillet-Ab3xYz.tmp"));
  EXPECT_FALSE(IsAtomicTemporaryName("a.png"));
}

}  // namespace
