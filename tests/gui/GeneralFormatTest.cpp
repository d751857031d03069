// The general format on the QR page, driven through its widgets: each kind
// of field reaches the standard form and the symbol on screen decodes to its
// UTF-8 bytes; a value no form carries leaves no symbol and says why; the
// ECI box names the character set. What goes over between formats is the
// page model's, tested without a display.
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

using Fields = std::vector<std::pair<const char*, const char*>>;  // tag, what the user enters

// Typed, chosen from the drop-down by its value, ticked, or picked in the date-time editor.
void Enter(CDialogTypeBase* page, const Fields& fields) {
  for (const auto& [tag, value] : fields) {
    QWidget* field = Field(page, tag);
    if (auto* box = qobject_cast<QComboBox*>(field)) SelectComboItem(box, box->findData(U(value)));
    else if (auto* check = qobject_cast<QCheckBox*>(field)) QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, 4));
    else if (auto* time = qobject_cast<QDateTimeEdit*>(field)) time->setDateTime(QDateTime::fromString(U(value), U("yyyy-MM-dd HH:mm")));
    else TypeInto(field, U(value));
  }
}

struct FormCase {
  const char* name;
  int tab;
  Fields fields;
  const char* payload;  // UTF-8; empty when `problem` is what the page says instead
  const char* problem;
};

class GeneralForms : public GuiTest, public testing::WithParamInterface<FormCase> {};

// A symbol shown before the value spoils it goes: nothing to see, save or copy.
TEST_P(GeneralForms, TheFieldsComposeTheFormOrSayWhyNot) {
  const FormCase& c = GetParam();
  ChooseFormatAndTab(ControlId::FormatGeneral, c.tab);
  Enter(Current(), c.fields);
  EXPECT_EQ(qr->CurrentPayload(), c.payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), *c.payload ? std::optional<std::string>(c.payload) : std::nullopt);
  if (!*c.problem) return;
  EXPECT_EQ(U("无法生成条码：") + qr->PrintedSizeText(), U(c.problem));
  ClickButton(qr, ControlId::Save);
  qr->CopySymbol();
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>(2, {U(c.problem), true})));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, GeneralForms,
    testing::Values(
        FormCase{"Wifi", 1, {{"SSID", "My \"Net\":1,2"}, {"PWD", "pa;ss\\"}, {"ENC", "WEP"}, {"HIDDEN", "true"}},
                 "WIFI:T:WEP;S:My \\\"Net\\\"\\:1\\,2;P:pa\\;ss\\\\;H:true;;", ""},
        FormCase{"Event", 7, {{"SUB", "评审, 第一轮"}, {"START", "2024-02-29 09:30"}, {"END", "2024-02-29 11:00"}, {"TXT", "a\nb"}},
                 "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillet//Quillet//ZH\r\nBEGIN:VEVENT\r\nSUMMARY:评审\\, 第一轮\r\n"
                 "DTSTART:20240229T093000\r\nDTEND:20240229T110000\r\nDESCRIPTION:a\\nb\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n", ""},
        FormCase{"Latitude", 6, {{"LAT", "9"}, {"LON", "0"}, {"LAT", "1"}}, "", "无法生成条码：“纬度”超出范围 (-90 至 90 度)"},
        FormCase{"OpenNetworkPassword", 1, {{"SSID", "x"}, {"ENC", "nopass"}, {"PWD", "k"}}, "",
                 "无法生成条码：“密码”：选择了无密码的网络，却填写了密码"},
        // The drop-down's first choice counts before it is touched.
        FormCase{"SecurityAsShown", 1, {{"SSID", "咖啡馆"}}, "", "无法生成条码：“密码”为空，但这种内容必须填写"},
        FormCase{"EndBeforeStart", 7, {{"START", "2025-03-01 10:00"}, {"END", "2025-03-01 09:59"}}, "",
                 "无法生成条码：“结束”早于开始时间"}),
    [](const auto& info) { return std::string(info.param.name); });

struct EciCase {
  const char* name;
  int radio;  // 0: the DM page
  const char* typed;
  const char* read;  // zxing-cpp's text with the designator
  bool checkedAtFirst = false;  // 通用格式 names UTF-8 by default: a click turns it off
};

class EciBox : public GuiTest, public testing::WithParamInterface<EciCase> {};

// Code page 936 text, which readers otherwise take for Latin-1, reads right;
// the bytes stay, and a saved file reads back; the batch from the page takes
// the setting over. On 通用格式 the box starts checked (its default), so the
// click takes the designator away and zxing-cpp still reads the UTF-8.
TEST_P(EciBox, NamesTheCharacterSetSoThatTheTextReadsRight) {
  const EciCase& c = GetParam();
  CSymbolPage* page = ShowPage(!c.radio);
  const DecodeFormat format = c.radio ? DecodeFormat::QrCode : DecodeFormat::DataMatrix;
  if (c.radio) ChooseFormatAndTab(c.radio, 0);
  TypeInto(c.radio ? Field(Current(), "N") : dm->TextBox(), U(c.typed));
  const std::optional<std::string> bytes = DecodeShownSymbol(page, format);
  auto* box = Control<QCheckBox>(page, ControlId::Eci);
  EXPECT_EQ(box->isChecked(), c.checkedAtFirst);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, 4));
  const ModuleMatrix& s = page->Symbol();
  EXPECT_EQ(ZxingText(s.Columns(), s.Rows(), [&](int x, int y) { return s.IsDark(x, y); }, format), std::optional<std::string>(c.read));
  // libdmtx gives a Data Matrix ECI as a data byte.
  if (c.radio) {
    EXPECT_EQ(DecodeShownSymbol(page, format), bytes);
  }
  EXPECT_EQ((c.radio ? qr->Choice() : dm->Choice()).symbol.eci, !c.checkedAtFirst);
  QTemporaryDir folder;
  dialogs.answers.emplace_back(folder.path() + U("/eci.png"), 4);
  ClickButton(page, ControlId::Save);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().first.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Pages, EciBox,
    testing::Values(EciCase{"OperatorCard", ControlId::FormatMobileV1, "客服", "\x01\x10" "CARD:N:客服;;"},
                    EciCase{"VCard", ControlId::FormatGeneral, "张三", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张三;;;;\r\nFN:张三\r\nEND:VCARD\r\n", true},
                    EciCase{"DataMatrix", 0, "客服 DM", "客服 DM"}),
    [](const auto& info) { return std::string(info.param.name); });

// The Wi-Fi password is required while the security chosen takes one: its
// caption shows the "*" the other required fields show.
TEST_F(GuiTest, TheWifiPasswordShowsItsStarWhileTheSecurityTakesOne) {
  ChooseFormatAndTab(ControlId::FormatGeneral, 1);
  CDialogTypeBase* wifi = Current();
  const int password = FieldSlotOfTag("PWD");
  EXPECT_EQ(wifi->CaptionText(FieldSlotOfTag("SSID")), U("* 网络名称:"));
  EXPECT_EQ(wifi->CaptionText(password), U("* 密码:"));
  for (const auto& [security, caption] : {std::pair{"nopass", "密码:"}, {"WEP", "* 密码:"}, {"nopass", "密码:"}, {"WPA", "* 密码:"}}) {
    Enter(wifi, {{"ENC", security}});
    EXPECT_EQ(wifi->CaptionText(password), U(caption)) << security;
  }
}

}  // namespace
