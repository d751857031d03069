// Symbol sizes of the scheme smallest against zint's default (minimal)
// encoder and zxing-cpp's, over random texts of several character classes:
// squares against zint with DM_SQUARE, rectangles against zint's smallest
// rectangle, and each of zxing-cpp's symbols against ours of the same shape.
// Prints the counts where ours is smaller, equal or larger, the total areas,
// and every text where ours is larger.
//   dm_compare [TEXTS PER CLASS] [SEED]
#include <zint.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/CharacterSet.h>
#include <ZXing/MultiFormatWriter.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "datamatrix/DmEncoder.h"

using namespace quillet;

namespace {

struct Shape {
  int rows, columns;
  long Area() const { return static_cast<long>(rows) * columns; }
};

struct TextClass {
  const char* name;
  std::string pool;
};

std::string Range(int first, int last) {
  std::string s;
  for (int b = first; b <= last; ++b) s += static_cast<char>(b);
  return s;
}

const std::string kDigits = "0123456789", kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLower = "abcdefghijklmnopqrstuvwxyz";

const std::vector<TextClass>& Classes() {
  static const std::vector<TextClass> classes = {
      {"digits", kDigits},
      {"capitals+digits", kUpper + kDigits},
      {"lower case", kLower + " "},
      {"X12-like", kUpper + kDigits + " *>\r"},
      {"EDIFACT-like", Range(32, 94)},
      {"mixed", kLower + kUpper + kDigits + " .,-/:\r\n"},
      {"binary", Range(0, 255)},
      {"serials", kUpper + kDigits + "-"}};
  return classes;
}

std::optional<Shape> Quillet(const std::string& text, int request) {
  DmEncodeParams params;
  params.scheme = DmEncodation::Smallest;
  int size = request;
  if (!DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size))
    return std::nullopt;
  return Shape{params.symbolRows, params.symbolColumns};
}

// option_2: 0 automatic, or zint's size number; option_3: DM_SQUARE or 0.
std::optional<Shape> Zint(const std::string& text, int option2, int option3) {
  zint_symbol* symbol = ZBarcode_Create();
  symbol->symbology = BARCODE_DATAMATRIX;
  symbol->input_mode = DATA_MODE;
  symbol->option_2 = option2;
  symbol->option_3 = option3;
  std::optional<Shape> shape;
  if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())) < 5)
    shape = Shape{symbol->rows, symbol->width};
  ZBarcode_Delete(symbol);
  return shape;
}

std::optional<Shape> ZintRectangle(const std::string& text) {
  constexpr int kFirstRectangle = 25, kLastRectangle = 30;  // zint's numbers for 8x18 .. 16x48
  for (int option = kFirstRectangle; option <= kLastRectangle; ++option)
    if (auto shape = Zint(text, option, 0)) return shape;
  return std::nullopt;
}

std::optional<Shape> Zxing(const std::string& text) {
  std::wstring latin1;
  for (const char c : text) latin1 += static_cast<wchar_t>(static_cast<unsigned char>(c));
  try {
    ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::DataMatrix);
    writer.setEncoding(ZXing::CharacterSet::ISO8859_1).setMargin(0);
    const ZXing::BitMatrix matrix = writer.encode(latin1, 0, 0);
    return Shape{matrix.height(), matrix.width()};
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

struct Tally {
  const char* name;
  int smaller = 0, equal = 0, larger = 0, oursOnly = 0, theirsOnly = 0;
  long ourArea = 0, theirArea = 0;
  std::vector<std::string> larger_texts;

  void Add(const std::optional<Shape>& ours, const std::optional<Shape>& theirs, const std::string& text) {
    if (!ours && !theirs) return;
    if (!ours || !theirs) {
      ++(ours ? oursOnly : theirsOnly);
      if (!ours) larger_texts.push_back(text);
      return;
    }
    ourArea += ours->Area();
    theirArea += theirs->Area();
    if (ours->Area() < theirs->Area()) ++smaller;
    else if (ours->Area() == theirs->Area()) ++equal;
    else ++larger, larger_texts.push_back(text);
  }

  void Print() const {
    std::printf("%-34s smaller %4d  equal %4d  larger %4d  only ours %3d  only theirs %3d  area %ld vs %ld (%+.2f %%)\n",
                name, smaller, equal, larger, oursOnly, theirsOnly, ourArea, theirArea,
                theirArea ? 100.0 * (ourArea - theirArea) / theirArea : 0.0);
    for (const std::string& text : larger_texts) {
      std::printf("    larger: \"");
      for (const unsigned char c : text) c >= 32 && c < 127 ? std::putchar(c) : std::printf("\\x%02x", c);
      std::printf("\"\n");
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int perClass = argc > 1 ? std::atoi(argv[1]) : 150;
  std::mt19937 rng(argc > 2 ? std::atoi(argv[2]) : 24);
  Tally squares{"square vs zint --square"}, rectangles{"rectangle vs zint's smallest rectangle"},
      zxing{"same shape vs zxing-cpp"};
  int texts = 0;
  for (const TextClass& c : Classes()) {
    for (int i = 0; i < perClass; ++i, ++texts) {
      // Mostly short texts, as on labels, some up to a few hundred bytes.
      const int length = 1 + (i % 5 == 0 ? rng() % 400 : rng() % 60);
      std::string text;
      for (int k = 0; k < length; ++k) text += c.pool[rng() % c.pool.size()];
      const auto ourSquare = Quillet(text, DmSmallestSquare);
      const auto ourRectangle = Quillet(text, DmSmallestRectangle);
      squares.Add(ourSquare, Zint(text, 0, DM_SQUARE), text);
      rectangles.Add(ourRectangle, ZintRectangle(text), text);
      const auto theirs = Zxing(text);
      const bool rectangle = theirs && theirs->rows != theirs->columns;
      zxing.Add(rectangle ? ourRectangle : ourSquare, theirs, text);
    }
  }
  std::printf("%d texts, %d classes\n", texts, static_cast<int>(Classes().size()));
  squares.Print();
  rectangles.Print();
  zxing.Print();
  return squares.larger + rectangles.larger + zxing.larger + squares.theirsOnly + rectangles.theirsOnly > 0 ? 1 : 0;
}
