// Texts the application shows, other than control captions (those live in
// the dialog layouts). UTF-8.
#pragma once

#include <array>
#include <cerrno>
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

// In the order of QrLevels (qr/QrLevel.h).
constexpr std::array<std::string_view, 4> ErrorCorrectionLevels = {"L级(7%)", "M级(15%)", "Q级(25%)", "H级(30%)"};

// The detail under SaveFailed, by failure; %1 the subject, %2 the reason.
constexpr std::string_view SaveFailedScale = "缩放比例 %1 超出 %2 的范围";
constexpr std::string_view SaveFailedQuietZone = "静区 %1 个模块超出 %2 的范围";
constexpr std::string_view SaveFailedDpi = "分辨率 %1 dpi 超出 %2 的范围";
constexpr std::string_view SaveFailedExtension = "未知的图像文件扩展名 \"%1\"，请使用 %2";
constexpr std::string_view SaveFailedNoExtension = "文件名没有扩展名，请使用 %1";
constexpr std::string_view SaveFailedFolderMissing = "文件夹 \"%1\" 不存在";
constexpr std::string_view SaveFailedIsFolder = "\"%1\" 是一个文件夹";
constexpr std::string_view SaveFailedCreate = "无法在文件夹 \"%1\" 中创建文件：%2";
constexpr std::string_view SaveFailedWrite = "写入 \"%1\" 失败：%2";
constexpr std::string_view SaveFailedReplace = "无法替换 \"%1\"：%2";
constexpr std::string_view SaveFailedMemory = "内存不足";
constexpr std::string_view SaveFailedEncoder = "图像编码失败：%1";
// Joining the known extensions: ".bmp、.jpg、.gif 或 .png".
constexpr std::string_view ListSeparator = "、";
constexpr std::string_view ListLastSeparator = " 或 ";

// The reasons of the commonest system errors; others in the system's words.
struct ErrorText {
  int error;
  std::string_view text;
};
constexpr std::array<ErrorText, 9> SystemErrors = {{
    {ENOENT, "文件或文件夹不存在"},
    {ENOTDIR, "路径中有一项不是文件夹"},
    {EISDIR, "这是一个文件夹"},
    {EIO, "读写出错"},
    {ENOSPC, "磁盘空间不足"},
    {EFBIG, "文件超过大小限制"},
    {EACCES, "没有权限"},
    {EPERM, "没有权限"},
    {EROFS, "文件系统为只读"},
}};

// Printing, copying and checking what was saved.
constexpr std::string_view PrintedSize = "打印尺寸: %1 mm (%2 dpi)";
constexpr std::string_view CopyImage = "复制图片";
constexpr std::string_view SaveAs = "另存为...";
constexpr std::string_view DraggedFileName = "二维码.png";
// The save dialog: the name it suggests when the content gives none, and
// the type of a folder in its file list.
constexpr std::string_view DefaultFileName = "二维码";
constexpr std::string_view FolderType = "文件夹";
constexpr std::string_view SavedAndReadBack = "已保存，读回校验通过 (%1)";
constexpr std::string_view NotReadBack = "文件已保存，但无法读回其中的条码：\n%1\n\n%2";
constexpr std::string_view NotReadBackWhy = "读回时没有解码器能读出该条码。";
constexpr std::string_view DifferentBytesWhy = "读回的内容与编码的内容不一致。";
constexpr std::string_view CannotCheckWhy = "无法检查该文件：%1";
constexpr std::string_view CheckModuleMissing = "读回校验模块无法载入";
constexpr std::string_view CheckFileNotOpened = "无法打开该文件";
constexpr std::string_view CheckFileSizeUnknown = "无法得知文件的大小";
constexpr std::string_view CheckFileTooLarge = "文件比任何条码图片都大";
constexpr std::string_view CheckFileNotRead = "读取文件失败";
constexpr std::string_view RiskNoQuietZone = "没有静区，扫描器难以找到条码。";
constexpr std::string_view RiskOnePixel = "每个模块只有 1 个像素，大多数扫描器分辨不出；请增大缩放比例。";
constexpr std::string_view RiskJpeg = "JPEG 压缩会把 1 到 2 个像素的模块模糊成灰色；请改用 PNG，或将缩放比例调到 3 以上。";

}  // namespace UiText
