// Saving from the pages: the filter entries pick the extension of a bare
// name, an existing file is replaced only when the user agrees (otherwise the
// dialog comes back), the dialog reopens where the last save went, failures
// say why, every save is read back. The printed size, the clipboard, a drag:
// every file made from the page prints at the size its label names.
#include <cmath>

#include "app/SymbolTransfer.h"
#include "tests/gui/GuiHelpers.h"
#include "tests/support/Poppler.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

QByteArray Head(const QString& path, int bytes) { return QByteArray::fromStdString(ReadBytes(path.toStdString()).substr(0, bytes)); }

const std::string CardS = QrPrefix + "CARD:N:s;;";

// The number of `pattern`'s first capture in `text`, or nullopt.
std::optional<double> Number(const QString& text, const char* pattern) {
  const QRegularExpressionMatch match = QRegularExpression(U(pattern)).match(text);
  return match.hasMatch() ? std::optional(match.captured(1).toDouble()) : std::nullopt;
}

constexpr double MmPerPoint = 25.4 / 72;

// How wide a file prints, in millimetres, from what the file itself records:
// a raster's resolution (read by Qt's readers), a vector's page size (poppler
// for PDF). NaN when it records none, as GIF.
double PrintedSideMm(const QString& path) {
  const QString text = QString::fromLatin1(Head(path, 4096));
  if (path.endsWith(U(".svg"))) return Number(text, R"(<svg[^>]* width="([\d.]+)mm")").value_or(NAN);
  if (path.endsWith(U(".eps"))) return Number(text, R"(%%HiResBoundingBox: 0 0 ([\d.]+))").value_or(NAN) * MmPerPoint;
  if (path.endsWith(U(".pdf"))) return PdfPageSizePoints(path.toStdString()).value_or(std::pair(NAN, NAN)).first * MmPerPoint;
  const QImage image(path);
  if (path.endsWith(U(".gif")) || image.dotsPerMeterX() <= 0) return NAN;
  return image.width() * 1000.0 / image.dotsPerMeterX();
}

class Save : public GuiTest {
 protected:
  // 100 pixels are 8.5 mm at 300 dpi.
  void SetUp() override {
    TypeInto(Field(Current(), "N"), U("s"));  // version 1: (21 + 4) * 4 = 100 pixels saved
    EXPECT_EQ(qr->PrintedSizeText(), U("打印尺寸: 8.5 mm (300 dpi)"));
  }
  void SaveAs(const char* name, int filterEntry, CSymbolPage* page = nullptr) {
    dialogs.answers.emplace_back(Path(name), filterEntry);
    ClickButton(page ? page : qr, ControlId::Save);
  }
  QString Path(const char* name) const { return folder.filePath(U(name)); }
  // What the label promises, to the 0.05 mm it rounds to.
  void ExpectLabelSize(const QString& path) const {
    EXPECT_NEAR(PrintedSideMm(path), 8.5, 0.05) << path.toStdString();
  }

  // What goes to other programs: the PNG decodes to the payload, and it and
  // the SVG print at the label's size.
  void ExpectSymbolData(const QMimeData* data) const {
    ASSERT_TRUE(data && data->hasFormat(U("image/png")));
    EXPECT_EQ(DecodePicture(QImage::fromData(data->data(U("image/png"))), DecodeFormat::QrCode), CardS);
    for (const auto& [type, name] : {std::pair{"image/png", "data.png"}, {"image/svg+xml", "data.svg"}}) {
      WriteBytes(Path(name).toStdString(), data->data(U(type)).toStdString());
      ExpectLabelSize(Path(name));
    }
  }

  QTemporaryDir folder;
};

// A null `written` means the save must fail, write nothing and say why.
struct SaveCase {
  const char* typed;
  int filterEntry;
  const char* written;
  QByteArray magic;
  const char* failure = "";  // under "保存图像文件失败!"; %1 is the folder saved into
};

class SaveEntries : public Save, public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveEntries, WritesTheChosenFormatOrSaysWhyNot) {
  const SaveCase& c = GetParam();
  SaveAs(c.typed, c.filterEntry);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].filters,
            (QStringList{U("位图文件 (*.bmp)"), U("JPEG图像文件 (*.jpg)"), U("GIF图像文件 (*.gif)"), U("PNG图像文件 (*.png)"),
                         U("SVG图像文件 (*.svg)"), U("PDF文档 (*.pdf)"), U("EPS矢量图形 (*.eps)")}));
  if (c.written == nullptr) {
    const QString failure = U(c.failure).contains(U("%1")) ? U(c.failure).arg(folder.path()) : U(c.failure);
    EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>{{U("保存图像文件失败!\n") + failure, false}}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
    return;
  }
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Head(Path(c.written), c.magic.size()), c.magic);
  ExpectLabelSize(Path(c.written));
  if (c.filterEntry > 4) return;  // vector: decoded by the image tests
  const QImage saved(Path(c.written));
  EXPECT_EQ(saved.size(), QSize(100, 100));
  EXPECT_EQ(DecodePicture(saved, DecodeFormat::QrCode), CardS);
  EXPECT_EQ(qr->PrintedSizeText(), U("已保存，读回校验通过 (zxing-cpp)"));
}

