// The "批量生成" dialog driven through its widgets, the desktop answered by a
// script: files decoded with zxing-cpp, label sheets read with poppler,
// refused headers, failed rows, and cancelling while the page still paints.
#include <regex>

#include "app/BatchDesktop.h"
#include "app/BatchDialog.h"
#include "content/CodePage.h"
#include "image/LabelSheet.h"
#include "tests/cli/CliFiles.h"
#include "tests/gui/GuiHelpers.h"
#include "tests/support/Poppler.h"

using namespace quillet;

namespace {

const std::string Zhang = "\xD5\xC5\xC8\xFD";  // 张三 in code page 936

class FakeBatchDesktop : public BatchDesktop {
 public:
  QString inputFile, sheetFile, filter;
  std::vector<QString> opened;

  QString AskInputFile(QWidget*, const QString& f) override { return filter = f, inputFile; }
  QString AskOutputFolder(QWidget*, const QString&) override { return {}; }
  QString AskSheetFile(QWidget*, const QString&, const QString&) override { return sheetFile; }
  void OpenFolder(const QString& path) override { opened.push_back(path); }
};

// A folder in memory where there is one: the event loop's pauses should be
// the batch's, not this machine's disk.
QString ScratchPattern() {
  const QString shm = QStringLiteral("/dev/shm");
  return QFileInfo(shm).isWritable() ? shm + QStringLiteral("/quillet-batchdlg-XXXXXX") : QString();
}

// The dialog's control named `name`, as the user would find it.
template <class Widget>
Widget* Child(const CBatchDlg& dialog, const char* name) {
  Widget* child = dialog.findChild<Widget*>(QLatin1String(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class BatchDialog : public GuiTest {
 protected:
  // The dialog for the page shown, `csv` chosen through the file dialog, writing into Out().
  std::unique_ptr<CBatchDlg> Open(const std::string& name, const std::string& csv, bool dmPage = false) {
    const fs::path input = fs::path(dir.path().toStdString()) / name;
    WriteBytes(input.string(), csv);
    auto dialog = std::make_unique<CBatchDlg>(window.get(), BatchPageOf(dmPage ? dm->Choice() : qr->Choice()), desktop);
    dialog->show();
    desktop.inputFile = QString::fromStdString(input.string());
    QTest::mouseClick(Child<QPushButton>(*dialog, "chooseInput"), Qt::LeftButton);
    Child<QLineEdit>(*dialog, "folder")->setText(QString::fromStdString(Out()));
    return dialog;
  }
  std::string Out() const { return (fs::path(dir.path().toStdString()) / "out").string(); }
  std::optional<std::string> Decoded(const std::string& name, DecodeFormat format = DecodeFormat::QrCode) const {
    return DecodeFile(fs::path(Out()) / name, format);
  }
  static QString Feeds(CBatchDlg& dialog, int column) { return Child<QTableWidget>(dialog, "preview")->item(0, column)->text(); }
  static bool FeedsNothing(CBatchDlg& dialog, int column) {
    const QTableWidgetItem* item = Child<QTableWidget>(dialog, "preview")->item(0, column);
    return item->text() == U("不对应任何字段") && item->foreground().color() == QColor(Qt::red);
  }
  static void RunToEnd(CBatchDlg& dialog) {
    ASSERT_TRUE(Child<QPushButton>(dialog, "start")->isEnabled());
    QTest::mouseClick(Child<QPushButton>(dialog, "start"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Running(); }, 120000));
  }
  static QStringList Failures(CBatchDlg& dialog) {
    QStringList lines;
    for (int i = 0; i < Child<QListWidget>(dialog, "failures")->count(); ++i) lines << Child<QListWidget>(dialog, "failures")->item(i)->text();
    return lines;
  }

  QTemporaryDir dir{ScratchPattern()};
  FakeBatchDesktop desktop;
};

// A spreadsheet exported on a Chinese system (GB18030, which UTF-8 cannot
// read), some of its rows failing: the others are written and decode to
// their row, the failed ones are listed in the dialog's words.
TEST_F(BatchDialog, RunsTheRowsListsTheFailedOnesAndOpensTheFolder) {
  auto dialog = Open("名片.csv", *Utf8ToCodePage("姓名,手机,邮箱\r\n"
                                                  "张三,13800138000,\"z@x.cn\"\r\n"
                                                  ",,\r\n"                                 // 2: nothing to encode
                                                  + std::string(3000, 'd') + ",2,\r\n"  // 3: fits no version
                                                  "B,2,,extra\r\n"                        // 4: more cells than the header
                                                  "C,3,\r\n"                              // 5: its name is a folder
                                                  "D,139,\r\n"
                                                  ",139,\r\n"));                          // 7: no name, which is required
  EXPECT_TRUE(desktop.filter.contains(U("*.csv")) && desktop.filter.contains(U("*.tsv")));
  EXPECT_EQ(Child<QComboBox>(*dialog, "encoding")->currentText(), U("自动检测 (GB18030)"));
  EXPECT_EQ((QStringList{Feeds(*dialog, 0), Feeds(*dialog, 1), Feeds(*dialog, 2)}),
            (QStringList{U("N (姓名)"), U("M (手机)"), U("EM (邮箱)")}));
  EXPECT_EQ(Child<QTableWidget>(*dialog, "preview")->item(1, 0)->text(), U("张三"));
  SelectComboItem(Child<QComboBox>(*dialog, "encoding"), 1);  // UTF-8
  EXPECT_EQ(Child<QTableWidget>(*dialog, "preview")->item(1, 0)->text(), U("(无法按 UTF-8 解码)"));
  EXPECT_FALSE(Child<QPushButton>(*dialog, "start")->isEnabled());
  SelectComboItem(Child<QComboBox>(*dialog, "encoding"), 2);  // GB18030
  EXPECT_TRUE(Child<QCheckBox>(*dialog, "verify")->isChecked());
  fs::create_directories(fs::path(Out()) / "5.png");
  RunToEnd(*dialog);

  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(), U("已生成 2 个，失败 5 个"));
  EXPECT_EQ(Child<QProgressBar>(*dialog, "progressBar")->value(), 7);
  EXPECT_EQ(FilesIn(Out()).size(), 2u);
  EXPECT_EQ(Decoded("1.png"), QrPrefix + "CARD:N:" + Zhang + ";M:13800138000;EM:z@x.cn;;");
  EXPECT_EQ(Decoded("6.png"), QrPrefix + "CARD:N:D;M:139;;");
  const QStringList failures = Failures(*dialog);
  ASSERT_EQ(failures.size(), 5);
  EXPECT_EQ(failures.mid(0, 3), (QStringList{U("第 2 行 (2.png)：没有可编码的内容 (各字段都为空)"),
                                             U("第 3 行 (3.png)：内容过长，超出所有版本的容量"),
                                             U("第 4 行 (4.png)：该行的单元格比表头的列多")}));
  EXPECT_TRUE(failures[3].startsWith(U("第 5 行 (5.png)：\""))) << failures[3].toStdString();
  EXPECT_TRUE(failures[3].endsWith(U("5.png\" 是一个文件夹"))) << failures[3].toStdString();
  EXPECT_EQ(failures[4], U("第 7 行 (7.png)：必填字段“姓名”为空"));
  EXPECT_TRUE(Child<QListWidget>(*dialog, "failures")->item(1)->toolTip().isEmpty());  // no English from the engine, even on hovering
  QApplication::clipboard()->clear();
  Child<QListWidget>(*dialog, "failures")->setFocus();
  QTest::keyClick(Child<QListWidget>(*dialog, "failures"), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), failures.join(QLatin1Char('\n')));
  QTest::mouseClick(Child<QPushButton>(*dialog, "openFolder"), Qt::LeftButton);
  EXPECT_EQ(desktop.opened, (std::vector<QString>{QString::fromStdString(Out())}));
  // Another spreadsheet: the last run's summary is not this one's.
  QTest::mouseClick(Child<QPushButton>(*dialog, "chooseInput"), Qt::LeftButton);
  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(), QString());
  EXPECT_EQ(Child<QListWidget>(*dialog, "failures")->count(), 0);
}

