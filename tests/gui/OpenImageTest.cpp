// Opening a symbol from an image: a file chosen, dropped or pasted fills the
// page its content came from, Ctrl+Z takes it back, and an image without a
// readable symbol leaves every field as it was. Reading runs off the
// window's thread: what is typed meanwhile stays, and Esc stops it.
#include "app/OpenImage.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <QThreadPool>

#include "app/SymbolImage.h"
#include "content/CodePage.h"
#include "image/StylePresets.h"
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
  StyleChoice AskKeepStyle(QWidget*, const QString& question) override {
    return styleQuestions.push_back(question), keepStyle;
  }
  StyleChoice keepStyle = StyleChoice::Keep;
  std::vector<QString> styleQuestions;
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
  CBackgroundRead& Reading() { return window->Opener().Reading(); }
  // Until the read under way has ended and its result is shown.
  void WaitForRead() { ASSERT_TRUE(QTest::qWaitFor([this] { return !Reading().Busy(); }, 30000)); }
  void OpenAndWait(const QString& path) {
    window->OpenImageFile(path);
    WaitForRead();
  }

  FakeOpenDialogs open;
  TempFolder folder;
};

// What each content opens is the recognition's and the page model's, tested
// without a display; here a file reaches the page: the format kept where it
// has the tab, the fields (CR LF shown as a line break) and the level, as one
// step that Ctrl+Z takes back. Data Matrix opens the DM page.
TEST_F(OpenImage, AFileOpensItsPageAndCtrlZTakesItBack) {
  ChooseFormatAndTab(ControlId::FormatMobileV2, 2);
  TypeInto(Field(Current(), "SM"), U("10086"));
  const std::string before = qr->CurrentPayload();
  const std::string card = QrPrefix + "CARD:N:" + Gbk("张三") + ";M:138;ADR:a\r\nb;;";
  OpenAndWait(Written(QrOf(card, QrLevel::H), "card.gif"));
  EXPECT_TRUE(Control<QRadioButton>(qr, ControlId::FormatMobileV2)->isChecked());
  EXPECT_EQ(ContentTabs()->currentIndex(), 0);
  EXPECT_EQ((QStringList{FieldText("N"), FieldText("M"), FieldText("ADR")}), (QStringList{U("张三"), U("138"), U("a\nb")}));
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentIndex(), QrLevelPosition(QrLevel::H));
  EXPECT_EQ(QrPrefix + qr->CurrentPayload(), card);
  Control<QPushButton>(qr, ControlId::Reset)->setFocus();
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ContentTabs()->currentIndex(), 2);
  EXPECT_EQ(qr->CurrentPayload(), before);
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentIndex(), QrLevelPosition(QrLevel::M));
  OpenAndWait(Written(OurDm("Serial 000123"), "serial.bmp"));
  EXPECT_EQ(window->Tabs()->currentIndex(), 1);
  EXPECT_EQ(dm->TextBox()->toPlainText(), U("Serial 000123"));
  EXPECT_TRUE(open.messages.empty());
}

// Opening into a styled page asks, once, whether the symbol keeps the style.
// Kept, the opened level holds unless the logo needs more, which is said;
// not kept, the symbol opens plain at its own level; cancelled, nothing opens.
TEST_F(OpenImage, AStyledPageAsksWhetherTheOpenedSymbolKeepsItsStyle) {
  auto logo = std::make_shared<RgbaImage>(RgbaImage{8, 8, std::vector<uint8_t>(8 * 8 * 4, 0xc0)});
  const SymbolStyle brand = WithPreset({}, StylePreset::Brand, Symbology::QrCode);
  SymbolStyle logoStyle = brand, largeLogo = brand;
  logoStyle.logo = largeLogo.logo = logo;
  largeLogo.logoShare = 0.4;  // no version at level M spares 40 % of its side
  using enum OpenDialogs::StyleChoice;
  const struct {
    const char* name;
    SymbolStyle style;
    OpenDialogs::StyleChoice answer;
    QrLevel shown;
    bool styled;
    QString message;
  } cases[] = {
      {"no logo, kept", brand, Keep, QrLevel::M, true, {}},
      {"logo, kept", logoStyle, Keep, QrLevel::M, true, {}},  // a larger version spares it
      {"large logo, kept", largeLogo, Keep, QrLevel::H, true, U("已保留样式：标志需要更强的纠错，打开的 M 级条码改为 H 级。")},
      {"large logo, cleared", largeLogo, Clear, QrLevel::M, false, {}},
  };
  const QString image = Written(QrOf("opened text", QrLevel::M), "opened.png");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    qr->SetStyle(PageStyle{c.style, {}, {}});
    open.keepStyle = c.answer;
    open.styleQuestions.clear();
    open.messages.clear();
    OpenAndWait(image);
    EXPECT_EQ(open.styleQuestions.size(), 1u);
    EXPECT_EQ(qr->CurrentPayload(), "opened text");
    EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentIndex(), QrLevelPosition(c.shown));
    EXPECT_EQ(!qr->Style().style.IsPlain(), c.styled);
    EXPECT_EQ(open.messages, c.message.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.message});
  }
  qr->SetStyle(PageStyle{brand, {}, {}});
  open.keepStyle = Cancel;
  window->OpenImageFile(Written(QrOf("not opened", QrLevel::Q), "other.png"));
  EXPECT_EQ(qr->CurrentPayload(), "opened text");
  EXPECT_EQ(PresetOf(qr->Style().style, Symbology::QrCode), StylePreset::Brand);
}