// Which extension each entry gives a name is the formats table's
// (FormatsTable.SaveDialogEntries...), what each writes the image tests'.
INSTANTIATE_TEST_SUITE_P(
    Entries, SaveEntries,
    testing::Values(SaveCase{"a", 1, "a.bmp", "BM"}, SaveCase{"d", 4, "d.png", "\x89PNG"},
                    SaveCase{"f.JPG", 4, "f.JPG", QByteArray("\xFF\xD8", 2)}, SaveCase{"h", 5, "h.svg", "<?xml"},
                    SaveCase{"notes.txt", 4, nullptr, {},
                             "未知的图像文件扩展名 \".txt\"，请使用 .bmp、.jpg、.gif、.png、.svg、.pdf 或 .eps"},
                    SaveCase{"missing/folder/out", 4, nullptr, {}, "文件夹 \"%1/missing/folder\" 不存在"}),
    [](const auto& info) { return NameOf(info.param.typed) + "_Filter" + std::to_string(info.param.filterEntry); });

TEST_F(Save, NoToReplacingGoesBackToTheDialogWithTheName) {
  WriteBytes(Path("old.png").toStdString(), "keep me");
  dialogs.allowOverwrite = false;
  dialogs.answers.emplace_back(Path("old"), 4);  // the extension is appended before asking
  SaveAs("new", 4);
  EXPECT_EQ(dialogs.overwriteAsked, std::vector<QString>{Path("old.png")});
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_EQ(std::tuple(dialogs.asked[1].folder, dialogs.asked[1].fileName, dialogs.asked[1].filterEntry),
            std::tuple(folder.path(), U("old.png"), 4));
  EXPECT_EQ(Head(Path("old.png"), 100), QByteArray("keep me"));
  EXPECT_EQ(Head(Path("new.png"), 4), QByteArray("\x89PNG"));
  dialogs.allowOverwrite = true;
  SaveAs("old", 4);
  EXPECT_EQ(dialogs.overwriteAsked.size(), 2u);
  EXPECT_EQ(Head(Path("old.png"), 4), QByteArray("\x89PNG"));
}

TEST_F(Save, TheDialogReopensInTheFolderAndWithTheFilterLastUsedOnEitherPage) {
  SaveAs("first", 3);
  window->Tabs()->setCurrentIndex(1);
  TypeInto(dm->TextBox(), U("DM"));
  ClickButton(dm, ControlId::Save);  // cancelled: remembers nothing new
  ClickButton(qr, ControlId::Save);
  ASSERT_EQ(dialogs.asked.size(), 3u);
  for (size_t i = 0; i < dialogs.asked.size(); ++i) {
    EXPECT_EQ(dialogs.asked[i].folder, i ? folder.path() : QString());
    EXPECT_EQ(dialogs.asked[i].filterEntry, i ? 3 : 1);
    EXPECT_EQ(dialogs.asked[i].fileName, (QStringList{U("s.bmp"), U("DM.gif"), U("s.gif")}[i]));
  }
}

struct NameCase {
  const char* name;
  const char* content;
  int filterEntry;
  const char* suggested;
};

class SuggestedName : public testing::TestWithParam<NameCase> {};

