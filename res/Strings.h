// Texts the application shows, other than control captions (those live in
// the dialog layouts). UTF-8.
#pragma once

#include <array>
#include <string_view>

namespace UiText {

constexpr std::string_view QrTab = "QR码";
constexpr std::string_view DmTab = "DM码";
constexpr std::string_view AboutEntry = "关于 Quillet(&A)...";

constexpr std::string_view NoSymbol = "请先生成图片";
constexpr std::string_view TooLongToSave = "内容过长，无法生成图片";
constexpr std::string_view SaveFailed = "保存图像文件失败!";
constexpr std::string_view ConfirmOverwrite = "文件 %1 已存在。\n要替换它吗?";

// Version label: the version or size in parentheses, or the too-long mark.
constexpr std::string_view VersionLabel = "(版本: %1)";
constexpr std::string_view ContentTooLong = "(内容过长)";
constexpr std::string_view VersionItem = "版本 %1";
constexpr std::string_view AutomaticVersion = "自动选择";

struct LevelItem {
  std::string_view text;
  std::string_view letter;
};
constexpr std::array<LevelItem, 4> ErrorCorrectionLevels = {{
    {"L级(7%)", "L"}, {"M级(15%)", "M"}, {"Q级(25%)", "Q"}, {"H级(30%)", "H"},
}};

// Save-dialog filter entries 1..4, in this order, with the extension each
// gives a name typed without one.
struct FilterItem {
  std::string_view caption;
  std::string_view extension;
};
constexpr std::array<FilterItem, 4> SaveFilters = {{
    {"位图文件 (*.bmp)", "bmp"}, {"JPEG图像文件 (*.jpg)", "jpg"}, {"GIF图像文件 (*.gif)", "gif"}, {"PNG图像文件 (*.png)", "png"},
}};
// Entries for the further formats: the format's name and its patterns.
constexpr std::string_view FurtherFormatFilter = "%1图像文件 (%2)";

}  // namespace UiText
