// 1000 random business cards with Chinese names and companies, typed into
// 通用格式's 名片 page as a user would, each made in four ways: without and
// with an ECI, in one byte segment and in the optimal segments. What each
// reader makes of them: zxing-cpp and zbar here (the text as their apps show
// it), ZXing's Java library through ReadAsPhone.java, one java run per way.
// Per way and reader: read exactly, misread (other text), unread, and filed
// as a contact; and the symbols' mean version at level M.
//   general_cards DIR [SHOW]   (bench/cli/general-cards; DIR holds the dumps)
// SHOW (a way's name) prints the cards that some reader misreads in that way.
#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "symbol/SymbolRequest.h"
#include "tests/support/Decode.h"

using namespace quillet;

namespace {

constexpr int Cards = 1000;

using Words = std::vector<std::string>;

std::string Pick(std::mt19937& random, const Words& words) { return words[random() % words.size()]; }
bool Chance(std::mt19937& random, int percent) { return static_cast<int>(random() % 100) < percent; }
// `count` random digits behind `digits`.
std::string Digits(std::mt19937& random, int count, std::string digits = "") {
  while (count-- > 0) digits += static_cast<char>('0' + random() % 10);
  return digits;
}

// A name of 2 to 4 characters: a surname of one or two, a given name of one to three.
std::string RandomName(std::mt19937& random) {
  static const Words surnames = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄", "周", "吴", "徐", "孙", "胡", "朱",
                                 "高", "林", "何", "郭", "马", "罗", "梁", "宋", "郑", "谢", "韩", "唐", "冯", "于",
                                 "董", "萧", "程", "曹", "袁", "邓", "许", "傅", "沈", "曾", "彭", "吕", "欧阳", "司马",
                                 "上官", "诸葛"};
  static const Words given = {"伟", "芳", "娜", "敏", "静", "磊", "洋", "勇", "杰", "霞", "强", "军", "平", "刚",
                              "桂英", "秀英", "建国", "晓明", "丽", "婷", "浩", "宇", "子涵", "欣怡", "梓轩", "雨桐",
                              "俊杰", "一鸣", "思远", "嘉怡", "文博", "天佑", "春生", "海燕"};
  const std::string surname = Pick(random, surnames);
  std::string name = surname + Pick(random, given);
  const size_t characters = name.size() / 3;  // every character here takes three bytes
  if (characters < 4 && Chance(random, 40)) {
    const std::string more = Pick(random, given);
    if (characters + more.size() / 3 <= 4) name += more;
  }
  return name;
}

std::string RandomCompany(std::mt19937& random) {
  static const Words places = {"北京", "上海", "深圳", "广州", "杭州", "成都", "武汉", "南京", "西安", "苏州", ""};
  static const Words cores = {"华信", "东方", "腾飞", "恒通", "瑞丰", "中科", "金桥", "新锐", "ABC", "Nova", "天成", "博雅"};
  static const Words trades = {"科技", "电子", "信息技术", "贸易", "咨询", "网络", "数据服务", "文化传媒", "医药"};
  static const Words forms = {"有限公司", "股份有限公司", "集团", "研究院", "Co., Ltd.", "工作室"};
  return Pick(random, places) + Pick(random, cores) + Pick(random, trades) + Pick(random, forms);
}

std::string RandomMail(std::mt19937& random) {
  static const Words users = {"zhang.wei", "li.na", "wangfang", "chen_jie", "liu.yang", "sales", "info", "hr2024", "david"};
  static const Words hosts = {"example.com", "163.com", "qq.com", "example.cn", "mail.example.com.cn"};
  return Pick(random, users) + (Chance(random, 50) ? Digits(random, 2) : "") + "@" + Pick(random, hosts);
}

std::string RandomAddress(std::mt19937& random) {
  static const Words cities = {"北京市海淀区", "上海市浦东新区", "广东省深圳市南山区", "浙江省杭州市西湖区", "四川省成都市武侯区"};
  static const Words streets = {"中关村大街", "世纪大道", "科技园南路", "文三路", "天府大道", "Tower B, 建国路"};
  std::string address = Pick(random, cities) + Pick(random, streets) + std::to_string(random() % 300 + 1) + "号";
  if (Chance(random, 40)) address += std::to_string(random() % 30 + 1) + "层";
  return address;
}

