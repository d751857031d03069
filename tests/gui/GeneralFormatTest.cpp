// The general format on the QR page, driven through its widgets: each kind of
// field reaches the standard form and the symbol on screen decodes to its
// UTF-8 bytes; a value no form carries leaves no symbol and says why; the
// card's values go over between an operator format and this one, and Ctrl+Z
// takes the switch back.
#include "content/pages/DateTimeField.h"
#include "tests/gui/GuiHelpers.h"

namespace {

using Fields = std::vector<std::pair<const char*, const char*>>;  // tag, what the user enters

// As a user enters a value: typed, chosen from the drop-down by its value,
// ticked, or picked in the date-time editor.
void Enter(CDialogTypeBase* page, const char* tag, const char* value) {
  QWidget* field = Field(page, tag);
  if (auto* box = qobject_cast<QComboBox*>(field)) return SelectComboItem(box, box->findData(U(value)));
  if (auto* check = qobject_cast<QCheckBox*>(field)) return QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
  if (auto* time = qobject_cast<QDateTimeEdit*>(field))
    return time->setDateTime(QDateTime::fromString(U(value), QStringLiteral("yyyy-MM-dd HH:mm")));
  TypeInto(field, U(value));
}

class GeneralTest : public GuiTest {
 protected:
  void ChooseTab(int tab) { ChooseFormatAndTab(ControlId::FormatGeneral, tab); }
  void EnterAll(const Fields& fields) {
    for (const auto& [tag, value] : fields) Enter(Current(), tag, value);
  }
};

struct FormCase {
  const char* name;
  int tab;
  Fields fields;
  const char* payload;  // UTF-8
};

class GeneralForms : public GeneralTest, public testing::WithParamInterface<FormCase> {};

TEST_P(GeneralForms, EnteredFieldsComposeTheFormAndTheSymbolCarriesIt) {
  const FormCase& c = GetParam();
  ChooseTab(c.tab);
  EnterAll(c.fields);
  EXPECT_EQ(qr->CurrentPayload(), c.payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), c.payload);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, GeneralForms,
    testing::Values(
        FormCase{"Card", 0, {{"N", "张三"}, {"M", "13800138000"}, {"COR", "中国移动"}},
                 "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nTEL;TYPE=CELL:13800138000\r\nORG:中国移动\r\n"
                 "END:VCARD\r\n"},
        FormCase{"Wifi", 1, {{"SSID", "My \"Net\":1,2"}, {"PWD", "pa;ss\\"}, {"ENC", "WEP"}, {"HIDDEN", "true"}},
                 "WIFI:T:WEP;S:My \\\"Net\\\"\\:1\\,2;P:pa\\;ss\\\\;H:true;;"},
        FormCase{"Place", 6, {{"LAT", "+39.9042"}, {"LON", "-116.4074"}, {"LABEL", "天安门 广场"}},
                 "geo:39.9042,-116.4074?q=%E5%A4%A9%E5%AE%89%E9%97%A8%20%E5%B9%BF%E5%9C%BA"},
        FormCase{"Event", 7,
                 {{"SUB", "评审, 第一轮"}, {"START", "2024-02-29 09:30"}, {"END", "2024-02-29 11:00"}, {"LOC", "3B;东楼"},
                  {"TXT", "Project XYZ Final Review\nCome Prepared."}},
                 "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillet//Quillet//ZH\r\nBEGIN:VEVENT\r\nSUMMARY:评审\\, 第一轮\r\n"
                 "DTSTART:20240229T093000\r\nDTEND:20240229T110000\r\nLOCATION:3B\\;东楼\r\n"
                 "DESCRIPTION:Project XYZ Final Review\\nCome Prepared.\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ProblemCase {
  const char* name;
  int tab;
  Fields valid, spoiling;  // entered in turn
  const char* message;
};

class GeneralProblems : public GeneralTest, public testing::WithParamInterface<ProblemCase> {};

// The symbol of the last valid state goes: nothing on screen, to save, copy
// or drag; the reason stands under the picture and in the save's message.
TEST_P(GeneralProblems, AValueNoFormCarriesShowsWhyAndNoSymbol) {
  const ProblemCase& c = GetParam();
  ChooseTab(c.tab);
  EnterAll(c.valid);
  ASSERT_EQ(qr->HasSymbol(), !c.valid.empty());
  EnterAll(c.spoiling);
  EXPECT_FALSE(qr->HasSymbol());
  EXPECT_EQ(qr->CurrentPayload(), "");
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), std::nullopt);
  EXPECT_EQ(qr->PrintedSizeText(), U(c.message));
  ClickButton(qr, ControlId::Save);
  qr->CopySymbol();
  EXPECT_TRUE(dialogs.asked.empty());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].first, U(c.message));
  EXPECT_EQ(dialogs.messages[1].first, U(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, GeneralProblems,
    testing::Values(ProblemCase{"Latitude", 6, {{"LAT", "9"}, {"LON", "0"}}, {{"LAT", "1"}},
                                "无法生成条码：“纬度”超出范围 (-90 至 90 度)"},
                    ProblemCase{"OpenNetworkPassword", 1, {{"SSID", "x"}, {"ENC", "nopass"}}, {{"PWD", "k"}},
                                "无法生成条码：“密码”：选择了无密码的网络，却填写了密码"},
                    // The drop-down's first choice counts before it is touched.
                    ProblemCase{"SecurityAsShown", 1, {}, {{"SSID", "咖啡馆"}}, "无法生成条码：“密码”为空，但这种内容必须填写"},
                    ProblemCase{"EndBeforeStart", 7, {{"START", "2025-03-01 10:00"}}, {{"END", "2025-03-01 09:59"}},
                                "无法生成条码：“结束”早于开始时间"}),
    [](const auto& info) { return std::string(info.param.name); });

// Before anything is entered the page is empty, whatever its drop-down holds:
// no symbol and no complaint.
TEST_F(GeneralTest, AnUntouchedPageShowsNeitherSymbolNorProblem) {
  for (int tab = 0; tab < ContentTabs()->count(); ++tab) {
    ContentTabs()->setCurrentIndex(tab);
    EXPECT_FALSE(qr->HasSymbol()) << tab;
    EXPECT_EQ(qr->PrintedSizeText(), QString()) << tab;
  }
}

struct CarryCase {
  const char* name;
  int fromRadio, fromTab;
  Fields typed;
  int toRadio;
  std::vector<const char*> carried;  // tags shown on the card page after the switch
};

class CarryOver : public GeneralTest, public testing::WithParamInterface<CarryCase> {};

TEST_P(CarryOver, TheCardKeepsWhatBothPagesShowAndCtrlZGoesBack) {
  const CarryCase& c = GetParam();
  ChooseFormatAndTab(c.fromRadio, c.fromTab);
  EnterAll(c.typed);
  CDialogTypeBase* before = Current();
  const std::string payload = qr->CurrentPayload();
  QTest::mouseClick(Control<QRadioButton>(qr, c.toRadio), Qt::LeftButton);
  ASSERT_EQ(ContentTabs()->currentIndex(), 0);
  for (const auto& [tag, value] : c.typed) {
    const bool carried = std::find_if(c.carried.begin(), c.carried.end(), [&](const char* t) { return std::string(t) == tag; }) != c.carried.end();
    EXPECT_EQ(Current()->FieldText(FieldSlotOfTag(tag)), carried ? U(value) : QString()) << tag;
  }
  EXPECT_EQ(qr->HasSymbol(), !c.carried.empty());
  QTest::keyClick(qr->window(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Current(), before);
  EXPECT_TRUE(Control<QRadioButton>(qr, c.fromRadio)->isChecked());
  EXPECT_EQ(qr->CurrentPayload(), payload);
  EXPECT_NE(DecodeShownSymbol(qr, DecodeFormat::QrCode).value_or("").find(payload), std::string::npos);
  QTest::keyClick(qr->window(), Qt::Key_Z, Qt::ControlModifier);  // once taken back, a second Ctrl+Z changes nothing
  EXPECT_TRUE(Control<QRadioButton>(qr, c.fromRadio)->isChecked());
  EXPECT_EQ(qr->CurrentPayload(), payload);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CarryOver,
    testing::Values(CarryCase{"OperatorCardToVCard", ControlId::FormatMobileV1, 0,
                              {{"N", "客服 Li"}, {"M", "13800138000"}, {"COR", "中国移动"}, {"ZIP", "100033"}},
                              ControlId::FormatGeneral, {"N", "M", "COR", "ZIP"}},
                    CarryCase{"VCardToOperatorCard", ControlId::FormatGeneral, 0,
                              {{"N", "张三"}, {"EM", "a@b.cn"}, {"NOTE", "备注"}}, ControlId::FormatUnicom, {"N", "EM"}},
                    CarryCase{"DialToOperatorCard", ControlId::FormatGeneral, 3, {{"TEL", "010 1234"}},
                              ControlId::FormatMobileV2, {"TEL"}},
                    CarryCase{"MailToVCard", ControlId::FormatMobileV1, 1, {{"TO", "sales"}}, ControlId::FormatGeneral, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EciCase {
  const char* name;
  int radio;  // 0: the DM page
  const char* typed;
  const char* read;  // what zxing-cpp makes of the symbol as text, with the ECI
};

class EciBox : public GeneralTest, public testing::WithParamInterface<EciCase> {};

// The designator names the data's character set: code page 936 text, which
// readers otherwise take for Latin-1, reads right; the batch from the page
// takes the setting over.
TEST_P(EciBox, NamesTheCharacterSetSoThatTheTextReadsRight) {
  const EciCase& c = GetParam();
  CSymbolPage* page = c.radio ? static_cast<CSymbolPage*>(qr) : dm;
  if (c.radio) {
    ChooseFormatAndTab(c.radio, 0);
    TypeInto(Field(Current(), "N"), U(c.typed));
  } else {
    window->Tabs()->setCurrentIndex(1);
    TypeInto(dm->TextBox(), U(c.typed));
  }
  const DecodeFormat format = c.radio ? DecodeFormat::QrCode : DecodeFormat::DataMatrix;
  const auto text = [&] {
    const ModuleMatrix& s = page->Symbol();
    return ZxingText(s.Columns(), s.Rows(), [&](int x, int y) { return s.IsDark(x, y); }, format);
  };
  const std::optional<std::string> bytes = DecodeShownSymbol(page, format);
  const std::vector<uint8_t> without = page->Symbol().Cells();
  QTest::mouseClick(Control<QCheckBox>(page, ControlId::Eci), Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_NE(page->Symbol().Cells(), without);
  EXPECT_EQ(text(), std::optional<std::string>(c.read));
  // libdmtx gives a Data Matrix ECI as a byte of the data.
  if (c.radio) EXPECT_EQ(DecodeShownSymbol(page, format), bytes);
  EXPECT_TRUE((c.radio ? qr->Choice() : dm->Choice()).symbol.eci);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, EciBox,
    testing::Values(EciCase{"OperatorCard", ControlId::FormatMobileV1, "客服", "\x01\x10" "CARD:N:客服;;"},
                    EciCase{"VCard", ControlId::FormatGeneral, "张三",
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nEND:VCARD\r\n"},
                    EciCase{"DataMatrix", 0, "客服 DM", "客服 DM"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
