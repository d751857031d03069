// The Data Matrix encoder against worked examples (codewords, padding, size
// choice, error correction, one 144x144 symbol), read back by zxing-cpp and
// libdmtx to the exact input bytes (144x144: libdmtx alone), and its failures:
// unsupported characters, bad schemes, input too long, and allocation failure
// at every allocation of DmEncodeText.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"
#include "tests/support/Decode.h"

// The replaced operator new pairs with the replaced delete; the compiler
// cannot see that through the test's own uses.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

using namespace quillet;

namespace {
// Counts down allocations while armed; the one that reaches zero fails.
std::atomic<long> gAllocationsBeforeFailure{-1};
}  // namespace

void* operator new(std::size_t n) {
  if (gAllocationsBeforeFailure.load() >= 0 && gAllocationsBeforeFailure.fetch_sub(1) == 0) throw std::bad_alloc();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

std::vector<int> DataCodewords(const std::string& text, int scheme) {
  uint8_t buffer[DmCodewordBufferSize];
  const int count = DmEncodeData(Bytes(text), static_cast<int>(text.size()), scheme, buffer);
  return std::vector<int>(buffer, buffer + count);
}

// The symbol, what the decoders read of it, and `size`: the request, or on
// success the symbol's rows.
struct Encoded {
  DmEncodeParams params;
  int size;
  std::unique_ptr<DmModuleGrid> grid;
  std::optional<std::string> decoded;
};

Encoded EncodeAndDecode(const std::string& text, int scheme, int request) {
  Encoded out;
  out.params.scheme = scheme;
  out.size = request;
  out.grid = DmEncodeText(Bytes(text), static_cast<int>(text.size()), out.params, out.size);
  if (out.grid)
    out.decoded = DecodeModules(out.grid->Columns(), out.grid->Rows(),
                                [&](int x, int y) { return out.grid->IsDark(x, y); }, DecodeFormat::DataMatrix, 2, 2);
  return out;
}

std::string RandomText(std::mt19937& rng, const std::string& pool, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) text += pool[rng() % pool.size()];
  return text;
}

std::string ByteRange(int first, int last) {
  std::string s;
  for (int b = first; b <= last; ++b) s += static_cast<char>(b);
  return s;
}

const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLower = "abcdefghijklmnopqrstuvwxyz", kDigits = "0123456789";
const std::string kAutoPool = kLower + kLower + kLower + kUpper + kDigits + kDigits + " .,\r\n\xd6\xd0\xb0";

// Each text's data codewords, and the decoders read its symbol back.
TEST(WorkedExamples, DataCodewords) {
  const std::tuple<std::string, int, std::vector<int>> cases[] = {
      {"1", Ascii, {50}}, {"12", Ascii, {50, 51}}, {"123", Ascii, {50, 153}}, {"1234", Ascii, {50, 153, 53}},
      {"12345", Ascii, {50, 153, 175}}, {"A12", Ascii, {66, 142}}, {"\r\n", Ascii, {14, 11}},
      {"\xB0" "1", Ascii, {235, 49, 50}}, {"\xC4", Ascii, {235, 69}}, {"\xD6\xD0", Ascii, {235, 87, 235, 81}},
      {"AIMAIMAIM", C40, {230, 91, 11, 91, 11, 91, 11, 254}}, {"aimaimaim", Text, {239, 91, 11, 91, 11, 91, 11, 254}},
      {"ABC", Edifact, {240, 4, 32, 223}}, {"AB", Base256, {231, 46, 2, 153}},
      // A lone EDIFACT value plus the unlatch would be the last two codewords,
      // which a decoder reads as ASCII: the byte goes in ASCII.
      {"A", Edifact, {240, 66}},
      // X12 cannot fill a triple with a shift (its 0 is CR): unlatch, ASCII.
      {"ABCDE", X12, {238, 89, 233, 254, 69, 70}},
      // The two values of 'b' straddle the pair: its shift stays packed, the
      // byte itself follows the unlatch in ASCII.
      {"AAb", C40, {230, 89, 179, 254, 99}},
      // One byte left and one codeword free ends in ASCII without an unlatch,
      // but not for a byte that needs an Upper Shift.
      {"AAAAAAAA\xC4", C40, {230, 89, 191, 89, 191, 89, 178, 254, 235, 69}},
      // A latch that the unlatch would follow at once carries nothing: the
      // bytes go in ASCII (libdmtx misreads a latch-unlatch pair).
      {"A", C40, {66}}, {"a", Text, {98}}, {"A", X12, {66}}, {"AB", X12, {66, 67}}, {"12", X12, {50, 51}},
      // One value in the scheme keeps the latch.
      {"AB", C40, {230, 89, 217}}, {"ABCD", X12, {238, 89, 233, 254, 69}}};
  for (const auto& [text, scheme, codewords] : cases) {
    EXPECT_EQ(DataCodewords(text, scheme), codewords) << text;
    EXPECT_EQ(EncodeAndDecode(text, scheme, DmSmallestSquare).decoded, text) << text;
  }
}

