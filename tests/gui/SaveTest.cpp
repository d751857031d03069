// Saving from the pages: the filter entries pick the extension of a bare
// name, an existing file is replaced only when the user agrees (otherwise the
// dialog comes back), the dialog reopens where the last save went, failures
// say so.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/gui/GuiHelpers.h"

namespace {

QByteArray Head(const QString& path, int bytes) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

const QStringList SaveFilters = {U("位图文件 (*.bmp)"), U("JPEG图像文件 (*.jpg)"), U("GIF图像文件 (*.gif)"),
                                 U("PNG图像文件 (*.png)"), U("SVG图像文件 (*.svg)"), U("PDF文档 (*.pdf)"),
                                 U("EPS矢量图形 (*.eps)")};

class Save : public GuiTest {
 protected:
  void SetUp() override { TypeInto(Field(Current(), "N"), U("s")); }  // 12 bytes: version 1
  void SaveAs(const char* name, int filterEntry, CSymbolPage* page = nullptr) {
    dialogs.answers.emplace_back(Path(name), filterEntry);
    ClickButton(page ? page : qr, ControlId::Save);
  }
  QString Path(const char* name) const { return folder.filePath(U(name)); }

  QTemporaryDir folder;
};

// A null `written` means the save must fail and write nothing.
struct SaveCase {
  const char* typed;
  int filterEntry;
  const char* written;
  QByteArray magic;
};

class SaveEntries : public Save, public testing::WithParamInterface<SaveCase> {};

TEST_P(SaveEntries, WritesTheChosenFormatOrSaysItFailed) {
  const SaveCase& c = GetParam();
  SaveAs(c.typed, c.filterEntry);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].filters, SaveFilters);
  if (c.written == nullptr) {
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].first.startsWith(U("保存图像文件失败!")));
    EXPECT_FALSE(dialogs.messages[0].second);
    return;
  }
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Head(Path(c.written), c.magic.size()), c.magic);
  if (c.filterEntry > 4) return;  // vector: decoded by the image tests
  const QImage saved(Path(c.written));
  EXPECT_EQ(saved.size(), QSize(100, 100));  // (21 + 4) * 4
  EXPECT_EQ(DecodePicture(saved, DecodeFormat::QrCode), QrPrefix + "CARD:N:s;;");
}

INSTANTIATE_TEST_SUITE_P(Entries, SaveEntries,
                         testing::Values(SaveCase{"a", 1, "a.bmp", "BM"},
                                         SaveCase{"b", 2, "b.jpg", QByteArray("\xFF\xD8", 2)},
                                         SaveCase{"c", 3, "c.gif", "GIF8"},
                                         SaveCase{"d", 4, "d.png", "\x89PNG"},
                                         SaveCase{"e.png", 1, "e.png", "\x89PNG"},
                                         SaveCase{"f.JPG", 4, "f.JPG", QByteArray("\xFF\xD8", 2)},
                                         SaveCase{"g.", 3, "g.gif", "GIF8"},
                                         SaveCase{"h", 5, "h.svg", "<?xml"},
                                         SaveCase{"notes.txt", 4, nullptr, {}},
                                         SaveCase{"missing/folder/out", 4, nullptr, {}}),
                         [](const auto& info) {
                           return NameOf(info.param.typed) + "_Filter" + std::to_string(info.param.filterEntry);
                         });

// Only the name's own dot counts: a dot in a folder's name is no extension.
TEST_F(Save, ABareNameInAFolderWithADotGetsTheFilterExtension) {
  ASSERT_TRUE(QDir(folder.path()).mkdir(U("v1.2")));
  SaveAs("v1.2/card", 4);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(DecodePicture(QImage(Path("v1.2/card.png")), DecodeFormat::QrCode), QrPrefix + "CARD:N:s;;");
}

TEST_F(Save, NoToReplacingGoesBackToTheDialogWithTheName) {
  QFile existing(Path("old.png"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("keep me") == 7);
  existing.close();
  dialogs.allowOverwrite = false;
  dialogs.answers.emplace_back(Path("old"), 4);  // the extension is appended before asking
  SaveAs("new", 4);
  EXPECT_EQ(dialogs.overwriteAsked, std::vector<QString>{Path("old.png")});
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_EQ(dialogs.asked[1].folder, folder.path());
  EXPECT_EQ(dialogs.asked[1].fileName, U("old.png"));
  EXPECT_EQ(dialogs.asked[1].filterEntry, 4);
  EXPECT_EQ(Head(Path("old.png"), 100), QByteArray("keep me"));
  EXPECT_EQ(Head(Path("new.png"), 4), QByteArray("\x89PNG"));
  dialogs.allowOverwrite = true;
  SaveAs("old", 4);
  EXPECT_EQ(dialogs.overwriteAsked.size(), 2u);
  EXPECT_EQ(Head(Path("old.png"), 4), QByteArray("\x89PNG"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Save, TheDialogReopensInTheFolderAndWithTheFilterLastUsedOnEitherPage) {
  SaveAs("first", 3);
  EXPECT_EQ(dialogs.asked[0].folder, QString());
  EXPECT_EQ(dialogs.asked[0].filterEntry, 1);
  window->Tabs()->setCurrentIndex(1);
  TypeInto(dm->TextBox(), U("DM"));
  ClickButton(dm, ControlId::Save);  // cancelled: remembers nothing new
  ClickButton(qr, ControlId::Save);
  for (size_t i = 1; i < dialogs.asked.size(); ++i) {
    EXPECT_EQ(dialogs.asked[i].folder, folder.path());
    EXPECT_EQ(dialogs.asked[i].filterEntry, 3);
    EXPECT_EQ(dialogs.asked[i].fileName, QString());
  }
  EXPECT_EQ(dialogs.asked.size(), 3u);
}

// The detail under the message says why, in the user's language, with the
// extensions the saving rule accepts.
TEST_F(Save, FailuresSayWhy) {
  SaveAs("notes.txt", 4);
  SaveAs("missing/folder/out", 4);
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].first,
            U("保存图像文件失败!\n未知的图像文件扩展名 \".txt\"，请使用 .bmp、.jpg、.gif、.png、.svg、.pdf 或 .eps"));
  EXPECT_EQ(dialogs.messages[1].first, U("保存图像文件失败!\n文件夹 \"") + Path("missing/folder") + U("\" 不存在"));
}

}  // namespace