// The text column, one symbol a row, from the DM page's chosen size up, in
// the scheme chosen.
TEST_F(BatchDialog, DataMatrixEncodesTheTextColumnFromThePageSize) {
  window->Tabs()->setCurrentIndex(1);
  SelectComboItem(Control<QComboBox>(dm, ControlId::VersionList), 5);  // 20x20, 22 data codewords
  const std::string longer(30, 'Q');                                    // 30 codewords: 22x22
  auto dialog = Open("serials.tsv", "text\tsku\nSN 张三\tA\n" + longer + "\tB\n", true);
  EXPECT_TRUE(Child<QLabel>(*dialog, "page")->text().contains(U("20×20"))) << Child<QLabel>(*dialog, "page")->text().toStdString();
  EXPECT_EQ(Feeds(*dialog, 0), U("文本 (每行一个符号)"));
  EXPECT_TRUE(FeedsNothing(*dialog, 1));
  Child<QLineEdit>(*dialog, "name")->setText(U("{sku}.bmp"));
  EXPECT_EQ(Feeds(*dialog, 1), U("仅用于文件名"));
  // The smallest encodation packs the capitals into C40: the page's size
  // holds them, where ASCII would grow to 22 x 22 (the batch's own tests).
  SelectComboItem(Child<QComboBox>(*dialog, "scheme"), Child<QComboBox>(*dialog, "scheme")->findText(U("smallest")));
  RunToEnd(*dialog);
  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(), U("已生成 2 个，失败 0 个"));
  const int scale = BatchPageOf(dm->Choice()).image.scale;
  EXPECT_EQ(QImage(QString::fromStdString(Out() + "/B.bmp")).width(), (20 + 2 * SavedQuietZoneModules) * scale);
  EXPECT_EQ(Decoded("A.bmp", DecodeFormat::DataMatrix), "SN " + Zhang);
  EXPECT_EQ(Decoded("B.bmp", DecodeFormat::DataMatrix), longer);
}