TEST(WorkedExamples, SizeChoice) {
  const std::tuple<int, int, int> cases[] = {  // request, codewords, size index
      {-1, 3, 0},   {-1, 4, 1},   {0, 4, -1},  {-1, 1558, 23}, {-1, 1559, -1}, {-2, 1559, -1},
      {23, 1559, -1}, {23, 1558, 23}, {-2, 6, 25}, {-2, 5, 24},  {-2, 50, -1},  {-1, 0, -1},
      {5, 0, -1},   {29, 49, 29}, {30, 1, -1}, {-3, 1, -1}};
  for (const auto& [request, count, size] : cases)
    EXPECT_EQ(DmChooseSize(request, count), size) << request << ", " << count;
}

// The first codewords of a whole symbol: data, pads and, where the example
// gives it, error correction. In a larger symbol the end-of-data rules unlatch
// instead of filling a last pair; with nothing encoded before the unlatch the
// latch goes too.
TEST(WorkedExamples, SymbolCodewords) {
  DmSymbolBuffers buffers;
  buffers.codewords = {142, 164, 186, 0, 0, 0, 0, 0};
  DmAppendEcc(0, buffers);
  EXPECT_EQ(buffers.codewords, (std::vector<uint8_t>{142, 164, 186, 114, 25, 5, 88, 102}));
  const std::tuple<std::string, int, int, int, std::vector<uint8_t>> cases[] = {  // text, scheme, request, rows
      {"A", Ascii, DmSmallestSquare, 10, {66, 129, 70, 138, 234, 82, 82, 95}},
      {"1", Ascii, DmSmallestSquare, 10, {50, 129, 70}},   {"12", Ascii, DmSmallestSquare, 10, {50, 51, 129}},
      {"ABCD", Ascii, DmSmallestSquare, 12, {66, 67, 68, 69, 129}},
      {"AB", C40, 23, 144, {66, 67, 129}},                 {"AB", C40, 0, 10, {230, 89, 217}},
      {"A", C40, 24, 8, {66, 129, 70}},                    {"12", X12, 24, 8, {50, 51, 129}},
      {"ab", Text, 29, 16, {98, 99, 129}},                 {"ABCD", C40, 23, 144, {230, 89, 233, 254, 69, 129}}};
  for (const auto& [text, scheme, request, rows, codewords] : cases) {
    const Encoded out = EncodeAndDecode(text, scheme, request);
    ASSERT_TRUE(out.grid) << text;
    EXPECT_EQ(std::tie(out.size, out.decoded), std::tie(rows, text)) << text;
    const std::vector<uint8_t>& got = out.params.buffers->codewords;
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + codewords.size()), codewords) << text << " " << request;
  }
}