// Unsafe characters become blanks; a name is never hidden, never a path,
// and at most 40 characters (of any plane); nothing safe left is "二维码".
// What content a page offers as the name is its model's.
TEST_P(SuggestedName, IsSafeOnAnyFileSystem) {
  const NameCase& c = GetParam();
  EXPECT_EQ(SuggestedFileName(U(c.content), c.filterEntry), U(c.suggested));
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SuggestedName,
    testing::Values(
        NameCase{"UnsafeText", " ../etc/passwd\tkey: a*b?\n第二行...", 2, "etc passwd key a b 第二行.jpg"},
        NameCase{"LongText", "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九𝄞十", 6,
                 "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九𝄞.pdf"},
        NameCase{"NothingSafe", "//\\\x01", 3, "二维码.gif"},
        NameCase{"HiddenAndTrailingDots", "..a.. ", 4, "a.png"},
        NameCase{"NoEntry", "a", 0, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

// The largest Data Matrix at one pixel per module reads back with no
// decoder: the file stays and a warning box says so and why.
TEST_F(Save, ASaveThatDoesNotReadBackWarns) {
  dm->TextBox()->setPlainText(QString(1500, QLatin1Char('A')));
  Control<QSlider>(dm, ControlId::Zoom)->setValue(1);
  ASSERT_EQ(dm->Symbol().Columns(), 144);
  SaveAs("large.png", 4, dm);
  EXPECT_TRUE(QFile::exists(Path("large.png")));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const QString& warning = dialogs.messages[0].first;
  EXPECT_TRUE(warning.startsWith(U("文件已保存，但无法读回其中的条码：\n") + Path("large.png"))) << warning.toStdString();
  EXPECT_TRUE(warning.contains(U("每个模块只有 1 个像素"))) << warning.toStdString();
  EXPECT_TRUE(dialogs.messages[0].second);
}

// Ctrl+C and "复制图片" put PNG and SVG on the clipboard, a drag carries the
// same and the PNG as a file that other programs open; Ctrl+S saves like the
// button.
TEST_F(Save, KeysTheContextMenuAndADragCarryTheSymbol) {
  for (const bool byKey : {true, false}) {
    QApplication::clipboard()->clear();
    qr->setFocus();
    if (byKey) QTest::keyClick(qr, Qt::Key_C, Qt::ControlModifier);
    else qr->CopyAction()->trigger();
    ExpectSymbolData(QApplication::clipboard()->mimeData());
  }
  std::unique_ptr<QMimeData> data(SymbolDragData(qr->Symbol(), PageImageOptions(qr->Scale())));
  ExpectSymbolData(data.get());
  ASSERT_TRUE(data && data->hasUrls());
  EXPECT_EQ(Head(data->urls().at(0).toLocalFile(), 1 << 20), data->data(U("image/png")));
  EXPECT_EQ(SymbolDragData(ModuleMatrix(), PageImageOptions(4)), nullptr);
  dialogs.answers.emplace_back(Path("keys"), 6);  // entry 6: PDF
  QTest::keyClick(qr, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Head(Path("keys.pdf"), 5), QByteArray("%PDF-"));
  EXPECT_TRUE(dialogs.messages.empty());
}

// Saved at a printed side: the whole pixels per module nearest it (past
// the slider's 16 when it asks for them), read back; the printed size under
// the picture follows and says how far off whole pixels put it, the screen
// keeps the slider's scale, and the slider brings files back to it.
// Version 1 with its quiet zone is 25 modules, a pixel 0.0847 mm at 300 dpi.
struct PrintedSizeCase {
  const char* name;
  double mm;
  int scale;
  const char* label;
};

class SaveAtPrintedSize : public Save, public testing::WithParamInterface<PrintedSizeCase> {};

TEST_P(SaveAtPrintedSize, SavesTheNearestWholePixelsAndTheLabelFollows) {
  const PrintedSizeCase& c = GetParam();
  dialogs.printedSizes.push_back(c.mm);
  dialogs.answers.emplace_back(Path("sized.png"), 4);
  qr->SaveAtSizeAction()->trigger();
  ASSERT_EQ(dialogs.sizesAsked.size(), 1u);
  EXPECT_NEAR(dialogs.sizesAsked[0].shown, 8.47, 0.01);  // what the slider's scale prints at
  EXPECT_NEAR(dialogs.sizesAsked[0].least, 2.12, 0.01);  // one pixel a module
  EXPECT_NEAR(dialogs.sizesAsked[0].most, 846.67, 0.01);  // 10000 pixels a side
  const QImage saved(Path("sized.png"));
  EXPECT_EQ(saved.width(), 25 * c.scale);
  EXPECT_EQ(DecodePicture(saved, DecodeFormat::QrCode), CardS);
  EXPECT_NEAR(PrintedSideMm(Path("sized.png")), 25 * c.scale * 25.4 / 300, 0.05);
  // After the confirmation of the save.
  EXPECT_TRUE(qr->PrintedSizeText().startsWith(U("已保存")));
  EXPECT_TRUE(QTest::qWaitFor([&] { return qr->PrintedSizeText() == U(c.label); }, 6000)) << qr->PrintedSizeText().toStdString();
  EXPECT_EQ(qr->Scale(), 4);
  EXPECT_EQ(qr->SymbolRect().width(), 21 * 4);
  // Another symbol keeps the printed side: version 2 is 29 modules with its quiet zone.
  TypeInto(Field(Current(), "N"), QString(10, u's'));
  ASSERT_EQ(qr->Symbol().Columns(), 25);
  EXPECT_EQ(qr->FileScale(), static_cast<int>(std::lround(c.mm / 29 * 300 / 25.4)));
  Control<QSlider>(qr, ControlId::Zoom)->setValue(6);
  EXPECT_EQ(qr->FileScale(), 6);
  EXPECT_EQ(qr->PrintedSizeText(), U("打印尺寸: 14.7 mm (300 dpi)"));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, SaveAtPrintedSize,
    testing::Values(PrintedSizeCase{"FiveCentimetres", 50, 24, "打印尺寸: 50.8 mm (300 dpi)"},
                    PrintedSizeCase{"OneCentimetreIsOffByMoreThanTwoPerCent", 10, 5,
                                    "打印尺寸: 10.6 mm (300 dpi)，与所选 10.0 mm 相差 5.8%"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Save, CancellingThePrintedSizeSavesNothing) {
  qr->SaveAtSizeAction()->trigger();
  EXPECT_EQ(dialogs.sizesAsked.size(), 1u);
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(qr->PrintedSizeText(), U("打印尺寸: 8.5 mm (300 dpi)"));
}

}  // namespace
