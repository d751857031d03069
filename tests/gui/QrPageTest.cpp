// The QR page driven through its widgets: every edit re-encodes, switches
// empty everything, the version list raises and keeps, and what the picture
// shows decodes to 0x01 0x10 and the payload.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include "app/TesselDlg.h"
#include "content/pages/DialogTypeBase.h"
#include "tests/gui/GuiHelpers.h"

namespace {

const std::string Prefix("\x01\x10", 2);

class QrPage : public testing::Test {
 protected:
  void SetUp() override {
    window = OpenMainWindow();
    page = window->QrPage();
  }
  CDialogTypeBase* Current() const { return page->CurrentPage(); }
  QTabBar* Tabs() const { return page->ContentTabs()->Bar(); }
  QRadioButton* Radio(int id) const { return Control<QRadioButton>(page, id); }
  void ChooseFormatAndTab(int radioId, int tab) {
    QTest::mouseClick(Radio(radioId), Qt::LeftButton);
    Tabs()->setCurrentIndex(tab);
  }
  void ExpectEverythingEmpty() const {
    for (const std::string& value : page->FieldValues()) EXPECT_TRUE(value.empty());
    EXPECT_EQ(page->CurrentPayload(), "");
    EXPECT_FALSE(page->HasSymbol());
    for (const FieldSpec& field : Current()->Definition().fields) {
      QWidget* edit = Current()->FieldEdit(field.slot);
      if (auto* line = qobject_cast<QLineEdit*>(edit)) EXPECT_TRUE(line->text().isEmpty());
      if (auto* multi = qobject_cast<QPlainTextEdit*>(edit)) EXPECT_TRUE(multi->toPlainText().isEmpty());
    }
  }

  std::unique_ptr<CDialogMain> window;
  CTesselDlg* page = nullptr;
};

TEST_F(QrPage, StartState) {
  EXPECT_TRUE(Radio(1009)->isChecked());
  EXPECT_EQ(Radio(1009)->text(), U("中国移动v1.0"));
  EXPECT_EQ(page->OperatorFormat(), 1);
  EXPECT_EQ(Tabs()->count(), 9);
  EXPECT_EQ(Tabs()->currentIndex(), 0);
  EXPECT_EQ(Tabs()->tabText(0), U("名片"));
  EXPECT_STREQ(Current()->metaObject()->className(), "CDialogTypeCard");
  EXPECT_TRUE(Current()->isVisible());
  EXPECT_EQ(Control<QComboBox>(page, 1003)->currentText(), U("M级(15%)"));
  EXPECT_EQ(Control<QComboBox>(page, 1003)->count(), 4);
  EXPECT_EQ(Control<QComboBox>(page, 1006)->currentText(), U("自动选择"));
  EXPECT_EQ(Control<QComboBox>(page, 1006)->count(), 14);
  EXPECT_EQ(Control<QComboBox>(page, 1006)->itemText(13), U("版本 13"));
  EXPECT_EQ(Control<QSlider>(page, 1002)->value(), 4);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 0)"));
  EXPECT_FALSE(page->HasSymbol());
  const QImage shown = GrabPage(page).copy(page->PictureArea().adjusted(2, 2, -2, -2));
  for (int y = 0; y < shown.height(); y += 7)
    for (int x = 0; x < shown.width(); x += 7) ASSERT_NE(qGray(shown.pixel(x, y)), 0);
}

TEST_F(QrPage, TypingANameShowsASymbolThatDecodesToPrefixAndPayload) {
  TypeInto(Field(Current(), "N"), U("客服 Li"));
  const std::string payload = "CARD:N:\xBF\xCD\xB7\xFE Li;;";  // 客服 in code page 936
  EXPECT_EQ(page->CurrentPayload(), payload);
  ASSERT_TRUE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 2)"));  // 18 bytes: over version 1's 14 at M
  EXPECT_EQ(page->SymbolRect().width(), 25 * 4);
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::QrCode), Prefix + payload);
}

TEST_F(QrPage, ShownSymbolIsBlackAndWhiteOnTheButtonFace) {
  TypeInto(Field(Current(), "M"), U("12345"));
  const QImage shown = GrabPage(page);
  const QRect symbol = page->SymbolRect();
  const ModuleMatrix& m = page->Symbol();
  for (int y = 0; y < m.Rows(); ++y)
    for (int x = 0; x < m.Columns(); ++x)
      ASSERT_EQ(shown.pixel(symbol.x() + 4 * x + 2, symbol.y() + 4 * y + 2) & 0xFFFFFF, m.IsDark(x, y) ? 0u : 0xFFFFFFu);
  const QRgb face = page->palette().color(QPalette::Button).rgb();
  EXPECT_EQ(shown.pixel(symbol.left() - 1, symbol.top() + 10), face);
  EXPECT_EQ(shown.pixel(symbol.right() + 1, symbol.bottom() + 1), face);
}