// An image without a readable symbol changes nothing and says why in
// Chinese: what our readers found in Chinese words, a library's English
// message not at all. Past the file's name, no Latin letter but a format's name.
TEST_F(OpenImage, UnreadableImagesLeaveFieldsAloneAndAreToldInChinese) {
  TypeInto(Field(Current(), "N"), U("李四"));
  const auto patched = [](std::string bytes, size_t at, char byte) { return bytes[at] = byte, bytes; };
  const std::string png = ReadBytes(Written(OurDm("x"), "x.png").toStdString());
  const std::string gif = ReadBytes(Written(OurDm("x"), "x.gif").toStdString());
  const std::string bmp = ReadBytes(Written(OurDm("x"), "x.bmp").toStdString());
  QImage blank(200, 200, QImage::Format_Grayscale8);
  blank.fill(255);
  blank.save(QString::fromStdString(folder.File("blank.png")));
  const struct {
    const char* name;
    std::optional<std::string> bytes;  // none: the file as it is, or no file
    const char* ending;
  } cases[] = {
      {"notes.png", "not an image", "\"：这不是 PNG、JPEG、GIF 或 BMP 图片"},
      {"blank.png", std::nullopt, "\" 中没有找到二维码或 DM 码。"},
      {"gone.png", std::nullopt, "\"：文件或文件夹不存在"},
      {"crc.png", patched(png, 29, static_cast<char>(png[29] ^ 1)), "\"：图片已损坏"},  // libpng's own message
      {"empty.gif", patched(gif.substr(0, 13) + ";", 10, 0), "\"：图片已损坏（GIF 文件中没有图像）"},
      {"deep.bmp", patched(bmp, 28, 16), "\"：不支持这种图片（每像素 16 位的 BMP）"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.bytes) WriteBytes(folder.File(c.name), *c.bytes);
    open.messages.clear();
    OpenAndWait(QString::fromStdString(folder.File(c.name)));
    ASSERT_EQ(open.messages.size(), 1u);
    const QString message = open.messages[0];
    EXPECT_TRUE(message.endsWith(U(c.name) + U(c.ending))) << message.toStdString();
    const QString reason = message.mid(message.lastIndexOf(U(c.name)) + int(strlen(c.name))).remove(U("GIF")).remove(U("BMP"))
                               .remove(U("PNG")).remove(U("JPEG")).remove(U("DM"));
    EXPECT_FALSE(reason.contains(QRegularExpression(U("[A-Za-z]")))) << message.toStdString();
  }
  EXPECT_EQ(qr->CurrentPayload(), "CARD:N:\xC0\xEE\xCB\xC4;;");
}

// A tag no page holds: the question says so, and the text tab then takes
// the whole content; cancelled, nothing changes.
TEST_F(OpenImage, ContentTheFieldsCannotHoldIsOfferedWholeAsText) {
  const QString file = Written(QrOf(QrPrefix + "CARD:N:Li;XYZ:1;;", QrLevel::M), "odd.png");
  open.notHeld = OpenDialogs::Choice::Cancel;
  OpenAndWait(file);
  EXPECT_EQ(qr->CurrentPayload(), "");
  open.notHeld = OpenDialogs::Choice::WholeText;
  OpenAndWait(file);
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
  WaitForRead();
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
  WaitForRead();
  ASSERT_EQ(open.items.size(), 2);
  EXPECT_EQ(FieldText("N"), open.items[1].endsWith(U("N:Two;;")) ? U("Two") : U("One"));
  EXPECT_EQ(FieldText("M"), QString());
}

// A slow read (here one that waits for the test) leaves the window
// answering: text typed meanwhile stays, the read's late result dropped.
// Esc stops the read under way, and its indicator goes at once.
TEST_F(OpenImage, TypingDuringAReadIsKeptAndEscStopsIt) {
  const QString card = Written(QrOf(QrPrefix + "CARD:N:Read;;", QrLevel::M), "card.png");
  QSemaphore started, release;
  std::atomic<bool> stopSeen = false;
  Reading().SetReader([&](const ImageToRead& image, const ReadStop& stop) {
    started.release();
    release.acquire();
    stopSeen = stop.load();
    return ReadImage(image, stop);
  });
  const auto endRead = [&] {
    release.release();
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(30000));
    QCoreApplication::processEvents();  // the result reaches the window, or is dropped
  };
  window->OpenImageFile(card);
  ASSERT_TRUE(started.tryAcquire(1, 10000));
  EXPECT_TRUE(Reading().Indicator()->isVisible());
  TypeInto(Field(Current(), "N"), U("Typed"));
  endRead();
  EXPECT_EQ(FieldText("N"), U("Typed"));
  EXPECT_FALSE(Reading().Indicator()->isVisible());

  window->OpenImageFile(card);
  ASSERT_TRUE(started.tryAcquire(1, 10000));
  QTest::keyClick(Field(Current(), "N"), Qt::Key_Escape);
  EXPECT_FALSE(Reading().Busy());
  EXPECT_FALSE(Reading().Indicator()->isVisible());
  endRead();
  EXPECT_TRUE(stopSeen);
  EXPECT_EQ(FieldText("N"), U("Typed"));

  // Left alone, the same read fills the page.
  window->OpenImageFile(card);
  ASSERT_TRUE(started.tryAcquire(1, 10000));
  endRead();
  EXPECT_EQ(FieldText("N"), U("Read"));
  EXPECT_TRUE(open.messages.empty());
}

}  // namespace
