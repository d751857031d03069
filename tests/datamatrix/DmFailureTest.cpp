// Failures: unsupported characters, bad schemes, inputs too long for any
// symbol, and allocation failure at every allocation of DmEncodeText.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

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

struct UnsupportedCase {
  std::string text;
  int scheme;
  std::string message;
};

class UnsupportedTest : public testing::TestWithParam<UnsupportedCase> {};

TEST_P(UnsupportedTest, FailsWithTheMessageNamingTheByte) {
  testing::internal::CaptureStderr();
  const std::vector<int> codewords = DataCodewords(GetParam().text, GetParam().scheme);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().message);
  EXPECT_TRUE(codewords.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnsupportedTest,
    testing::Values(
        UnsupportedCase{"AB#", X12, "Character \"#\" not supported by requested encodation scheme\n\n"},
        UnsupportedCase{"abc", X12, "Character \"a\" not supported by requested encodation scheme\n\n"},
        UnsupportedCase{"ABCDEFGa", Edifact, "Character \"a\" not supported by requested encodation scheme\n\n"},
        // The offending byte is named even when the read-ahead meets it.
        UnsupportedCase{"ABCDEF\n", X12, "Character \"\n\" not supported by requested encodation scheme\n\n"},
        // Near the end EDIFACT may finish in ASCII, but only what fits the last
        // codewords: a byte needing an Upper Shift there stays unsupported.
        UnsupportedCase{"ABCD\xc4", Edifact, "Character \"\xc4\" not supported by requested encodation scheme\n\n"},
        UnsupportedCase{"AB", NoEncodation, ""}, UnsupportedCase{"AB", 8, ""}, UnsupportedCase{"AB", -1, ""},
        UnsupportedCase{"", Ascii, ""}));

struct TooLongCase {
  char fill;
  int length;
  int scheme;
};

class TooLongTest : public testing::TestWithParam<TooLongCase> {};

// Past the codeword buffer the encoding stops with failure, and no size is chosen.
TEST_P(TooLongTest, FailsCleanly) {
  const std::string text(GetParam().length, GetParam().fill);
  EXPECT_TRUE(DataCodewords(text, GetParam().scheme).empty());
  DmEncodeParams params;
  params.scheme = GetParam().scheme;
  int size = DmSmallestSquare;
  EXPECT_FALSE(DmEncodeText(Bytes(text), GetParam().length, params, size));
  EXPECT_EQ(size, DmSmallestSquare);
  EXPECT_EQ(params.sizeIndex, -1);
  EXPECT_FALSE(params.buffers);
}

INSTANTIATE_TEST_SUITE_P(Cases, TooLongTest,
                         testing::Values(TooLongCase{'A', 1561, Ascii}, TooLongCase{'\xc4', 800, Ascii},
                                         TooLongCase{'A', 5000, C40}, TooLongCase{'a', 5000, Text},
                                         TooLongCase{'A', 5000, X12}, TooLongCase{'A', 3000, Edifact},
                                         TooLongCase{'A', 2000, Base256}, TooLongCase{'a', 5000, Auto},
                                         TooLongCase{'A', 100000, Auto}));

TEST(TooLong, JustPastTheLargestSymbol) {
  EXPECT_EQ(DataCodewords(std::string(1559, 'A'), Ascii).size(), 1559u);
  DmEncodeParams params;
  int size = DmSmallestSquare;
  EXPECT_FALSE(DmEncodeText(Bytes(std::string(1559, 'A')), 1559, params, size));
  size = DmSmallestSquare;
  EXPECT_TRUE(DmEncodeText(Bytes(std::string(1558, 'A')), 1558, params, size));
  EXPECT_EQ(size, 144);
}

TEST(AllocationFailure, EveryAllocationFailsCleanly) {
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
    EXPECT_EQ(size, DmSmallestSquare);
    EXPECT_FALSE(params.buffers);
    EXPECT_EQ(params.sizeIndex, -1);
  }
  EXPECT_GE(failures, 2);
}

}  // namespace