TEST_F(QrPage, DeletingTheTextClearsTheSymbolAndKeepsTheLabel) {
  QWidget* name = Field(Current(), "N");
  TypeInto(name, U("x"));
  ASSERT_TRUE(page->HasSymbol());
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(page->CurrentPayload(), "");
  EXPECT_FALSE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 1)"));
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::QrCode), std::nullopt);
}

struct PayloadCase {
  int radio;
  int tab;
  const char* pageClass;
  std::vector<std::pair<const char*, const char*>> typed;  // tag, text ("\n" presses Enter)
  const char* payload;
};

class QrPayloads : public QrPage, public testing::WithParamInterface<PayloadCase> {};

TEST_P(QrPayloads, FieldsComposeInSlotOrderAndTheSymbolCarriesThem) {
  const PayloadCase& c = GetParam();
  ChooseFormatAndTab(c.radio, c.tab);
  ASSERT_STREQ(Current()->metaObject()->className(), c.pageClass);
  for (const auto& [tag, text] : c.typed) TypeInto(Field(Current(), tag), U(text));
  EXPECT_EQ(page->CurrentPayload(), c.payload);
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::QrCode), Prefix + c.payload);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, QrPayloads,
    testing::Values(
        PayloadCase{1009, 0, "CDialogTypeCard", {{"M", "12345"}, {"N", "Kf"}}, "CARD:N:Kf;M:12345;;"},
        PayloadCase{1009, 1, "CDialogTypeMail", {{"TO", "sales"}, {"SUB", "Hi"}, {"TXT", "OK"}},
                    "MAIL:SUB:Hi;TO:sales;TXT:OK;;"},
        PayloadCase{1010, 2, "CDialogTypeSMS", {{"SM", "10086"}, {"TXT", "a\nb"}}, "SMS:SM:10086;TXT:a\r\nb;;"},
        PayloadCase{1009, 4, "CDialogTypePhone", {{"SUB", "T"}, {"TEL", "1"}, {"M", "2"}}, "PHONE:M:2;TEL:1;SUB:T;;"},
        PayloadCase{1010, 5, "CDialogTypeSMST", {{"BN", "News"}, {"DG", "DY"}, {"SID", "1234"}},
                    "SAD:DG:DY;SID:1234;BN:News;;"},
        PayloadCase{1009, 7, "CDialogTypeSMSV10", {{"SUB", "News"}, {"DG", "DY"}, {"SID", "1234"}},
                    "AD:SUB:News;DG:DY;SID:1234;;"},
        PayloadCase{1009, 8, "CDialogTypeIVRV10", {{"CT", "010"}}, "AD:CT:010;;"},
        PayloadCase{1011, 4, "CDialogTypeUrl", {{"URL", "a;b:c"}}, "BM:URL:a;b:c;;"},
        PayloadCase{1011, 7, "CDialogTypeIVR", {{"IVR", "12590"}, {"ST", " "}}, "IAD:ST: ;IVR:12590;;"},
        PayloadCase{1011, 8, "CDialogTypeSelfSet", {{"TEXT", "hello"}}, "CUSTOM:TEXT:hello;;"}));

TEST_F(QrPage, ControlCharactersAndNulAreBytesOfThePayload) {
  ChooseFormatAndTab(1011, 8);
  auto* custom = qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"));
  custom->setPlainText(QString(QChar(0)) + U("a\x01") + QChar(0) + U("b"));
  const std::string payload("CUSTOM:TEXT:\0a\x01\0b;;", 19);
  EXPECT_EQ(page->CurrentPayload(), payload);
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::QrCode), Prefix + payload);
}

TEST_F(QrPage, SwitchingTabEmptiesEverything) {
  TypeInto(Field(Current(), "N"), U("abc"));
  Tabs()->setCurrentIndex(1);
  ExpectEverythingEmpty();
  TypeInto(Field(Current(), "TXT"), U("body"));
  Tabs()->setCurrentIndex(0);
  ExpectEverythingEmpty();
  Tabs()->setCurrentIndex(1);
  ExpectEverythingEmpty();
}

