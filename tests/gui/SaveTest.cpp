// Saving from the QR page: the filter entries pick the extension of a bare
// name, an existing file is replaced only when the user agrees, failures say so.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/gui/GuiHelpers.h"

namespace {

QByteArray Head(const QString& path, int bytes) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

class Save : public GuiTest {
 protected:
  void SetUp() override { TypeInto(Field(Current(), "N"), U("s")); }  // 12 bytes: version 1
  void SaveAs(const char* name, int filterEntry) {
    dialogs.answer = std::make_pair(Path(name), filterEntry);
    ClickButton(qr, ControlId::Save);
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
  EXPECT_EQ(dialogs.filter, U("位图文件 (*.bmp);;JPEG图像文件 (*.jpg);;GIF图像文件 (*.gif);;PNG图像文件 (*.png)"));
  if (c.written == nullptr) {
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].first.startsWith(U("保存图像文件失败!")));
    EXPECT_FALSE(dialogs.messages[0].second);
    return;
  }
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Head(Path(c.written), c.magic.size()), c.magic);
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
                                         SaveCase{"notes.txt", 4, nullptr, {}},
                                         SaveCase{"missing/folder/out", 4, nullptr, {}}),
                         [](const auto& info) {
                           return NameOf(info.param.typed) + "_Filter" + std::to_string(info.param.filterEntry);
                         });

TEST_F(Save, AnExistingFileIsReplacedOnlyAfterAsking) {
  QFile existing(Path("old.png"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write("keep me") == 7);
  existing.close();
  dialogs.allowOverwrite = false;
  SaveAs("old", 4);  // the extension is appended before asking
  EXPECT_EQ(dialogs.overwriteAsked, std::vector<QString>{Path("old.png")});
  EXPECT_EQ(Head(Path("old.png"), 100), QByteArray("keep me"));
  dialogs.allowOverwrite = true;
  SaveAs("old", 4);
  EXPECT_EQ(dialogs.overwriteAsked.size(), 2u);
  EXPECT_EQ(Head(Path("old.png"), 4), QByteArray("\x89PNG"));
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
