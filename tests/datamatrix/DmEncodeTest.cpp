// The worked examples (codewords, padding, size choice, error correction) and
// the failures: unsupported characters, bad schemes, input too long, and
// allocation failure at every allocation of DmEncodeText.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "datamatrix/DmEncoder.h"
#include "tests/datamatrix/DmTestText.h"

// The replaced operator new pairs with the replaced delete; the compiler
// cannot see that through the test's own uses.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

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
  for (const auto& [text, scheme, codewords] : cases) EXPECT_EQ(DataCodewords(text, scheme), codewords) << text;
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
    DmEncodeParams params;
    params.scheme = scheme;
    int size = request;
    ASSERT_TRUE(DmEncodeText(Bytes(text), static_cast<int>(text.size()), params, size)) << text;
    EXPECT_EQ(size, rows) << text;
    const std::vector<uint8_t>& got = params.buffers->codewords;
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + codewords.size()), codewords) << text << " size " << request;
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
      {"AB", NoEncodation, ""}, {"AB", 8, ""}, {"AB", -1, ""}, {"", Ascii, ""}};
  for (const auto& [text, scheme, expected] : cases) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(DataCodewords(text, scheme).empty()) << text;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected) << text;
  }
}

// Past the codeword buffer the encoding stops with failure; past the largest
// symbol (1558 codewords) no size is chosen. Either way nothing is written.
TEST(Failures, TooLongFailsCleanly) {
  const std::tuple<char, int, int, size_t> cases[] = {  // fill, length, scheme, data codewords
      {'A', 1559, Ascii, 1559}, {'A', 1561, Ascii, 0}, {'\xC4', 800, Ascii, 0}, {'A', 5000, C40, 0},
      {'a', 5000, Text, 0},     {'A', 5000, X12, 0},   {'A', 3000, Edifact, 0}, {'A', 2000, Base256, 0},
      {'a', 5000, Auto, 0},     {'A', 100000, Auto, 0}};
  for (const auto& [fill, length, scheme, dataCount] : cases) {
    const std::string text(length, fill);
    EXPECT_EQ(DataCodewords(text, scheme).size(), dataCount) << length;
    DmEncodeParams params;
    params.scheme = scheme;
    int size = DmSmallestSquare;
    EXPECT_FALSE(DmEncodeText(Bytes(text), length, params, size)) << length;
    EXPECT_EQ(std::tie(size, params.sizeIndex), std::make_tuple(DmSmallestSquare, -1));
    EXPECT_FALSE(params.buffers);
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
    EXPECT_EQ(std::tie(size, params.sizeIndex), std::make_tuple(DmSmallestSquare, -1));
    EXPECT_FALSE(params.buffers);
  }
  EXPECT_GE(failures, 2);
}

}  // namespace
