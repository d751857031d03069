// quillet-cli qr|dm --batch: exit statuses and messages in process, and
// interruption of the real program by SIGINT and SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "cli/CliRun.h"
#include "image/AtomicFile.h"
#include "tests/batch/BatchFiles.h"

namespace {

struct CliOutcome {
  int status;
  std::string err;
};

CliOutcome Cli(std::vector<std::string> words, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunCli(words, in, out, err);
  EXPECT_EQ(out.str(), "");  // standard output stays free for pipelines
  return {status, err.str()};
}

TEST(BatchCli, ExitStatusAndMessagesTellWhatHappened) {
  TempDir dir;
  WriteFile(dir / "good.csv", "N\na\nb\n");
  WriteFile(dir / "mixed.csv", "N,M\na\n,\nb,2,3\n");
  WriteFile(dir / "misspelt.csv", "N,Moblie\na,1\n");
  WriteFile(dir / "blocker", "a file where the folder should be");
  struct Case {
    std::vector<std::string> words;
    int status;
    std::string err;
  } const cases[] = {
      {{"qr", "--batch", dir / "good.csv", "-o", dir / "a"}, ExitOk, "2 written, 0 failed\n"},
      {{"qr", "--batch", dir / "good.csv", "-o", dir / "a", "--name", "{row}.tif"}, ExitUsage, "must end in"},
      {{"qr", "--batch", dir / "mixed.csv", "-o", dir / "b"},
       ExitSomeRowsFailed,
       "row 2: every field is empty: there is nothing to encode\nrow 3: the row has 3 cells, the header 2\n"
       "1 written, 2 failed\n"},
      {{"qr", "--batch", dir / "misspelt.csv", "-o", dir / "c"}, ExitUsage, "quillet-cli: column 'Moblie' is neither"},
      {{"qr", "--batch", dir / "none.csv", "-o", dir / "d"}, ExitUsage, "No such file or directory"},
      {{"qr", "--batch", dir / "good.csv", "-o", dir / "blocker/e"}, ExitWriteFailed, "cannot create the folder"},
      {{"qr", "--batch", dir / "good.csv"}, ExitUsage, "--batch needs -o DIR"},
      {{"qr", "--batch", dir / "good.csv", "-o", dir / "f", "--text", "x"}, ExitUsage, "no --text"},
      {{"dm", "--jobs", "2", "--text", "x", "-o", dir / "g.png"}, ExitUsage, "go with --batch INPUT"},
      {{"qr", "--batch", dir / "good.csv", "-o", dir / "h", "--encoding", "latin1"}, ExitUsage, "utf-8 or gb18030"},
  };
  for (const Case& c : cases) {
    const CliOutcome run = Cli(c.words);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(dir / "c"));
}

TEST(BatchCli, StandardInputWithOptionsPassedThrough) {
  TempDir dir;
  const std::string csv = "serial,text\nA7,Lot 7\n";
  const CliOutcome run = Cli({"dm", "--batch", "-", "-o", dir / "out", "--name", "{serial}.png", "--scale", "3",
                              "--manifest", dir / "m.csv", "--jobs", "1", "--encoding", "utf-8"},
                             csv);
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_EQ(DecodeFile(dir / "out/A7.png", DecodeFormat::DataMatrix), "Lot 7");
  EXPECT_EQ(QImage(QString::fromStdString(dir / "out/A7.png")).width(), (12 + 4) * 3);
  EXPECT_EQ(ReadFile(dir / "m.csv"), "row,file,symbol,status\r\n1,A7.png,12x12,written\r\n");
}

// Runs the real program on many rows and signals it once some files exist.
struct Interrupted {
  int status = -1;
  std::map<std::string, std::string> files;
};

Interrupted InterruptAfterSomeFiles(const TempDir& dir, int signal, const char* jobs) {
  std::string csv = "N,M\n";
  for (int i = 1; i <= 50000; ++i) csv += "Name " + std::to_string(i) + ",1380013" + std::to_string(i) + "\n";
  WriteFile(dir / "in.csv", csv);
  const fs::path out = dir / "out";
  const pid_t child = fork();
  if (child == 0) {
    const std::string in = dir / "in.csv", err = dir / "err.txt";
    freopen(err.c_str(), "w", stderr);
    execl(QUILLET_CLI, QUILLET_CLI, "qr", "--batch", in.c_str(), "-o", out.c_str(), "--jobs", jobs, nullptr);
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (std::chrono::steady_clock::now() < deadline &&
         (!fs::exists(out) || std::distance(fs::directory_iterator(out), fs::directory_iterator()) < 40))
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  kill(child, signal);
  Interrupted result;
  waitpid(child, &result.status, 0);
  result.files = FilesIn(out);
  return result;
}

TEST(BatchCli, SigintAndSigtermLeaveOnlyCompleteFilesAndNoTemporaryOnes) {
  for (const auto& [signal, jobs] : {std::pair{SIGINT, "4"}, std::pair{SIGTERM, "1"}}) {
    TempDir dir;
    const Interrupted run = InterruptAfterSomeFiles(dir, signal, jobs);
    ASSERT_TRUE(WIFEXITED(run.status)) << "the program did not end by itself";
    EXPECT_EQ(WEXITSTATUS(run.status), 128 + signal);
    const std::string err = ReadFile(dir / "err.txt");
    EXPECT_NE(err.find("interrupted: " + std::to_string(run.files.size()) + " written, 0 failed"), std::string::npos)
        << err;
    EXPECT_GE(run.files.size(), 40u);
    EXPECT_LT(run.files.size(), 50000u);
    for (const auto& [name, bytes] : run.files) {
      ASSERT_FALSE(IsAtomicTemporaryName(name)) << name;
      const long row = std::stol(name);
      ASSERT_EQ(DecodeFile(dir / ("out/" + name), DecodeFormat::QrCode),
                "\x01\x10" "CARD:N:Name " + std::to_string(row) + ";M:1380013" + std::to_string(row) + ";;")
          << name;
    }
  }
}

}  // namespace
