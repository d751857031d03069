// 1000 random business cards with Chinese names, each made as an operator
// card (中国移动v1.0) and as a 通用格式 vCard at the same level, each without
// and with an ECI: the versions, and how many of each zxing-cpp and zbar read
// with the name right, as a phone app gets them (text in the character set
// the reader picks). Writes the names, and the symbols of each variant as
// --dump text for ZXing's Java parsers, into DIR (bench/cli/general-cards).
//   general_cards DIR
#include <zbar.h>

#include <ZXing/ReadBarcode.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "content/CodePage.h"
#include "symbol/SymbolRequest.h"

using namespace quillet;

namespace {

constexpr int Scale = 4, Quiet = 4, Cards = 1000;

struct Card {
  std::string name, mobile, company, title, address;
};

Card RandomCard(std::mt19937& random) {
  static const std::vector<std::string> surnames = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄", "周", "吴", "欧阳", "司马"};
  static const std::vector<std::string> given = {"伟", "芳", "娜", "敏", "静", "磊", "洋", "勇", "杰", "霞", "秀英", "建国", "晓明", "丽"};
  static const std::vector<std::string> companies = {"中国移动", "北京示例科技有限公司", "上海数据服务中心", "深圳创新电子"};
  static const std::vector<std::string> titles = {"经理", "工程师", "销售总监", "", "客服代表"};
  const auto pick = [&](const std::vector<std::string>& list) { return list[random() % list.size()]; };
  Card card;
  card.name = pick(surnames) + pick(given) + (random() % 2 ? pick(given) : "");
  card.mobile = "13" + std::to_string(100000000 + random() % 900000000);
  card.company = pick(companies);
  card.title = pick(titles);
  card.address = random() % 2 ? "北京市海淀区中关村大街" + std::to_string(random() % 300 + 1) + "号" : "";
  return card;
}

// "general-single": the same vCard bytes in one byte segment, for the
// readers that guess a character set per segment.
struct Variant {
  const char* name;  // of its dump file
  int format;
  bool eci;
  bool oneSegment = false;
};
constexpr Variant Variants[] = {{"operator", 1, false},
                                {"operator-eci", 1, true},
                                {"general", GeneralFormat, false},
                                {"general-eci", GeneralFormat, true},
                                {"general-single", GeneralFormat, false, true}};

SymbolRequest Request(const Card& card, const Variant& variant) {
  const int format = variant.format;
  SymbolRequest request;
  request.eci = variant.eci;
  request.content = ContentFields{{format, 0}, {}};
  const std::pair<const char*, const std::string*> fields[] = {
      {"N", &card.name}, {"M", &card.mobile}, {"COR", &card.company}, {"TIL", &card.title}, {"ADR", &card.address}};
  for (const auto& [tag, value] : fields)
    request.content->values[FieldSlotOfTag(tag)] = *value;
  if (variant.oneSegment) {
    request.data = ComposeGeneralPayload(request.content->values, 0);
    request.charset = DataCharset::Utf8;
    request.segments = QrSegments::Single;
    request.content.reset();
  }
  return request;
}

std::vector<uint8_t> Pixels(const ModuleMatrix& matrix, int& side) {
  side = (matrix.Columns() + 2 * Quiet) * Scale;
  std::vector<uint8_t> pixels(static_cast<size_t>(side) * side, 255);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const int mx = x / Scale - Quiet, my = y / Scale - Quiet;
      if (mx >= 0 && my >= 0 && mx < matrix.Columns() && my < matrix.Rows() && matrix.IsDark(mx, my))
        pixels[static_cast<size_t>(y) * side + x] = 0;
    }
  return pixels;
}

std::string ZxingText(const std::vector<uint8_t>& pixels, int side) {
  const auto result = ZXing::ReadBarcode(ZXing::ImageView(pixels.data(), side, side, ZXing::ImageFormat::Lum), {});
  return result.isValid() ? result.text() : std::string();
}

// zbar as apps use it: its own conversion of the bytes to text.
std::string ZbarText(std::vector<uint8_t> pixels, int side) {
  zbar::zbar_image_scanner_t* scanner = zbar::zbar_image_scanner_create();
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  zbar::zbar_image_scanner_set_config(scanner, zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  zbar::zbar_image_t* image = zbar::zbar_image_create();
  zbar::zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
  zbar::zbar_image_set_size(image, side, side);
  zbar::zbar_image_set_data(image, pixels.data(), pixels.size(), nullptr);
  std::string text;
  if (zbar::zbar_scan_image(scanner, image) > 0) {
    const zbar::zbar_symbol_t* symbol = zbar::zbar_image_first_symbol(image);
    text.assign(zbar::zbar_symbol_get_data(symbol), zbar::zbar_symbol_get_data_length(symbol));
  }
  zbar::zbar_image_destroy(image);
  zbar::zbar_image_scanner_destroy(scanner);
  return text;
}

void Dump(const ModuleMatrix& matrix, std::ofstream& out) {
  out << "version\n";
  for (int y = 0; y < matrix.Rows(); ++y) {
    for (int x = 0; x < matrix.Columns(); ++x) out << (matrix.IsDark(x, y) ? '1' : '0');
    out << '\n';
  }
}

struct Tally {
  std::map<int, int> versions;
  int zxing = 0, zbar = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: general_cards DIR\n");
    return 1;
  }
  const std::string dir = argv[1];
  std::vector<std::ofstream> dumps;
  for (const Variant& variant : Variants) dumps.emplace_back(dir + "/" + variant.name + ".txt");
  std::ofstream names(dir + "/names.txt");
  std::mt19937 random(20261207);
  std::array<Tally, std::size(Variants)> tallies;
  std::array<long, std::size(Variants)> versionSum{};
  for (int i = 0; i < Cards; ++i) {
    const Card card = RandomCard(random);
    names << card.name << '\n';
    for (size_t v = 0; v < std::size(Variants); ++v) {
      const SymbolResult made = MakeSymbol(Request(card, Variants[v]));
      if (!made.Ok()) return 1;
      Tally& tally = tallies[v];
      ++tally.versions[made.symbol.version];
      versionSum[v] += made.symbol.version;
      int side = 0;
      const std::vector<uint8_t> pixels = Pixels(made.symbol.matrix, side);
      tally.zxing += ZxingText(pixels, side).find(card.name) != std::string::npos;
      tally.zbar += ZbarText(pixels, side).find(card.name) != std::string::npos;
      Dump(made.symbol.matrix, dumps[v]);
    }
  }
  for (size_t v = 0; v < std::size(Variants); ++v) {
    std::printf("%s, level M: mean version %.2f; versions", Variants[v].name, static_cast<double>(versionSum[v]) / Cards);
    for (const auto& [version, count] : tallies[v].versions) std::printf(" %d:%d", version, count);
    std::printf("\n  name read right: zxing-cpp %d/%d, zbar %d/%d\n", tallies[v].zxing, Cards, tallies[v].zbar, Cards);
  }
  return 0;
}
