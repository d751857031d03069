// The DM page driven through its widgets: encodes on every change, grows
// its size while the text does not fit and keeps it grown; "重填" removes the selection.
#include "tests/gui/GuiHelpers.h"

namespace {

class DmPage : public GuiTest {
  void SetUp() override { window->Tabs()->setCurrentIndex(1); }
};

TEST_F(DmPage, GrowsWhileTheTextDoesNotFitKeepsTheGrownSizeAndResetsTheSelection) {
  auto* sizes = Control<QComboBox>(dm, ControlId::VersionList);
  ASSERT_EQ(sizes->count(), 24);
  EXPECT_EQ((QStringList{sizes->itemText(0), sizes->itemText(9), sizes->itemText(23)}),
            (QStringList{U("版本 10"), U("版本 32"), U("版本 144")}));
  EXPECT_EQ(dm->VersionLabelText(), U("(版本: 10)"));
  TypeInto(dm->TextBox(), U("ABC"));  // three codewords: the 10 x 10 capacity
  EXPECT_EQ(dm->Symbol().Columns(), 10);
  TypeInto(dm->TextBox(), U("\nD"));  // Enter gives CR LF: six codewords, past 12 x 12
  EXPECT_EQ(dm->Text(), "ABC\r\nD");
  EXPECT_EQ(dm->VersionLabelText(), U("(版本: 14)"));
  EXPECT_EQ(sizes->currentIndex(), 0);
  EXPECT_EQ(DecodeShownSymbol(dm, DecodeFormat::DataMatrix), "ABC\r\nD");
  ClickButton(dm, ControlId::Reset);  // nothing selected: nothing removed
  EXPECT_EQ(dm->Text(), "ABC\r\nD");
  dm->TextBox()->selectAll();
  ClickButton(dm, ControlId::Reset);
  EXPECT_TRUE(dm->TextBox()->toPlainText().isEmpty());
  EXPECT_FALSE(dm->HasSymbol());
  EXPECT_EQ(dm->VersionLabelText(), U("(版本: 14)"));
  TypeInto(dm->TextBox(), U("A"));
  EXPECT_EQ(dm->Symbol().Columns(), 14);
  SelectComboItem(sizes, 0);
  EXPECT_EQ(dm->Symbol().Columns(), 10);
}

// From the chosen size the page grows to the next size that holds the text,
// never past it, and the list keeps showing the chosen size. Side 0: too long.
struct GrowCase {
  int chosenIndex;
  QString text;
  int side;
};

class DmGrowth : public DmPage, public testing::WithParamInterface<GrowCase> {};

TEST_P(DmGrowth, GrowsToTheNextSizeThatHoldsTheText) {
  const GrowCase& c = GetParam();
  auto* sizes = Control<QComboBox>(dm, ControlId::VersionList);
  SelectComboItem(sizes, c.chosenIndex);
  dm->TextBox()->setPlainText(c.text);
  EXPECT_EQ(sizes->currentIndex(), c.chosenIndex);
  if (c.side == 0) {
    EXPECT_EQ(dm->VersionLabelText(), U("(内容过长)"));
    EXPECT_FALSE(dm->HasSymbol());
    return;
  }
  EXPECT_EQ(dm->VersionLabelText(), U("(版本: %1)").arg(c.side));
  ASSERT_EQ(dm->Symbol().Columns(), c.side);
  // zxing 1.4 does not read the interleaving of 144 x 144; the encoder's tests check it.
  if (c.side < 144) {
    EXPECT_EQ(DecodeSymbol(dm->Symbol(), DecodeFormat::DataMatrix), c.text.toStdString());
  }
}

// Data codewords: 10 x 10 holds 3, 12 x 12 5, 26 x 26 44, 32 x 32 62,
// 132 x 132 1304, 144 x 144 1558. Two digits make one codeword, but never
// the first: 3115 digits are the most that fit.
INSTANTIATE_TEST_SUITE_P(Texts, DmGrowth,
                         testing::Values(GrowCase{8, QString(50, u'A'), 32},
                                         GrowCase{0, QString(1500, u'A'), 144},
                                         GrowCase{0, QString(3115, u'7'), 144},
                                         GrowCase{0, QString(3116, u'7'), 0}));

}  // namespace