// The dialog composes with what the QR page shows: format, tab, level, version.
TEST_F(BatchDialog, ComposesWithThePageSettings) {
  ChooseFormatAndTab(ControlId::FormatUnicom, 8);
  SelectComboItem(Control<QComboBox>(qr, ControlId::EcLevel), 3);      // H
  SelectComboItem(Control<QComboBox>(qr, ControlId::VersionList), 7);  // at least version 7
  const BatchPage page = BatchPageOf(qr->Choice());
  EXPECT_EQ(std::tuple(page.contentPage.format, page.contentPage.tab, page.level, page.version), std::tuple(3, 8, QrLevel::H, 7));
}

// Why the columns keep the form from starting (tests/model holds every case)
// is said under the preview, the column that feeds nothing in red.
struct ColumnCase {
  const char* name;
  std::string csv;
  std::vector<bool> nothing;  // per column: feeds nothing
  const char* note;           // what the note under the preview says
};

class BatchColumns : public BatchDialog, public testing::WithParamInterface<ColumnCase> {};

TEST_P(BatchColumns, TheNoteSaysWhyStartStaysDisabled) {
  const ColumnCase& c = GetParam();
  auto dialog = Open("in.csv", c.csv);
  for (size_t i = 0; i < c.nothing.size(); ++i) EXPECT_EQ(FeedsNothing(*dialog, static_cast<int>(i)), c.nothing[i]) << i;
  EXPECT_FALSE(Child<QPushButton>(*dialog, "start")->isEnabled());
  const QString note = Child<QLabel>(*dialog, "columnsNote")->text();
  EXPECT_TRUE(note.contains(U(c.note))) << note.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchColumns,
    testing::Values(ColumnCase{"Misspelt", "姓名,手记\nA,1\n", {false, true}, "有 1 列不对应任何字段"},
                    ColumnCase{"TwoColumnsOneField", "姓名,N\nA,B\n", {false, false}, "表头无法使用：列“姓名”和“N”都对应字段 N"},
                    ColumnCase{"TextBesideAField", "TEXT,手机\nA,1\n", {false, false},
                               "表头无法使用：有 text 列时每行编码为一个原始符号，其他列不能对应字段 (列“手机”对应字段)"}),
    [](const auto& info) { return std::string(info.param.name); });

