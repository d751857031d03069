// quillet-cli qr|dm --batch: exit statuses and messages in process, and
// interruption of the real program by SIGINT and SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "image/AtomicFile.h"
#include "tests/cli/CliFiles.h"

using namespace quillet;

namespace {

// A usage error (status 1) is found before anything is written; standard
// output stays free for pipelines.
TEST(BatchCli, ExitStatusAndMessagesTellWhatHappened) {
  TempFolder folder;
  const auto dir = [&](const std::string& name) { return " " + folder.File(name) + " "; };
  WriteBytes(folder.File("good.csv"), "N\na\nb\n");
  WriteBytes(folder.File("empty.csv"), "");
  WriteBytes(folder.File("large.csv"), "text\n" + std::string(1500, 'A') + "\nshort\n");
  WriteBytes(folder.File("blocker"), "a file where the folder should be");
  WriteBytes(folder.File("required.csv"), "姓名,手机\n,138\n");
  WriteBytes(folder.File("long.csv"), "姓名,地址\n,x\nA," + std::string(150, 'a') + "\n");
  const struct {
    std::string line;
    int status;
    std::string err;
  } cases[] = {
      {"qr --batch" + dir("good.csv") + "-o" + dir("a"), ExitOk, "2 written, 0 failed\n"},
      // The largest Data Matrix at one pixel a module fails its row; the file stays.
      {"dm --batch" + dir("large.csv") + "-o" + dir("v") + "--scale 1 --name {row}.png --verify", ExitSomeRowsFailed,
       "row 1: '1.png' does not read back: neither libdmtx nor zxing-cpp found the symbol"},
      {"qr --batch" + dir("good.csv") + "-o" + dir("blocker/e"), ExitWriteFailed, "cannot create the folder"},
      // Not the empty name's missing extension: the cause.
      {"qr --batch" + dir("required.csv") + "-o" + dir("r") + "--name {姓名}.png", ExitSomeRowsFailed,
       "row 1: column '姓名': a required field is empty\n0 written, 1 failed\n"},
      // Checked on the first row that encodes, before any row is placed.
      {"qr --operator 1 --batch" + dir("long.csv") + "-o" + dir("c/sheet.pdf") + "--sheet A4 --columns 3 --rows 8 --caption {row} --dpi 96",
       ExitUsage,
       "the labels do not fit: the first row's symbol (53 modules) measures 60.3 x 64.0 mm with its quiet zone and "
       "caption, a cell 63.3 x 34.6 mm; it fits with --columns 3 --rows 4, --module-mm 0.53 or less, or a symbol of "
       "at most 25 modules (a lower version or less content)\n"},
      {"qr --batch" + dir("empty.csv") + "-o" + dir("c"), ExitUsage, "the input is empty"},
      {"qr --batch" + dir("good.csv") + "-o" + dir("c") + "--name {row}.tif", ExitUsage, "must end in"},
      {"qr --batch" + dir("good.csv") + "-o" + dir("c") + "--name card.png", ExitUsage, "gives every row the same name"},
      {"qr --batch" + dir("good.csv") + "-o" + dir("c") + "--name {}.png", ExitUsage, "the name template has an empty '{}'"},
      {"qr --batch" + dir("good.csv") + "-o" + dir("c/s.pdf") + "--sheet A4 --columns 2 --rows 2 --caption {N", ExitUsage,
       "the caption template has a '{' without '}'"},
      {"qr --batch" + dir("none.csv") + "-o" + dir("c"), ExitUsage, "No such file or directory"},
      {"qr --batch" + dir("good.csv"), ExitUsage, "--batch needs -o DIR"},
      {"qr --batch" + dir("good.csv") + "-o" + dir("c") + "--text x", ExitUsage, "no --text"},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.line);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(fs::exists(folder.File("c")));
  EXPECT_TRUE(fs::exists(folder.File("v/1.png")));
  EXPECT_EQ(Cli("qr --batch" + dir("large.csv") + "-o" + dir("q") + "--verify").status, ExitOk);
}

// One spreadsheet makes 通用格式 vCards, the default, or operator cards by
// --operator alone;
// a value 通用格式 cannot carry fails its row naming the column and the field.
TEST(BatchCli, GeneralFormatRowsAndTheirFailures) {
  TempFolder dir;
  WriteBytes(dir.File("cards.csv"), "姓名,手机,公司\n张三,138,中国移动\n");
  WriteBytes(dir.File("wifi.csv"), "网络名称,PWD,加密方式\n咖啡馆,a;b,WPA\n办公室,x,WPA2\n,only,\n");
  const struct {
    std::string options, file, decoded;
    int status = ExitOk;
    std::string err = "";
  } cases[] = {
      {"--batch cards.csv", "1.png",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nTEL;TYPE=CELL:138\r\nORG:中国移动\r\nEND:VCARD\r\n"},
      {"--operator 1 --batch cards.csv", "1.png", "\x01\x10" "CARD:N:\xD5\xC5\xC8\xFD;M:138;COR:\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAF;;"},
      {"--operator 4 --type 1 --batch wifi.csv", "1.png", "WIFI:T:WPA;S:咖啡馆;P:a\\;b;;", ExitSomeRowsFailed,
       "row 2: column '加密方式': field ENC (加密方式) takes WPA, WEP or nopass\n"
       "row 3: column '网络名称': a required field is empty\n1 written, 2 failed\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string out = dir.File(std::to_string(&c - cases));
    std::string line = c.options + " -o " + out + " --verify";
    line.replace(line.find("--batch ") + 8, 0, dir.File(""));
    const CliOutcome run = Cli("qr " + line);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(DecodeFile(out + "/" + c.file, DecodeFormat::QrCode), c.decoded);
    EXPECT_FALSE(fs::exists(out + "/2.png"));
  }
}

// A column named text is UTF-8 in the symbol, as --text, whatever the table's
// own encoding; --gbk gives the code page 936 bytes of --gbk-text.
TEST(BatchCli, TextColumnIsUtf8UnlessGbk) {
  const std::string shop = "茶香小店", shopGbk = "\xB2\xE8\xCF\xE3\xD0\xA1\xB5\xEA";
  const struct {
    std::string options, table, decoded;
  } cases[] = {
      {"qr", "text\n" + shop + "\n", shop},
      {"dm", "text\n" + shopGbk + "\n", shop},  // the table's encoding detected
      {"qr --gbk", "text\n" + shop + "\n", shopGbk},
      {"dm --gbk --encoding gb18030", "text\n" + shopGbk + "\n", shopGbk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    TempFolder dir;
    const CliOutcome run = Cli(c.options + " --batch - -o " + dir.File("out") + " --verify", c.table);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    const DecodeFormat format = c.options[0] == 'q' ? DecodeFormat::QrCode : DecodeFormat::DataMatrix;
    EXPECT_EQ(DecodeFile(dir.File("out/1.png"), format), c.decoded);
  }
}

TEST(BatchCli, StandardInputWithOptionsPassedThrough) {
  TempFolder dir;
  const CliOutcome run = Cli("dm --batch - -o " + dir.File("out") + " --name {serial}.png --scale 3 --manifest " +
                                 dir.File("m.csv") + " --jobs 1 --encoding utf-8",
                             "serial,text\nA7,Lot 7\n");
  ASSERT_EQ(run.status, ExitOk) << run.err;
  EXPECT_EQ(DecodeFile(dir.File("out/A7.png"), DecodeFormat::DataMatrix), "Lot 7");
  EXPECT_EQ(ImageFile(dir.File("out/A7.png")).width(), (12 + 4) * 3);
  EXPECT_EQ(ReadBytes(dir.File("m.csv")), "row,file,symbol,status\r\n1,A7.png,12x12,written\r\n");
}

// The real program on many rows, signalled once some files exist, leaves
// only complete files, and the manifest lists each of them.
TEST(BatchCli, SigintAndSigtermLeaveOnlyCompleteFilesAndNoTemporaryOnes) {
  std::string csv = "N,M\n";
  for (int i = 1; i <= 50000; ++i) csv += "Name " + std::to_string(i) + ",1380013" + std::to_string(i) + "\n";
  for (const auto& [signal, jobs] : {std::pair{SIGINT, "4"}, std::pair{SIGTERM, "1"}}) {
    TempFolder dir;
    const std::string in = dir.File("in.csv"), out = dir.File("out"), manifest = dir.File("m.csv");
    WriteBytes(in, csv);
    const pid_t child = fork();
    if (child == 0) {
      freopen(dir.File("err.txt").c_str(), "w", stderr);
      execl(QUILLET_CLI, QUILLET_CLI, "qr", "--operator", "1", "--batch", in.c_str(), "-o", out.c_str(), "--jobs", jobs, "--manifest",
            manifest.c_str(), nullptr);
      _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline &&
           (!fs::exists(out) || std::distance(fs::directory_iterator(out), fs::directory_iterator()) < 40))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child, signal);
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the program did not end by itself";
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    const auto files = FilesIn(out);
    const std::string err = ReadBytes(dir.File("err.txt")), listed = ReadBytes(manifest);
    EXPECT_NE(err.find("interrupted: " + std::to_string(files.size()) + " written, 0 failed"), std::string::npos) << err;
    EXPECT_GE(files.size(), 40u);
    EXPECT_LT(files.size(), 50000u);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), static_cast<long>(files.size()) + 1);
    for (const auto& [name, bytes] : files) {
      ASSERT_FALSE(IsAtomicTemporaryName(name)) << name;
      const std::string row = std::to_string(std::stol(name));
      ASSERT_EQ(DecodeFile(dir.File("out/" + name), DecodeFormat::QrCode),
                "\x01\x10" "CARD:N:Name " + row + ";M:1380013" + row + ";;")
          << name;
    }
  }
}

}  // namespace
