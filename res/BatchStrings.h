// Texts of the "批量生成" dialog, UTF-8. Kept apart from Strings.h so that the
// dialog's texts stay together.
#pragma once

#include <string_view>

namespace quillet {

namespace UiText {

constexpr std::string_view BatchEntry = "批量生成(&B)...";
constexpr std::string_view BatchTitle = "批量生成";

// What the batch composes for: the page shown when the dialog opened.
constexpr std::string_view BatchQrPage = "QR码：%1 的“%2”页，纠错级别 %3，%4";
constexpr std::string_view BatchQrAutomaticVersion = "自动选择版本";
constexpr std::string_view BatchQrSmallestVersion = "最小版本 %1";
constexpr std::string_view BatchDmPage = "DM码：每行的 text 列编码为一个符号，尺寸自 %1×%1 起，放不下时自动增大";

constexpr std::string_view BatchInputGroup = "表格文件";
constexpr std::string_view BatchNoInput = "(尚未选择文件)";
constexpr std::string_view BatchChooseInput = "选择文件(&O)...";
constexpr std::string_view BatchInputFilter = "表格文件 (*.csv *.tsv);;CSV 文件 (*.csv);;TSV 文件 (*.tsv);;所有文件 (*)";
constexpr std::string_view BatchEncoding = "编码(&E):";
constexpr std::string_view BatchEncodingDetected = "自动检测 (%1)";
constexpr std::string_view BatchEncodingAutomatic = "自动检测";
constexpr std::string_view BatchRowCount = "共 %1 行数据，下表为前 %2 行";
constexpr std::string_view BatchUndecodable = "(无法按 %1 解码)";

// The first table row: what each column feeds.
constexpr std::string_view BatchFeedsRow = "对应";
constexpr std::string_view BatchFeedsField = "%1 (%2)";
constexpr std::string_view BatchFeedsText = "文本 (每行一个符号)";
constexpr std::string_view BatchFeedsName = "仅用于文件名";
constexpr std::string_view BatchFeedsCaption = "仅用于标题";
constexpr std::string_view BatchFeedsNothingUnnamed = "无列名 (须为空)";
constexpr std::string_view BatchFeedsNothing = "不对应任何字段";
constexpr std::string_view BatchPageFields = "本页的字段：%1；列名可用标记或标题，text 列则每行编码一个原始符号。";
constexpr std::string_view BatchDmFields = "DM码只取名为 text 的列；其他列只能用在文件名中。";
constexpr std::string_view BatchColumnsUnused = "有 %1 列不对应任何字段，也没有用在文件名 (或标题) 中：请改列名或在模板中使用它。";
constexpr std::string_view BatchHeaderRefused = "表头无法使用：%1";
constexpr std::string_view BatchFieldSeparator = "、";

constexpr std::string_view BatchOutputGroup = "输出";
constexpr std::string_view BatchToFolder = "图像文件存入文件夹(&F)";
constexpr std::string_view BatchToSheet = "PDF 标签页(&L)";
constexpr std::string_view BatchSheetFile = "PDF 文件(&P):";
constexpr std::string_view BatchChooseSheetFile = "浏览(&R)...";
constexpr std::string_view BatchSheetFilter = "PDF 文件 (*.pdf)";
constexpr std::string_view BatchPaper = "纸张(&Z):";
constexpr std::string_view BatchGrid = "每页(&G):";
constexpr std::string_view BatchGridColumns = " 列";
constexpr std::string_view BatchGridRows = " 行";
constexpr std::string_view BatchCaption = "标题(&T):";
constexpr std::string_view BatchModuleSize = "模块尺寸(&M):";
constexpr std::string_view BatchModuleUnit = " 毫米";
constexpr std::string_view BatchModuleActual = "按 %1 dpi 实际为 %2 毫米；{row} 为行号，{列名} 为该列的值，标题为空则不印";
constexpr std::string_view BatchSheetNotPdf = "标签页须存为 .pdf 文件";
constexpr std::string_view BatchCaptionBad = "标题模板有误：“{”没有配对的“}”或“{}”为空";
constexpr std::string_view BatchCaptionUnknownColumn = "标题模板中的 {%1} 不是表格的列";
constexpr std::string_view BatchSheetPages = "，共 %1 页";
constexpr std::string_view BatchFolder = "文件夹(&D):";
constexpr std::string_view BatchChooseFolder = "浏览(&W)...";
constexpr std::string_view BatchNameTemplate = "文件名(&N):";
constexpr std::string_view BatchNameHint = "{row} 为行号，{列名} 为该列的值；扩展名决定图像格式 (%1)";
constexpr std::string_view BatchNameBadExtension = "文件名须以 %1 结尾";
constexpr std::string_view BatchNameNoVariable = "每行的文件名都相同：请使用 {row} 或 {列名}";
constexpr std::string_view BatchNameUnclosed = "文件名模板有误：“{”没有配对的“}”、“{}”为空，或含有“/”或控制字符";
constexpr std::string_view BatchNameUnknownColumn = "文件名模板中的 {%1} 不是表格的列";
constexpr std::string_view BatchVerify = "生成后读回校验(&V)";
constexpr std::string_view BatchVerifyTip = "用独立的解码器读回每个符号，读不回原内容的行算作失败";
constexpr std::string_view BatchScheme = "编码方案(&H):";
constexpr std::string_view BatchSchemeTip = "ascii 与 DM 页相同；smallest 得到数据所允许的最小符号";

constexpr std::string_view BatchStart = "开始(&S)";
constexpr std::string_view BatchCancel = "取消";
constexpr std::string_view BatchClose = "关闭";
constexpr std::string_view BatchOpenFolder = "打开文件夹";
constexpr std::string_view BatchCopyFailures = "复制列表(&C)";

constexpr std::string_view BatchProgress = "已完成 %1 / %2 行，每秒 %3 行，剩余约 %4";
constexpr std::string_view BatchProgressUnknownTotal = "已完成 %1 行，每秒 %2 行";
constexpr std::string_view BatchStarting = "正在读取表格...";
constexpr std::string_view BatchCancelling = "正在取消，等待正在写入的文件完成...";
constexpr std::string_view BatchSeconds = "%1 秒";
constexpr std::string_view BatchMinutes = "%1 分 %2 秒";
constexpr std::string_view BatchSummary = "已生成 %1 个，失败 %2 个";
constexpr std::string_view BatchCancelled = "已取消。";
constexpr std::string_view BatchNotStarted = "未能开始：%1";
constexpr std::string_view BatchOutputUnusable = "无法输出：%1";
// Why a batch could not start or finish; %1 the file or folder, %2 the system's reason.
constexpr std::string_view BatchInputUnreadable = "无法读取表格文件“%1”：%2";
constexpr std::string_view BatchInputEmpty = "表格文件是空的：第一行须为列名";
constexpr std::string_view BatchHeaderBroken = "表头行无法读取：引号没有配对、过长，或含有无法按所选编码解码的文字";
constexpr std::string_view BatchFolderNotCreated = "无法创建文件夹“%1”：%2";
constexpr std::string_view BatchFolderNotWritable = "无法写入文件夹“%1”：%2";
constexpr std::string_view BatchNotAFolder = "“%1”不是文件夹";
constexpr std::string_view BatchInputNotKept = "无法在临时文件中保存“%1”的副本：%2";
constexpr std::string_view BatchManifestNotWritten = "无法写入清单文件“%1”：%2";
// The label sheet could not be begun or finished; %1 the reason below.
constexpr std::string_view BatchSheetNotMade = "无法生成标签页：%1";
constexpr std::string_view BatchSheetNoCells = "标签页至少要有一列一行";
constexpr std::string_view BatchSheetNoLabel = "没有可打印的标签";
constexpr std::string_view BatchSheetDrawing = "绘图失败";
// The first label does not fit: the symbol's modules, the label's and the
// cell's sizes in millimetres, then what would make it fit.
constexpr std::string_view BatchLabelTooLarge = "标签放不下：第一个符号 (%1 模块) 连同静区和标题为 %2×%3 毫米，标签格只有 %4×%5 毫米";
constexpr std::string_view BatchLabelFitsWith = "；可改为%1";
constexpr std::string_view BatchLabelFewerLabels = "每页 %1 列 × %2 行";
constexpr std::string_view BatchLabelSmallerModule = "模块尺寸不超过 %1 毫米";
constexpr std::string_view BatchLabelSmallerSymbol = "符号不超过 %1 模块 (降低版本或减少内容)";
constexpr std::string_view BatchLabelOr = "，或";
constexpr std::string_view BatchFailedRow = "第 %1 行：%2";
constexpr std::string_view BatchFailedRowFile = "第 %1 行 (%2)：%3";

// Why the engine refuses a header, by the kind it reports.
constexpr std::string_view BatchHeaderNoSuchTab = "该运营商格式没有所选的内容类型";
constexpr std::string_view BatchHeaderUnknownColumn = "列“%1”不是本页的字段，不是 text 列，也没有用在文件名 (或标题) 中";
constexpr std::string_view BatchHeaderTwoTextColumns = "列“%1”和“%2”都是 text 列";
constexpr std::string_view BatchHeaderTwoColumnsOneField = "列“%1”和“%2”都对应字段 %3";
constexpr std::string_view BatchHeaderNoTextColumn = "没有名为 text 的列";
constexpr std::string_view BatchHeaderTextWithField = "有 text 列时每行编码为一个原始符号，其他列不能对应字段 (列“%1”对应字段)";
constexpr std::string_view BatchHeaderNoField = "没有一列对应本页的字段，也没有 text 列";
constexpr std::string_view BatchHeaderNoTemplateColumn = "模板中的 {%1} 不是表格的列";

// Why a row failed, by the kind the batch engine reports; writing failures
// are worded as the pages word a failed save.
constexpr std::string_view BatchReasonBrokenRow = "引号中的单元格没有结束，或该行过长";
constexpr std::string_view BatchReasonTooManyCells = "该行的单元格比表头的列多";
// A cell that is not text: %1 the column, %2 the byte (from 1) or the character.
constexpr std::string_view BatchReasonBadText = "列“%1”第 %2 字节处不是有效的 UTF-8 文本";
constexpr std::string_view BatchReasonBadCodePage = "列“%1”第 %2 字节处不是有效的 GB18030 文本";
constexpr std::string_view BatchReasonNoCode = "列“%1”中的字符“%2”没有 GB18030 编码";
constexpr std::string_view BatchReasonUnnamedColumn = "没有列名的列中有值";
constexpr std::string_view BatchReasonRequiredFieldEmpty = "必填字段“%1”为空";
constexpr std::string_view BatchReasonEmptyName = "文件名为空";
// A 通用格式 field whose value its form cannot carry; %1 the field or column.
constexpr std::string_view FieldMissing = "“%1”为空，但这种内容必须填写";
constexpr std::string_view FieldNotUtf8 = "“%1”不是有效的 UTF-8 文本";
constexpr std::string_view FieldNotANumber = "“%1”不是十进制的度数";
constexpr std::string_view FieldOutOfRange = "“%1”超出范围 (%2 度)";
constexpr std::string_view FieldNotADateTime = "“%1”不是“%2”格式的日期和时间";
constexpr std::string_view FieldEndsBeforeStart = "“%1”早于开始时间";
constexpr std::string_view FieldNotAChoice = "“%1”只能是 %2";
constexpr std::string_view FieldNotAPhoneNumber = "“%1”不是电话号码 (只能有数字和 + * # - . ( ))";
constexpr std::string_view FieldNotAMailAddress = "“%1”中有不含 @ 的收件人";
constexpr std::string_view FieldNoIdnaForm = "“%1”中的域名无法转换为国际化域名 (IDNA)";
// The IDNA module (libquillet_idna.so, with libidn2) is missing or broken.
constexpr std::string_view FieldNoIdnaLibrary = "“%1”中的域名含有非 ASCII 字符，但无法加载转换它的 IDNA 模块 (libidn2)";
constexpr std::string_view FieldPasswordUnused = "“%1”：选择了无密码的网络，却填写了密码";
// An operator format's field with a character code page 936 lacks; %2 the character.
constexpr std::string_view FieldNotInCodePage = "“%1”中的“%2”无法用 GBK 编码表示";
constexpr std::string_view BatchReasonDuplicateName = "文件名与前面一行的相同";
constexpr std::string_view BatchReasonNothingToEncode = "没有可编码的内容 (各字段都为空)";
constexpr std::string_view BatchReasonDoesNotFit = "内容过长，超出所有版本的容量";
constexpr std::string_view BatchReasonNotReadBack = "读回校验失败：独立的解码器读不回原内容";
constexpr std::string_view BatchReasonLabelTooLarge = "符号和标题放不进一个标签格";
constexpr std::string_view BatchReasonLogoDoesNotFit = "标志过大：此行符号的纠错能力容不下这个尺寸的标志";
constexpr std::string_view BatchReasonStyleNotReadBack = "加了颜色或标志的符号读不回原内容，未写入";

}  // namespace UiText

}  // namespace quillet
