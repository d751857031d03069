// Texts the application shows, other than control captions (those live in
// the dialog layouts). UTF-8.
#pragma once

#include <array>
#include <cerrno>
#include <string_view>

namespace quillet {

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
// A date-time field before a time is entered.
constexpr std::string_view NoDateTime = "未设置";

// In the order of QrLevels (qr/QrLevel.h).
constexpr std::array<std::string_view, 4> ErrorCorrectionLevels = {"L级(7%)", "M级(15%)", "Q级(25%)", "H级(30%)"};

// The detail under SaveFailed, by failure; %1 the subject, %2 the reason.
constexpr std::string_view SaveFailedScale = "缩放比例 %1 小于 %2";
constexpr std::string_view SaveFailedQuietZone = "静区 %1 个模块超出 %2 的范围";
constexpr std::string_view SaveFailedTooLarge = "图像每边 %1 像素，超过上限 %2 像素";
constexpr std::string_view SaveFailedDpi = "分辨率 %1 dpi 超出 %2 的范围";
constexpr std::string_view SaveFailedExtension = "未知的图像文件扩展名 \"%1\"，请使用 %2";
constexpr std::string_view SaveFailedNoExtension = "文件名没有扩展名，请使用 %1";
constexpr std::string_view SaveFailedFolderMissing = "文件夹 \"%1\" 不存在";
constexpr std::string_view SaveFailedIsFolder = "\"%1\" 是一个文件夹";
constexpr std::string_view SaveFailedCreate = "无法在文件夹 \"%1\" 中创建文件：%2";
constexpr std::string_view SaveFailedWrite = "写入 \"%1\" 失败：%2";
constexpr std::string_view SaveFailedReplace = "无法替换 \"%1\"：%2";
constexpr std::string_view SaveFailedMemory = "内存不足";
constexpr std::string_view SaveFailedEncoder = "图像编码失败";
// PDF, EPS and label sheets are drawn by a module loaded on first use.
constexpr std::string_view NoPrintModule = "无法载入打印模块";
constexpr std::string_view SaveFailedCaption = "边框文字须为一行，最多 %1 个字符";
constexpr std::string_view SaveFailedCaptionFont = "未安装边框文字所用的字体 %1（软件包 fonts-wqy-zenhei）";
constexpr std::string_view SaveFailedCaptionCharacter = "边框文字的字体中没有“%1”，该字会显示为空框";
constexpr std::string_view SaveFailedCaptionScript = "边框文字中的“%1”属于需要连写整形的文字（如阿拉伯文、泰文），暂不支持绘制";
// Joining the known extensions: ".bmp、.jpg、.gif 或 .png".
constexpr std::string_view ListSeparator = "、";
constexpr std::string_view ListLastSeparator = " 或 ";

// The save dialog's entry of each format the formats table offers, by the
// name of its row there.
struct FormatCaption {
  std::string_view format;
  std::string_view caption;
};
constexpr std::array<FormatCaption, 7> SaveFormatCaptions = {{
    {"bmp", "位图文件"},
    {"jpg", "JPEG图像文件"},
    {"gif", "GIF图像文件"},
    {"png", "PNG图像文件"},
    {"svg", "SVG图像文件"},
    {"pdf", "PDF文档"},
    {"eps", "EPS矢量图形"},
}};
constexpr std::string_view SaveFormatCaption(std::string_view format) {
  for (const FormatCaption& row : SaveFormatCaptions)
    if (row.format == format) return row.caption;
  return format;
}

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

// Why the general format cannot encode a field's value: %1 the reason
// (worded as for batch rows, with the field's caption).
constexpr std::string_view NoSymbolBecause = "无法生成条码：%1";

// Printing, copying and checking what was saved.
constexpr std::string_view PrintedSize = "打印尺寸: %1 mm (%2 dpi)";
// Width by height: a frame's caption band, or a rectangular Data Matrix.
constexpr std::string_view PrintedSizeFramed = "打印尺寸: %1 × %2 mm (%3 dpi)";
constexpr std::string_view CopyImage = "复制图片";
constexpr std::string_view SaveAs = "另存为...";
// Saving at a printed size: the menu entry, the question (%1 the dpi), and
// under the picture how far whole pixels per module put the print off the
// size asked for (%1 the size asked, %2 the share off in per cent).
constexpr std::string_view SaveAtPrintedSize = "按打印尺寸保存...";
constexpr std::string_view PrintedSizeTitle = "按打印尺寸保存";
constexpr std::string_view PrintedSizeQuestion = "打印尺寸（整个条码连同四周空白的边长，毫米，按 %1 dpi）：";
constexpr std::string_view PrintedSizeOff = "，与所选 %1 mm 相差 %2%";
// The zoom slider's tooltip.
constexpr std::string_view ZoomTip = "每个模块的像素数：屏幕上的显示大小，也是保存、复制的图片的大小（按打印尺寸保存后除外，直到再次拖动）";
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

// Opening a symbol from an image. %1 and %2 as each text says.
constexpr std::string_view OpenImageEntry = "打开图片...";
constexpr std::string_view OpenImageTitle = "打开图片";
constexpr std::string_view OpenImageFilter = "图片 (*.png *.jpg *.jpeg *.gif *.bmp);;所有文件 (*)";
constexpr std::string_view PastedImage = "粘贴的图片";
// Beside the picture while an image is being read.
constexpr std::string_view Reading = "正在识别…（Esc 取消）";
constexpr std::string_view OpenFailed = "无法打开 \"%1\"：%2";
constexpr std::string_view OpenNoSymbol = "在 \"%1\" 中没有找到二维码或 DM 码。";
constexpr std::string_view OpenNotAnImage = "这不是 PNG、JPEG、GIF 或 BMP 图片";
constexpr std::string_view OpenUnsupported = "不支持这种图片（%1）";
constexpr std::string_view OpenTooLarge = "图片过大（%1 像素），超过 %2 百万像素的上限";
constexpr std::string_view OpenFileTooLarge = "文件过大，不是图片";
constexpr std::string_view OpenTruncated = "文件不完整";
constexpr std::string_view OpenDamaged = "图片已损坏";
constexpr std::string_view OpenDamagedBecause = "图片已损坏（%1）";
constexpr std::string_view OpenNoDecoders = "无法加载解码器";
// What the image readers found (a library's own message is not shown).
constexpr std::string_view ReadGifError = "GIF 错误 %1";
constexpr std::string_view ReadNoGifImage = "GIF 文件中没有图像";
constexpr std::string_view ReadJpegScans = "扫描超过 %1 遍的 JPEG";
constexpr std::string_view ReadOldBmpHeader = "旧式文件头的 BMP";
constexpr std::string_view ReadCompressedBmp = "压缩的 BMP";
constexpr std::string_view ReadBmpBits = "每像素 %1 位的 BMP";
constexpr std::string_view ReadBmpPalette = "BMP 的像素超出了调色板";
constexpr std::string_view ReadSvgUnreadable = "无法解析的 SVG";
constexpr std::string_view ReadSvgNotDrawn = "无法绘制的 SVG";
// Reading from the screen. %1 as each text says.
constexpr std::string_view ScreenEntry = "从屏幕识别";
constexpr std::string_view ScreenName = "屏幕";
constexpr std::string_view ScreenNoSymbol = "在%1上没有找到二维码或 DM 码。小的或密集的条码可以框选一个区域来识别。";
constexpr std::string_view ScreenPickRegion = "框选区域...";
constexpr std::string_view ScreenRegionHint = "拖动鼠标框选要识别的区域，按 Esc 取消";
constexpr std::string_view ScreenWaylandNoPortal = "无法截取屏幕：这是 Wayland 桌面，但桌面的截图服务（xdg-desktop-portal）没有响应。请安装或启动 xdg-desktop-portal；也可以先用系统的截图工具截图，再按 Ctrl+V 粘贴到本窗口。";
constexpr std::string_view ScreenNoScreen = "无法截取屏幕：既没有 X11 显示，也没有桌面的截图服务。请先用截图工具截图，再按 Ctrl+V 粘贴到本窗口。";
constexpr std::string_view ScreenPortalFailed = "桌面的截图服务没有给出截图。请重试，或先用截图工具截图，再按 Ctrl+V 粘贴到本窗口。";
constexpr std::string_view ScreenPortalTimedOut = "桌面的截图服务长时间没有回应。请重试，或先用截图工具截图，再按 Ctrl+V 粘贴到本窗口。";
constexpr std::string_view ScreenUnreadable = "无法读取桌面截图服务给出的图片。请先用截图工具截图，再按 Ctrl+V 粘贴到本窗口。";
// Read content the pages have no form for.
constexpr std::string_view TextActionTitle = "识别结果";
constexpr std::string_view TextActionLabel = "读出的内容：\n\n%1";
constexpr std::string_view TextOpenLink = "打开链接";
constexpr std::string_view TextCopy = "复制文本";
constexpr std::string_view TextEdit = "在文本页中编辑";
constexpr std::string_view PickSymbolTitle = "选择条码";
constexpr std::string_view PickSymbolLabel = "图片中有 %1 个条码，请选择要打开的一个：";
constexpr std::string_view PickSymbolItem = "%1. %2：%3";
constexpr std::string_view QrSymbolName = "二维码";
constexpr std::string_view DmSymbolName = "DM 码";
constexpr std::string_view OpenKeepStyle =
    "当前页面设有样式（颜色、形状或标志）。\n\n打开的条码是否保留这个样式？选“否”以黑白方块打开。";
// %1 the opened symbol's level, %2 the one the logo needs.
constexpr std::string_view OpenStyleRaisedLevel = "已保留样式：标志需要更强的纠错，打开的 %1 级条码改为 %2 级。";
constexpr std::string_view OpenNotHeld = "读出的内容无法完整放入「%1」的字段：%2。\n\n是否改用「%3」页打开全部内容？选“否”只填入能放下的字段。";
constexpr std::string_view OpenNotText = "读出的内容不是文本（%1 字节），无法放入字段。";
constexpr std::string_view UnheldUnknownTag = "%1 不是已知的字段";
constexpr std::string_view UnheldNotOnPage = "没有页面含有字段 %1";
constexpr std::string_view UnheldRepeated = "字段 %1 出现了两次";
constexpr std::string_view UnheldMalformed = "内容不完整或格式有误";
constexpr std::string_view UnheldNotCodePage = "含有 GBK 无法表示的字符";
constexpr std::string_view UnheldNotAChoice = "页面无法表示 %1";
// The style dialog and what the page says of a styled symbol.
constexpr std::string_view StyleEntry = "样式...";
constexpr std::string_view StyleTitle = "样式";
constexpr std::string_view StyleForeground = "前景色:";
constexpr std::string_view StyleBackground = "背景色:";
constexpr std::string_view StyleForegroundTitle = "选择前景色";
constexpr std::string_view StyleBackgroundTitle = "选择背景色";
constexpr std::string_view StyleTransparent = "透明背景";
constexpr std::string_view StyleLogo = "标志图片:";
constexpr std::string_view StyleChooseLogo = "选择...";
constexpr std::string_view StyleRemoveLogo = "移除";
constexpr std::string_view StyleNoLogo = "(无)";
constexpr std::string_view StyleLogoSize = "标志大小:";
// %1 the pad's side in modules, %2 the logo's share of the symbol's side.
constexpr std::string_view StyleLogoSizeText = "%1 个模块 (%2%)";
constexpr std::string_view StyleLogoTitle = "选择标志图片";
constexpr std::string_view StyleLogoFilter = "标志图片 (*.png *.jpg *.jpeg *.svg)";
constexpr std::string_view StyleLogoUnreadable = "无法使用标志图片 %1：\n%2";
constexpr std::string_view StyleLogoTooBig = "文件过大 (最大 %1 MB，边长最多 %2 像素)。";
constexpr std::string_view StyleLogoNotImage = "不是 PNG、JPEG 或 SVG 图片。";
constexpr std::string_view StyleLogoDamaged = "图片已损坏。";
constexpr std::string_view StyleLogoDamagedBecause = "图片已损坏：%1";
constexpr std::string_view StyleNoLogoReader = "读取标志图片的模块无法载入。";
constexpr std::string_view StyleNoLogoInDm = "Data Matrix 码不支持标志图片：它的纠错无法承受中间被遮住。";
// %1 the level, %2 the version, %3 the largest share.
constexpr std::string_view StyleLogoBound = "%1 在版本 %2 下，标志最大为边长的 %3%。纠错级别越高，标志可以越大。";
// %1 the level, %2 the largest share of any version the symbol may grow to.
constexpr std::string_view StyleLogoBoundGrowing = "%1下条码会随标志增大，标志最大为边长的 %2%。纠错级别越高，标志可以越大。";
// %1 the level, %2 the largest share: what would fit, without codeword figures.
constexpr std::string_view StyleLogoTooLarge = "标志太大，这个码放不下：%1下最多为边长的 %2%。换小一点的标志，或选择更大的版本，就能放下。";
constexpr std::string_view StyleNoLogoRoom = "%1 在版本 %2 下放不下标志，请选择更高的纠错级别。";
constexpr std::string_view StyleAllowLowContrast = "允许低对比度 (许多扫描器无法读取)";
constexpr std::string_view StyleAllowInverted = "允许反色 (浅色模块在深色背景上，许多扫描器不识别)";
constexpr std::string_view StyleClear = "清除样式";
constexpr std::string_view StyleOk = "确定";
constexpr std::string_view StyleCancel = "取消";
constexpr std::string_view StylePreset = "预设:";
constexpr std::string_view StylePresetCustom = "(自定义)";
constexpr std::string_view StyleModuleShape = "模块形状:";
constexpr std::string_view StyleEyeShape = "定位点形状:";
constexpr std::string_view StyleEyeColour = "定位点颜色:";
constexpr std::string_view StyleEyeColourTitle = "选择定位点颜色";
constexpr std::string_view StyleEyeSameColour = "同前景色";
constexpr std::string_view ShapeSquare = "方块";
constexpr std::string_view ShapeDots = "圆点";
constexpr std::string_view ShapeRounded = "圆角";
constexpr std::string_view EyeSquare = "方形";
constexpr std::string_view EyeRounded = "圆角";
constexpr std::string_view EyeCircle = "圆形";
constexpr std::string_view StyleLogoPad = "标志衬底:";
constexpr std::string_view LogoPadShape = "随标志轮廓";
constexpr std::string_view LogoPadSquare = "整块矩形";
constexpr std::string_view StyleGradient = "渐变:";
constexpr std::string_view GradientNone = "无";
constexpr std::string_view GradientLinear = "线性";
constexpr std::string_view GradientRadial = "径向";
constexpr std::string_view StyleSecondColourTitle = "选择渐变的第二种颜色";
constexpr std::string_view StyleFrameText = "边框文字:";
constexpr std::string_view StyleFrameTextHint = "留空则不加边框，例如：扫一扫，加我为联系人";
constexpr std::string_view StyleFramePosition = "文字位置:";
constexpr std::string_view FrameBelow = "下方";
constexpr std::string_view FrameAbove = "上方";
constexpr std::string_view StyleFrameColour = "边框颜色:";
constexpr std::string_view StyleFrameColourTitle = "选择边框颜色";
// %1 the module colour, %2 the background, %3 the contrast ratio.
constexpr std::string_view StyleLowContrast = "对比度不足：%1 在 %2 上的对比度为 %3:1，至少需要 3:1。";
constexpr std::string_view StyleInverted = "反色：模块 %1 比背景 %2 更浅 (对比度 %3:1)，许多扫描器不识别。";
constexpr std::string_view StyleReadBack = "已校验: 可扫描";
constexpr std::string_view StyleChecking = "正在校验...";
constexpr std::string_view StyleNotReadBack = "未通过校验: %1";
// %1 the camera conditions the styled symbol read under, %2 all of them.
constexpr std::string_view StyleReadUnder = "（%1/%2 种拍摄条件可读）";
// What the check raised for the style to read: %1 the level or version first made.
constexpr std::string_view StyleLevelRaised = "，纠错级别已由%1提高";
constexpr std::string_view StyleVersionGrown = "，版本已由 %1 增大";
// %1 the decoder, %2 the camera condition, %3 what would help (ConditionAdvice, or nothing).
constexpr std::string_view ConditionLostWhy = "在拍摄条件“%2”下 %1 读不出该条码，而无样式的同一条码可读。%3";
constexpr std::string_view ConditionAdvice = "可尝试%1。";
constexpr std::string_view AdviceSmallerLogo = "更小的标志";
constexpr std::string_view AdviceHigherLevel = "更高的纠错等级";
constexpr std::string_view AdviceMoreContrast = "更高的对比度";
constexpr std::string_view AdviceOr = "或";
// The camera conditions of the read-back, in their table's order.
constexpr std::array<std::string_view, 7> CameraConditionNames = {
    "按打印尺寸", "倾斜 25 度", "传感器噪声", "半个模块的模糊", "每模块 2 像素", "JPEG 质量 40", "光照不均"};
// After the page's settings in the batch dialog: %1 the modules' colour, %2 the background.
constexpr std::string_view BatchStyle = "；样式: %1，背景 %2";
constexpr std::string_view BatchStyleLogo = "，带标志";
// %1 the caption, %2 where it goes (上方/下方).
constexpr std::string_view BatchStyleFrame = "，边框文字“%1”(%2)";
// A styled symbol that is refused or does not read back is not saved, copied or dragged.
constexpr std::string_view StyleRefusedSave = "当前样式的条码无法使用：\n%1";

// "最近": what the window made and read. The kinds in the order of HistoryKind.
constexpr std::string_view HistoryEntry = "最近...";
constexpr std::string_view HistoryTitle = "最近";
constexpr std::string_view HistoryColumns[] = {"图片", "格式/页", "内容", "保存位置", "时间"};
constexpr std::string_view HistoryKinds[] = {"已保存", "已复制", "已拖出", "已打印", "批量生成", "已打开", "从屏幕读取"};
constexpr std::string_view HistoryDelete = "删除";
constexpr std::string_view HistoryClear = "清空";
constexpr std::string_view HistoryClearQuestion = "删除全部最近记录？删除后无法恢复。";
constexpr std::string_view HistoryOn = "记录最近生成和打开的条码";
constexpr std::string_view HistoryOpenTip = "单击一条记录，在它的页面中重新打开";
constexpr std::string_view HistoryDamaged = "最近记录的文件已损坏，已改名为 \"%1\"，并新建了一个。";
constexpr std::string_view HistoryNotKept = "最近记录的文件无法打开或创建（%1），本次的记录在退出后不会保留。";

}  // namespace UiText

}  // namespace quillet
