// The DM page driven through its widgets: encodes on every change, its label
// shows the size grown to; "重填" removes the selection and Ctrl+Z brings it
// back. How far it grows and what it keeps is the page model's, tested
// without a display.
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

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
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(DecodeShownSymbol(dm, DecodeFormat::DataMatrix), "ABC\r\nD");
}

}  // namespace