TEST(Failures, UnsupportedCharacterNamesTheByte) {
  const std::string message = " not supported by requested encodation scheme\n\n";
  const std::tuple<std::string, int, std::string> cases[] = {
      {"AB#", X12, "Character \"#\"" + message}, {"abc", X12, "Character \"a\"" + message},
      {"ABCDEFGa", Edifact, "Character \"a\"" + message},
      // The offending byte is named even when the read-ahead meets it.
      {"ABCDEF\n", X12, "Character \"\n\"" + message},
      // Near the end EDIFACT may finish in ASCII, but only what fits the last
      // codewords: a byte needing an Upper Shift there stays unsupported.
      {"ABCD\xC4", Edifact, "Character \"\xC4\"" + message},
      {"AB", NoEncodation, ""}, {"AB", 9, ""}, {"AB", -1, ""}, {"", Ascii, ""}};
  for (const auto& [text, scheme, expected] : cases) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(DataCodewords(text, scheme).empty()) << text;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected) << text;
  }
}

TEST(Failures, EveryAllocationFailsCleanly) {
  const std::string text = "Allocation failure";
  int failures = 0;
  for (long failAt = 0;; ++failAt) {
    DmEncodeParams params;
    int size = DmSmallestSquare;
    testing::internal::CaptureStderr();
    gAllocationsBeforeFailure = failAt;
    const auto grid = DmEncodeText(Bytes(text), static_cast<int>(text.size()), params, size);
    gAllocationsBeforeFailure = -1;
    const std::string message = testing::internal::GetCapturedStderr();
    if (grid) {
      EXPECT_EQ(message, "");
      break;
    }
    ++failures;
    EXPECT_EQ(message, "Calloc failed: Cannot allocate memory\n") << failAt;
    EXPECT_EQ(params.failure, DmFailure::OutOfMemory);
    EXPECT_EQ(std::tie(size, params.sizeIndex), std::make_tuple(DmSmallestSquare, -1));
    EXPECT_FALSE(params.buffers);
  }
  EXPECT_GE(failures, 2);
}

// Every size filled exactly in ASCII reads back; one byte more does not fit.
TEST(EverySize, FilledInAsciiReadBack) {
  for (int size = 0; size < DmSizeCount; ++size) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    std::mt19937 rng(size);
    const std::string text = RandomText(rng, kUpper + kLower + " .", DmSizeAttribute(size, DataCapacity));
    const Encoded out = EncodeAndDecode(text, Ascii, size);
    ASSERT_TRUE(out.grid);
    const DmModuleGrid& grid = *out.grid;
    ASSERT_EQ(std::make_pair(grid.Rows(), grid.Columns()),
              std::make_pair(DmSizeAttribute(size, SymbolRows), DmSizeAttribute(size, SymbolColumns)));
    // The four modules left over in 12, 16, 20 and 24 are a fixed pattern no decoder looks at.
    if (size == 1 || size == 3 || size == 5 || size == 7) {
      const int n = grid.Columns() - 2;
      EXPECT_TRUE(grid.IsDark(n, n) && grid.IsDark(n - 1, n - 1) && !grid.IsDark(n - 1, n) && !grid.IsDark(n, n - 1));
    }
    EXPECT_EQ(out.decoded, text);
    EXPECT_FALSE(EncodeAndDecode(text + "x", Ascii, size).grid);
  }
}

// One 144x144 symbol pinned: the start of its data, the first and the last
// error-correction codeword of each of its ten interleaved blocks.
TEST(Golden, Square144Codewords) {
  const std::string text = "Quillet 144x144";
  const Encoded out = EncodeAndDecode(text, Ascii, 23);
  ASSERT_TRUE(out.grid);
  const std::vector<int> codewords(out.params.buffers->codewords.begin(), out.params.buffers->codewords.end());
  ASSERT_EQ(codewords.size(), 2178u);
  EXPECT_EQ(std::vector<int>(codewords.begin(), codewords.begin() + 16),
            (std::vector<int>{82, 118, 106, 109, 109, 102, 117, 33, 144, 53, 121, 144, 53, 129, 87, 237}));
  EXPECT_EQ(std::vector<int>(codewords.begin() + 1558, codewords.begin() + 1568),
            (std::vector<int>{119, 23, 142, 137, 148, 126, 160, 171, 235, 120}));
  EXPECT_EQ(std::vector<int>(codewords.end() - 10, codewords.end()),
            (std::vector<int>{224, 85, 19, 4, 222, 103, 237, 50, 171, 6}));
  EXPECT_EQ(out.decoded, text);
}

