// The formats table as the saving rule and the user interfaces read it.
#include <gtest/gtest.h>

#include "image/ImageFormats.h"

using namespace quillet;

namespace {

std::string_view NameOrNone(const ImageFormat* format) { return format ? format->name : "none"; }

TEST(FormatsTable, TheExtensionRuleFindsTheFirstFormatListingIt) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"a.bmp", "bmp"},     {"a.DIB", "bmp"},      {"x/a.jpg", "jpg"},  {"a.JPEG", "jpg"},
      {"a.jpe", "jpg"},     {"a.jfif", "jpg"},     {"a.gif", "gif"},    {"a.Png", "png"},
      {"a.svg", "svg"},     {"a.PDF", "pdf"},      {"a.eps", "eps"},    {"a.png.txt", "none"},
      {"a.", "none"},       {"a", "none"},         {"dir.png/a", "none"}, {".png", "png"},
      {"a.utf8", "none"},   {"", "none"},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(NameOrNone(FindFormatForFile(path)), format) << path;
}

TEST(FormatsTable, NamesAcceptEveryExtensionWithoutItsDot) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"png", "png"}, {"PNG", "png"}, {"jpeg", "jpg"}, {"jfif", "jpg"}, {"dib", "bmp"},
      {"utf8", "utf8"}, {".png", "none"}, {"", "none"}, {"tiff", "none"},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(NameOrNone(FindFormatByName(name)), format) << name;
}

// The save dialog's entries in order; a bare name, or one ending in a dot,
// gets the entry's first extension, a name with an extension keeps it.
TEST(FormatsTable, SaveDialogEntriesAndDefaultExtensions) {
  std::vector<std::string_view> offered;
  for (const ImageFormat* format : SaveDialogFormats()) offered.push_back(format->name);
  EXPECT_EQ(offered, (std::vector<std::string_view>{"bmp", "jpg", "gif", "png", "svg", "pdf", "eps"}));
  const std::tuple<std::string_view, int, std::string_view> cases[] = {
      {"a", 1, "a.bmp"}, {"a", 2, "a.jpg"}, {"a.txt", 2, "a.txt"}, {"a.", 3, "a.gif"},
      {"a", 6, "a.pdf"}, {"a", 0, "a"},     {"a", 8, "a"},         {"d.x/a", 4, "d.x/a.png"}};
  for (const auto& [typed, entry, saved] : cases) EXPECT_EQ(AppendDefaultExtension(typed, entry), saved) << typed;
}

}  // namespace
