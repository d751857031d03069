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
#include "cli/Words.h"
#include "image/ImageFormats.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::ranges::sort(names);
  return names;
}

// An existing file of the name is replaced in the format of its extension
// (as Qt finds it in the bytes); a refused save names its reason and leaves
// the folder as it was, an existing file with its old content.
TEST(SavedFiles, TheExtensionPicksTheFormatAndRefusalsChangeNothing) {
  using enum ImageFailure;
  const ModuleMatrix symbol = PatternMatrix(21, 21, 5);
  const std::tuple<std::string, ModuleMatrix, ImageOptions, ImageFailure, std::string> cases[] = {
      // name, symbol, options, failure, Qt's format of the file or the reason of the refusal
      {"a.bmp", symbol, {2}, None, "bmp"},         {"a.jpg", symbol, {2}, None, "jpeg"},
      {"a.gif", symbol, {2}, None, "gif"},         {"二维码 ü.v2.PNG", symbol, {2}, None, "png"},
      {"a.png", ModuleMatrix(), {4}, NoSymbol, "there is no symbol to save"},
      {"a.png", symbol, {0}, BadScale, "scale 0 is less than 1"},
      // Past the slider's 16 for a printed size, up to the largest image: 25 x 400 pixels.
      {"a.png", symbol, {17}, None, "png"},
      {"a.png", symbol, {401}, TooLarge, "the image would be 10025 pixels a side; the most is 10000"},
      {"a.png", symbol, {4, -1}, BadQuietZone, "quiet zone of -1 modules"},
      {"a.png", symbol, {4, 2, 0}, BadDpi, "dpi 0 is outside"},
      {"a.png.txt", symbol, {4}, UnknownExtension,
       "unknown image file extension '.txt'; use .bmp, .jpg, .gif, .png, .svg, .pdf or .eps"},
      {"noextension", symbol, {4}, UnknownExtension, "the file name has no extension"},
      {"missing/a.png", symbol, {4}, FolderMissing, "missing' does not exist"},
      {"sub.png", symbol, {4}, IsFolder, "sub.png' is a folder"},
      // Not even root may create files there.
      {"/proc/quillet-symbol.png", symbol, {4}, CannotCreate, "cannot create a file in the folder '/proc': "}};
  for (const auto& [name, matrix, options, failure, outcome] : cases) {
    SCOPED_TRACE(name);
    TempFolder folder;
    fs::create_directory(folder.File("sub.png"));
    const std::string path = folder.Path() / name;  // an absolute name stays as it is
    if (!fs::exists(path)) WriteBytes(path, "old");
    const std::vector<std::string> entries = Entries(folder.Path());
    const std::string before = ReadBytes(path);
    const ImageResult result = SaveImageFile(matrix, options, path);
    EXPECT_EQ(result.failure, failure) << DescribeImageFailure(result);
    EXPECT_EQ(Entries(folder.Path()), entries);
    if (failure == None) {
      QImageReader reader(QString::fromStdString(path));
      reader.setDecideFormatFromContent(true);
      EXPECT_EQ(reader.format().toStdString(), outcome);
    } else {
      EXPECT_NE(DescribeImageFailure(result).find(outcome), std::string::npos) << DescribeImageFailure(result);
      EXPECT_EQ(ReadBytes(path), before);
    }
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
  const ImageResult replaced = SaveImageFile(PatternMatrix(177, 177, 5), {16}, folder.File("big.bmp"));
  const ImageResult fresh = SaveImageFile(PatternMatrix(177, 177, 5), {16}, folder.File("new.bmp"));
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
  const ImageResult linked = SaveImageFile(PatternMatrix(21, 21, 5), {2}, folder.File("link.png"));
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

}  // namespace
