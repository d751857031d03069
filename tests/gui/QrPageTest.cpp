// The QR page driven through its widgets: every edit re-encodes, each item of
// the version and level lists reaches the encoding, and what the picture
// shows decodes to 0x01 0x10 and the payload.
#include "content/Catalogue.h"
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

using QrPage = GuiTest;

// What each format composes is the page model's, tested without a display:
// here typed text, Enter and an input method's commit reach it.
TEST_F(QrPage, TypedFieldsReachThePayloadAndTheSymbolCarriesIt) {
  ChooseFormatAndTab(ControlId::FormatMobileV2, 2);
  TypeInto(Field(Current(), "SM"), U("10086"));
  TypeInto(Field(Current(), "TXT"), U("客\nb"));  // 客 is BF CD in code page 936
  EXPECT_EQ(qr->CurrentPayload(), "SMS:SM:10086;TXT:\xBF\xCD\r\nb;;");
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + qr->CurrentPayload());
}

// A non-breaking space stays one (GB18030 81 30 84 32), not a blank.
TEST_F(QrPage, ControlCharactersNulAndNoBreakSpaceAreBytesOfThePayload) {
  ChooseFormatAndTab(ControlId::FormatUnicom, 8);
  qobject_cast<QPlainTextEdit*>(Field(Current(), "TEXT"))
      ->setPlainText(QString(QChar(0)) + U("a\x01") + QChar(0) + U("b") + QChar(0xA0) + U("c"));
  const std::string payload("CUSTOM:TEXT:\0a\x01\0b\x81\x30\x84\x32" "c;;", 24);
  EXPECT_EQ(qr->CurrentPayload(), payload);
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + payload);
}

// An item of the version list encodes in that version at least, a level
// item at its level; with no symbol the label names no version. How the
// floor and the level choose the version is QrPageModel.TheVersionIsTheFloorAndTheLevelRaisesIt's.
// 50 bytes with the prefix need version 3 at level L, 4 at M, 5 at Q, 6 at H.
TEST_F(QrPage, TheVersionAndLevelItemsReachTheEncoding) {
  auto* versions = Control<QComboBox>(qr, ControlId::VersionList);
  auto* levels = Control<QComboBox>(qr, ControlId::EcLevel);
  auto* name = qobject_cast<QLineEdit*>(Field(Current(), "N"));
  ASSERT_EQ(versions->count(), 14);
  TypeInto(name, U("a"));
  EXPECT_EQ(versions->itemText(7), U("版本 7"));
  SelectComboItem(versions, 7);
  EXPECT_EQ(qr->VersionLabelText(), U("(版本: 7)"));
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:a;;");
  SelectComboItem(versions, 0);
  name->setText(QString(39, u'n'));
  EXPECT_EQ((QStringList{levels->itemText(0), levels->itemText(1), levels->itemText(2), levels->itemText(3)}),
            (QStringList{U("L级(7%)"), U("M级(15%)"), U("Q级(25%)"), U("H级(30%)")}));
  for (const auto& [item, version] : {std::pair{0, 3}, {1, 4}, {2, 5}, {3, 6}}) {
    SelectComboItem(levels, item);
    EXPECT_EQ(qr->VersionLabelText(), U("(版本: %1)").arg(version));
    EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), QrPrefix + "CARD:N:" + std::string(39, 'n') + ";;");
  }
  QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(name, Qt::Key_Backspace);
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