// The 名片 page's fields by tag, some left empty as on real cards.
std::vector<std::pair<const char*, std::string>> RandomCard(std::mt19937& random) {
  static const Words departments = {"市场部", "研发中心", "销售部", "人力资源部", "财务部", "R&D", "客户服务部"};
  static const Words titles = {"经理", "工程师", "销售总监", "总经理", "客服代表", "CEO", "高级工程师", "副总裁"};
  std::vector<std::pair<const char*, std::string>> card = {{"N", RandomName(random)},
                                                           {"M", Digits(random, 10, "1")}};
  const auto maybe = [&](const char* tag, int percent, std::string value) {
    if (Chance(random, percent)) card.emplace_back(tag, std::move(value));
  };
  maybe("COR", 90, RandomCompany(random));
  maybe("DIV", 40, Pick(random, departments));
  maybe("TIL", 70, Pick(random, titles));
  maybe("TEL", 40, Digits(random, 8, Digits(random, 2, "0") + "-"));
  maybe("FAX", 15, Digits(random, 8, Digits(random, 2, "0") + "-"));
  maybe("EM", 70, RandomMail(random));
  maybe("ADR", 50, RandomAddress(random));
  maybe("ZIP", 20, Digits(random, 6));
  maybe("URL", 25, "www.example" + Digits(random, 2) + ".com");
  maybe("NOTE", 10, Chance(random, 50) ? "微信同号" : "Welcome 欢迎来访");
  return card;
}

struct Way {
  const char* name;
  bool eci;
  QrSegments segments;
};
constexpr Way Ways[] = {{"no-eci-single", false, QrSegments::Single},
                        {"no-eci-optimal", false, QrSegments::Optimal},
                        {"eci-single", true, QrSegments::Single},
                        {"eci-optimal", true, QrSegments::Optimal}};

// The card as the 名片 page makes it, in the way asked for: content always
// takes the optimal segments, so one segment takes the page's payload as text.
SymbolResult MakeCard(const std::vector<std::pair<const char*, std::string>>& card, const Way& way) {
  SymbolRequest request;
  request.content = ContentFields{{GeneralFormat, 0}, {}};
  for (const auto& [tag, value] : card) request.content->values[FieldSlotOfTag(tag)] = value;
  request.eci = way.eci;
  if (way.segments == QrSegments::Single) {
    request.data = MakeSymbol(request).symbol.data;
    request.charset = DataCharset::Utf8;
    request.segments = QrSegments::Single;
    request.content.reset();
  }
  return MakeSymbol(request);
}

struct Count {
  int exact = 0, misread = 0, unread = 0, contact = 0;
  void Add(const std::optional<std::string>& text, const std::string& expected, bool contact) {
    if (!text || text->empty()) ++unread;
    else if (*text == expected) ++exact;
    else ++misread;
    this->contact += contact;
  }
};

// A vCard as a scanning app files it: the whole card, header to end.
bool FiledAsContact(const std::optional<std::string>& text) {
  return text && text->starts_with("BEGIN:VCARD\r\n") && text->ends_with("END:VCARD\r\n");
}

struct Tally {
  long versionSum = 0;
  Count zxing, zbar, java;
  std::vector<int> misreadCards;
};

// Each line ReadAsPhone printed in its raw mode: the kind, a tab, the text
// with \r \n \t \\ escaped.
std::vector<std::pair<std::string, std::string>> JavaReadings(const std::string& dumpFile) {
  const std::string command = std::string(QUILLET_JAVA) + " -cp " + QUILLET_ZXING_JAR + " " + QUILLET_READ_AS_PHONE + " raw < " + dumpFile;
  const std::unique_ptr<FILE, int (*)(FILE*)> java(popen(command.c_str(), "r"), pclose);
  std::string out;
  char buffer[65536];
  for (size_t n; java && (n = fread(buffer, 1, sizeof buffer, java.get())) > 0;) out.append(buffer, n);
  std::vector<std::pair<std::string, std::string>> readings;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const size_t tab = line.find('\t');
    std::string text;
    for (size_t i = tab == std::string::npos ? line.size() : tab + 1; i < line.size(); ++i) {
      if (line[i] != '\\' || i + 1 == line.size()) {
        text += line[i];
        continue;
      }
      const char escaped = line[++i];
      text += escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
    }
    readings.emplace_back(line.substr(0, tab), text);
  }
  return readings;
}