// A5, 2 x 3 labels a page: eight rows take two pages; each cell decodes to its
// row's payload and the captions are text in the PDF.
TEST_F(BatchDialog, LabelSheetWithChineseCaptions) {
  std::string csv = "姓名,手机,工号\n";
  std::vector<std::string> names;
  for (int row = 1; row <= 8; ++row) {
    names.push_back(std::string(row % 2 ? "张三" : "李四 Li") + std::to_string(row));
    csv += names.back() + ",139" + std::to_string(row) + ",A" + std::to_string(row) + "\n";
  }
  auto dialog = Open("cards.csv", csv);
  EXPECT_TRUE(FeedsNothing(*dialog, 2));
  QTest::mouseClick(Child<QRadioButton>(*dialog, "toSheet"), Qt::LeftButton);
  // A sheet is one file: the folder and the file name template no longer apply.
  EXPECT_TRUE(Child<QLineEdit>(*dialog, "sheetFile")->isEnabled());
  EXPECT_FALSE(Child<QLineEdit>(*dialog, "folder")->isEnabled());
  EXPECT_FALSE(Child<QLineEdit>(*dialog, "name")->isEnabled());
  const std::string pdf = (fs::path(dir.path().toStdString()) / "labels.pdf").string();
  desktop.sheetFile = QString::fromStdString(pdf);
  QTest::mouseClick(Child<QPushButton>(*dialog, "chooseSheet"), Qt::LeftButton);
  SelectComboItem(Child<QComboBox>(*dialog, "paper"), 1);  // A5
  Child<QSpinBox>(*dialog, "gridColumns")->setValue(2);
  Child<QSpinBox>(*dialog, "gridRows")->setValue(3);
  Child<QDoubleSpinBox>(*dialog, "moduleMm")->setValue(0.6);
  Child<QLineEdit>(*dialog, "caption")->setText(U("{姓名} {工号}"));
  EXPECT_EQ(Feeds(*dialog, 2), U("仅用于标题"));
  RunToEnd(*dialog);
  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(), U("已生成 8 个，失败 0 个，共 2 页"));
  EXPECT_FALSE(fs::exists(Out()));

  std::vector<std::optional<std::string>> expected(2 * 6);  // two pages, the last four cells empty
  for (size_t i = 0; i < names.size(); ++i)
    expected[i] = QrPrefix + "CARD:N:" + *Utf8ToCodePage(names[i]) + ";M:139" + std::to_string(i + 1) + ";;";
  EXPECT_EQ(DecodeSheetCells(pdf, 2, 3, SheetMarginMm), expected);
  const std::string text = PdfText(pdf);
  for (size_t i = 0; i < names.size(); ++i) EXPECT_NE(text.find(names[i] + " A" + std::to_string(i + 1)), std::string::npos) << i;
  QTest::mouseClick(Child<QPushButton>(*dialog, "openFolder"), Qt::LeftButton);
  EXPECT_EQ(desktop.opened, (std::vector<QString>{dir.path()}));
}

