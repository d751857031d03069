// The main window around the two pages: its tabs, the pages' captions, the
// About box, and content too long for any symbol on either page.
#include <QLabel>
#include <QTimer>

#include "app/AboutDlg.h"
#include "content/Catalogue.h"
#include "tests/gui/GuiHelpers.h"

namespace {

using MainWindow = GuiTest;

TEST_F(MainWindow, AboutBoxOpensWithAltAAndClosesWithOk) {
  EXPECT_EQ(window->AboutButton()->text(), U("关于 Quillet(&A)..."));
  bool seen = false;
  // The box runs modally: look for it from a timer inside its event loop.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
    if (about == nullptr) return;
    poll.stop();
    seen = true;
    EXPECT_EQ(about->windowTitle(), U("关于Quillet"));
    auto* ok = Control<QPushButton>(about, ControlId::AboutOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), U("确定"));
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  poll.start(10);
  QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen && QApplication::activeModalWidget() == nullptr; }, 3000));
}

// The QR page shows first; the DM page has encoded nothing before it is first
// shown. Each page keeps its text and symbol while the other one is shown.
TEST_F(MainWindow, StartsOnTheQrTabAndEachPageKeepsItsStateWhileHidden) {
  ASSERT_EQ(window->Tabs()->count(), 2);
  EXPECT_EQ(window->Tabs()->tabText(0), U("QR码"));
  EXPECT_EQ(window->Tabs()->tabText(1), U("DM码"));
  EXPECT_EQ(window->Tabs()->currentIndex(), 0);
  EXPECT_TRUE(qr->isVisible());
  EXPECT_FALSE(dm->isVisible());
  EXPECT_EQ(dm->VersionLabelText(), QString());
  TypeInto(Field(Current(), "N"), U("q"));
  window->Tabs()->setCurrentIndex(1);
  EXPECT_FALSE(qr->isVisible());
  TypeInto(dm->TextBox(), U("d"));
  window->Tabs()->setCurrentIndex(0);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:q;;");
  window->Tabs()->setCurrentIndex(1);
  EXPECT_EQ(DecodeShownSymbol(dm, DecodeFormat::DataMatrix), "d");
  EXPECT_EQ(dm->TextBox()->toPlainText(), U("d"));
}

// Every caption of the two pages, as the user reads it (the version label
// and the printed size, whose texts follow the symbol, aside).
TEST_F(MainWindow, PagesShowTheirCaptions) {
  const std::pair<CSymbolPage*, QStringList> pages[] = {
      {qr,
       {U("中国移动v1.0"), U("中国移动v2.0"), U("中国联通"), U("纠错级别"), U("QR版本设定"),
        U(" * 号为必填项，为了保证生成的条码正确解析，请仔细填写！"), U("重填"), U("保存二维码图片")}},
      {dm, {U("输入文本"), U("重填"), U("DM版本设定"), U("保存二维码图片")}},
  };
  for (auto [page, expected] : pages) {
    QStringList shown;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (child->objectName() == QString::number(ControlId::VersionLabel) || child->objectName() == U("printedSize"))
        continue;
      if (auto* label = qobject_cast<QLabel*>(child)) shown << label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(child)) shown << button->text();
    }
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
  }
}

// A field showing a symbol gets `length` copies of 'x', then '8' typed at its
// end. A null `tag` is the DM page's text.
struct TooLongCase {
  const char* tag;
  int radio, tab, length;
};

class TooLong : public GuiTest, public testing::WithParamInterface<TooLongCase> {};

TEST_P(TooLong, ShowsNoSymbolKeepsEveryByteAndRefusesToSave) {
  const TooLongCase c = GetParam();
  CSymbolPage* page = c.tag ? static_cast<CSymbolPage*>(qr) : dm;
  if (c.tag) ChooseFormatAndTab(c.radio, c.tab);
  else window->Tabs()->setCurrentIndex(1);
  QWidget* field = c.tag ? Field(Current(), c.tag) : dm->TextBox();
  TypeInto(field, U("x"));
  ASSERT_TRUE(page->HasSymbol());
  const QString text(c.length, u'x');
  field->setProperty(qobject_cast<QLineEdit*>(field) ? "text" : "plainText", text);
  QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
  TypeInto(field, U("8"));
  GrabPage(page);
  const std::string& kept = c.tag ? qr->FieldValues()[FieldSlotOfTag(c.tag)] : dm->Text();
  EXPECT_TRUE(kept == std::string(c.length, 'x') + "8") << kept.size();
  EXPECT_FALSE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
  ClickButton(page, ControlId::Save);
  EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>{{U("内容过长，无法生成图片"), true}}));
  EXPECT_TRUE(dialogs.asked.empty());
}

// 2500 bytes pass the encoder's size guard yet fit no version at level M;
// 1601 codewords are past the 1558 of 144 x 144. A single-line field takes
// more than QLineEdit's default 32767 characters.
INSTANTIATE_TEST_SUITE_P(Pages, TooLong,
                         testing::Values(TooLongCase{"TEXT", ControlId::FormatUnicom, 8, 2500},
                                         TooLongCase{"N", ControlId::FormatMobileV1, 0, 1 << 20},
                                         TooLongCase{nullptr, 0, 0, 1600},
                                         TooLongCase{nullptr, 0, 0, 1 << 20}),
                         [](const auto& info) {
                           return NameOf(info.param.tag ? info.param.tag : "DmText") + "_" +
                                  std::to_string(info.param.length);
                         });

}  // namespace