// Texts of every character class: the smallest scheme never needs more
// codewords, nor a larger symbol, than any single scheme or the automatic
// choice, and every symbol any scheme makes reads back in both decoders. The
// long texts fill symbols, so the end-of-data and unlatch rules meet full ones.
TEST(Smallest, NeverLargerThanAnyScheme) {
  const std::string pools[] = {kDigits,
                               kUpper + kDigits,
                               kLower + " ",
                               kUpper + kDigits + " *>\r",
                               ByteRange(32, 94),
                               kAutoPool + kUpper + "!#<>",
                               ByteRange(0, 255),
                               kDigits + kUpper + "-/" + kLower.substr(0, 6)};
  std::mt19937 rng(24);
  for (int round = 0; round < 600; ++round) {
    const std::string& pool = pools[round % std::size(pools)];
    const std::string text = RandomText(rng, pool, 1 + rng() % (round % 4 == 0 ? 300 : 40));
    const int smallest = static_cast<int>(DataCodewords(text, Smallest).size());
    ASSERT_GT(smallest, 0) << text;
    for (const int request : {DmSmallestSquare, DmSmallestRectangle}) {
      const Encoded best = EncodeAndDecode(text, Smallest, request);
      if (best.grid) {
        EXPECT_EQ(best.decoded, text) << "request " << request;
      }
      for (int scheme = Ascii; scheme <= Auto; ++scheme) {
        testing::internal::CaptureStderr();
        const Encoded other = EncodeAndDecode(text, scheme, request);
        const std::vector<int> codewords = DataCodewords(text, scheme);
        testing::internal::GetCapturedStderr();
        if (!other.grid) continue;
        EXPECT_EQ(other.decoded, text) << "scheme " << scheme << " request " << request;
        ASSERT_TRUE(best.grid) << text << " fits in scheme " << scheme;
        EXPECT_LE(best.params.sizeIndex, other.params.sizeIndex) << text << " scheme " << scheme;
        if (request == DmSmallestSquare && !codewords.empty()) {
          EXPECT_LE(smallest, static_cast<int>(codewords.size())) << text;
        }
      }
    }
  }
}

// Where the end of the symbol saves codewords: the unlatch it makes
// unnecessary, a last codeword the decoder reads as ASCII, a pair filled
// with Shift 1, EDIFACT ending in ASCII.
TEST(Smallest, WorkedExamples) {
  const std::tuple<std::string, int, std::vector<int>> cases[] = {
      // The last pair fills 14x14: no unlatch.
      {"AIMAIMAIM", DmSmallestSquare, {230, 91, 11, 91, 11, 91, 11, 129}},
      // The decoder reads the last codeword of the symbol in ASCII: no unlatch.
      {"AIMAIMAI", DmSmallestSquare, {66, 74, 230, 164, 199, 164, 199, 129}},
      {"123456", DmSmallestSquare, {142, 164, 186}},
      {"\xC4\xC5\xC6", DmSmallestSquare, {231, 47, 133, 28, 178}},
      // Two codewords left after a whole EDIFACT group are read as ASCII.
      {"ABC.DEF.GHI.JK", DmSmallestSquare, {240, 4, 32, 238, 16, 81, 174, 28, 130, 110, 75, 76}},
      {"ABC.DEF.GHI.JKL", DmSmallestSquare,
       {240, 4, 32, 238, 16, 81, 174, 28, 130, 110, 40, 179, 31, 129, 87, 237, 133, 28}},
      {"AIMAIMAIMAIMAIMAIMAIMAIMA", DmSmallestRectangle,
       {230, 91, 11, 91, 11, 91, 11, 91, 11, 91, 11, 91, 11, 91, 11, 91, 11, 254, 66, 129, 223, 118}},
      // 366 bytes fill 72x72 (368 codewords) as one Base256 field of length 0: to the end of the symbol.
      {std::string(366, '\xC4'), DmSmallestSquare, {231, 44}},
      // 300 bytes in 72x72 leave room: the field's length takes two codewords.
      {std::string(300, '\xC4'), DmSmallestSquare, {231, 38, 243}},
  };
  for (const auto& [text, request, codewords] : cases) {
    const Encoded out = EncodeAndDecode(text, Smallest, request);
    ASSERT_TRUE(out.grid) << text;
    EXPECT_EQ(out.decoded, text);
    const std::vector<uint8_t>& got = out.params.buffers->codewords;
    EXPECT_EQ(std::vector<int>(got.begin(), got.begin() + codewords.size()), codewords) << text;
  }
}

