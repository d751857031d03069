// The QR page driven through its widgets: every edit re-encodes, the version
// list raises and keeps, and what the picture shows decodes to 0x01 0x10 and
// the payload.
#include "content/Catalogue.h"
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

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

// Item k of the version list encodes in version k at least: a longer text
// raises the version, a shorter one falls back to the selected one; with no
// symbol the label names no version. 50 bytes with the prefix need version 3
// at level L, 4 at M, 5 at Q, 6 at H.
TEST_F(QrPage, EveryVersionAndLevelItemIsTheFloorOfTheEncoding) {
  auto* versions = Control<QComboBox>(qr, ControlId::VersionList);
  auto* levels = Control<QComboBox>(qr, ControlId::EcLevel);
  auto* name = qobject_cast<QLineEdit*>(Field(Current(), "N"));
  ASSERT_EQ(versions->count(), 14);
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
  name->setText(QString(39, u'n'));
  const QStringList items = {U("L级(7%)"), U("M级(15%)"), U("Q级(25%)"), U("H级(30%)")};
  ASSERT_EQ(levels->count(), items.size());
  for (int item = 0; item < 4; ++item) {
    SCOPED_TRACE(item);
    EXPECT_EQ(levels->itemText(item), items[item]);
    SelectComboItem(levels, item);
    EXPECT_EQ(qr->VersionLabelText(), U("(版本: %1)").arg(3 + item));
    EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:" + std::string(39, 'n') + ";;");
  }
  SelectComboItem(versions, 1);
  name->setText(U("a"));  // 12 bytes: version 2 at H
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 2)"));
  QTest::keyClick(name, Qt::Key_End);
  QTest::keyClick(name, Qt::Key_Backspace);
  EXPECT_EQ(qr->CurrentPayload(), "");
  EXPECT_EQ(qr->VersionLabelText(), QString());
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), std::nullopt);
}

// After each radio the tab row is that format's, not the one before's (which
// page a tab shows, the tab order proves).
TEST_F(QrPage, EachFormatShowsItsTabs) {
  for (const auto& [radio, format] : {std::pair{ControlId::FormatMobileV2, 2}, {ControlId::FormatUnicom, 3},
                                     {ControlId::FormatGeneral, GeneralFormat}, {ControlId::FormatMobileV1, 1}}) {
    QTest::mouseClick(Control<QRadioButton>(qr, radio), Qt::LeftButton);
    std::vector<std::string> shown, expected;
    for (int tab = 0; tab < ContentTabs()->count(); ++tab) shown.push_back(ContentTabs()->tabText(tab).toStdString());
    for (const TabSpec& tab : FindOperatorFormat(format)->tabs) expected.emplace_back(tab.caption);
    EXPECT_EQ(shown, expected) << format;
  }
}

}  // namespace
