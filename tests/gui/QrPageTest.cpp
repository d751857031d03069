// The QR page driven through its widgets: every edit re-encodes, switches
// empty everything, the version list raises and keeps, and what the picture
// shows decodes to 0x01 0x10 and the payload.
#include "content/Catalogue.h"
#include "tests/gui/GuiHelpers.h"

namespace {

using QrPage = GuiTest;

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

// A non-breaking space stays one (GB18030 81 30 84 32), not a blank.
TEST_F(QrPage, ControlCharactersNulAndNoBreakSpaceAreBytesOfThePayload) {
  ChooseFormatAndTab(ControlId::FormatUnicom, 8);
  qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"))
      ->setPlainText(QString(QChar(0)) + U("a\x01") + QChar(0) + U("b") + QChar(0xA0) + U("c"));
  const std::string payload("CUSTOM:TEXT:\0a\x01\0b\x81\x30\x84\x32" "c;;", 24);
  EXPECT_EQ(qr->CurrentPayload(), payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + payload);
}

// The selected version is the floor of every encoding: a longer text raises
// the version, a shorter one brings it back down; with no symbol the label
// names no version.
TEST_F(QrPage, TheSymbolFollowsEveryControlAndTheVersionFallsBackToTheSelectedOne) {
  SelectComboItem(Control<QComboBox>(qr, ControlId::VersionList), 1);
  EXPECT_EQ(qr->VersionLabelText(), QString());
  auto* name = qobject_cast<QLineEdit*>(Field(Current(), "N"));
  TypeInto(name, U("name needing version 3"));  // 33 bytes with the prefix: version 3 at M, 4 at H
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 3)"));
  SelectComboItem(Control<QComboBox>(qr, ControlId::EcLevel), 3);
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 4)"));
  name->setText(U("a"));  // 12 bytes: version 2 at H
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 2)"));
  Control<QSlider>(qr, ControlId::Zoom)->setValue(7);
  EXPECT_EQ(qr->SymbolRect().width(), 25 * 7);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:a;;");
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(qr->CurrentPayload(), "");
  EXPECT_FALSE(qr->HasSymbol());
  EXPECT_EQ(qr->VersionLabelText(), QString());
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), std::nullopt);
}

// Item k of the version list encodes one character in version k; "自动选择"
// starts from the smallest. 50 bytes with the prefix need version 3 at level
// L, 4 at M, 5 at Q, 6 at H.
TEST_F(QrPage, EveryVersionAndLevelItemEncodesAsItSays) {
  auto* versions = Control<QComboBox>(qr, ControlId::VersionList);
  ASSERT_EQ(versions->count(), 14);
  auto* name = qobject_cast<QLineEdit*>(Field(Current(), "N"));
  TypeInto(name, U("a"));
  for (int item = 1; item <= 13; ++item) {
    SCOPED_TRACE(item);
    EXPECT_EQ(versions->itemText(item), U("版本 %1").arg(item));
    SelectComboItem(versions, item);
    EXPECT_EQ(qr->VersionLabelText(), U("(版本: %1)").arg(item));
    ASSERT_EQ(qr->Symbol().Columns(), 17 + 4 * item);
    EXPECT_EQ(DecodeSymbol(qr->Symbol(), DecodeFormat::QrCode), QrPrefix + "CARD:N:a;;");
  }
  SelectComboItem(versions, 0);
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 1)"));
  name->setText(QString(39, u'n'));
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 4)"));
  auto* levels = Control<QComboBox>(qr, ControlId::EcLevel);
  const QStringList items = {U("L级(7%)"), U("M级(15%)"), U("Q级(25%)"), U("H级(30%)")};
  ASSERT_EQ(levels->count(), items.size());
  for (int item = 0; item < 4; ++item) {
    SCOPED_TRACE(item);
    EXPECT_EQ(levels->itemText(item), items[item]);
    SelectComboItem(levels, item);
    EXPECT_EQ(qr->VersionLabelText(), U("(版本: %1)").arg(3 + item));
    EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:" + std::string(39, 'n') + ";;");
  }
}

// After each radio the tab row is that format's (which page a tab shows, the
// tab order proves).
TEST_F(QrPage, EachFormatShowsItsTabs) {
  const std::pair<int, int> radios[] = {{ControlId::FormatMobileV2, 2}, {ControlId::FormatUnicom, 3}, {ControlId::FormatMobileV1, 1}};
  for (const auto& [radio, format] : radios) {
    QTest::mouseClick(Control<QRadioButton>(qr, radio), Qt::LeftButton);
    std::vector<std::string> shown, expected;
    for (int tab = 0; tab < ContentTabs()->count(); ++tab) shown.push_back(ContentTabs()->tabText(tab).toStdString());
    for (const TabSpec& tab : FindOperatorFormat(format)->tabs) expected.emplace_back(tab.caption);
    EXPECT_EQ(shown, expected) << format;
  }
}

// 2937 characters on the custom page are 2953 bytes with the prefix: version
// 40 at level L holds them, one more fits nothing.
TEST_F(QrPage, ThePayloadThatExactlyFillsVersion40AtLevelLIsEncoded) {
  ChooseFormatAndTab(ControlId::FormatUnicom, 8);
  SelectComboItem(Control<QComboBox>(qr, ControlId::EcLevel), 0);
  auto* text = qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"));
  text->setPlainText(QString(2937, u'x'));
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 40)"));
  EXPECT_EQ(DecodeSymbol(qr->Symbol(), DecodeFormat::QrCode), QrPrefix + "CUSTOM:TEXT:" + std::string(2937, 'x') + ";;");
  text->setPlainText(QString(2938, u'x'));
  EXPECT_EQ(qr->VersionLabelText(), U("(内容过长)"));
  EXPECT_FALSE(qr->HasSymbol());
}

}  // namespace