void Dump(const ModuleMatrix& matrix, std::ofstream& out) {
  out << "version\n";
  for (int y = 0; y < matrix.Rows(); ++y) {
    for (int x = 0; x < matrix.Columns(); ++x) out << (matrix.IsDark(x, y) ? '1' : '0');
    out << '\n';
  }
}

void PrintRow(const char* way, const char* reader, const Count& c, double meanVersion) {
  std::printf("| %s | %s | %d | %d | %d | %d | %.2f |\n", way, reader, c.exact, c.misread, c.unread, c.contact, meanVersion);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: general_cards DIR [SHOW]\n");
    return 1;
  }
  const std::string dir = argv[1], show = argc == 3 ? argv[2] : "";
  std::mt19937 random(20261208);
  std::array<Tally, std::size(Ways)> tallies;
  std::vector<std::string> payloads;
  std::array<std::ofstream, std::size(Ways)> dumps;
  for (size_t w = 0; w < std::size(Ways); ++w) dumps[w].open(dir + "/" + Ways[w].name + ".txt");
  for (int i = 0; i < Cards; ++i) {
    const auto card = RandomCard(random);
    for (size_t w = 0; w < std::size(Ways); ++w) {
      const SymbolResult made = MakeCard(card, Ways[w]);
      if (!made.Ok()) return 1;
      if (w == 0) payloads.push_back(made.symbol.data);
      const ModuleMatrix& m = made.symbol.matrix;
      const auto dark = [&](int x, int y) { return m.IsDark(x, y); };
      const auto zxing = ZxingText(m.Columns(), m.Rows(), dark, DecodeFormat::QrCode);
      const auto zbar = ZbarText(m.Columns(), m.Rows(), dark);
      Tally& tally = tallies[w];
      tally.versionSum += made.symbol.version;
      tally.zxing.Add(zxing, payloads.back(), FiledAsContact(zxing));
      tally.zbar.Add(zbar, payloads.back(), FiledAsContact(zbar));
      if (zxing != payloads.back() || zbar != payloads.back()) tally.misreadCards.push_back(i);
      Dump(m, dumps[w]);
    }
  }
  std::printf("| way | reader | exact | misread | unread | filed as a contact | mean version (M) |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (size_t w = 0; w < std::size(Ways); ++w) {
    dumps[w].close();
    Tally& tally = tallies[w];
    const auto java = JavaReadings(dir + "/" + Ways[w].name + ".txt");
    for (size_t i = 0; i < payloads.size(); ++i) {
      const bool read = i < java.size() && java[i].first != "UNREAD";
      const std::optional<std::string> text = read ? std::optional(java[i].second) : std::nullopt;
      tally.java.Add(text, payloads[i], read && java[i].first == "ADDRESSBOOK");
      if (read && text != payloads[i]) tally.misreadCards.push_back(static_cast<int>(i));
    }
    const double mean = static_cast<double>(tally.versionSum) / Cards;
    PrintRow(Ways[w].name, "zxing-cpp", tally.zxing, mean);
    PrintRow(Ways[w].name, "zbar", tally.zbar, mean);
    PrintRow(Ways[w].name, "ZXing Java", tally.java, mean);
    if (show != Ways[w].name) continue;
    for (const int i : tally.misreadCards) {
      std::string lines;
      for (const char c : payloads[i]) lines += c == '\r' ? std::string() : c == '\n' ? std::string(" | ") : std::string(1, c);
      std::fprintf(stderr, "card %d: %s\n", i, lines.c_str());
    }
  }
  return 0;
}
