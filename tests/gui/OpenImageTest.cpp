// Opening a symbol from an image: a file chosen, dropped or pasted fills the
// page its content came from, Ctrl+Z takes it back, and an image without a
// readable symbol leaves every field as it was.
#include "app/OpenImage.h"

#include <QRegularExpression>

#include "app/SymbolImage.h"
#include "content/CodePage.h"
#include "image/ImageFormats.h"
#include "symbol/SymbolRequest.h"
#include "tests/gui/GuiHelpers.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

class FakeOpenDialogs : public OpenDialogs {
 public:
  int pick = 0;  // the symbol picked from several
  Choice notHeld = Choice::WholeText;
  std::vector<QString> questions, messages;
  QStringList items;

  QString AskImageFile(QWidget*) override { return {}; }
  int PickSymbol(QWidget*, const QString&, const QStringList& offered) override { return items = offered, pick; }
  Choice AskNotHeld(QWidget*, const QString& question) override { return questions.push_back(question), notHeld; }
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
};

ModuleMatrix QrOf(const std::string& bytes, QrLevel level) {
  SymbolRequest request;
  request.level = level;
  request.data = bytes;
  return MakeSymbol(request).symbol.matrix;
}

std::string Gbk(const char* utf8) { return Utf8ToCodePage(utf8).value(); }

class OpenImage : public GuiTest {
 protected:
  OpenImage() { window->SetOpenDialogs(open); }
  // The symbol written as the file `name`, in the format its extension names.
  QString Written(const ModuleMatrix& matrix, const std::string& name) {
    const std::string path = folder.File(name);
    EXPECT_TRUE(SaveImageFile(matrix, {4, 4, 96}, path).Ok());
    return QString::fromStdString(path);
  }
  QString FieldText(const char* tag) { return TextOf(Field(Current(), tag)); }

  FakeOpenDialogs open;
  TempFolder folder;
};

// What each kind of content opens: the format kept where it has the tab,
// the tab and fields, the level read; the payload composed again is the
// one read. Data Matrix opens the DM page.
TEST_F(OpenImage, EachContentOpensItsPageWithItsFields) {
  const struct {
    const char* name;
    std::string bytes;
    QrLevel level;
    int startRadio, radio, tab;
    std::vector<std::pair<const char*, const char*>> fields;
  } cases[] = {
      {"card kept in format 2", QrPrefix + "CARD:N:" + Gbk("张三") + ";M:138;ADR:a\r\nb;;", QrLevel::H,
       ControlId::FormatMobileV2, ControlId::FormatMobileV2, 0, {{"N", "张三"}, {"M", "138"}, {"ADR", "a\nb"}}},
      {"service only in format 1", QrPrefix + "AD:SUB:News;DG:DY;SID:1234;;", QrLevel::L, ControlId::FormatUnicom,
       ControlId::FormatMobileV1, 7, {{"SUB", "News"}, {"DG", "DY"}, {"SID", "1234"}}},
      {"plain text", "你好 world", QrLevel::Q, ControlId::FormatMobileV1, ControlId::FormatGeneral, 8,
       {{"TEXT", "你好 world"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseFormatAndTab(c.startRadio, 1);
    window->OpenImageFile(Written(QrOf(c.bytes, c.level), NameOf(c.name) + ".png"));
    EXPECT_TRUE(Control<QRadioButton>(qr, c.radio)->isChecked());
    EXPECT_EQ(ContentTabs()->currentIndex(), c.tab);
    for (const auto& [tag, text] : c.fields) EXPECT_EQ(FieldText(tag), U(text)) << tag;
    EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentIndex(), QrLevelPosition(c.level));
    EXPECT_EQ((c.radio == ControlId::FormatGeneral ? "" : QrPrefix) + qr->CurrentPayload(), c.bytes);
  }
  window->OpenImageFile(Written(OurDm("Serial 000123"), "serial.bmp"));
  EXPECT_EQ(window->Tabs()->currentIndex(), 1);
  EXPECT_EQ(dm->TextBox()->toPlainText(), U("Serial 000123"));
  EXPECT_TRUE(open.messages.empty());
}

// Opening is one step: Ctrl+Z brings back the format, tab, fields and
// level; an unreadable image changes nothing and says why.
TEST_F(OpenImage, UndoRestoresAndUnreadableImagesLeaveFieldsAlone) {
  TypeInto(Field(Current(), "N"), U("李四"));
  const std::string before = qr->CurrentPayload();
  window->OpenImageFile(Written(QrOf(QrPrefix + "MAIL:TO:a;TXT:b;;", QrLevel::Q), "mail.gif"));
  ASSERT_EQ(ContentTabs()->currentIndex(), 1);
  Control<QPushButton>(qr, ControlId::Reset)->setFocus();
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ContentTabs()->currentIndex(), 0);
  EXPECT_EQ(qr->CurrentPayload(), before);
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentIndex(), QrLevelPosition(QrLevel::M));

  WriteBytes(folder.File("notes.png"), "not an image");
  QImage blank(200, 200, QImage::Format_Grayscale8);
  blank.fill(255);
  blank.save(QString::fromStdString(folder.File("blank.png")));
  for (const char* name : {"notes.png", "blank.png", "gone.png"}) window->OpenImageFile(QString::fromStdString(folder.File(name)));
  ASSERT_EQ(open.messages.size(), 3u);
  EXPECT_TRUE(open.messages[0].endsWith(U("notes.png\"：这不是 PNG、JPEG、GIF 或 BMP 图片"))) << open.messages[0].toStdString();
  EXPECT_TRUE(open.messages[1].endsWith(U("blank.png\" 中没有找到二维码或 DM 码。"))) << open.messages[1].toStdString();
  EXPECT_TRUE(open.messages[2].endsWith(U("gone.png\"：文件或文件夹不存在"))) << open.messages[2].toStdString();
  EXPECT_EQ(qr->CurrentPayload(), before);
}

