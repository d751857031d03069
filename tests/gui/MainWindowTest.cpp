// Start-up and the main window: tabs, pages, About box, tab order.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/AboutDlg.h"
#include "app/DialogDM.h"
#include "app/TesselDlg.h"
#include "content/pages/ContentPages.h"
#include "tests/gui/GuiHelpers.h"

namespace {

TEST(MainWindow, StartsOnTheQrTabWithBothPages) {
  auto window = OpenMainWindow();
  EXPECT_EQ(window->windowTitle(), U("Quillet"));
  ASSERT_EQ(window->Tabs()->count(), 2);
  EXPECT_EQ(window->Tabs()->tabText(0), U("QR码"));
  EXPECT_EQ(window->Tabs()->tabText(1), U("DM码"));
  EXPECT_TRUE(window->QrPage()->isVisible());
  EXPECT_FALSE(window->DmPage()->isVisible());
  EXPECT_STREQ(window->QrPage()->metaObject()->className(), "CTesselDlg");
  EXPECT_STREQ(window->DmPage()->metaObject()->className(), "CDialogDM");
  EXPECT_STREQ(window->metaObject()->className(), "CDialogMain");
}

TEST(MainWindow, EveryContentPageCarriesItsCatalogueClassName) {
  auto window = OpenMainWindow();
  for (const PageSpec& definition : ContentPages()) {
    CDialogTypeBase* page = window->QrPage()->Page(definition.className);
    ASSERT_NE(page, nullptr) << definition.className;
    EXPECT_EQ(std::string_view(page->metaObject()->className()), definition.className);
    EXPECT_TRUE(page->inherits("CDialogTypeBase"));
  }
}

TEST(MainWindow, SwitchingPagesKeepsTheirTextAndSymbols) {
  auto window = OpenMainWindow();
  TypeInto(Field(window->QrPage()->CurrentPage(), "N"), U("abc"));
  window->Tabs()->setCurrentIndex(1);
  TypeInto(window->DmPage()->TextBox(), U("xyz"));
  window->Tabs()->setCurrentIndex(0);
  window->Tabs()->setCurrentIndex(1);
  EXPECT_EQ(window->QrPage()->CurrentPayload(), "CARD:N:abc;;");
  EXPECT_TRUE(window->QrPage()->HasSymbol());
  EXPECT_EQ(window->DmPage()->Text(), "xyz");
  EXPECT_TRUE(window->DmPage()->HasSymbol());
}

TEST(MainWindow, AboutBoxOpensWithAltAAndClosesWithOk) {
  auto window = OpenMainWindow();
  EXPECT_EQ(window->AboutButton()->text(), U("关于 Quillet(&A)..."));
  bool seen = false;
  // The mnemonic clicks the button after its short press animation, and the
  // box runs modally: look for it from a timer inside its event loop.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
    if (about == nullptr) return;
    poll.stop();
    seen = true;
    EXPECT_EQ(about->windowTitle(), U("关于Quillet"));
    QStringList texts;
    for (QLabel* label : about->findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains(U("Quillet V3 版")));
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), U("确定"));
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  poll.start(10);
  QTest::keyClick(window.get(), Qt::Key_A, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen && QApplication::activeModalWidget() == nullptr; }, 3000));
}

// Tab order follows the fields top to bottom, as the catalogue lists them.
TEST(MainWindow, TabMovesThroughTheCardFieldsInOrder) {
  auto window = OpenMainWindow();
  CDialogTypeBase* card = window->QrPage()->CurrentPage();
  const auto fields = card->Definition().fields;
  for (size_t i = 0; i + 1 < fields.size(); ++i) {
    QWidget* from = card->FieldEdit(fields[i].slot);
    QWidget* next = from->nextInFocusChain();
    while (next != nullptr && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
    EXPECT_EQ(next, card->FieldEdit(fields[i + 1].slot)) << "after " << fields[i].caption;
  }
}

}  // namespace
