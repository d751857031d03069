// The main window around the two pages: the About box, and content too long
// for any symbol on either page.
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
  EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>{{U("请先生成图片"), true}}));
  EXPECT_TRUE(dialogs.filter.isEmpty());
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
