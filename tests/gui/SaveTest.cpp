// Saving from a page: the filter entries pick the extension of a bare name,
// an existing file is replaced only when the user agrees, failures say so.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "content/pages/DialogTypeBase.h"
#include "tests/gui/GuiHelpers.h"

namespace {

const std::string Prefix("\x01\x10", 2);

class SaveFromQrPage : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    window = OpenMainWindow();
    page = window->QrPage();
    page->SetSaveDialogs(&dialogs);
  }
  void Save() { QTest::mouseClick(Control<QPushButton>(page, 1004), Qt::LeftButton); }
  void TypeName(const char* text) { TypeInto(Field(page->CurrentPage(), "N"), U(text)); }
  QString Path(const char* name) const { return folder.filePath(U(name)); }

  QTemporaryDir folder;
  FakeSaveDialogs dialogs;
  std::unique_ptr<CDialogMain> window;
  CTesselDlg* page = nullptr;
};

QByteArray Head(const QString& path, int bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(bytes);
}

std::optional<std::string> DecodeFile(const QString& path) {
  const QImage image = QImage(path).convertToFormat(QImage::Format_Grayscale8);
  if (image.isNull()) return std::nullopt;
  std::vector<uint8_t> grey;
  for (int y = 0; y < image.height(); ++y) grey.insert(grey.end(), image.constScanLine(y), image.constScanLine(y) + image.width());
  return DecodeImage(grey.data(), image.width(), image.height(), DecodeFormat::QrCode);
}

TEST_F(SaveFromQrPage, WithoutASymbolItAsksNothing) {
  Save();
  EXPECT_EQ(dialogs.fileNameAsked, 0);
  EXPECT_EQ(dialogs.messages, std::vector<QString>{U("请先生成图片")});
  EXPECT_EQ(dialogs.exclamations, std::vector<bool>{true});
}

TEST_F(SaveFromQrPage, OffersTheFourFormatsInOrder) {
  TypeName("f");
  dialogs.answer = std::nullopt;
  Save();
  EXPECT_EQ(dialogs.filter,
            U("位图文件 (*.bmp);;JPEG图像文件 (*.jpg);;GIF图像文件 (*.gif);;PNG图像文件 (*.png)"));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

struct SaveCase {
  const char* typed;
  int filterEntry;
  const char* written;
  QByteArray magic;
};

class SaveFormats : public SaveFromQrPage, public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveFormats, TheFileHasTheChosenFormatSizeAndSymbol) {
  const SaveCase& c = GetParam();
  TypeName("s");  // 12 bytes: version 1
  dialogs.answer = std::make_pair(Path(c.typed), c.filterEntry);
  Save();
  EXPECT_TRUE(dialogs.messages.empty()) << (dialogs.messages.empty() ? "" : dialogs.messages[0].toStdString());
  ASSERT_TRUE(QFile::exists(Path(c.written))) << c.written;
  EXPECT_EQ(Head(Path(c.written), c.magic.size()), c.magic);
  EXPECT_EQ(QImage(Path(c.written)).size(), QSize(100, 100));  // (21 + 4) * 4
  EXPECT_EQ(DecodeFile(Path(c.written)), Prefix + "CARD:N:s;;");
}

INSTANTIATE_TEST_SUITE_P(Entries, SaveFormats,
                         testing::Values(SaveCase{"a", 1, "a.bmp", "BM"},
                                         SaveCase{"b", 2, "b.jpg", QByteArray("\xFF\xD8", 2)},
                                         SaveCase{"c", 3, "c.gif", "GIF8"},
                                         SaveCase{"d", 4, "d.png", "\x89PNG"},
                                         SaveCase{"e.png", 1, "e.png", "\x89PNG"},
                                         SaveCase{"f.JPG", 4, "f.JPG", QByteArray("\xFF\xD8", 2)}));

TEST_F(SaveFromQrPage, AnUnknownExtensionFailsAndWritesNothing) {
  TypeName("x");
  dialogs.answer = std::make_pair(Path("notes.txt"), 4);
  Save();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].startsWith(U("保存图像文件失败!")));
  EXPECT_EQ(dialogs.exclamations, std::vector<bool>{false});
  EXPECT_FALSE(QFile::exists(Path("notes.txt")));
  EXPECT_TRUE(dialogs.overwriteAsked.empty());
}

TEST_F(SaveFromQrPage, AFailedWriteSaysSo) {
  TypeName("x");
  dialogs.answer = std::make_pair(Path("missing/folder/out.png"), 4);
  Save();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].startsWith(U("保存图像文件失败!")));
}

TEST_F(SaveFromQrPage, AnExistingFileIsReplacedOnlyAfterAsking) {
  TypeName("x");
  QFile existing(Path("old.png"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("keep me");
  existing.close();

  dialogs.answer = std::make_pair(Path("old"), 4);  // the extension is appended before asking
  dialogs.allowOverwrite = false;
  Save();
  EXPECT_EQ(dialogs.overwriteAsked, std::vector<QString>{Path("old.png")});
  EXPECT_EQ(Head(Path("old.png"), 100), QByteArray("keep me"));

  dialogs.allowOverwrite = true;
  Save();
  EXPECT_EQ(dialogs.overwriteAsked.size(), 2u);
  EXPECT_EQ(Head(Path("old.png"), 4), QByteArray("\x89PNG"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SaveFromDmPage, WritesTheSymbolWithItsQuietZone) {
  QTemporaryDir folder;
  FakeSaveDialogs dialogs;
  auto window = OpenMainWindow();
  window->Tabs()->setCurrentIndex(1);
  CDialogDM* page = window->DmPage();
  page->SetSaveDialogs(&dialogs);
  QTest::mouseClick(Control<QPushButton>(page, 1004), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages, std::vector<QString>{U("请先生成图片")});

  TypeInto(page->TextBox(), U("DM"));
  dialogs.answer = std::make_pair(folder.filePath(QStringLiteral("dm")), 4);
  QTest::mouseClick(Control<QPushButton>(page, 1004), Qt::LeftButton);
  const QImage saved(folder.filePath(QStringLiteral("dm.png")));
  EXPECT_EQ(saved.size(), QSize(56, 56));  // (10 + 4) * 4
}

}  // namespace
