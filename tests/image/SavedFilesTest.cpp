// Saving to disk: the file appears whole or keeps its old content, no
// temporary file is left behind, and every refusal names its reason.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QImageReader>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "image/AtomicFile.h"
#include "image/ImageFormats.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::ranges::sort(names);
  return names;
}

ImageResult Save(const ModuleMatrix& matrix, int scale, const std::string& path) {
  ImageOptions options;
  options.scale = scale;
  return SaveImageFile(matrix, options, path);
}

// An existing file of the name is replaced in the format of its extension
// (as Qt finds it in the bytes), or, when the save is refused, kept as it was.
TEST(SavedFiles, TheExtensionPicksTheFormatAndRefusalsKeepTheOldFile) {
  const std::pair<std::string, std::string> cases[] = {  // name, format or refused extension
      {"a.bmp", "bmp"},     {"a.jpg", "jpeg"},     {"a.gif", "gif"}, {"UPPER.PNG", "png"}, {"a.Dib", "bmp"},
      {"二维码 ü.png", "png"}, {"qr.v2.png", "png"}, {"a.png.txt", ".txt"}, {"a.", "."},    {"noextension", ""}};
  for (const auto& [name, outcome] : cases) {
    SCOPED_TRACE(name);
    TempFolder folder;
    WriteBytes(folder.File(name), "old");
    const ImageResult result = Save(PatternMatrix(21, 21, 5), 2, folder.File(name));
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{name});
    if (outcome.empty() || outcome[0] == '.') {
      EXPECT_EQ(result.failure, ImageFailure::UnknownExtension);
      EXPECT_EQ(result.subject, outcome);
      EXPECT_EQ(ReadBytes(folder.File(name)), "old");
    } else {
      ASSERT_TRUE(result.Ok()) << DescribeImageFailure(result);
      QImageReader reader(QString::fromStdString(folder.File(name)));
      reader.setDecideFormatFromContent(true);
      EXPECT_EQ(reader.format().toStdString(), outcome);
    }
  }
}

TEST(SavedFiles, RefusedSavesSayWhyAndWriteNothing) {
  const std::tuple<ModuleMatrix, int, std::string, ImageFailure, std::string> cases[] = {
      {ModuleMatrix(), 4, "a.png", ImageFailure::NoSymbol, "no symbol"},
      {PatternMatrix(21, 21, 5), 17, "a.png", ImageFailure::BadScale, "scale 17"},
      {PatternMatrix(21, 21, 5), 4, "a.txt", ImageFailure::UnknownExtension,
       "unknown image file extension \".txt\"; use .bmp, .jpg, .gif, .png, .svg, .pdf or .eps"},
      {PatternMatrix(21, 21, 5), 4, "missing/a.png", ImageFailure::FolderMissing, "missing\" does not exist"},
      {PatternMatrix(21, 21, 5), 4, "sub.png", ImageFailure::IsFolder, "sub.png\" is a folder"},
      // Not even root may create files there.
      {PatternMatrix(21, 21, 5), 4, "/proc/quillet-symbol.png", ImageFailure::CannotCreate,
       "cannot create a file in the folder \"/proc\": "}};
  for (const auto& [matrix, scale, name, failure, reason] : cases) {
    SCOPED_TRACE(name);
    TempFolder folder;
    fs::create_directory(folder.File("sub.png"));
    const std::string path = folder.Path() / name;  // an absolute name stays as it is
    const ImageResult result = Save(matrix, scale, path);
    EXPECT_EQ(result.failure, failure);
    EXPECT_NE(DescribeImageFailure(result).find(reason), std::string::npos) << DescribeImageFailure(result);
    EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"sub.png"});
    EXPECT_TRUE(name == "sub.png" || !fs::exists(path));
  }
}

// A write that runs out of room (here the file size limit, as a full disk
// would) leaves the old file whole and no partial file behind; the process
// is not killed by SIGXFSZ, which the writer ignores unless handled.
TEST(SavedFiles, FailedWriteLeavesNoTruncatedFile) {
  TempFolder folder;
  WriteBytes(folder.File("big.bmp"), "keep me");
  rlimit oldLimit{};
  getrlimit(RLIMIT_FSIZE, &oldLimit);
  rlimit small = oldLimit;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const ImageResult replaced = Save(PatternMatrix(177, 177, 5), 16, folder.File("big.bmp"));
  const ImageResult fresh = Save(PatternMatrix(177, 177, 5), 16, folder.File("new.bmp"));
  setrlimit(RLIMIT_FSIZE, &oldLimit);
  EXPECT_EQ(std::tie(replaced.failure, replaced.error), std::make_tuple(ImageFailure::CannotWrite, EFBIG));
  EXPECT_NE(DescribeImageFailure(replaced).find("too large"), std::string::npos) << DescribeImageFailure(replaced);
  EXPECT_EQ(fresh.failure, ImageFailure::CannotWrite);
  EXPECT_EQ(ReadBytes(folder.File("big.bmp")), "keep me");
  EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"big.bmp"});
}

// Replacing keeps who may read the file; a new file follows the umask.
TEST(SavedFiles, PermissionsOfAReplacedFileAreKept) {
  TempFolder folder;
  const std::string kept = folder.File("kept.png"), fresh = folder.File("fresh.png");
  WriteBytes(kept, "old");
  ASSERT_EQ(chmod(kept.c_str(), 0640), 0);
  const mode_t oldMask = umask(022);
  EXPECT_TRUE(WriteFileAtomically(kept, "new").Ok());
  EXPECT_TRUE(WriteFileAtomically(fresh, "new").Ok());
  umask(oldMask);
  EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0640));
  EXPECT_EQ(fs::status(fresh).permissions(), fs::perms(0644));
  EXPECT_EQ(ReadBytes(kept), "new");
}

// A link keeps pointing at its file, which gets the new content in its own
// folder; a named pipe, which cannot be replaced, receives the bytes.
TEST(SavedFiles, LinksAndPipesAreWrittenThrough) {
  TempFolder folder, elsewhere;
  WriteBytes(elsewhere.File("real.png"), "old");
  fs::create_symlink(elsewhere.File("real.png"), folder.File("link.png"));
  const ImageResult linked = Save(PatternMatrix(21, 21, 5), 2, folder.File("link.png"));
  ASSERT_TRUE(linked.Ok()) << DescribeImageFailure(linked);
  EXPECT_TRUE(fs::is_symlink(folder.File("link.png")));
  EXPECT_TRUE(ReadBytes(elsewhere.File("real.png")).starts_with("\x89PNG"));
  EXPECT_EQ(Entries(elsewhere.Path()), std::vector<std::string>{"real.png"});

  const std::string pipe = folder.File("pipe.png");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  FILE* reader = popen(("cat '" + pipe + "' | wc -c").c_str(), "r");
  const ImageResult piped = WriteFileAtomically(pipe, "through the pipe");
  char count[32] = {};
  fgets(count, sizeof count, reader);
  pclose(reader);
  EXPECT_TRUE(piped.Ok()) << DescribeImageFailure(piped);
  EXPECT_EQ(std::atoi(count), 16);
  EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"link.png", "pipe.png"}));
}

TEST(SavedFiles, TemporaryNamesAreRecognised) {
  EXPECT_TRUE(IsAtomicTemporaryName(".quillet-Ab3xYz.tmp"));
  EXPECT_FALSE(IsAtomicTemporaryName(".quillet-Ab3xY.tmp"));
  EXPECT_FALSE(IsAtomicTemporaryName("quillet-Ab3xYz.tmp"));
  EXPECT_FALSE(IsAtomicTemporaryName("a.png"));
}

}  // namespace