// The label-sheet defaults (A4, 3 x 8, 0.5 mm) and a long business card: the
// dialog says so before the run, with the sizes and what would fit.
TEST_F(BatchDialog, LabelsTooLargeForTheirCellAreToldBeforeTheRun) {
  auto dialog = Open("cards.csv", "姓名,地址\nA," + std::string(300, 'a') + "\nB,b\n");
  QTest::mouseClick(Child<QRadioButton>(*dialog, "toSheet"), Qt::LeftButton);
  EXPECT_FALSE(Child<QPushButton>(*dialog, "start")->isEnabled());
  QString told;
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (label->text().startsWith(U("标签放不下"))) told = label->text();
  // Version 13 (69 modules) and a quiet zone of 2 on each side at 6 pixels (0.508 mm) at 300 dpi, an 8-point
  // caption; A4 less 10 mm margins in 3 x 8 cells.
  EXPECT_EQ(told, U("标签放不下：第一个符号 (69 模块) 连同静区和标题为 37.1×40.8 毫米，标签格只有 63.3×34.6 毫米；"
                    "可改为每页 3 列 × 6 行，或模块尺寸不超过 0.42 毫米，或符号不超过 56 模块 (降低版本或减少内容)"));
  Child<QSpinBox>(*dialog, "gridRows")->setValue(6);
  EXPECT_TRUE(Child<QPushButton>(*dialog, "start")->isEnabled());
}

// At 100 % on a 1366 x 768 laptop (ctest runs this on such a screen too):
// the dialog fits, its labels show their mnemonic instead of a "&", the
// detected encoding is not cut, and choosing the PDF moves nothing below.
TEST_F(BatchDialog, FitsALaptopScreenWithReadableLabels) {
  auto dialog = Open("名片.csv", *Utf8ToCodePage("姓名,手机\r\n张三,138\r\n"));
  QTest::qWait(200);  // the posted layout requests
  const QRect room = dialog->screen()->availableGeometry();
  EXPECT_LE(dialog->frameGeometry().height(), room.height());
  EXPECT_LE(dialog->frameGeometry().width(), room.width());
  for (const QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->text().contains(QRegularExpression(QStringLiteral("\\(&[A-Z]\\)")))) {
      EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
    }
  }
  const QComboBox* encoding = Child<QComboBox>(*dialog, "encoding");
  QStyleOptionComboBox option;
  option.initFrom(encoding);
  const QRect field = encoding->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, encoding);
  EXPECT_LE(encoding->fontMetrics().horizontalAdvance(encoding->currentText()), field.width())
      << encoding->currentText().toStdString();
  const auto where = [&](const QWidget* w) { return w->mapTo(dialog.get(), QPoint(0, 0)); };
  const QPoint verify = where(Child<QCheckBox>(*dialog, "verify")), start = where(Child<QPushButton>(*dialog, "start"));
  QTest::mouseClick(Child<QRadioButton>(*dialog, "toSheet"), Qt::LeftButton);
  QTest::qWait(200);
  EXPECT_EQ(where(Child<QCheckBox>(*dialog, "verify")), verify);
  EXPECT_EQ(where(Child<QPushButton>(*dialog, "start")), start);
}

// A large Data Matrix at one pixel per module is past the decoders: with
// verification the row fails and says why (the file stays, as on the command
// line); without, it is simply written.
TEST_F(BatchDialog, VerificationFailsRowsThatDoNotReadBack) {
  window->Tabs()->setCurrentIndex(1);
  Control<QSlider>(dm, ControlId::Zoom)->setValue(1);
  for (const bool verify : {true, false}) {
    auto dialog = Open("in.csv", "text\n" + std::string(1500, 'A') + "\n", true);
    Child<QCheckBox>(*dialog, "verify")->setChecked(verify);
    RunToEnd(*dialog);
    EXPECT_EQ(Failures(*dialog).value(0), verify ? U("第 1 行 (1.png)：读回校验失败：独立的解码器读不回原内容") : QString());
    EXPECT_TRUE(fs::exists(fs::path(Out()) / "1.png"));
  }
}

// "取消", or Esc (which cancels first instead of leaving a batch running
// behind a closed dialog), stops within a second and leaves only complete
// files; while the batch runs, the page still paints.
class BatchCancel : public BatchDialog, public testing::WithParamInterface<bool> {};

