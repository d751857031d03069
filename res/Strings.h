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

// Save-dialog filter entries 1..4, in this order.
constexpr std::array<std::string_view, 4> SaveFilters = {
    "位图文件 (*.bmp)", "JPEG图像文件 (*.jpg)", "GIF图像文件 (*.gif)", "PNG图像文件 (*.png)",
};

}  // namespace UiText

// Printing, copying and checking what was saved.
namespace UiText {

constexpr std::string_view PrintedSize = "打印尺寸: %1 mm (%2 dpi)";
constexpr std::string_view CopyImage = "复制图片";
constexpr std::string_view SaveAs = "另存为...";
constexpr std::string_view DraggedFileName = "二维码.png";
constexpr std::string_view SavedAndReadBack = "已保存, 读回校验通过 (%1)";
constexpr std::string_view NotReadBack = "文件已保存, 但无法读回其中的条码:\n%1\n\n%2";
constexpr std::string_view NotReadBackWhy = "读回时没有解码器能读出该条码。";
constexpr std::string_view DifferentBytesWhy = "读回的内容与编码的内容不一致。";
constexpr std::string_view CannotCheckWhy = "无法检查该文件: %1";
constexpr std::string_view RiskNoQuietZone = "没有静区, 扫描器难以找到条码。";
constexpr std::string_view RiskOnePixel = "每个模块只有 1 个像素, 大多数扫描器分辨不出; 请增大缩放比例。";
constexpr std::string_view RiskJpeg = "JPEG 压缩会把 1 到 2 个像素的模块模糊成灰色; 请改用 PNG 或将缩放比例调到 3 以上。";

}  // namespace UiText
