#include <gtest/gtest.h>

#include "image/ImageWriters.h"

namespace {

TEST(ImageWriters, EncodersComeInTheirFixedOrder) {
  const auto encoders = ImageEncoders();
  ASSERT_EQ(encoders.size(), 5u);
  const std::string_view ids[] = {"bmp", "jpeg", "gif", "png", "svg"};
  const std::string_view lists[] = {"*.bmp;*.dib", "*.jpg;*.jpeg;*.jpe;*.jfif", "*.gif", "*.png", "*.svg"};
  for (size_t i = 0; i < encoders.size(); ++i) {
    EXPECT_EQ(encoders[i].id, ids[i]);
    EXPECT_EQ(encoders[i].extensions, lists[i]);
  }
}

struct MatchCase {
  const char* fileName;
  const char* encoderId;  // null: no encoder
};

const MatchCase MatchCases[] = {
    {"a.bmp", "bmp"},         {"a.dib", "bmp"},         {"a.BMP", "bmp"},       {"a.Dib", "bmp"},
    {"a.jpg", "jpeg"},        {"a.JPEG", "jpeg"},       {"a.jpe", "jpeg"},      {"a.JFIF", "jpeg"},
    {"a.gif", "gif"},         {"A.GIF", "gif"},         {"a.png", "png"},       {"a.PnG", "png"},
    {"a.svg", "svg"},         {"/tmp/x/a.b.png", "png"}, {".png", "png"},        {"a.txt.png", "png"},
    {"a.txt", nullptr},       {"a", nullptr},           {"a.", nullptr},        {"a.png.txt", nullptr},
    {"dir.png/a", nullptr},   {"a.pngx", nullptr},      {"a.jp", nullptr},      {"", nullptr},
    {"a.*", nullptr},         {"a.bmp;", nullptr},
};

class Match : public testing::TestWithParam<MatchCase> {};

TEST_P(Match, ByTheExtensionAfterTheLastDot) {
  const ImageEncoderInfo* encoder = FindEncoderForFile(QString::fromUtf8(GetParam().fileName));
  if (GetParam().encoderId == nullptr) {
    EXPECT_EQ(encoder, nullptr) << encoder->id;
  } else {
    ASSERT_NE(encoder, nullptr);
    EXPECT_EQ(encoder->id, GetParam().encoderId);
  }
}

INSTANTIATE_TEST_SUITE_P(ImageWriters, Match, testing::ValuesIn(MatchCases));

struct AppendCase {
  const char* typed;
  int filterEntry;
  const char* saved;
};

const AppendCase AppendCases[] = {
    {"a", 1, "a.bmp"},
    {"a", 2, "a.jpg"},
    {"a", 3, "a.gif"},
    {"a", 4, "a.png"},
    {"/tmp/dir.x/symbol", 2, "/tmp/dir.x/symbol.jpg"},
    {"a.png", 1, "a.png"},  // a typed extension wins over the filter
    {"A.PNG", 2, "A.PNG"},
    {"a.txt", 4, "a.txt"},
    {"a.", 3, "a."},
    {"a", 0, "a"},
    {"a", 5, "a"},
};

class Append : public testing::TestWithParam<AppendCase> {};

TEST_P(Append, OnlyWhenTheNameHasNoExtension) {
  EXPECT_EQ(AppendDefaultExtension(QString::fromUtf8(GetParam().typed), GetParam().filterEntry),
            QString::fromUtf8(GetParam().saved));
}

INSTANTIATE_TEST_SUITE_P(ImageWriters, Append, testing::ValuesIn(AppendCases));

// The name the save dialog gives, with the filter entry, picks the format.
TEST(ImageWriters, FilterEntryPicksTheFormatOfANameWithoutExtension) {
  const char* expected[] = {"bmp", "jpeg", "gif", "png"};
  for (int entry = 1; entry <= 4; ++entry) {
    const ImageEncoderInfo* encoder = FindEncoderForFile(AppendDefaultExtension("symbol", entry));
    ASSERT_NE(encoder, nullptr);
    EXPECT_EQ(encoder->id, expected[entry - 1]);
  }
  EXPECT_EQ(FindEncoderForFile(AppendDefaultExtension("symbol.png", 1))->id, "png");
}

}  // namespace
