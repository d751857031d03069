// The QR and DM pages' models without a display: what goes over between
// formats, what Ctrl+Z brings back, the
// version floor and the level, and the DM page's growing size. Symbols are
// read back with the independent decoders.
#include <gtest/gtest.h>

#include "model/DmPageModel.h"
#include "model/QrPageModel.h"
#include "tests/support/Decode.h"

using namespace quillet;

namespace {

// A style with a small opaque logo.
SymbolStyle WithLogo(std::optional<double> share = std::nullopt) {
  SymbolStyle style;
  style.logo = std::make_shared<const RgbaImage>(RgbaImage{2, 2, std::vector<uint8_t>(16, 255)});
  style.logoShare = share;
  return style;
}

const std::string QrPrefix = "\x01\x10";

std::optional<std::string> Decoded(const SymbolResult& result, DecodeFormat format) {
  const ModuleMatrix& m = result.symbol.matrix;
  if (m.Empty()) return std::nullopt;
  return DecodeModules(m.Columns(), m.Rows(), [&](int x, int y) { return m.IsDark(x, y); }, format);
}

int Slot(const char* tag) { return FieldSlotOfTag(tag); }

void Type(QrPageModel& page, const FieldValues& fields) {
  for (const auto& [slot, value] : fields) page.SetField(slot, value);
}

// The page's format and tab chosen, then its fields typed.
void Fill(QrPageModel& page, FormatTab shown, const FieldValues& fields) {
  page.SwitchFormat(shown.format);
  page.SwitchTab(shown.tab);
  Type(page, fields);
}

TEST(QrPageModel, StartsWithTheFirstFormatsCardAndNoSymbol) {
  const QrPageModel page;
  EXPECT_EQ(page.Page(), (FormatTab{1, 0}));
  EXPECT_EQ(page.Result().failure, SymbolFailure::NothingToEncode);
  EXPECT_EQ(page.ShownVersion(), 0);
  EXPECT_EQ(page.LevelInForce(), DefaultQrLevel);
}

TEST(QrPageModel, AValueTheCodePageCannotCarryIsAFieldProblemNamingIt) {
  QrPageModel page;
  page.SetField(Slot("N"), "a\xFF");
  EXPECT_EQ(page.Result().failure, SymbolFailure::FieldNotCarried);
  EXPECT_EQ(page.Result().field.failure, FieldFailure::NotInCodePage);
  EXPECT_EQ(page.Result().field.slot, Slot("N"));
  EXPECT_EQ(page.Result().field.text.offset, 1u);
  EXPECT_EQ(page.Payload(), "");
}

// 50 bytes with the prefix need version 3 at L, 4 at M, 5 at Q, 6 at H; a
// chosen version is the floor, and a shorter text falls back to it.
TEST(QrPageModel, TheVersionIsTheFloorAndTheLevelRaisesIt) {
  QrPageModel page;
  page.SetField(Slot("N"), std::string(39, 'n'));
  for (const auto& [level, version] : {std::pair{QrLevel::L, 3}, {QrLevel::M, 4}, {QrLevel::Q, 5}, {QrLevel::H, 6}}) {
    page.ChooseLevel(level);
    EXPECT_EQ(page.ShownVersion(), version);
  }
  page.ChooseVersion(9);
  EXPECT_EQ(page.ShownVersion(), 9);
  page.SetField(Slot("N"), "a");
  EXPECT_EQ(page.ShownVersion(), 9);
  page.ChooseVersion(0);
  EXPECT_EQ(page.ShownVersion(), 2);
  page.SetField(Slot("N"), "");
  EXPECT_EQ(page.Result().failure, SymbolFailure::NothingToEncode);
  EXPECT_EQ(page.ShownVersion(), 0);
  EXPECT_EQ(page.Settings().level, QrLevel::H);
}

TEST(QrPageModel, ALogoRaisesALevelNobodyPickedToH) {
  QrPageModel page;
  page.SetField(Slot("N"), "x");
  page.SetLogo(WithLogo());
  EXPECT_EQ(page.LevelInForce(), QrLevel::H);
  EXPECT_EQ(page.Result().symbol.level, QrLevel::H);
  page.ChooseLevel(QrLevel::L);
  EXPECT_EQ(page.LevelInForce(), QrLevel::L);
  page.SetLogo({});
  EXPECT_EQ(page.LevelInForce(), QrLevel::L);
}

// Between an operator format and 通用格式 the card's shared fields go over;
// Ctrl+Z takes the switch back, and a second one changes nothing.
struct CarryCase {
  const char* name;
  FormatTab from;
  FieldValues typed;
  int to;
  FieldValues shown;  // the values after the switch
};

class CarryOver : public testing::TestWithParam<CarryCase> {};

TEST_P(CarryOver, TheCardKeepsWhatBothPagesShowAndUndoGoesBack) {
  const CarryCase& c = GetParam();
  QrPageModel page;
  Fill(page, c.from, c.typed);
  const std::string payload = page.Payload();
  page.SwitchFormat(c.to);
  EXPECT_EQ(page.Page(), (FormatTab{c.to, 0}));
  EXPECT_EQ(page.Filled(), c.shown);
  for (int undo = 0; undo < 2; ++undo) {
    EXPECT_EQ(page.Undo(), undo == 0);
    EXPECT_EQ(page.Page(), c.from);
    EXPECT_EQ(page.Payload(), payload);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CarryOver,
    testing::Values(CarryCase{"ToVCard", {1, 0}, {{Slot("N"), "客服 Li"}, {Slot("COR"), "中国移动"}}, GeneralFormat,
                              {{Slot("N"), "客服 Li"}, {Slot("COR"), "中国移动"}}},
                    CarryCase{"DialToCard", {GeneralFormat, 3}, {{Slot("TEL"), "010 1234"}}, 3, {{Slot("TEL"), "010 1234"}}},
                    CarryCase{"FromVCard", {GeneralFormat, 0}, {{Slot("N"), "张三"}, {Slot("NOTE"), "备注"}}, 2,
                              {{Slot("N"), "张三"}}},
                    CarryCase{"OperatorToOperator", {1, 0}, {{Slot("N"), "x"}}, 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// "重填", a tab or the format shown again empty the page; Ctrl+Z brings it
// back until the next keystroke.
TEST(QrPageModel, EmptyingIsTakenBackUntilTheNextKeystroke) {
  const std::vector<std::pair<const char*, void (*)(QrPageModel&)>> emptyings = {
      {"Reset", [](QrPageModel& p) { p.Reset(); }},
      {"FirstTab", [](QrPageModel& p) { p.SwitchTab(0); }},
      {"SameFormat", [](QrPageModel& p) { p.SwitchFormat(1); }},
      {"TwoTabs", [](QrPageModel& p) { p.SwitchTab(4), p.SwitchTab(3); }}};
  for (const auto& [name, empty] : emptyings) {
    SCOPED_TRACE(name);
    QrPageModel page;
    page.SwitchTab(2);
    Type(page, {{Slot("SM"), "10086"}, {Slot("TXT"), "第一行\r\n2"}});
    const FieldValueArray values = page.Values();
    empty(page);
    EXPECT_EQ(page.Payload(), "");
    EXPECT_TRUE(page.Filled().empty());
    ASSERT_TRUE(page.Undo());
    EXPECT_EQ(page.Page(), (FormatTab{1, 2}));
    EXPECT_EQ(page.Values(), values);
    page.Reset();
    page.SetField(Slot("SM"), "1");
    EXPECT_FALSE(page.Undo());
    EXPECT_EQ(page.Payload(), "SMS:SM:1;;");
  }
}

// Opening shows the symbol's page, fields and level as one step; a value a
// drop-down does not offer shows its first choice.
TEST(QrPageModel, OpeningIsOneStepThatUndoTakesBack) {
  QrPageModel page;
  page.SetField(Slot("N"), "before");
  FieldValueArray opened;
  opened[Slot("SSID")] = "咖啡馆";
  opened[Slot("PWD")] = "secret";
  opened[Slot("ENC")] = "no such";
  opened[Slot("N")] = "not on the page";
  page.Open({GeneralFormat, 1}, opened, QrLevel::Q);
  EXPECT_EQ(page.Page(), (FormatTab{GeneralFormat, 1}));
  EXPECT_EQ(page.LevelInForce(), QrLevel::Q);
  EXPECT_EQ(page.Values()[Slot("N")], "");
  EXPECT_EQ(page.Payload(), "WIFI:T:WPA;S:咖啡馆;P:secret;;");
  EXPECT_EQ(page.FileNameHint(), "咖啡馆");
  // The opened level holds under a logo some version of it spares, not under a larger one.
  page.SetLogo(WithLogo(0.1));
  EXPECT_EQ(page.LevelInForce(), QrLevel::Q);
  page.SetLogo(WithLogo(0.45));
  EXPECT_EQ(page.LevelInForce(), QrLevel::H);
  page.SetLogo({});
  ASSERT_TRUE(page.Undo());
  EXPECT_EQ(page.Page(), (FormatTab{1, 0}));
  EXPECT_EQ(page.LevelInForce(), DefaultQrLevel);
  EXPECT_EQ(page.Payload(), "CARD:N:before;;");
}

// What the page opens with next time: a stored page or level that no list
// has (an edited settings file) falls back to where a first run starts.
struct RestoreCase {
  const char* name;
  QrPageChoices stored;
  FormatTab page;
  QrLevel level;
  bool levelChosen;
};

class Restore : public testing::TestWithParam<RestoreCase> {};

TEST_P(Restore, OpensWhereTheLastRunLeftOrWhereAFirstRunStarts) {
  const RestoreCase& c = GetParam();
  QrPageModel page;
  page.SetField(Slot("N"), "typed");
  page.Restore(c.stored);
  EXPECT_EQ(page.Page(), c.page);
  EXPECT_EQ(page.LevelInForce(), c.level);
  EXPECT_EQ(page.Choices(), (QrPageChoices{c.page.format, c.page.tab, QrLevelPosition(c.level), c.levelChosen}));
  EXPECT_TRUE(page.Filled().empty());
  EXPECT_FALSE(page.Undo());  // what was typed before is no step to take back
  // A style's check raises only a level nobody picked.
  EXPECT_EQ(page.Settings().levelChosen, c.levelChosen);
  // A logo raises only a level nobody picked.
  page.SetLogo(WithLogo());
  EXPECT_EQ(page.LevelInForce(), c.levelChosen ? c.level : QrLevel::H);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, Restore,
    testing::Values(RestoreCase{"GeneralWifiLevelHChosen", {GeneralFormat, 1, 3, true}, {GeneralFormat, 1}, QrLevel::H, true},
                    RestoreCase{"UnicomLastTabLevelQFromAnOpenedSymbol", {3, 8, 2, false}, {3, 8}, QrLevel::Q, false},
                    RestoreCase{"FirstRun", {}, {1, 0}, QrLevel::M, false},
                    RestoreCase{"TabPastTheFormatsLast", {2, 7, 0, true}, {1, 0}, QrLevel::L, true},
                    RestoreCase{"NegativeTab", {GeneralFormat, -1, 0, true}, {1, 0}, QrLevel::L, true},
                    RestoreCase{"FormatZero", {0, 0, 1, false}, {1, 0}, QrLevel::M, false},
                    RestoreCase{"FormatPastTheLast", {OperatorFormatCount + 1, 0, 1, false}, {1, 0}, QrLevel::M, false},
                    RestoreCase{"LevelPastH", {GeneralFormat, 2, 4, true}, {GeneralFormat, 2}, QrLevel::M, false},
                    RestoreCase{"LevelUnreadable", {1, 3, -1, true}, {1, 3}, QrLevel::M, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QrPageModel, TheChoicesMadeAreTheChoicesToOpenWith) {
  QrPageModel used;
  used.SwitchFormat(GeneralFormat);
  used.SwitchTab(4);
  used.ChooseLevel(QrLevel::Q);
  QrPageModel next;
  next.Restore(used.Choices());
  EXPECT_EQ(next.Page(), (FormatTab{GeneralFormat, 4}));
  EXPECT_EQ(next.LevelInForce(), QrLevel::Q);
  EXPECT_EQ(next.Choices(), used.Choices());
}

// A field the catalogue marks with "*" is always required; the Wi-Fi
// password is while the security chosen takes one.
struct RequiredCase {
  const char* name;
  FormatTab page;
  FieldValues typed;
  const char* tag;
  bool required;
};

class Required : public testing::TestWithParam<RequiredCase> {};

TEST_P(Required, TheCatalogueOrAChoiceMakesAFieldRequired) {
  const RequiredCase& c = GetParam();
  QrPageModel page;
  Fill(page, c.page, c.typed);
  EXPECT_EQ(page.Required(Slot(c.tag)), c.required);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Required,
    testing::Values(RequiredCase{"WifiPasswordUnderTheFirstChoice", {GeneralFormat, 1}, {}, "PWD", true},
                    RequiredCase{"WifiPasswordUnderWep", {GeneralFormat, 1}, {{Slot("ENC"), "WEP"}}, "PWD", true},
                    RequiredCase{"WifiPasswordOfAnOpenNetwork", {GeneralFormat, 1}, {{Slot("ENC"), "nopass"}}, "PWD", false},
                    RequiredCase{"WifiPasswordBackToWpa", {GeneralFormat, 1}, {{Slot("ENC"), "nopass"}, {Slot("ENC"), "WPA"}}, "PWD", true},
                    RequiredCase{"WifiNetworkName", {GeneralFormat, 1}, {{Slot("ENC"), "nopass"}}, "SSID", true},
                    RequiredCase{"WifiHiddenBox", {GeneralFormat, 1}, {}, "HIDDEN", false},
                    RequiredCase{"CardName", {1, 0}, {}, "N", true},
                    RequiredCase{"CardMobile", {1, 0}, {}, "M", false},
                    RequiredCase{"NotOnThePage", {1, 0}, {}, "PWD", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Catalogue, ACaptionIsMarkedRequiredOnceOrNotAtAll) {
  EXPECT_EQ(CaptionMarked("密码:", true), "* 密码:");
  EXPECT_EQ(CaptionMarked("* 网络名称:", true), "* 网络名称:");
  EXPECT_EQ(CaptionMarked("* 网络名称:", false), "网络名称:");
  EXPECT_EQ(CaptionMarked("密码:", false), "密码:");
}

// The DM page grows from the chosen size while the text does not fit, keeps
// the grown size for a shorter text, and starts again from a size chosen.
TEST(DmPageModel, GrowsFromTheChosenSizeAndKeepsTheGrownOne) {
  DmPageModel page;
  EXPECT_EQ(page.Result().failure, SymbolFailure::NothingToEncode);
  page.SetText("ABC");  // three codewords: the 10 x 10 capacity
  EXPECT_EQ(page.Result().symbol.matrix.Columns(), 10);
  page.SetText("ABC\r\nD");
  EXPECT_EQ(page.Result().symbol.matrix.Columns(), 14);
  EXPECT_EQ(Decoded(page.Result(), DecodeFormat::DataMatrix), "ABC\r\nD");
  page.SetText("A");
  EXPECT_EQ(page.Result().symbol.matrix.Columns(), 14);
  EXPECT_EQ(page.Settings().dmSize, 0);
  page.ChooseSize(0);
  EXPECT_EQ(page.Result().symbol.matrix.Columns(), 10);
  page.SetText(std::string(3200, '#'));
  EXPECT_TRUE(page.TooLong());
  EXPECT_EQ(page.ShownSize(), DmSquareSizeCount - 1);
}

// From the chosen size the page grows to the next size that holds the text,
// never past it, and the choice stays. Side 0: too long. Data codewords:
// 32 x 32 holds 62, 144 x 144 1558; two digits make one codeword, but never
// the first: 3115 digits are the most that fit.
struct GrowCase {
  int chosen;
  std::string text;
  int side;
};

class DmGrowth : public testing::TestWithParam<GrowCase> {};

TEST_P(DmGrowth, GrowsToTheNextSizeThatHoldsTheText) {
  const GrowCase& c = GetParam();
  DmPageModel page;
  page.ChooseSize(c.chosen);
  page.SetText(c.text);
  EXPECT_EQ(page.Settings().dmSize, c.chosen);
  EXPECT_EQ(page.TooLong(), c.side == 0);
  if (c.side == 0) return;
  ASSERT_EQ(page.Result().symbol.matrix.Columns(), c.side);
  // zxing 1.4 does not read the interleaving of 144 x 144; the encoder's tests check it.
  if (c.side < 144) {
    EXPECT_EQ(Decoded(page.Result(), DecodeFormat::DataMatrix), c.text);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, DmGrowth,
                         testing::Values(GrowCase{8, std::string(50, 'A'), 32}, GrowCase{0, std::string(1500, 'A'), 144},
                                         GrowCase{0, std::string(3115, '7'), 144}, GrowCase{0, std::string(3116, '7'), 0}));

TEST(DmPageModel, TextIsEncodedAsItsCodePageBytesAndEciIsASetting) {
  DmPageModel page;
  page.SetText("客服");
  EXPECT_EQ(page.TextBytes(), "\xBF\xCD\xB7\xFE");
  EXPECT_EQ(Decoded(page.Result(), DecodeFormat::DataMatrix), "\xBF\xCD\xB7\xFE");
  page.SetEci(true);
  EXPECT_EQ(page.Settings().eci, true);
  EXPECT_TRUE(page.Settings().dmGrowSize);
}

// 通用格式 names UTF-8 unless the user says otherwise; the operator formats
// name nothing unless asked. A choice made stays over format switches.
TEST(QrPageModel, TheEciBoxFollowsTheFormatUntilTheUserSetsIt) {
  const struct {
    int format;
    std::optional<bool> set;  // the box as the user sets it
    bool inForce;
    std::string designator;  // zxing-cpp's in front of the bytes
  } steps[] = {
      {1, std::nullopt, false, ""},       {GeneralFormat, std::nullopt, true, "\\000026"},
      {GeneralFormat, false, false, ""},  {1, std::nullopt, false, ""},
      {1, true, true, "\\000029"},      {GeneralFormat, std::nullopt, true, "\\000026"},
  };
  QrPageModel page;
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    page.SwitchFormat(step.format);
    page.SetField(Slot("N"), "张三");
    if (step.set) page.SetEci(*step.set);
    EXPECT_EQ(page.EciInForce(), step.inForce);
    const ModuleMatrix& m = page.Result().symbol.matrix;
    const std::string bytes =
        ZxingEciBytes(m.Columns(), m.Rows(), [&](int x, int y) { return m.IsDark(x, y); }, DecodeFormat::QrCode);
    EXPECT_TRUE(bytes.starts_with(step.designator + (step.format == 1 ? QrPrefix : "BEGIN:VCARD"))) << Printable(bytes);
  }
}

// The name a save suggests: the first field in the page's order that holds
// more than it starts with, however the fields were typed.
TEST(QrPageModel, TheFileNameHintIsTheFirstFieldTyped) {
  QrPageModel page;
  EXPECT_EQ(page.FileNameHint(), "");
  page.SetField(Slot("M"), "13800138000");
  EXPECT_EQ(page.FileNameHint(), "13800138000");
  page.SetField(Slot("N"), "张三");
  EXPECT_EQ(page.FileNameHint(), "张三");
}

}  // namespace
