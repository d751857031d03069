// The keyboard on both pages: Tab follows the template's order with the
// content fields right after the format radios and the content tabs; a click
// on a content tab keeps the arrow keys in that row; Ctrl+Z right after a
// switch or "重填" that emptied fields brings back the page, its fields,
// payload and symbol.
#include <functional>

#include "tests/gui/GuiHelpers.h"

namespace {

QString Name(const QWidget* widget) {
  if (widget == nullptr) return QStringLiteral("(none)");
  return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className()) : widget->objectName();
}

// Tab from `first` until focus leaves `page`: the names of the stops.
QStringList TabStops(QWidget* page, QWidget* first) {
  first->setFocus(Qt::TabFocusReason);
  QStringList stops;
  for (QWidget* focus = QApplication::focusWidget(); focus != nullptr && page->isAncestorOf(focus) && stops.size() < 40;
       focus = QApplication::focusWidget()) {
    stops << Name(focus);
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  return stops;
}

class Keyboard : public GuiTest {};

struct TabOrderCase {
  int radio, tab;
  QStringList fields;  // control ids of the shown page's fields
};

class QrTabOrder : public GuiTest, public testing::WithParamInterface<TabOrderCase> {};

// The radio group is one stop, its checked button, as on the template's
// platform; the arrow keys move within it.
TEST_P(QrTabOrder, RadiosTabsFieldsThenTheTemplateOrder) {
  const TabOrderCase& c = GetParam();
  ChooseFormatAndTab(c.radio, c.tab);
  ContentTabs()->setObjectName(QStringLiteral("tabs"));
  const QStringList expected = QStringList{QString::number(c.radio), "tabs"} + c.fields +
                               QStringList{"1003", "1006", "1002", "1005", "1004"};
  EXPECT_EQ(TabStops(qr, Control<QWidget>(qr, c.radio)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, QrTabOrder,
    testing::Values(TabOrderCase{1009, 0, {"1012", "1020", "1018", "1016", "1013", "1014", "1015", "1017", "1019", "1021", "1022"}},
                    TabOrderCase{1009, 7, {"1015", "1016", "1020", "1021", "1031"}},
                    TabOrderCase{1011, 8, {"1028"}}));

TEST_F(Keyboard, DmTabOrderIsTheTemplates) {
  window->Tabs()->setCurrentIndex(1);
  EXPECT_EQ(TabStops(dm, dm->TextBox()), (QStringList{"1013", "1005", "1006", "1002", "1004"}));
}

TEST_F(Keyboard, AClickedContentTabKeepsTheArrowKeysInItsRow) {
  TypeInto(Field(Current(), "N"), U("x"));
  QTest::mouseClick(ContentTabs(), Qt::LeftButton, {}, ContentTabs()->tabRect(1).center());
  EXPECT_EQ(ContentTabs()->currentIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), ContentTabs());
  QTest::keyClick(ContentTabs(), Qt::Key_Right);
  EXPECT_EQ(ContentTabs()->currentIndex(), 2);
  EXPECT_EQ(window->Tabs()->currentIndex(), 0);
}

// Fields typed on a page, then an action that empties them.
struct UndoCase {
  const char* name;
  int radio, tab;
  std::vector<std::pair<const char*, const char*>> typed;
  std::function<void(GuiTest&, CTesselDlg*)> empty;
};

class UndoEmptying : public GuiTest, public testing::WithParamInterface<UndoCase> {
 public:
  void ChooseFormat(int radio) { ChooseFormatAndTab(radio, 0); }
};

TEST_P(UndoEmptying, CtrlZBringsBackPageFieldsPayloadAndSymbol) {
  const UndoCase& c = GetParam();
  ChooseFormatAndTab(c.radio, c.tab);
  for (const auto& [tag, text] : c.typed) TypeInto(Field(Current(), tag), U(text));
  const FieldValueArray values = qr->FieldValues();
  const std::string payload = qr->CurrentPayload();
  CDialogTypeBase* page = Current();
  ASSERT_TRUE(qr->HasSymbol());

  c.empty(*this, qr);
  ASSERT_FALSE(qr->HasSymbol());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Current(), page);
  EXPECT_EQ(ContentTabs()->currentIndex(), c.tab);
  EXPECT_TRUE(Control<QRadioButton>(qr, c.radio)->isChecked());
  EXPECT_EQ(qr->OperatorFormat(), c.radio - ControlId::FormatMobileV1 + 1);
  EXPECT_EQ(qr->FieldValues(), values);
  EXPECT_EQ(qr->CurrentPayload(), payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + payload);
  for (const auto& [tag, text] : c.typed) {
    QWidget* field = Field(Current(), tag);
    const QString shown = field->property(qobject_cast<QLineEdit*>(field) ? "text" : "plainText").toString();
    EXPECT_EQ(shown, U(text).replace(u'\n', QStringLiteral("\n")));
  }
  // Once taken back, a second Ctrl+Z changes nothing.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(qr->CurrentPayload(), payload);
}

void ArrowOnFormatRadios(GuiTest&, CTesselDlg* qr) {
  auto* radio = Control<QRadioButton>(qr, ControlId::FormatMobileV1);
  radio->setFocus(Qt::TabFocusReason);
  QTest::keyClick(radio, Qt::Key_Right);
  ASSERT_TRUE(Control<QRadioButton>(qr, ControlId::FormatMobileV2)->isChecked());
}

void ArrowOnContentTabs(GuiTest&, CTesselDlg* qr) {
  QTabBar* bar = qr->ContentTabs()->Bar();
  const int from = bar->currentIndex();
  bar->setFocus(Qt::TabFocusReason);
  QTest::keyClick(bar, Qt::Key_Left);
  QTest::keyClick(bar, Qt::Key_Left);  // a second switch in a row empties nothing more
  ASSERT_EQ(bar->currentIndex(), from - 2);
}

void ClickReset(GuiTest&, CTesselDlg* qr) { ClickButton(qr, ControlId::Reset); }

INSTANTIATE_TEST_SUITE_P(
    Emptyings, UndoEmptying,
    testing::Values(UndoCase{"FormatRadio", 1009, 0, {{"N", "客服 Li"}, {"M", "13800138000"}}, ArrowOnFormatRadios},
                    UndoCase{"ContentTab", 1011, 6, {{"BN", "News"}, {"INTR", "第一行\n2"}, {"DG", "DY"}}, ArrowOnContentTabs},
                    UndoCase{"Reset", 1010, 2, {{"SM", "10086"}, {"TXT", "hello"}}, ClickReset}),
    [](const testing::TestParamInfo<UndoCase>& info) { return std::string(info.param.name); });

TEST_F(Keyboard, TypingAfterASwitchEndsWhatCtrlZCanBringBack) {
  TypeInto(Field(Current(), "N"), U("gone"));
  ClickButton(qr, ControlId::Reset);
  TypeInto(Field(Current(), "M"), U("1"));
  ClickButton(qr, ControlId::Save);  // moves the focus off the field
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(qr->CurrentPayload(), "CARD:M:1;;");
}

TEST_F(Keyboard, CtrlZOnTheDmPageTakesBackWhatResetRemoved) {
  window->Tabs()->setCurrentIndex(1);
  TypeInto(dm->TextBox(), U("ABC"));
  dm->TextBox()->selectAll();
  ClickButton(dm, ControlId::Reset);
  ASSERT_FALSE(dm->HasSymbol());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(dm->Text(), "ABC");
  EXPECT_EQ(DecodeShownSymbol(dm, DecodeFormat::DataMatrix), "ABC");
}

}  // namespace
