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
TEST(Cli, DumpHeaderAndRowsDecodeToTheInput) {
  const struct {
    std::string line, header, decoded, input = "";
  } cases[] = {
      {"qr --gbk-text 客服hello --level q --dump", "version 1 level Q mask ", "\xBF\xCD\xB7\xFEhello"},
      {"qr --text 客服hello --level q --dump", "version 1 level Q mask ", "客服hello"},
      {"qr --text A --version 5 --level H --dump", "version 5 level H mask ", "A"},
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
      {"qr --data-file - --dump", "version ", std::string("\x00\xFF\r\n binary", 10), std::string("\x00\xFF\r\n binary", 10)},
      // 通用格式: UTF-8 without a prefix (every form is decoded with its worked example).
      {"qr --operator 4 --type 文本 --field TEXT=会议 --dump", "version ", "会议"},
      {"dm --utf8-text 你好 --dump", "rows ", "你好"},
      {"dm --text A --dump", "rows 10 columns 10 codewords 66 129 70 138 234 82 82 95", "A"},
      {"dm --size rect --text A --dump", "rows 8 columns 18 codewords 66 129 ", "A"},
      {"dm --size 16x48 --text A --dump", "rows 16 columns 48 codewords 66 129 ", "A"},
      // EDIFACT: the latch 240, then A B C D as four 6-bit values in three bytes.
      {"dm --scheme edifact --text ABCDEF --dump", "rows 14 columns 14 codewords 240 4 32 196 ", "ABCDEF"},
      // The default scheme is smallest: C40 whose last pair fills 14x14 (ASCII takes 16x16).
      {"dm --text AIMAIMAIM --dump", "rows 14 columns 14 codewords 230 91 11 91 11 91 11 129 ", "AIMAIMAIM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliOutcome run = Cli(c.line, c.input);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_EQ(run.out.rfind(c.header, 0), 0u) << run.out;
    EXPECT_EQ(run.out.find_first_not_of("01\n", run.out.find('\n')), std::string::npos);
    EXPECT_EQ(DecodeDump(c.line, run.out), c.decoded);
  }
}

// Without options that say otherwise, what a newcomer types gives symbols
// that phones read: zxing-cpp and zbar, as their programs show text, read
// the characters typed; the code page 936 forms stay one option away, byte
// for byte as before. Bytes are read by every decoder of the format.
TEST(Cli, DefaultsAreWhatPhonesRead) {
  const std::string welcome = "欢迎光临茶香小店";
  const std::string welcomeGbk = "\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xB2\xE8\xCF\xE3\xD0\xA1\xB5\xEA";
  const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nTEL;TYPE=CELL:13800138000\r\nEND:VCARD\r\n";
  const struct {
    std::string line, bytes;
    bool phonesRead = true;  // zxing-cpp's and zbar's text is the bytes as UTF-8
  } cases[] = {
      {"qr --text " + welcome, welcome},
      {"dm --text " + welcome, welcome},
      {"qr --field N=张三 --field M=13800138000", card},
      {"qr --type Wi-Fi --field SSID=茶香小店 --field PWD=88888888", "WIFI:T:WPA;S:茶香小店;P:88888888;;"},
      {"qr --type 网址 --field URL=https://example.com/店", "https://example.com/%E5%BA%97"},
      // What --text and the default format were.
      {"qr --gbk-text " + welcome, welcomeGbk, false},
      {"dm --gbk-text " + welcome, welcomeGbk, false},
      {"qr --operator 1 --field N=张三 --field M=13800138000", Prefix + "CARD:N:\xD5\xC5\xC8\xFD;M:13800138000;;", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliOutcome run = Cli(c.line + " --dump");
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_EQ(DecodeDump(c.line, run.out), c.bytes) << Printable(DecodeDump(c.line, run.out));
    const auto zxing = DecodeDump(c.line, run.out, Reading::ZxingText);
    EXPECT_EQ(zxing == c.bytes, c.phonesRead) << Printable(zxing);
    if (c.line[0] != 'q') continue;  // zbar reads no Data Matrix
    const auto zbar = DecodeDump(c.line, run.out, Reading::ZbarText);
    EXPECT_EQ(zbar == c.bytes, c.phonesRead) << Printable(zbar);
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
      {"qr --version 41 --text a --dump", ExitUsage, "--version takes 0 to 40"},
      {"qr --segments best --text a --dump", ExitUsage, "--segments takes optimal or single, not 'best'"},
      {"qr --operator 1 --segments optimal --field N=x --dump", ExitUsage, "--segments optimal goes with --text or --data-file"},
      {"qr --operator 4 --segments single --field N=x --dump", ExitUsage, "通用格式 always takes the optimal segments"},
      {"qr --scale 0 --text a -o x.png", ExitUsage, "--scale takes 1 to 10000"},
      {"qr --scale 10001 --text a -o x.png", ExitUsage, "--scale takes 1 to 10000, not '10001'"},
      {"qr --operator 5 --dump", ExitUsage, "--operator takes 1 to 4"},
      {"qr --field TEXT --dump", ExitUsage, "--field takes TAG=VALUE"},
      {"qr --size 3 --text a --dump", ExitUsage, "--size is an option of dm, not of qr"},
      {"dm --level H --text a --dump", ExitUsage, "--level is an option of qr, not of dm"},
      {"qr --frobnicate --text a --dump", ExitUsage, "unknown option '--frobnicate'\n"},
      {"qr --level=H --text a --dump", ExitUsage, "give the value as a word of its own, --level H"},
      {"qr --sheet A4 --text a --dump", ExitUsage, "--sheet goes with --batch INPUT"},
      {"qr --type 名 --dump", ExitUsage, "--type takes a tab's position (0 to 8), name (card, email, sms, text, phone"},
      {"qr --operator 2 --type 电话 --field SUB=x --dump", ExitUsage,
       "--type 电话 is not a tab of 中国移动v2.0; its tabs are 0 名片 (card), 1 邮件 (email), 2 短信 (sms), 3 文本 (text), 4 WAP业务 (wap)"},
      {"values qr --text", ExitUsage, "--text of qr takes no fixed set of values"},
      {"dm --size 30 --text a --dump", ExitUsage, "--size takes auto, rect, ROWSxCOLUMNS or 0 to 29"},
      {"qr --text a --format png --dump", ExitUsage, "--format needs -o"},
      {"qr --text a --format tiff -o -", ExitUsage, "--format takes bmp, jpg, gif, png, svg, pdf, eps, utf8 or utf8i"},
      {"qr --text a --format gif -o x.png", ExitUsage, "--format gif does not match"},
      {"qr --text a -o - --dump", ExitUsage, "both write to standard output"},
      {"qr --text a -o x.txt", ExitUsage, "cannot tell the image format of 'x.txt': use the extension .bmp"},
      {"qr --text a -o x.png --dpi 0", ExitUsage, "--dpi takes 1 to 10000"},
      {"qr --text a -o x.png --quiet-zone 65", ExitUsage, "--quiet-zone takes 0 to 64"},
      {"qr --text hi -o x.png --module-mm 0.3 --scale 2", ExitUsage, "give --scale or --module-mm, not both"},
      // Refused before anything is written, raster or vector.
      {"qr --text hi -o " + dir.File("huge.png") + " --size-mm 500 --dpi 600", ExitUsage,
       "the image would be 11800 pixels a side; the most is 10000: ask for a smaller size or a lower --dpi"},
      {"qr --text hi -o " + dir.File("huge.pdf") + " --size-mm 1000 --dpi 10000", ExitUsage,
       "the image would be 393700 pixels a side"},
      {"qr --text hi -o x.png --module-mm -1", ExitUsage, "--module-mm takes a size in millimetres such as 0.5, not '-1'"},
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
      {"qr --operator 4 --type wifi --field 名字=x --dump", ExitUsage,
       "field '名字' is not on \"Wi-Fi\" of 通用格式; its fields are SSID (网络名称), PWD (密码)"},
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
      {"qr --utf8-text \xFF --dump", ExitUsage, "--utf8-text: invalid UTF-8 at byte 0 (0xFF)"},
      {"dm --text \xFF --dump", ExitUsage, "--text: invalid UTF-8 at byte 0 (0xFF)"},
      {"qr --gbk-text \xFF --dump", ExitUsage, "--gbk-text: invalid UTF-8 at byte 0 (0xFF)"},
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

// zxing-cpp reads the text in the character set the ECI names: code page 936
// Chinese right only with the ECI, as readers guess other sets for bytes.
TEST(Cli, EciNamesTheCharacterSetToReaders) {
  const struct {
    std::string line, text;
    bool readRight = true;
  } cases[] = {
      {"qr --operator 1 --eci --field N=张三 --field COR=中国移动 --dump", Prefix + "CARD:N:张三;COR:中国移动;;"},
      {"qr --operator 1 --field N=张三 --field COR=中国移动 --dump", Prefix + "CARD:N:张三;COR:中国移动;;", false},
      {"qr --eci --gbk-text 你好，世界 --dump", "你好，世界"},
      {"qr --eci --text 你好，世界 --dump", "你好，世界"},
      {"qr --eci --operator 4 --type 8 --field TEXT=你好 --dump", "你好"},
      {"dm --eci --gbk-text 你好，世界 --dump", "你好，世界"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliOutcome run = Cli(c.line);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    const auto text = DecodeDump(c.line, run.out, Reading::ZxingText);
    EXPECT_EQ(text == c.text, c.readRight) << Printable(text);
  }
}

// 通用格式's content names UTF-8 unless --no-eci says not to; a text only
// with --eci: the card makes the very symbol its vCard makes as a text.
TEST(Cli, GeneralContentNamesUtf8UnlessTold) {
  const std::string vcard = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nEND:VCARD\r\n";
  const struct {
    std::string card;
    bool eci;  // --eci with the text
  } cases[] = {{"qr --field N=张三 --dump", true},
               {"qr --no-eci --field N=张三 --dump", false},
               {"qr --eci --field N=张三 --dump", true}};
  for (const auto& c : cases) {
    const CliOutcome card = Cli(c.card);
    ASSERT_EQ(card.status, ExitOk) << c.card << "\n" << card.err;
    std::vector<std::string> words = {"qr", "--text", vcard, "--dump"};
    if (c.eci) words.push_back("--eci");
    std::istringstream in;
    std::ostringstream text, err;
    ASSERT_EQ(RunCli(words, in, text, err), ExitOk) << err.str();
    EXPECT_EQ(card.out, text.str()) << c.card;
  }
}

// A field named by its caption or a header word makes the very file its tag
// makes, and the symbol decodes to the fields where the tags put them.
TEST(Cli, FieldsByCaptionOrHeaderWordMakeTheSameFileAsByTag) {
  TempFolder dir;
  const struct {
    std::string page, byName, byTag;
    std::vector<std::string> decoded;  // parts of the decoded bytes
  } cases[] = {
      {"--operator 4 --type card", "--field 姓名=张三 --field 单位=茶香 --field 电子邮件=a@b.cn --field 手机号码=138",
       "--field N=张三 --field COR=茶香 --field EM=a@b.cn --field M=138",
       {"BEGIN:VCARD\r\n", "\r\nFN:张三\r\n", "\r\nORG:茶香", "\r\nEMAIL", ":a@b.cn\r\n", "\r\nTEL;TYPE=CELL:138\r\n"}},
      {"--operator 1 --type card", "--field 名字=张三 --field 职位=经理", "--field N=张三 --field TIL=经理",
       {Prefix + "CARD:", "N:\xD5\xC5\xC8\xFD;", "TIL:\xBE\xAD\xC0\xED;"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.byName);
    const std::string byName = dir.File("name.png"), byTag = dir.File("tag.png");
    ASSERT_EQ(Cli("qr " + c.page + " " + c.byName + " -o " + byName).status, ExitOk);
    ASSERT_EQ(Cli("qr " + c.page + " " + c.byTag + " -o " + byTag).status, ExitOk);
    EXPECT_EQ(ReadBytes(byName), ReadBytes(byTag));
    const std::string line = "qr " + c.page + " " + c.byName + " --dump";
    const std::string decoded = DecodeDump(line, Cli(line).out).value_or("");
    for (const std::string& part : c.decoded) EXPECT_NE(decoded.find(part), std::string::npos) << Printable(decoded);
  }
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
      {"--field N=袁俊杰 --field M=16238339556 --field EM=david66@163.com --field COR=成都天成文化传媒研究院 --field TIL=副总裁",
       "ADDRESSBOOK name=袁俊杰 tel=16238339556 email=david66@163.com org=成都天成文化传媒研究院 title=副总裁 adr= url= "
       "note=null",
       vcard + "N:袁俊杰;;;;\r\nFN:袁俊杰\r\nTEL;TYPE=CELL:16238339556\r\nEMAIL;TYPE=INTERNET:david66@163.com\r\n"
               "ORG:成都天成文化传媒研究院\r\nTITLE:副总裁\r\nEND:VCARD\r\n"},
      {"--field N=唐建国 --field M=11072503193 --field TEL=007-25531314 --field COR=深圳新锐贸易股份有限公司 "
       "--field DIV=R&D --field TIL=经理",
       "ADDRESSBOOK name=唐建国 tel=11072503193,007-25531314 email= org=深圳新锐贸易股份有限公司/R&D title=经理 adr= "
       "url= note=null",
       vcard + "N:唐建国;;;;\r\nFN:唐建国\r\nTEL;TYPE=CELL:11072503193\r\nTEL;TYPE=WORK,VOICE:007-25531314\r\n"
               "ORG:深圳新锐贸易股份有限公司;R&D\r\nTITLE:经理\r\nEND:VCARD\r\n"},
      {"--field N=刘静 --field M=12581852588 --field COR=广州新锐数据服务研究院 --field DIV=销售部 --field TIL=销售总监 "
       "--field ZIP=994370",
       "ADDRESSBOOK name=刘静 tel=12581852588 email= org=广州新锐数据服务研究院/销售部 title=销售总监 adr=994370 url= "
       "note=null",
       vcard + "N:刘静;;;;\r\nFN:刘静\r\nTEL;TYPE=CELL:12581852588\r\nORG:广州新锐数据服务研究院;销售部\r\n"
               "TITLE:销售总监\r\nADR;TYPE=WORK:;;;;;994370;\r\nEND:VCARD\r\n"},
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
      {"values qr --preset", ExitOk, "classic\ndots\nrounded\nbrand\n", ""},
      {"values dm --preset", ExitOk, "classic\ndots\n", ""},
      {"values qr --type", ExitOk, "\n8\ncard\n", ""},
      {"values qr --logo-pad", ExitOk, "shape\nsquare\n", ""},
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
