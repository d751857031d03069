// Reading symbols from images not made for the purpose: pictures a camera
// would give of our own symbols, and files that are hostile or broken.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QBuffer>
#include <QImage>

#include <cmath>
#include <random>
#include <tuple>

#include "content/CodePage.h"
#include "content/Recognition.h"
#include "image/ImageFormats.h"
#include "symbol/SymbolRequest.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"
#include "verify/ReadSymbols.h"

using namespace quillet;

namespace {

const std::string Card = "\x01\x10" "CARD:N:\xd5\xc5\xc8\xfd;M:13800138000;;";  // GBK name

struct Grey {
  int width, height;
  std::vector<uint8_t> pixels;
};

// A busy background: every pixel its own grey.
Grey Noise(int width, int height) {
  std::mt19937 random(7);
  Grey image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
  for (uint8_t& pixel : image.pixels) pixel = static_cast<uint8_t>(60 + random() % 160);
  return image;
}

// The symbol with four quiet modules, `module` pixels a module, turned by
// `degrees` about its centre at (cx, cy), as a camera sees a printed card.
void Place(Grey& image, const ModuleMatrix& matrix, double cx, double cy, double module, double degrees) {
  const double turn = degrees * M_PI / 180, c = std::cos(turn), s = std::sin(turn);
  const double half = (std::max(matrix.Columns(), matrix.Rows()) + 8) * module * 0.75;
  for (int y = std::max(0, int(cy - half)); y < std::min(image.height, int(cy + half)); ++y)
    for (int x = std::max(0, int(cx - half)); x < std::min(image.width, int(cx + half)); ++x) {
      const double u = ((x - cx) * c + (y - cy) * s) / module + matrix.Columns() / 2.0;
      const double v = (-(x - cx) * s + (y - cy) * c) / module + matrix.Rows() / 2.0;
      if (u < -4 || v < -4 || u >= matrix.Columns() + 4 || v >= matrix.Rows() + 4) continue;
      const bool dark = u >= 0 && v >= 0 && u < matrix.Columns() && v < matrix.Rows() && matrix.IsDark(int(u), int(v));
      image.pixels[static_cast<size_t>(y) * image.width + x] = dark ? 35 : 225;
    }
}

// Written by Qt's JPEG writer, as another program would.
std::string Jpeg(const Grey& image, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QImage(image.pixels.data(), image.width, image.height, image.width, QImage::Format_Grayscale8)
      .save(&buffer, "JPG", quality);
  return bytes.toStdString();
}

// Pictures of our symbols as a phone would take them: every one read, with
// its bytes and the level it was made at.
TEST(ReadSymbols, CameraLikePicturesOfOurSymbolsReadBack) {
  struct Case {
    const char* name;
    double module, degrees;
    int quality;
  } cases[] = {{"upright, large modules", 12, 0, 90},
               {"turned 90 degrees", 5, 90, 90},
               {"turned 17 degrees", 6, 17, 90},
               {"small modules", 2.5, 0, 95},
               {"low-quality JPEG", 6, 33, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Grey image = Noise(640, 480);
    Place(image, OurQr(Card), 320, 240, c.module, c.degrees);
    const SymbolsInImage read = ReadSymbolsInBytes(Jpeg(image, c.quality));
    ASSERT_TRUE(read.ImageRead());
    ASSERT_EQ(read.symbols.size(), 1u);
    EXPECT_EQ(std::tie(read.symbols[0].bytes, read.symbols[0].symbology, read.symbols[0].level),
              std::make_tuple(Card, Symbology::QrCode, QrLevel::M));
  }
}

// A QR Code and a Data Matrix side by side, in a photo large enough to be
// looked at reduced first, are both found.
TEST(ReadSymbols, TwoSymbolsInOneLargePhoto) {
  Grey image = Noise(4000, 3000);
  Place(image, OurQr("https://example.com/a"), 1000, 1500, 30, 5);
  Place(image, OurDm("Serial 000123"), 3000, 1500, 40, -8);
  const SymbolsInImage read = ReadSymbolsInBytes(Jpeg(image, 80));
  std::set<std::string> found;
  for (const FoundSymbol& symbol : read.symbols) found.insert(symbol.bytes);
  EXPECT_EQ(found, (std::set<std::string>{"https://example.com/a", "Serial 000123"}));
}

// Symbols too fine for the reduced copy of a large photo, one of them
// twice: each read from all the pixels, the same bytes at two places kept twice.
TEST(ReadSymbols, FineSymbolsInALargePhotoAreReadAtFullSize) {
  Grey image = Noise(4000, 3000);
  Place(image, OurQr(Card), 700, 600, 2.5, 0);
  Place(image, OurQr("https://example.com/a"), 3100, 2300, 2.5, 0);
  Place(image, OurQr(Card), 3200, 700, 2.5, 0);
  const SymbolsInImage read = ReadSymbolsInBytes(Jpeg(image, 92));
  std::multiset<std::string> found;
  for (const FoundSymbol& symbol : read.symbols) found.insert(symbol.bytes);
  EXPECT_EQ(found, (std::multiset<std::string>{Card, Card, "https://example.com/a"}));
}

// A read stopped (the window's Esc) ends without looking: no symbol and no
// failure, from a file and from pixels alike; left alone, the same image gives its symbol.
TEST(ReadSymbols, AStoppedReadEndsWithoutLooking) {
  Grey image = Noise(1200, 900);
  Place(image, OurQr(Card), 600, 450, 8, 0);
  const std::string jpeg = Jpeg(image, 90);
  for (const bool stopped : {true, false}) {
    SCOPED_TRACE(stopped ? "stopped" : "left alone");
    const ReadStop stop = stopped;
    const SymbolsInImage fromFile = ReadSymbolsInBytes(jpeg, &stop);
    const SymbolsInImage fromPixels = ReadSymbolsInPixels(image.pixels.data(), image.width, image.height, &stop);
    for (const SymbolsInImage& read : {fromFile, fromPixels}) {
      EXPECT_TRUE(read.ImageRead());
      EXPECT_EQ(read.symbols.size(), stopped ? 0u : 1u);
    }
  }
}

// Every tab of every format, its fields filled (Chinese, separators, line
// breaks, on the general format's the characters each form escapes) or left
// empty, composed, written as a PNG, read back and recognised: the same
// format, tab and values.
TEST(ReadSymbols, EveryTabRoundTripsThroughAnImage) {
  std::vector<ContentFields> contents;
  const std::string texts[] = {"张三", "a;b:c", "", "第一行\r\n第二行", "http://例子.cn/?a=1&b=2"};
  int filled = 0;
  for (const OperatorFormatSpec& format : OperatorFormats())
    for (int tab = 0; tab < static_cast<int>(format.tabs.size()) && !IsGeneralFormat(format.id); ++tab) {
      ContentFields& content = contents.emplace_back(ContentFields{{format.id, tab}, {}});
      for (const FieldSpec& field : PageForTab(format.id, tab)->fields)
        content.values[field.slot] = texts[filled++ % std::size(texts)];
      if (content.values == FieldValueArray{}) content.values[FieldSlotOfTag("TEXT")] = "x";
    }
  const std::vector<std::pair<const char*, const char*>> generalTabs[] = {
      {{"N", "张三"}, {"M", "13800138000"}, {"TEL", "010-1234"}, {"EM", "z@x.cn"}, {"COR", "公司;A"}, {"DIV", "部,门"},
       {"TIL", "经理"}, {"ADR", "路1号\r\n2楼"}, {"ZIP", "100000"}, {"URL", "http://a.cn"}, {"NOTE", "备注\\反斜杠"}},
      {{"SSID", "我的;网:络"}, {"PWD", "p\"w,d\\"}, {"ENC", "WPA"}, {"HIDDEN", "true"}},
      {{"URL", "https://example.com/a?b=1&c=%20"}},
      {{"TEL", "+861012345678#"}},
      {{"SM", "10086"}, {"TXT", "你好:世界\r\n第二行"}},
      {{"TO", "a@b.cn,c@d.cn"}, {"SUB", "主题 & = ?"}, {"TXT", "正文\r\n二"}},
      {{"LAT", "39.9042"}, {"LON", "-116.4074"}, {"LABEL", "天安门 广场"}},
      {{"SUB", "会议, 第一"}, {"START", "2026-01-02 09:30"}, {"END", "2026-01-02 10:00"}, {"LOC", "会议室;3"},
       {"TXT", "说明\r\n二"}},
      {{"TEXT", "纯文本 \\ ; :"}},
  };
  for (int tab = 0; tab < static_cast<int>(std::size(generalTabs)); ++tab) {
    ContentFields& content = contents.emplace_back(ContentFields{{GeneralFormat, tab}, {}});
    for (const auto& [tag, text] : generalTabs[tab]) content.values[FieldSlotOfTag(tag)] = text;
  }
  for (const ContentFields& content : contents) {
    SCOPED_TRACE("format " + std::to_string(content.page.format) + " tab " + std::to_string(content.page.tab));
    SymbolRequest request;
    request.content = content;
    const SymbolResult symbol = MakeSymbol(request);
    std::string png;
    ASSERT_TRUE(symbol.Ok() && EncodeImage(symbol.symbol.matrix, *FindFormatByName("png"), {2, 2, 96}, png).Ok());
    const SymbolsInImage read = ReadSymbolsInBytes(png);
    ASSERT_EQ(read.symbols.size(), 1u);
    const Recognised got = RecognisePayload(read.symbols[0].bytes, content.page.format);
    EXPECT_TRUE(got.Exact()) << got.unheld.subject;
    EXPECT_EQ(got.page, content.page);
    EXPECT_EQ(got.values, content.values);
  }
}

std::string Written(const char* format) {
  std::string bytes;
  EncodeImage(OurQr(Card), *FindFormatByName(format), {3, 2, 96}, bytes);
  return bytes;
}

// Headers claiming more than the pixel budget (decompression bombs), files
// cut short, files that are no image: each refused with its kind.
TEST(ReadSymbols, HostileAndBrokenFilesAreRefusedWithTheirKind) {
  const auto patched = [](std::string file, size_t at, std::initializer_list<uint8_t> bytes) {
    for (const uint8_t byte : bytes) file[at++] = static_cast<char>(byte);
    return file;
  };
  // IHDR's width and height at 16 claim 100000 x 100000, its CRC at 29 made to match.
  std::string pngBomb = patched(Written("png"), 16, {0, 1, 0x86, 0xa0, 0, 1, 0x86, 0xa0});
  const auto crc = crc32(0, reinterpret_cast<const Bytef*>(pngBomb.data() + 12), 17);
  pngBomb = patched(pngBomb, 29, {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
  const std::string jpg = Written("jpg"), bmp = Written("bmp");
  const size_t frame = jpg.find("\xff\xc0") + 5;  // height and width, big-endian
  // A frame header that giflib refuses without a message, kept by the fuzz target.
  const std::string gifNoMessage = ReadBytes(QUILLET_FUZZ_CORPUS "/image_read/ef4b63766664eeab95b9a2af7d42d803b37b8e05");
  using enum ImageReadDetail;
  struct Case {
    std::string name, bytes;
    ImageReadFailure failure;
    std::string subject;
    ImageReadDetail detail = None;
    int number = 0;
  } cases[] = {
      {"png bomb", pngBomb, ImageReadFailure::TooLarge, "100000 x 100000"},
      {"jpeg bomb", patched(jpg, frame, {0x75, 0x30, 0x75, 0x30}), ImageReadFailure::TooLarge, "30000 x 30000"},
      {"gif bomb", patched(Written("gif"), 6, {0x60, 0xea, 0x60, 0xea}), ImageReadFailure::TooLarge, "60000 x 60000"},
      {"bmp bomb", patched(bmp, 18, {0x20, 0x4e, 0, 0, 0x20, 0x4e, 0, 0}), ImageReadFailure::TooLarge, "20000 x 20000"},
      {"png cut", Written("png").substr(0, 300), ImageReadFailure::Truncated, ""},
      {"jpeg cut", jpg.substr(0, jpg.size() / 2), ImageReadFailure::Truncated, ""},
      {"gif cut", Written("gif").substr(0, Written("gif").size() / 2), ImageReadFailure::Truncated, ""},
      {"bmp cut", bmp.substr(0, bmp.size() / 2), ImageReadFailure::Truncated, ""},
      {"gif without a message", gifNoMessage, ImageReadFailure::Damaged, "", GifError, 0},
      {"16-bit bmp", patched(bmp, 28, {16, 0}), ImageReadFailure::Unsupported, "", BmpBits, 16},
      {"compressed bmp", patched(bmp, 30, {1}), ImageReadFailure::Unsupported, "", CompressedBmp},
      // The screen descriptor without a colour table, then the trailer.
      {"gif without an image", patched(Written("gif").substr(0, 13) + ";", 10, {0}), ImageReadFailure::Damaged, "",
       NoGifImage},
      {"text", "hello, world", ImageReadFailure::NotAnImage, ""},
      {"pdf", Written("pdf"), ImageReadFailure::NotAnImage, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SymbolsInImage read = ReadSymbolsInBytes(c.bytes);
    const ImageReadProblem& p = read.problem;
    EXPECT_EQ(std::tie(p.failure, p.subject, p.detail, p.number), std::tie(c.failure, c.subject, c.detail, c.number));
    EXPECT_TRUE(read.symbols.empty());
  }
}

}  // namespace