// The fast automatic choice and the plain one by trial runs agree codeword
// for codeword.
TEST(Auto, FastChoiceAgreesWithTrialRuns) {
  std::mt19937 rng(20);
  for (int round = 0; round < 300; ++round) {
    const std::string text = RandomText(rng, round % 2 ? kAutoPool : kUpper + kDigits + "a", 1 + rng() % 200);
    for (const int request : {DmSmallestSquare, DmSmallestRectangle, 12}) {
      const dm::Input in{Bytes(text), static_cast<int>(text.size()), request};
      uint8_t fast[DmCodewordBufferSize], plain[DmCodewordBufferSize];
      const dm::Encoded a = dm::EncodeAuto(in, fast), b = dm::EncodeAutoByTrials(in, plain);
      ASSERT_EQ(a.count, b.count) << text;
      EXPECT_EQ(std::vector<int>(fast, fast + a.count), std::vector<int>(plain, plain + b.count)) << text;
    }
  }
}

// A failure says its kind and leaves the request, with no size and no
// buffers. Past the codeword buffer the encoding stops; past the largest
// symbol (1558 codewords) no size is chosen.
TEST(Failures, KindOfFailureAndNothingLeft) {
  using enum DmFailure;
  const int square = DmSmallestSquare;
  const std::tuple<std::string, int, int, DmFailure> cases[] = {  // text, scheme, request, kind
      {"AB#", X12, square, CannotEncode},  {"", Ascii, square, NoData},  {"AB", NoEncodation, square, NoData},
      {"ABCD", Ascii, 0, FitsNoSize},      {std::string(80, 'a'), Smallest, DmSmallestRectangle, FitsNoSize},
      {"ABCDEFG", Smallest, 24, FitsNoSize},               {std::string(1559, 'A'), Ascii, square, FitsNoSize},
      {std::string(1561, 'A'), Ascii, square, FitsNoSize}, {std::string(800, '\xC4'), Ascii, square, FitsNoSize},
      {std::string(5000, 'A'), C40, square, FitsNoSize},   {std::string(5000, 'a'), Text, square, FitsNoSize},
      {std::string(5000, 'A'), X12, square, FitsNoSize},   {std::string(3000, 'A'), Edifact, square, FitsNoSize},
      {std::string(2000, 'A'), Base256, square, FitsNoSize}, {std::string(5000, 'a'), Auto, square, FitsNoSize},
      {std::string(100000, 'A'), Auto, square, FitsNoSize}, {std::string(2400, 'A'), Smallest, square, FitsNoSize}};
  for (const auto& [text, scheme, request, kind] : cases) {
    testing::internal::CaptureStderr();
    const Encoded out = EncodeAndDecode(text, scheme, request);
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(out.grid) << text.size();
    EXPECT_EQ(std::tie(out.params.failure, out.size, out.params.sizeIndex), std::make_tuple(kind, request, -1))
        << text.size() << " scheme " << scheme;
    EXPECT_FALSE(out.params.buffers);
  }
}

}  // namespace
