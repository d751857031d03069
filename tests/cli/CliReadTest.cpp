// quillet-cli read: symbols written by the tool itself come back as the
// options and tags that write them again; files without one are named.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>

#include "tests/cli/CliFiles.h"
#include "tests/support/Poppler.h"

using namespace quillet;

namespace {

// Every file in one call: what each gives on standard output, each failure
// named on standard error, and the status saying some gave no symbol.
TEST(CliRead, PrintsTagsPerSymbolAndNamesFilesWithout) {
  TempFolder folder;
  const std::string dir = folder.File("");
  ASSERT_EQ(Cli("qr --operator 1 --field N=张三 --field ADR=a;b\\nc -o " + dir + "card.png").status, ExitOk);
  ASSERT_EQ(Cli("qr --operator 3 --type 8 --level H --field TEXT=hi -o " + dir + "custom.gif").status, ExitOk);
  ASSERT_EQ(Cli("dm --text Serial -o " + dir + "serial.jpg --scale 6").status, ExitOk);
  ASSERT_EQ(Cli("qr --data-file - -o " + dir + "binary.bmp", std::string("\xff\x00\xfe", 3)).status, ExitOk);
  WriteBytes(dir + "notes.png", "not an image");
  WriteBytes(dir + "cut.png", ReadBytes(dir + "card.png").substr(0, 100));
  std::string deep = ReadBytes(dir + "binary.bmp"), empty = ReadBytes(dir + "custom.gif").substr(0, 13) + ";";
  deep[28] = 16;   // bits per pixel
  empty[10] = 0;   // no colour table: the trailer follows the screen
  WriteBytes(dir + "deep.bmp", deep);
  WriteBytes(dir + "empty.gif", empty);
  ASSERT_EQ(mkfifo((dir + "pipe.png").c_str(), 0600), 0);  // opened without waiting for a writer
  const CliOutcome run = Cli("read " + dir + "card.png " + dir + "custom.gif " + dir + "serial.jpg " + dir +
                             "binary.bmp " + dir + "notes.png " + dir + "cut.png " + dir + "deep.bmp " + dir + "empty.gif " + dir + "gone.png " + dir + "pipe.png");
  EXPECT_EQ(run.status, ExitNoSymbol);
  EXPECT_EQ(run.out, dir + "card.png: QR Code level M, --operator 1 --type 0 (名片)\nN=张三\nADR=a;b\\nc\n\n" +
                         dir + "custom.gif: QR Code level H, --operator 3 --type 8 (自定义)\nTEXT=hi\n\n" +
                         dir + "serial.jpg: Data Matrix\ntext=Serial\n\n" +
                         dir + "binary.bmp: QR Code level M, 3 bytes that are no text (--raw writes them)\n\n");
  EXPECT_EQ(run.err, "quillet-cli: " + dir + "card.png: 1 symbol found\n" +
                         "quillet-cli: " + dir + "custom.gif: 1 symbol found\n" +
                         "quillet-cli: " + dir + "serial.jpg: 1 symbol found\n" +
                         "quillet-cli: " + dir + "binary.bmp: 1 symbol found\n" +
                         "quillet-cli: " + dir + "notes.png: not a PNG, JPEG, GIF or BMP image\n" +
                         "quillet-cli: " + dir + "cut.png: the file is cut short\n" +
                         "quillet-cli: " + dir + "deep.bmp: a 16-bit BMP, which cannot be read\n" +
                         "quillet-cli: " + dir + "empty.gif: the image is damaged (no image in the GIF)\n" +
                         "quillet-cli: " + dir + "gone.png: No such file or directory\n" +
                         "quillet-cli: " + dir + "pipe.png: not a PNG, JPEG, GIF or BMP image\n");
  EXPECT_EQ(Cli("read --raw -", ReadBytes(dir + "binary.bmp")).out, std::string("\xff\x00\xfe", 3));
}

// An address shows its host in its script and its path decoded, as typed;
// --raw gives the bytes the symbol holds.
TEST(CliRead, AddressesReadAsPeopleWroteThem) {
  TempFolder folder;
  const std::string link = folder.File("link.png");
  ASSERT_EQ(Cli("qr --operator 4 --type 2 --field URL=http://例子.中国/路径?q=值 -o " + link).status, ExitOk);
  EXPECT_EQ(Cli("read " + link).out, link + ": QR Code level M, --operator 4 --type 2 (网址)\n"
                                            "URL=http://例子.中国/路径?q=值\n\n");
  EXPECT_EQ(Cli("read --raw " + link).out, "http://xn--fsqu00a.xn--fiqs8s/%E8%B7%AF%E5%BE%84?q=%E5%80%BC");
}

// --expect: each file must give at least so many symbols; fewer is status 6,
// named with the count, while the others are still printed.
TEST(CliRead, ExpectMakesTooFewSymbolsAnError) {
  TempFolder folder;
  const std::string card = folder.File("card.png"), blank = folder.File("blank.png");
  ASSERT_EQ(Cli("qr --field N=张三 -o " + card).status, ExitOk);
  QImage white(64, 64, QImage::Format_Grayscale8);
  white.fill(255);
  ASSERT_TRUE(white.save(QString::fromStdString(blank)));
  struct Case {
    std::string args;
    int status;
    std::string lastError;
  } cases[] = {
      {card, ExitOk, card + ": 1 symbol found"},
      {"--expect 2 " + card, ExitNoSymbol, card + ": 1 symbol found, 2 expected"},
      {"--expect 1 " + card + " " + blank, ExitNoSymbol, blank + ": no symbol found"},
      {"--expect 0 " + blank, ExitOk, blank + ": 0 symbols found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const CliOutcome run = Cli("read " + c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find("quillet-cli: " + c.lastError + "\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("N=张三") != std::string::npos, c.args.find(card) != std::string::npos);
  }
}

// The README's conversion, from a folder of mixed images: the CSV holds the
// first content type's symbols under the column file, its fields those any
// of them has, names each one left out and each file that is no image; batch
// takes the CSV as it stands and writes the same symbols again, under the
// images' names when asked.
TEST(CliRead, MixedFolderConvertsWhatItCanAndNamesTheRest) {
  TempFolder folder;
  const std::string dir = folder.File("in/");
  fs::create_directories(dir);
  ASSERT_EQ(Cli("qr --operator 1 --field N=张三 --field M=138 -o " + dir + "a-zhang.png").status, ExitOk);
  ASSERT_EQ(Cli("qr --operator 3 --type 8 --field TEXT=hi -o " + dir + "b-custom.png").status, ExitOk);
  ASSERT_EQ(Cli("qr --operator 1 --field N=李四 --field EM=l@x.cn --field ADR=1\\n2 -o " + dir + "c-li.jpg").status, ExitOk);
  ASSERT_EQ(Cli("dm --text Serial -o " + dir + "d-serial.png").status, ExitOk);
  WriteBytes(dir + "e-notes.txt", "not an image");
  const CliOutcome csv = Cli("read --csv " + dir);
  EXPECT_EQ(csv.status, ExitOk);
  EXPECT_EQ(csv.out, "file,N,M,EM,ADR\na-zhang,张三,138,,\nc-li,李四,,l@x.cn,\"1\r\n2\"\n");
  for (const std::string said : {"b-custom.png: --operator 3 --type 8 (自定义) is not the CSV's content type "
                                 "--operator 1 --type 0 (名片), left out of the CSV",
                                 "d-serial.png: Data Matrix text is not the CSV's content type --operator 1 "
                                 "--type 0 (名片), left out of the CSV",
                                 "e-notes.txt: not an image, passed over"})
    EXPECT_NE(csv.err.find(said), std::string::npos) << said << "\n" << csv.err;
  const std::string numbered = folder.File("numbered/"), named = folder.File("named/");
  ASSERT_EQ(Cli("qr --operator 1 --batch - -o " + numbered, csv.out).status, ExitOk);
  ASSERT_EQ(Cli("qr --operator 1 --batch - --name {file}.png -o " + named, csv.out).status, ExitOk);
  for (const auto& [number, name, image] : {std::tuple{"1", "a-zhang", "a-zhang.png"}, std::tuple{"2", "c-li", "c-li.jpg"}}) {
    const std::string original = Cli("read --raw " + dir + image).out;
    EXPECT_EQ(Cli("read --raw " + numbered + number + ".png").out, original);
    EXPECT_EQ(Cli("read --raw " + named + name + ".png").out, original);
  }
}

// The twenty cards of a label sheet, three across and eight down, in a
// page rendered by poppler at a viewer's resolutions: every one read once,
// those the whole page hides from the decoder found in tiles.
TEST(CliRead, EveryCardOfALabelSheetIsRead) {
  TempFolder folder;
  const std::string dir = folder.File("");
  std::string cards = "N,M,COR,ADR,URL\n";
  std::set<std::string> names;
  for (int i = 1; i <= 20; ++i) {
    names.insert("名片" + std::to_string(i));
    cards += "名片" + std::to_string(i) + ",1380013" + std::to_string(1000 + i) + ",北京示例科技有限公司," +
             "北京市海淀区中关村大街" + std::to_string(i) + "号,http://www.example.cn/" + std::to_string(i) + "\n";
  }
  ASSERT_EQ(Cli("qr --operator 1 --batch - --sheet A4 --columns 3 --rows 8 --module-mm 0.5 --dpi 600 -o " + dir +
                "sheet.pdf", cards).status, ExitOk);
  for (const int dpi : {150, 200, 300}) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    const std::string page = dir + std::to_string(dpi);
    CommandOutput("pdftoppm -r " + std::to_string(dpi) + " -png -singlefile " + dir + "sheet.pdf " + page);
    const CliOutcome read = Cli("read --csv --expect 20 " + page + ".png");
    ASSERT_EQ(read.status, ExitOk) << read.err;
    EXPECT_EQ(read.err, "quillet-cli: " + page + ".png: 20 symbols found\n");
    std::multiset<std::string> found;
    std::istringstream rows(read.out);
    for (std::string row; std::getline(rows, row);) {
      const size_t name = row.find(',') + 1;  // after the file column
      found.insert(row.substr(name, row.find(',', name) - name));
    }
    found.erase("N");
    EXPECT_EQ(found, std::multiset<std::string>(names.begin(), names.end()));
  }
}

}  // namespace