TEST_F(QrPage, ClickingAnyFormatRadioEvenTheCheckedOneEmptiesEverything) {
  for (int radio : {1009, 1010, 1011, 1011}) {
    Tabs()->setCurrentIndex(2);
    TypeInto(Field(Current(), "TXT"), U("x"));
    ASSERT_TRUE(page->HasSymbol());
    QTest::mouseClick(Radio(radio), Qt::LeftButton);
    EXPECT_TRUE(Radio(radio)->isChecked());
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_STREQ(Current()->metaObject()->className(), "CDialogTypeCard");
    ExpectEverythingEmpty();
    // The SMS page that was typed into has been emptied too.
    EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(Field(page->Page("CDialogTypeSMS"), "TXT"))->toPlainText().isEmpty());
  }
  EXPECT_EQ(Tabs()->count(), 9);
  EXPECT_EQ(Tabs()->tabText(8), U("自定义"));
}

TEST_F(QrPage, ResetEmptiesTheMultiLineFieldAndThePayload) {
  Tabs()->setCurrentIndex(2);
  TypeInto(Field(Current(), "SM"), U("1"));
  TypeInto(Field(Current(), "TXT"), U("line1\nline2"));
  ASSERT_EQ(page->CurrentPayload(), "SMS:SM:1;TXT:line1\r\nline2;;");
  QTest::mouseClick(Control<QPushButton>(page, 1005), Qt::LeftButton);
  ExpectEverythingEmpty();
  EXPECT_STREQ(Current()->metaObject()->className(), "CDialogTypeSMS");
}

TEST_F(QrPage, ARequestedVersionIsRaisedAndStaysRaised) {
  SelectComboItem(Control<QComboBox>(page, 1006), 1);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 1)"));
  QWidget* name = Field(Current(), "N");
  TypeInto(name, U("name needing version 3"));
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 3)"));
  static_cast<QLineEdit*>(name)->setText(U("a"));
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 3)"));
  EXPECT_EQ(page->Symbol().Columns(), 29);
  SelectComboItem(Control<QComboBox>(page, 1006), 1);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 1)"));
}

TEST_F(QrPage, SelectingAVersionOnAnEmptyPageOnlyRelabels) {
  SelectComboItem(Control<QComboBox>(page, 1006), 3);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 3)"));
  EXPECT_FALSE(page->HasSymbol());
}

TEST_F(QrPage, LevelSelectionReEncodes) {
  TypeInto(Field(Current(), "N"), U("0123456789"));  // 21 bytes in all: version 2 at M, 3 at H
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 2)"));
  SelectComboItem(Control<QComboBox>(page, 1003), 3);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 3)"));
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::QrCode), Prefix + "CARD:N:0123456789;;");
}

TEST_F(QrPage, SliderMovesRedrawAtTheNewScale) {
  TypeInto(Field(Current(), "N"), U("zoom"));
  for (int scale : {1, 7, 16, 4}) {
    Control<QSlider>(page, 1002)->setValue(scale);
    EXPECT_EQ(page->SymbolRect().width(), page->Symbol().Columns() * scale);
    if (scale > 1) EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::QrCode), Prefix + "CARD:N:zoom;;");
  }
}

TEST_F(QrPage, APayloadThatFitsNoVersionShowsNoSymbolAndSaysSo) {
  ChooseFormatAndTab(1011, 8);
  SelectComboItem(Control<QComboBox>(page, 1003), 3);  // H holds at most 1273 bytes
  TypeInto(Field(Current(), "TEXT"), U("x"));
  ASSERT_TRUE(page->HasSymbol());
  qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"))->setPlainText(QString(1500, u'x'));
  EXPECT_FALSE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
  FakeSaveDialogs dialogs;
  page->SetSaveDialogs(&dialogs);
  QTest::mouseClick(Control<QPushButton>(page, 1004), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages, std::vector<QString>{U("请先生成图片")});
  EXPECT_EQ(dialogs.fileNameAsked, 0);
}

TEST_F(QrPage, AMegabytePasteStaysResponsive) {
  ChooseFormatAndTab(1011, 8);
  auto* custom = qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"));
  QElapsedTimer timer;
  timer.start();
  custom->setPlainText(QString(1 << 20, u'7'));
  QTest::keyClick(custom, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(custom, U("8"));
  GrabPage(page);
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
  EXPECT_FALSE(page->HasSymbol());
}

TEST_F(QrPage, ASingleLineFieldTakesMoreThanQLineEditsDefaultLimit) {
  auto* name = qobject_cast<QLineEdit*>(Field(Current(), "N"));
  name->setText(QString(40000, u'n'));
  EXPECT_EQ(page->FieldValues()[0].size(), 40000u);
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
}

}  // namespace