// A damaged image is told in Chinese: what our readers found, in Chinese
// words, and a library's English message not at all. Past the file's name,
// no Latin letter but a format's name.
TEST_F(OpenImage, DamagedImagesAreToldInChinese) {
  const auto patched = [](std::string bytes, size_t at, char byte) { return bytes[at] = byte, bytes; };
  const std::string png = ReadBytes(Written(OurDm("x"), "x.png").toStdString());
  const std::string gif = ReadBytes(Written(OurDm("x"), "x.gif").toStdString());
  const std::string bmp = ReadBytes(Written(OurDm("x"), "x.bmp").toStdString());
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"crc.png", patched(png, 29, static_cast<char>(png[29] ^ 1)), "图片已损坏"},  // libpng's own message
      {"empty.gif", patched(gif.substr(0, 13) + ";", 10, 0), "图片已损坏（GIF 文件中没有图像）"},
      {"deep.bmp", patched(bmp, 28, 16), "不支持这种图片（每像素 16 位的 BMP）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(folder.File(c.name), c.bytes);
    open.messages.clear();
    window->OpenImageFile(QString::fromStdString(folder.File(c.name)));
    ASSERT_EQ(open.messages.size(), 1u);
    const QString message = open.messages[0];
    EXPECT_TRUE(message.endsWith(U(c.name) + U("\"：") + U(c.reason))) << message.toStdString();
    QString reason = message.mid(message.lastIndexOf(U("\"："))).remove(U("GIF")).remove(U("BMP"));
    EXPECT_FALSE(reason.contains(QRegularExpression(U("[A-Za-z]")))) << message.toStdString();
  }
}

// A tag no page holds: the question says so, and the text tab then takes
// the whole content; cancelled, nothing changes.
TEST_F(OpenImage, ContentTheFieldsCannotHoldIsOfferedWholeAsText) {
  const QString file = Written(QrOf(QrPrefix + "CARD:N:Li;XYZ:1;;", QrLevel::M), "odd.png");
  open.notHeld = OpenDialogs::Choice::Cancel;
  window->OpenImageFile(file);
  EXPECT_EQ(qr->CurrentPayload(), "");
  open.notHeld = OpenDialogs::Choice::WholeText;
  window->OpenImageFile(file);
  ASSERT_EQ(open.questions.size(), 2u);
  EXPECT_EQ(open.questions[0], U("读出的内容无法完整放入「名片」的字段：XYZ 不是已知的字段。\n\n"
                                 "是否改用「文本」页打开全部内容？选“否”只填入能放下的字段。"));
  // As 通用格式 text the whole content is encoded again byte for byte.
  EXPECT_EQ(ContentTabs()->currentIndex(), 8);
  EXPECT_EQ(FieldText("TEXT"), U("\x01\x10" "CARD:N:Li;XYZ:1;;"));
}

// A file dropped on a field, and a picture pasted there, open their symbol
// instead of becoming text; of two symbols the one picked opens.
TEST_F(OpenImage, DropPasteAndAChoiceOfSymbols) {
  const QString card = Written(QrOf(QrPrefix + "CARD:N:Drop;;", QrLevel::M), "card.png");
  QMimeData dragged;
  dragged.setUrls({QUrl::fromLocalFile(card)});
  QWidget* target = Field(Current(), "M");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_EQ(FieldText("N"), U("Drop"));
  EXPECT_EQ(FieldText("M"), QString());

  QImage pair(400, 200, QImage::Format_Grayscale8);
  pair.fill(255);
  QPainter painter(&pair);
  painter.drawImage(10, 10, RenderSymbol(QrOf(QrPrefix + "CARD:N:One;;", QrLevel::M), 5, 4));
  painter.drawImage(210, 10, RenderSymbol(QrOf(QrPrefix + "CARD:N:Two;;", QrLevel::M), 5, 4));
  painter.end();
  QApplication::clipboard()->setImage(pair);
  open.pick = 1;
  target->setFocus();
  QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(open.items.size(), 2);
  EXPECT_EQ(FieldText("N"), open.items[1].endsWith(U("N:Two;;")) ? U("Two") : U("One"));
  EXPECT_EQ(FieldText("M"), QString());
}

}  // namespace
