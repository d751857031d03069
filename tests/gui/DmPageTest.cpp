// The DM page driven through its widgets: encodes on every change, grows
// its size while the text does not fit and keeps it grown.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "app/DialogDM.h"
#include "tests/gui/GuiHelpers.h"

namespace {

class DmPage : public testing::Test {
 protected:
  void SetUp() override {
    window = OpenMainWindow();
    window->Tabs()->setCurrentIndex(1);
    page = window->DmPage();
  }
  QComboBox* Sizes() const { return Control<QComboBox>(page, 1006); }

  std::unique_ptr<CDialogMain> window;
  CDialogDM* page = nullptr;
};

TEST_F(DmPage, FirstShownEmptyWithTheSmallestSize) {
  EXPECT_TRUE(page->TextBox()->toPlainText().isEmpty());
  EXPECT_EQ(Sizes()->count(), 24);
  EXPECT_EQ(Sizes()->currentText(), U("版本 10"));
  EXPECT_EQ(Sizes()->itemText(23), U("版本 144"));
  EXPECT_EQ(Control<QSlider>(page, 1002)->value(), 4);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 10)"));
  EXPECT_FALSE(page->HasSymbol());
}

TEST_F(DmPage, OneCharacterGivesATenByTenSymbolThatDecodes) {
  TypeInto(page->TextBox(), U("A"));
  ASSERT_TRUE(page->HasSymbol());
  EXPECT_EQ(page->Symbol().Columns(), 10);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 10)"));
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::DataMatrix), "A");
}

TEST_F(DmPage, GrowsWhileTheTextDoesNotFitAndKeepsTheGrownSize) {
  TypeInto(page->TextBox(), U("ABC"));  // three codewords: the 10 x 10 capacity
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 10)"));
  TypeInto(page->TextBox(), U("D"));
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 12)"));
  EXPECT_EQ(Sizes()->currentIndex(), 0);
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::DataMatrix), "ABCD");
  page->TextBox()->clear();
  EXPECT_FALSE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 12)"));
  TypeInto(page->TextBox(), U("A"));
  EXPECT_EQ(page->Symbol().Columns(), 12);
  SelectComboItem(Sizes(), 0);
  EXPECT_EQ(page->Symbol().Columns(), 10);
}

TEST_F(DmPage, TheLargestSizeHoldsOneCharacter) {
  TypeInto(page->TextBox(), U("Z"));
  SelectComboItem(Sizes(), 23);
  EXPECT_EQ(page->Symbol().Columns(), 144);
  EXPECT_EQ(page->VersionLabelText(), U("(版本: 144)"));
}

TEST_F(DmPage, LineBreaksAreCrLf) {
  TypeInto(page->TextBox(), U("a\nb"));
  EXPECT_EQ(page->Text(), "a\r\nb");
  EXPECT_EQ(DecodeShownSymbol(page, DecodeFormat::DataMatrix), "a\r\nb");
}

TEST_F(DmPage, ResetRemovesOnlyTheSelection) {
  TypeInto(page->TextBox(), U("hello"));
  QTest::mouseClick(Control<QPushButton>(page, 1005), Qt::LeftButton);
  EXPECT_EQ(page->Text(), "hello");
  EXPECT_TRUE(page->HasSymbol());
  page->TextBox()->selectAll();
  QTest::mouseClick(Control<QPushButton>(page, 1005), Qt::LeftButton);
  EXPECT_TRUE(page->TextBox()->toPlainText().isEmpty());
  EXPECT_FALSE(page->HasSymbol());
}

TEST_F(DmPage, TextThatFitsNoSizeShowsNoSymbolAndSaysSo) {
  TypeInto(page->TextBox(), U("x"));
  page->TextBox()->setPlainText(QString(1600, u'x'));  // 1600 codewords > 1558
  EXPECT_FALSE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
  EXPECT_EQ(page->SizeIndex(), 23);
}

TEST_F(DmPage, AMegabytePasteStaysResponsive) {
  QElapsedTimer timer;
  timer.start();
  page->TextBox()->setPlainText(QString(1 << 20, u'9'));
  GrabPage(page);
  EXPECT_LT(timer.elapsed(), 3000);
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
  EXPECT_FALSE(page->HasSymbol());
}

TEST_F(DmPage, ThreeThousandDigitsStillFit) {
  page->TextBox()->setPlainText(QString(3000, u'5'));
  ASSERT_TRUE(page->HasSymbol());
  EXPECT_EQ(page->Symbol().Columns(), 144);
}

}  // namespace
