// quillet-cli in process: what --dump and -o give decodes to the input, and
// every mistake ends with its exit status and a message naming it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "tests/cli/CliFiles.h"
#include "tests/support/Poppler.h"

using namespace quillet;

namespace {

const std::string Prefix = "\x01\x10";

// The bytes every decoder reads, or the text a decoder's program shows.
enum class Reading { Bytes, ZxingText, ZbarText };

// The rows of 0 and 1 that --dump prints after its header line, decoded as
// the symbol the command `line` asked for.
std::optional<std::string> DecodeDump(const std::string& line, const std::string& dump,
                                      Reading reading = Reading::Bytes) {
  std::vector<std::string> rows;
  std::istringstream out(dump.substr(dump.find('\n') + 1));
  for (std::string row; std::getline(out, row);) rows.push_back(row);
  if (rows.empty()) return std::nullopt;
  const auto isDark = [&](int x, int y) { return rows[y][x] == '1'; };
  const int columns = static_cast<int>(rows[0].size()), count = static_cast<int>(rows.size());
  const DecodeFormat format = line[0] == 'q' ? DecodeFormat::QrCode : DecodeFormat::DataMatrix;
  switch (reading) {
    case Reading::Bytes: return DecodeModules(columns, count, isDark, format);
    case Reading::ZxingText: return ZxingText(columns, count, isDark, format);
    case Reading::ZbarText: return ZbarText(columns, count, isDark);
  }
  return std::nullopt;
}

// The rows that --dump prints after its header line decode to the input:
// --text in UTF-8, --gbk-text and the operator formats in code page 936.
// Without options that say otherwise, what a newcomer types gives symbols
// that phones read: zxing-cpp and zbar, as their programs show text, read
// the characters typed; the code page 936 forms stay one option away.
TEST(Cli, DumpHeaderAndRowsDecodeToTheInput) {
  const std::string welcome = "欢迎光临茶香小店";
  const std::string welcomeGbk = "\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xB2\xE8\xCF\xE3\xD0\xA1\xB5\xEA";
  const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nTEL;TYPE=CELL:13800138000\r\nEND:VCARD\r\n";
  enum class Phones { NotAsked, ReadIt, ReadOtherText };  // zxing-cpp's and zbar's text against the bytes as UTF-8
  const struct {
    std::string line, header, decoded;
    Phones phones = Phones::NotAsked;
    std::string input = "";
  } cases[] = {
      {"qr --gbk-text 客服hello --level q --dump", "version 1 level Q mask ", "\xBF\xCD\xB7\xFEhello"},
      {"qr --text A --version 0 --dump", "version 1 level M mask ", "A"},
      // Twenty digits pay for a numeric segment of their own, unless one segment is asked for.
      {"qr --text https://example.com/item/12345678901234567890 --dump", "version 3 level M mask ",
       "https://example.com/item/12345678901234567890"},
      {"qr --segments single --text https://example.com/item/12345678901234567890 --dump", "version 4 level M mask ",
       "https://example.com/item/12345678901234567890"},
      // Fields in slot order, an empty one left out; "\n" is CR LF, other backslashes stay.
      {"qr --operator 1 --type 1 --field TXT=a\\nb\\\\c\\ --field TO= --field SUB=H=i --dump", "version ",
       Prefix + "MAIL:SUB:H=i;TXT:a\r\nb\\\\c\\;;"},
      // Tabs by caption under the format given after them, tags in any case.
      {"qr --type 自定义 --operator 3 --field text=hello --dump", "version 2 level M mask ", Prefix + "CUSTOM:TEXT:hello;;"},
      {"qr --type 电话 --field sub=Hi --field M=138 --operator 1 --dump", "version ", Prefix + "PHONE:M:138;SUB:Hi;;"},
      {"qr --operator 2 --type wap业务 --field cod=1 --dump", "version ", Prefix + "WAD:COD:1;;"},
      {"qr --data-file - --dump", "version ", std::string("\x00\xFF\r\n binary", 10), Phones::NotAsked,
       std::string("\x00\xFF\r\n binary", 10)},
      {"dm --text A --dump", "rows 10 columns 10 codewords 66 129 70 138 234 82 82 95", "A"},
      {"dm --size rect --text A --dump", "rows 8 columns 18 codewords 66 129 ", "A"},
      // What a newcomer types.
      {"qr --text " + welcome + " --dump", "version ", welcome, Phones::ReadIt},
      {"dm --text " + welcome + " --dump", "rows ", welcome, Phones::ReadIt},
      {"qr --field N=张三 --field M=13800138000 --dump", "version ", card, Phones::ReadIt},
      {"qr --type Wi-Fi --field SSID=茶香小店 --field PWD=88888888 --dump", "version ",
       "WIFI:T:WPA;S:茶香小店;P:88888888;;", Phones::ReadIt},
      {"qr --type 网址 --field URL=https://example.com/店 --dump", "version ", "https://example.com/%E5%BA%97",
       Phones::ReadIt},
      // What --text and the default format were.
      {"qr --gbk-text " + welcome + " --dump", "version ", welcomeGbk, Phones::ReadOtherText},
      {"dm --gbk-text " + welcome + " --dump", "rows ", welcomeGbk, Phones::ReadOtherText},
      {"qr --operator 1 --field N=张三 --field M=13800138000 --dump", "version ",
       Prefix + "CARD:N:\xD5\xC5\xC8\xFD;M:13800138000;;", Phones::ReadOtherText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliOutcome run = Cli(c.line, c.input);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_EQ(run.out.rfind(c.header, 0), 0u) << run.out;
    EXPECT_EQ(run.out.find_first_not_of("01\n", run.out.find('\n')), std::string::npos);
    EXPECT_EQ(DecodeDump(c.line, run.out), c.decoded) << Printable(DecodeDump(c.line, run.out));
    if (c.phones == Phones::NotAsked) continue;
    const auto zxing = DecodeDump(c.line, run.out, Reading::ZxingText);
    EXPECT_EQ(zxing == c.decoded, c.phones == Phones::ReadIt) << Printable(zxing);
    if (c.line[0] != 'q') continue;  // zbar reads no Data Matrix
    const auto zbar = DecodeDump(c.line, run.out, Reading::ZbarText);
    EXPECT_EQ(zbar == c.decoded, c.phones == Phones::ReadIt) << Printable(zbar);
  }
}

// Standard error starts "quillet-cli: " and names the problem.
TEST(Cli, FailuresExitWithTheirStatusAndAReason) {
  TempFolder dir;
  WriteBytes(dir.File("long.bin"), std::string(2954, 'x'));
  WriteBytes(dir.File("fits.bin"), std::string(2953, 'x'));
  const std::string absent = dir.File("absent"), missingFolder = dir.File("no/such/folder/x.png");
  const struct {
    std::string line;
    int status;
    std::string part;
    std::string input = "";
  } cases[] = {
      // Usage: the words do not make a command.
      {"", ExitUsage, "no command"},
      {"pdf417", ExitUsage, "unknown command 'pdf417'"},
      {"qr --text", ExitUsage, "--text needs a value"},
      {"qr --dump", ExitUsage, "give --text"},
      {"qr --text a --data-file f --dump", ExitUsage, "only one"},
      {"qr --text a --text b --dump", ExitUsage, "twice"},
      {"qr --operator 1 --segments optimal --field N=x --dump", ExitUsage, "--segments optimal goes with --text or --data-file"},
      {"qr --operator 4 --segments single --field N=x --dump", ExitUsage, "通用格式 always takes the optimal segments"},
      {"qr --scale 10001 --text a -o x.png", ExitUsage, "--scale takes 1 to 10000, not '10001'"},
      {"qr --field TEXT --dump", ExitUsage, "--field takes TAG=VALUE"},
      {"qr --size 3 --text a --dump", ExitUsage, "--size is an option of dm, not of qr"},
      {"qr --frobnicate --text a --dump", ExitUsage, "unknown option '--frobnicate'\n"},
      {"qr --level=H --text a --dump", ExitUsage, "give the value as a word of its own, --level H"},
      {"qr --sheet A4 --text a --dump", ExitUsage, "--sheet goes with --batch INPUT"},
      {"qr --type 名 --dump", ExitUsage, "--type takes a tab's position (0 to 8), name (card, email, sms, text, phone"},
      {"values qr --text", ExitUsage, "--text of qr takes no fixed set of values"},
      {"dm --size 30 --text a --dump", ExitUsage, "--size takes auto, rect, ROWSxCOLUMNS or 0 to 29"},
      {"qr --text a --format png --dump", ExitUsage, "--format needs -o"},
      {"qr --text a --format tiff -o -", ExitUsage, "--format takes bmp, jpg, gif, png, svg, pdf, eps, utf8 or utf8i"},
      {"qr --text a --format gif -o x.png", ExitUsage, "--format gif does not match"},
      {"qr --text a -o - --dump", ExitUsage, "both write to standard output"},
      {"qr --text a -o x.txt", ExitUsage, "cannot tell the image format of 'x.txt': use the extension .bmp"},
      {"qr --text hi -o x.png --module-mm 0.3 --scale 2", ExitUsage, "give --scale or --module-mm, not both"},
      // Refused before anything is written, raster or vector.
      {"qr --text hi -o " + dir.File("huge.png") + " --size-mm 500 --dpi 600", ExitUsage,
       "the image would be 11800 pixels a side; the most is 10000: ask for a smaller size or a lower --dpi"},
      {"qr --text hi -o " + dir.File("huge.pdf") + " --size-mm 1000 --dpi 10000", ExitUsage,
       "the image would be 393700 pixels a side"},
      {"qr --text hi -o - --format utf8 --verify", ExitUsage, "--verify checks an image file; utf8 is text"},
      {"qr --batch rows.csv -o x.pdf --sheet A4", ExitUsage, "--sheet needs --columns C and --rows R"},
      {"qr --batch rows.csv -o x --sheet A4 --columns 2 --rows 3", ExitUsage, "--sheet writes a PDF: give -o FILE.pdf"},
      {"qr --batch rows.csv -o x.pdf --sheet a4 --columns 2 --rows 3 --name {row}.svg", ExitUsage,
       "--sheet writes one PDF: no --name"},
      // Usage: the words make a command, but not one that can run.
      {"qr --data-file " + absent + " --dump", ExitUsage, "cannot read '" + absent + "': No such file or directory"},
      {"dm --data-file - --dump", ExitUsage, "the input is empty"},
      {"qr --operator 1 --field TEXT=x --dump", ExitUsage,
       "field 'TEXT' is not on \"名片\" of 中国移动v1.0; its fields are N (姓名), M (手机), TEL (固话)"},
      {"qr --operator 4 --field 名字=张三 --field n=李四 --dump", ExitUsage, "--field 名字 and --field n both give the field N (姓名)"},
      {"qr --type 书签 --field URL=x --dump", ExitUsage,
       "--type 书签 is not a tab of 通用格式; its tabs are 0 名片 (card), 1 Wi-Fi (wifi), 2 网址 (url), 3 电话 (tel), "
       "4 短信 (sms), 5 邮件 (email), 6 位置 (geo), 7 日程 (event), 8 文本 (text); 书签 is a tab of 中国移动v1.0: "
       "give --operator 1"},
      {"qr --field N= --dump", ExitUsage, "every field is empty"},
      {"qr --gbk-text a😀 --dump", ExitUsage, "--gbk-text: '😀' (U+1F600) has no code page 936 (GBK) code; give it with --text"},
      // A value 通用格式 cannot carry names its field and writes nothing.
      {"qr --operator 4 --type 6 --field LAT=91 --field LON=0 -o " + dir.File("geo.png"), ExitUsage,
       "field LAT (纬度) lies outside -90 to 90 degrees"},
      {"qr --operator 4 --type 7 --field START=2026-02-30T10:00 --dump", ExitUsage,
       "field START (开始) is no date and time as YYYY-MM-DD HH:MM"},
      {"qr --operator 4 --type 1 --field PWD=x --dump", ExitUsage, "field SSID (网络名称) is empty, but the Wi-Fi form needs it"},
      {"qr --operator 4 --type 1 --field SSID=x --field ENC=WPA2 --dump", ExitUsage, "field ENC (加密方式) takes WPA, WEP or nopass"},
      {"qr --operator 4 --type url --field URL=http://☃.中国/ --dump", ExitUsage,
       "field URL (网址) names a host that has no IDNA (punycode) form"},
      {"dm --text \xFF --dump", ExitUsage, "--text: invalid UTF-8 at byte 0 (0xFF)"},
      {"qr --eci --data-file - --dump", ExitUsage, "--eci names the character set of a text"},
      {"dm --eci --scheme c40 --text a --dump", ExitUsage, "--eci takes the ascii scheme"},
      // The ECI takes 12 bits of the largest symbol's room in the optimal segments too: 2953 bytes do not fit.
      {"qr --eci --level L --text " + std::string(2953, 'x') + " --dump", ExitDoesNotFit, "2953 bytes"},
      // The data fits no symbol; the file cannot be written.
      {"qr --level L --data-file " + dir.File("long.bin") + " --dump", ExitDoesNotFit, "2954 bytes"},
      {"dm --scheme x12 --text lower --dump", ExitDoesNotFit, "cannot be encoded"},
      {"qr --text a -o " + missingFolder, ExitWriteFailed, "cannot write '" + missingFolder + "': the folder"},
      // The largest Data Matrix at one pixel a module reads back in no decoder; the file stays.
      {"dm --scale 1 --text " + std::string(1500, 'A') + " -o " + dir.File("large.png") + " --verify", ExitNotReadBack,
       "quillet-cli: '" + dir.File("large.png") + "' does not read back: neither libdmtx nor zxing-cpp found the symbol; "
       "modules of one pixel"},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.line, c.input);
    EXPECT_EQ(run.status, c.status) << c.line << "\n" << run.err;
    EXPECT_EQ(run.err.rfind("quillet-cli: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.part), std::string::npos) << c.line << "\n" << run.err;
  }
  EXPECT_EQ(Cli("qr --level L --data-file " + dir.File("fits.bin") + " --dump").status, ExitOk);
  EXPECT_EQ(Cli("qr --eci --level L --text " + std::string(2952, 'x') + " --dump").status, ExitOk);
  for (const char* refused : {"geo.png", "huge.png", "huge.pdf"}) EXPECT_FALSE(fs::exists(dir.File(refused))) << refused;
  EXPECT_TRUE(fs::exists(dir.File("large.png"))) << "the file stays, read back or not";
}

// ZXing's Java decoder and result parsers, as Android's scanners read: each
// 通用格式 tab is the right kind of result with the right fields. The cards
// after the first are ones zbar read with their names as Japanese before
// 通用格式 named UTF-8 by default (bench/cli/general-cards): zxing-cpp and
// zbar must show each exactly as `text`.
TEST(Cli, PhoneParsersReadEveryGeneralTab) {
  const std::string vcard = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
  const struct {
    std::string fields, parsed, text = "";
  } cases[] = {
      {"--field N=张三 --field M=13800138000 --field COR=中国移动 --field DIV=市场部 --field TIL=经理 --field EM=zs@b.cn "
       "--field ADR=北京市 --field ZIP=100033 --field URL=b.cn --field NOTE=a;b,c\\",
       "ADDRESSBOOK name=张三 tel=13800138000 email=zs@b.cn org=中国移动/市场部 title=经理 adr=北京市/100033 url=b.cn "
       "note=a;b,c\\"},
      {"--field N=郭芳 --field M=17055329550 --field EM=sales51@example.com --field COR=广州中科贸易有限公司 "
       "--field TIL=销售总监",
       "ADDRESSBOOK name=郭芳 tel=17055329550 email=sales51@example.com org=广州中科贸易有限公司 title=销售总监 adr= url= "
       "note=null",
       vcard + "N:郭芳;;;;\r\nFN:郭芳\r\nTEL;TYPE=CELL:17055329550\r\nEMAIL;TYPE=INTERNET:sales51@example.com\r\n"
               "ORG:广州中科贸易有限公司\r\nTITLE:销售总监\r\nEND:VCARD\r\n"},
      {"--field N=唐建国 --field M=11072503193 --field TEL=007-25531314 --field COR=深圳新锐贸易股份有限公司 "
       "--field DIV=R&D --field TIL=经理",
       "ADDRESSBOOK name=唐建国 tel=11072503193,007-25531314 email= org=深圳新锐贸易股份有限公司/R&D title=经理 adr= "
       "url= note=null",
       vcard + "N:唐建国;;;;\r\nFN:唐建国\r\nTEL;TYPE=CELL:11072503193\r\nTEL;TYPE=WORK,VOICE:007-25531314\r\n"
               "ORG:深圳新锐贸易股份有限公司;R&D\r\nTITLE:经理\r\nEND:VCARD\r\n"},
      {"--type 1 --field SSID=咖啡馆;1 --field PWD=a;b\\ --field HIDDEN=true",
       "WIFI ssid=咖啡馆;1 type=WPA password=a;b\\ hidden=true"},
      {"--type 2 --field URL=例子.中国/路径", "URI https://xn--fsqu00a.xn--fiqs8s/%E8%B7%AF%E5%BE%84"},
      {"--type 3 --field TEL=+8610086", "TEL +8610086"},
      {"--type 4 --field SM=10086 --field TXT=查询:\\n余额", "SMS to=10086 body=查询:/余额"},
      {"--type 5 --field TO=a@b.cn --field SUB=你好&再见 --field TXT=一\\n二", "EMAIL_ADDRESS to=a@b.cn subject=你好&再见 body=一/二"},
      {"--type 6 --field LAT=-39.9042 --field LON=116.4074 --field LABEL=天安门", "GEO -39.9042,116.4074 q=q=%E5%A4%A9%E5%AE%89%E9%97%A8"},
      // 2026-01-05 09:30 and 10:00 as floating times, read in UTC.
      {"--type 7 --field SUB=会议,评审 --field START=2026-01-05T09:30 --field END=2026-01-05T10:00 --field LOC=三楼 "
       "--field TXT=带上\\n电脑",
       "CALENDAR summary=会议,评审 start=1767605400000 end=1767607200000 location=三楼 description=带上/电脑"},
      {"--type 8 --field TEXT=你好世界", "TEXT 你好世界"},
  };
  TempFolder dir;
  std::string dumps, expected;
  for (const auto& c : cases) {
    const std::string line = "qr " + c.fields + " --dump";  // 通用格式 is the default
    const CliOutcome run = Cli(line);
    ASSERT_EQ(run.status, ExitOk) << c.fields << "\n" << run.err;
    if (!c.text.empty()) {
      EXPECT_EQ(DecodeDump(line, run.out, Reading::ZxingText), c.text);
      EXPECT_EQ(DecodeDump(line, run.out, Reading::ZbarText), c.text);
    }
    dumps += run.out;
    expected += c.parsed + "\n";
  }
  WriteBytes(dir.File("dumps.txt"), dumps);
  const std::string command = std::string(QUILLET_JAVA) + " -Duser.timezone=UTC -cp " + QUILLET_ZXING_JAR + " " +
                              QUILLET_READ_AS_PHONE + " < " + dir.File("dumps.txt");
  const std::unique_ptr<FILE, int (*)(FILE*)> java(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(java);
  std::string parsed;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, java.get())) > 0;) parsed.append(buffer, n);
  EXPECT_EQ(parsed, expected);
}

// Help, the version and an option's values go to standard output; a usage
// error shows its message, the usage lines of the command typed and where
// the rest is, short enough that the message stays in view.
TEST(Cli, VersionHelpAndTheUsageOfTheCommandUsed) {
  const struct {
    const char* line;
    int status;
    std::string out, err;  // a part of each
  } cases[] = {
      {"--version", ExitOk, "quillet-cli " QUILLET_VERSION "\n", ""},
      {"--help", ExitOk, "Usage: quillet-cli (qr | dm | read)", ""},
      {"dm -h", ExitOk, "Usage: quillet-cli dm", ""},
      {"values qr --level", ExitOk, "L\nM\nQ\nH\n", ""},
      {"values dm --size", ExitOk, "auto\nrect\n10x10\n", ""},
      {"values dm --level", ExitUsage, "", "Usage: quillet-cli (qr | dm | read) [options]\nTry 'quillet-cli --help'\n"},
      {"pdf417", ExitUsage, "", "\nUsage: quillet-cli (qr | dm | read) [options]\nTry 'quillet-cli --help'\n"},
      {"qr --size 3 --text a --dump", ExitUsage, "",
       "\nUsage: quillet-cli qr [options] (--text TEXT | --gbk-text TEXT | --data-file FILE | content fields) "
       "(--dump | -o FILE)\n"
       "       quillet-cli qr [options] --batch INPUT -o DIR\nTry 'quillet-cli qr --help'\n"},
      {"dm --level H --text a --dump", ExitUsage, "", "--batch INPUT -o DIR\nTry 'quillet-cli dm --help'\n"},
  };
  for (const auto& c : cases) {
    const CliOutcome run = Cli(c.line);
    EXPECT_EQ(run.status, c.status) << c.line;
    EXPECT_NE(run.out.find(c.out), std::string::npos) << c.line << "\n" << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.line << "\n" << run.err;
    EXPECT_EQ(run.out.empty(), c.out.empty()) << c.line;
    EXPECT_LE(std::count(run.err.begin(), run.err.end(), '\n'), 4) << run.err;
  }
}

// "-" is standard output for the manifest as for -o, not a file named "-".
TEST(Cli, ManifestToStandardOutput) {
  TempFolder dir;
  const fs::path before = fs::current_path();
  fs::current_path(dir.File(""));
  const CliOutcome run = Cli("qr --operator 1 --batch - -o out --manifest -", "n,m\n张三,138\n,\n");
  const bool dashFile = fs::exists("-");
  fs::current_path(before);
  EXPECT_EQ(run.status, ExitSomeRowsFailed) << run.err;
  EXPECT_EQ(run.out, "row,file,symbol,status\r\n1,1.png,version 2 level M,written\r\n"
                     "2,2.png,,failed: every field is empty: there is nothing to encode\r\n");
  EXPECT_FALSE(dashFile);
}

// The real program in a pipeline: bytes in on standard input, an image out on
// standard output, undamaged by stream buffering or text conversion.
TEST(CliProcess, StandardInputToStandardOutputInEveryRasterFormat) {
  const std::pair<const char*, const char*> formats[] = {
      {"png", "\x89PNG"}, {"JPEG", "\xFF\xD8\xFF"}, {"gif", "GIF8"}, {"bmp", "BM"}};
  for (const auto& [format, magic] : formats) {
    const std::string image = CommandOutput("printf 'piped\\000\\377bytes' | " QUILLET_CLI
                                            " dm --data-file - -o - --format " + std::string(format));
    EXPECT_EQ(image.rfind(magic, 0), 0u) << format;
    EXPECT_EQ(DecodePicture(QImage::fromData(QByteArray::fromStdString(image)), DecodeFormat::DataMatrix),
              std::string("piped\0\xFF" "bytes", 12)) << format;
  }
}

}  // namespace