TEST_P(BatchCancel, InTheMiddleLeavesOnlyCompleteFiles) {
  constexpr int Rows = 20000;
  std::string csv = "姓名,手机\n";
  for (int row = 1; row <= Rows; ++row) csv += "张三" + std::to_string(row) + ",13800138000\n";
  auto dialog = Open("many.csv", csv);
  QElapsedTimer clock;
  qint64 last = 0, longest = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    qr->repaint();  // the page paints now, on this thread
    longest = std::max(longest, clock.elapsed() - last);
    last = clock.elapsed();
  });
  clock.start();
  tick.start(10);
  QTest::mouseClick(Child<QPushButton>(*dialog, "start"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Child<QProgressBar>(*dialog, "progressBar")->value() >= 1000; }, 60000));
  tick.stop();
  std::cout << "[ measured ] the longest pause of the event loop " << longest << " ms\n";
  EXPECT_LT(longest, 1000);  // generous: a repaint waiting for the batch would wait seconds
  EXPECT_FALSE(Child<QPushButton>(*dialog, "close")->isEnabled());
  const QRegularExpression progress(U("^已完成 [0-9]+ / 20000 行，每秒 [0-9]+ 行，剩余约 [0-9]+ (秒|分 [0-9]+ 秒)$"));
  EXPECT_TRUE(progress.match(Child<QLabel>(*dialog, "progressText")->text()).hasMatch()) << Child<QLabel>(*dialog, "progressText")->text().toStdString();

  QElapsedTimer stopping;
  stopping.start();
  if (GetParam()) QTest::keyClick(dialog.get(), Qt::Key_Escape);
  else QTest::mouseClick(Child<QPushButton>(*dialog, "cancel"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Running(); }, 10000));
  std::cout << "[ measured ] cancel took " << stopping.elapsed() << " ms\n";
  EXPECT_LT(stopping.elapsed(), 1000);
  EXPECT_TRUE(dialog->isVisible());
  const auto files = FilesIn(Out());
  ASSERT_GT(files.size(), 0u);
  ASSERT_LT(files.size(), static_cast<size_t>(Rows));
  const std::regex fileName("[0-9]{5}\\.png");
  for (const auto& [name, bytes] : files) {
    ASSERT_TRUE(std::regex_match(name, fileName)) << name;  // no temporary file left
    EXPECT_EQ(Decoded(name), QrPrefix + "CARD:N:" + Zhang + std::to_string(std::stoi(name)) + ";M:13800138000;;") << name;
  }
  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(), U("已取消。已生成 %1 个，失败 0 个").arg(files.size()));
}

INSTANTIATE_TEST_SUITE_P(ByButtonOrEscape, BatchCancel, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Escape" : "CancelButton"); });

// What keeps a batch from starting or finishing is told in Chinese, with the
// system's reason, not in the command line's English.
TEST_F(BatchDialog, ProblemsWithTheInputOrTheFolderAreToldInChinese) {
  auto dialog = Open("empty.csv", "");
  EXPECT_EQ(Child<QLabel>(*dialog, "rowCount")->text(), U("表格文件是空的：第一行须为列名"));

  dialog = Open("cards.csv", "N\r\nA\r\n");
  WriteBytes(Out(), "x");  // a file where the output folder's parent should be
  const QString blocked = QString::fromStdString(Out() + "/cards");
  Child<QLineEdit>(*dialog, "folder")->setText(blocked);
  RunToEnd(*dialog);
  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(),
            U("无法输出：无法创建文件夹“") + blocked + U("”：路径中有一项不是文件夹\n已生成 0 个，失败 0 个"));

  const std::string input = (fs::path(dir.path().toStdString()) / "cards.csv").string();
  const QString gone = U("无法读取表格文件“") + QString::fromStdString(input) + U("”：文件或文件夹不存在");
  fs::remove(input);  // gone between choosing it and starting
  RunToEnd(*dialog);
  EXPECT_EQ(Child<QLabel>(*dialog, "summary")->text(), U("未能开始：") + gone);
  QTest::mouseClick(Child<QPushButton>(*dialog, "chooseInput"), Qt::LeftButton);  // and chosen again
  EXPECT_EQ(Child<QLabel>(*dialog, "rowCount")->text(), gone);
}

}  // namespace
