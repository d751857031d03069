// The keyboard on both pages: Tab follows the template's order with the
// content fields right after the format radios and the content tabs; a click
// on a content tab keeps the arrow keys in that row; Ctrl+Z right after a
// switch or "重填" that emptied fields brings back the page, its fields,
// payload and symbol.
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

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

using Keyboard = GuiTest;

// A radio and a tab of the QR page, or radio 0 the DM page from its text;
// the control ids of the page's fields.
struct TabOrderCase {
  int radio, tab;
  QStringList fields;
};

class TabOrder : public GuiTest, public testing::WithParamInterface<TabOrderCase> {};

// The radio group is one stop, its checked button, as on the template's
// platform; the arrow keys move within it.
TEST_P(TabOrder, RadiosTabsFieldsThenTheTemplateOrder) {
  const TabOrderCase& c = GetParam();
  if (c.radio == 0) {
    window->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(TabStops(dm, dm->TextBox()), c.fields + QStringList({"1005", "1034", "1006", "1002", "1050", "1004"}));
    return;
  }
  ChooseFormatAndTab(c.radio, c.tab);
  ContentTabs()->setObjectName(QStringLiteral("tabs"));
  EXPECT_EQ(TabStops(qr, Control<QWidget>(qr, c.radio)),
            QStringList({QString::number(c.radio), "tabs"}) + c.fields + QStringList({"1003", "1006", "1002", "1005", "1034", "1050", "1004"}));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TabOrder,
    testing::Values(TabOrderCase{1009, 0, {"1012", "1020", "1018", "1016", "1013", "1014", "1015", "1017", "1019", "1021", "1022"}},
                    TabOrderCase{1009, 7, {"1015", "1016", "1020", "1021", "1031"}}, TabOrderCase{1011, 8, {"1028"}},
                    TabOrderCase{1008, 1, {"1040", "1041", "1042", "1043"}},
                    TabOrderCase{1008, 7, {"1015", "1047", "1048", "1049", "1016"}},
                    TabOrderCase{0, 0, {"1013"}}));

TEST_F(Keyboard, AClickedContentTabKeepsTheArrowKeysInItsRow) {
  TypeInto(Field(Current(), "N"), U("x"));
  QTest::mouseClick(ContentTabs(), Qt::LeftButton, {}, ContentTabs()->tabRect(1).center());
  EXPECT_EQ(ContentTabs()->currentIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), ContentTabs());
  QTest::keyClick(ContentTabs(), Qt::Key_Right);
  EXPECT_EQ(ContentTabs()->currentIndex(), 2);
  EXPECT_EQ(window->Tabs()->currentIndex(), 0);
}

// Fields typed on a page, then a control that empties every field ("重填",
// a tab, or a format by the arrow keys): the values, the page's own fields and
// the symbol end empty. Which switches empty and how far Ctrl+Z goes back is
// the page model's, tested without a display; here the keys reach it and its
// answer reaches every widget.
struct EmptyingCase {
  const char* name;
  int radio, tab;
  std::vector<std::pair<const char*, const char*>> typed;
  void (*empty)(CTesselDlg*);
};

class Emptying : public GuiTest, public testing::WithParamInterface<EmptyingCase> {};

QStringList Texts(CDialogTypeBase* page, const std::vector<std::pair<const char*, const char*>>& typed) {
  QStringList texts;
  for (const auto& [tag, text] : typed) texts << TextOf(Field(page, tag));
  return texts;
}

void Undo() {
  QWidget* focus = QApplication::focusWidget();
  QTest::keyClick(focus ? focus : QApplication::activeWindow(), Qt::Key_Z, Qt::ControlModifier);
}

TEST_P(Emptying, EmptiesEveryFieldAndCtrlZBringsBackPageFieldsPayloadAndSymbol) {
  const EmptyingCase& c = GetParam();
  ChooseFormatAndTab(c.radio, c.tab);
  QStringList typed;
  for (const auto& [tag, text] : c.typed) {
    TypeInto(Field(Current(), tag), U(text));
    typed << U(text);
  }
  const FieldValueArray values = qr->FieldValues();
  const std::string payload = qr->CurrentPayload();
  CDialogTypeBase* page = Current();
  ASSERT_TRUE(qr->HasSymbol());

  c.empty(qr);
  for (const std::string& value : qr->FieldValues()) EXPECT_TRUE(value.empty());
  EXPECT_EQ(Texts(page, c.typed), QStringList(typed.size(), QString()));
  EXPECT_EQ(qr->CurrentPayload(), "");
  EXPECT_FALSE(qr->HasSymbol());
  Undo();
  EXPECT_EQ(Current(), page);
  EXPECT_EQ(ContentTabs()->currentIndex(), c.tab);
  EXPECT_TRUE(Control<QRadioButton>(qr, c.radio)->isChecked());
  EXPECT_EQ(qr->OperatorFormat(), c.radio - ControlId::FormatMobileV1 + 1);
  EXPECT_EQ(qr->FieldValues(), values);
  EXPECT_EQ(Texts(page, c.typed), typed);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + payload);
  Undo();  // once taken back, a second Ctrl+Z changes nothing
  EXPECT_EQ(qr->CurrentPayload(), payload);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Emptying,
    testing::Values(
        EmptyingCase{"Reset", 1010, 2, {{"SM", "10086"}, {"TXT", "第一行\n2"}}, [](CTesselDlg* qr) { ClickButton(qr, ControlId::Reset); }},
        EmptyingCase{"FirstTab", 1009, 2, {{"TXT", "x"}}, [](CTesselDlg* qr) { qr->ContentTabs()->Bar()->setCurrentIndex(0); }},
        EmptyingCase{"FormatByArrow", 1009, 0, {{"N", "客服 Li"}, {"M", "13800138000"}},
                     [](CTesselDlg* qr) {
                       Control<QRadioButton>(qr, ControlId::FormatMobileV1)->setFocus(Qt::TabFocusReason);
                       QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
                       ASSERT_TRUE(Control<QRadioButton>(qr, ControlId::FormatMobileV2)->isChecked());
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

// A key as the window system delivers it, a moment later as a user types it:
// to the window that has the focus.
bool PressInFocusWindow(Qt::Key key) {
  if (!QTest::qWaitFor([] { return QGuiApplication::focusWindow() != nullptr; }, 500)) return false;
  QTest::keyClick(QGuiApplication::focusWindow(), key, Qt::AltModifier);
  return true;
}

// However a dialog was opened and closed (Escape), the main window has the
// keyboard again: Alt+A and Alt+B open their dialogs without a click first.
TEST_F(Keyboard, AltAAndAltBWorkAfterEveryDialogCloses) {
  qr->SetSaveDialogs(&DesktopSaveDialogs());
  const auto escape = [](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); };
  const std::pair<const char*, std::function<void()>> openers[] = {
      {"about", [&] { QTest::mouseClick(window->AboutButton(), Qt::LeftButton); }},
      {"batch", [&] { QTest::mouseClick(window->BatchButton(), Qt::LeftButton); }},
      {"message", [&] { ClickButton(qr, ControlId::Save); }},  // no symbol yet
      {"file dialog", [&] { TypeInto(Field(Current(), "N"), U("x")); ClickButton(qr, ControlId::Save); }},
  };
  for (const auto& [name, open] : openers) {
    ASSERT_TRUE(AnswerModal<QDialog>(escape, open)) << name;
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_B})
      EXPECT_TRUE(AnswerModal<QDialog>(escape, [key] { PressInFocusWindow(key); })) << name << " then Alt+" << char(key);
  }
}

}  // namespace
