// The QR page driven through its widgets: every edit re-encodes, switches
// empty everything, the version list raises and keeps, and what the picture
// shows decodes to 0x01 0x10 and the payload.
#include "tests/gui/GuiHelpers.h"

namespace {

using QrPage = GuiTest;

TEST_F(QrPage, StartState) {
  auto* format = Control<QRadioButton>(qr, ControlId::FormatMobileV1);
  EXPECT_TRUE(format->isChecked());
  EXPECT_EQ(format->text(), U("中国移动v1.0"));
  EXPECT_EQ(ContentTabs()->currentIndex(), 0);
  EXPECT_EQ(ContentTabs()->tabText(0), U("名片"));
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentText(), U("M级(15%)"));
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::VersionList)->currentText(), U("自动选择"));
  EXPECT_EQ(Control<QSlider>(qr, ControlId::Zoom)->value(), 4);
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 0)"));
  EXPECT_FALSE(qr->HasSymbol());
  const QImage shown = GrabPage(qr).copy(qr->PictureArea().adjusted(2, 2, -2, -2));
  for (int y = 0; y < shown.height(); y += 7)
    for (int x = 0; x < shown.width(); x += 7) ASSERT_NE(qGray(shown.pixel(x, y)), 0);
}

struct PayloadCase {
  int radio;
  int tab;
  std::vector<std::pair<const char*, const char*>> typed;  // tag, text ("\n" presses Enter)
  const char* payload;
};

class QrPayloads : public GuiTest, public testing::WithParamInterface<PayloadCase> {};

TEST_P(QrPayloads, TypedFieldsReachThePayloadAndTheSymbolCarriesIt) {
  const PayloadCase& c = GetParam();
  ChooseFormatAndTab(c.radio, c.tab);
  for (const auto& [tag, text] : c.typed) TypeInto(Field(Current(), tag), U(text));
  EXPECT_EQ(qr->CurrentPayload(), c.payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + c.payload);
}

// 客服 is BF CD B7 FE in code page 936.
INSTANTIATE_TEST_SUITE_P(
    Pages, QrPayloads,
    testing::Values(PayloadCase{1009, 0, {{"N", "客服 Li"}}, "CARD:N:\xBF\xCD\xB7\xFE Li;;"},
                    PayloadCase{1010, 2, {{"SM", "10086"}, {"TXT", "客\nb"}}, "SMS:SM:10086;TXT:\xBF\xCD\r\nb;;"},
                    PayloadCase{1010, 5, {{"BN", "News"}, {"DG", "DY"}, {"SID", "1234"}}, "SAD:DG:DY;SID:1234;BN:News;;"},
                    PayloadCase{1011, 7, {{"IVR", "12590"}, {"ST", " "}}, "IAD:ST: ;IVR:12590;;"}),
    [](const auto& info) { return NameOf(std::string(info.param.payload).substr(0, std::string(info.param.payload).find(':'))); });

TEST_F(QrPage, ControlCharactersAndNulAreBytesOfThePayload) {
  ChooseFormatAndTab(ControlId::FormatUnicom, 8);
  qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"))->setPlainText(QString(QChar(0)) + U("a\x01") + QChar(0) + U("b"));
  const std::string payload("CUSTOM:TEXT:\0a\x01\0b;;", 19);
  EXPECT_EQ(qr->CurrentPayload(), payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + payload);
}

// Text typed on the SMS tab, then the control clicked (for the tab control:
// tab 0 chosen); the values, the SMS field and the symbol end empty.
class QrEmptying : public GuiTest, public testing::WithParamInterface<int> {};

TEST_P(QrEmptying, EmptiesEveryValueFieldAndTheSymbol) {
  const int control = GetParam();
  ContentTabs()->setCurrentIndex(2);
  TypeInto(Field(Current(), "TXT"), U("x"));
  ASSERT_TRUE(qr->HasSymbol());
  if (control == ControlId::ContentTabs) {
    ContentTabs()->setCurrentIndex(0);
  } else {
    QTest::mouseClick(Control<QAbstractButton>(qr, control), Qt::LeftButton);
  }
  EXPECT_EQ(ContentTabs()->currentIndex(), control == ControlId::Reset ? 2 : 0);
  auto* radio = Control<QRadioButton>(qr, control);
  EXPECT_TRUE(radio == nullptr || radio->isChecked());
  for (const std::string& value : qr->FieldValues()) EXPECT_TRUE(value.empty());
  EXPECT_EQ(qr->CurrentPayload(), "");
  EXPECT_FALSE(qr->HasSymbol());
  EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(Field(qr->Page("CDialogTypeSMS"), "TXT"))->toPlainText().isEmpty());
}

// FormatMobileV1 is the checked one.
INSTANTIATE_TEST_SUITE_P(Switches, QrEmptying,
                         testing::Values(ControlId::ContentTabs, ControlId::FormatMobileV1, ControlId::FormatMobileV2,
                                         ControlId::FormatUnicom, ControlId::Reset),
                         [](const auto& info) {
                           switch (info.param) {
                             case ControlId::ContentTabs: return std::string("FirstTab");
                             case ControlId::FormatMobileV1: return std::string("MobileV1");
                             case ControlId::FormatMobileV2: return std::string("MobileV2");
                             case ControlId::FormatUnicom: return std::string("Unicom");
                             default: return std::string("Reset");
                           }
                         });

TEST_F(QrPage, TheSymbolFollowsEveryControlWhileTheVersionOnlyRises) {
  SelectComboItem(Control<QComboBox>(qr, ControlId::VersionList), 1);
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 1)"));
  auto* name = qobject_cast<QLineEdit*>(Field(Current(), "N"));
  TypeInto(name, U("name needing version 3"));  // 33 bytes with the prefix: version 3 at M, 4 at H
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 3)"));
  SelectComboItem(Control<QComboBox>(qr, ControlId::EcLevel), 3);
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 4)"));
  name->setText(U("a"));
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 4)"));
  Control<QSlider>(qr, ControlId::Zoom)->setValue(7);
  EXPECT_EQ(qr->SymbolRect().width(), 33 * 7);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:a;;");
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(qr->CurrentPayload(), "");
  EXPECT_FALSE(qr->HasSymbol());
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 4)"));
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), std::nullopt);
}

}  // namespace
