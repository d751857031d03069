// The main window around the two pages: its tabs, the start state, the
// pages' captions, and content too long for any symbol on either page.

#include "app/LastChoices.h"
#include "model/StylePresets.h"
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

using MainWindow = GuiTest;

// The program starts on the QR page with its defaults; the DM page has
// encoded nothing before it is first shown. With no symbol, saving and
// copying say so and open no dialog.
TEST_F(MainWindow, StartState) {
  EXPECT_EQ((QStringList{window->Tabs()->tabText(0), window->Tabs()->tabText(1)}), (QStringList{U("QR码"), U("DM码")}));
  EXPECT_TRUE(qr->isVisible());
  EXPECT_FALSE(dm->isVisible());
  EXPECT_EQ(dm->VersionLabelText(), QString());
  EXPECT_TRUE(Control<QRadioButton>(qr, ControlId::FormatMobileV1)->isChecked());
  EXPECT_EQ(ContentTabs()->tabText(ContentTabs()->currentIndex()), U("名片"));
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentText(), U("M级(15%)"));
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::VersionList)->currentText(), U("自动选择"));
  EXPECT_EQ(Control<QSlider>(qr, ControlId::Zoom)->value(), 4);
  EXPECT_EQ(qr->VersionLabelText(), QString());
  EXPECT_EQ(DecodeShownSymbol(qr, DecodeFormat::QrCode), std::nullopt);
  QApplication::clipboard()->clear();
  ClickButton(qr, ControlId::Save);
  dm->CopyAction()->trigger();
  EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>(2, {U("请先生成图片"), true})));
  EXPECT_TRUE(dialogs.asked.empty());
  const QMimeData* clipboard = QApplication::clipboard()->mimeData();
  EXPECT_FALSE(clipboard && clipboard->hasFormat(U("image/png")));
}

// Every caption of the two pages, as the user reads it (the version label,
// the printed size and the style's status, whose texts follow the symbol, aside).
TEST_F(MainWindow, PagesShowTheirCaptions) {
  const std::pair<CSymbolPage*, QStringList> pages[] = {
      {qr,
       {U("中国移动v1.0"), U("中国移动v2.0"), U("中国联通"), U("通用格式"), U("纠错级别"), U("QR版本设定"),
        U(" * 号为必填项，为了保证生成的条码正确解析，请仔细填写！"), U("重填"), U("添加字符集标识 (ECI)"),
        U("样式..."), U("保存二维码图片")}},
      {dm, {U("输入文本"), U("重填"), U("添加字符集标识 (ECI)"), U("DM版本设定"), U("样式..."), U("保存二维码图片")}},
  };
  for (auto [page, expected] : pages) {
    QStringList shown;
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (QStringList{QString::number(ControlId::VersionLabel), U("printedSize"), U("styleStatus")}.contains(child->objectName()))
        continue;
      if (auto* label = qobject_cast<QLabel*>(child)) shown << label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(child)) shown << button->text();
    }
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
  }
}

// A field showing a symbol gets `length` copies of 'x', then '8' typed at its
// end. A null `tag` is the DM page's text.
struct TooLongCase {
  const char* tag;
  int radio, tab, length;
};

class TooLong : public GuiTest, public testing::WithParamInterface<TooLongCase> {};

TEST_P(TooLong, ShowsNoSymbolKeepsEveryByteAndRefusesToSave) {
  const TooLongCase c = GetParam();
  CSymbolPage* page = ShowPage(!c.tag);
  if (c.tag) ChooseFormatAndTab(c.radio, c.tab);
  QWidget* field = c.tag ? Field(Current(), c.tag) : dm->TextBox();
  TypeInto(field, U("x"));
  ASSERT_TRUE(page->HasSymbol());
  const QString text(c.length, u'x');
  field->setProperty(TextProperty(field), text);
  QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
  TypeInto(field, U("8"));
  GrabPage(page);
  const std::string& kept = c.tag ? qr->FieldValues()[FieldSlotOfTag(c.tag)] : dm->Text();
  EXPECT_TRUE(kept == std::string(c.length, 'x') + "8") << kept.size();
  EXPECT_FALSE(page->HasSymbol());
  EXPECT_EQ(page->VersionLabelText(), U("(内容过长)"));
  ClickButton(page, ControlId::Save);
  EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>{{U("内容过长，无法生成图片"), true}}));
  EXPECT_TRUE(dialogs.asked.empty());
}

// 2500 bytes pass the encoder's size guard yet fit no version at level M;
// 1601 codewords are past the 1558 of 144 x 144. A single-line field takes
// more than QLineEdit's default 32767 characters.
INSTANTIATE_TEST_SUITE_P(Pages, TooLong,
                         testing::Values(TooLongCase{"TEXT", ControlId::FormatUnicom, 8, 2500},
                                         TooLongCase{"N", ControlId::FormatMobileV1, 0, 1 << 20},
                                         TooLongCase{nullptr, 0, 0, 1600}),
                         [](const auto& info) {
                           return NameOf(info.param.tag ? info.param.tag : "DmText") + "_" +
                                  std::to_string(info.param.length);
                         });

// A second window opens with the format, tab and level, and the DM size,
// that the first left; an edited settings file with values no list has
// opens as a first run. The settings live in a temporary folder, never the
// user's.
TEST(LastChoices, ASecondWindowOpensWhereTheFirstLeft) {
  QTemporaryDir folder;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
  {
    CDialogMain first;
    CTesselDlg* qr = first.QrPage();
    QTest::mouseClick(Control<QRadioButton>(qr, ControlId::FormatGeneral), Qt::LeftButton);
    qr->ContentTabs()->Bar()->setCurrentIndex(1);
    SelectComboItem(Control<QComboBox>(qr, ControlId::EcLevel), 3);
    SelectComboItem(Control<QComboBox>(first.DmPage(), ControlId::VersionList), 5);
    qr->SetStyle(PageStyle{WithPreset({}, StylePreset::Brand, Symbology::QrCode), {}, {}});
    first.DmPage()->SetStyle(PageStyle{WithPreset({}, StylePreset::Dots, Symbology::DataMatrix), {}, {}});
    SaveLastChoices(first, *UserSettings());
  }
  ASSERT_TRUE(QFile::exists(folder.filePath(U("quillet/quillet.conf"))));
  const auto opened = [] {
    auto window = std::make_unique<CDialogMain>();
    RestoreLastChoices(*window, *UserSettings());
    return window;
  };
  const auto second = opened();
  CTesselDlg* qr = second->QrPage();
  EXPECT_TRUE(Control<QRadioButton>(qr, ControlId::FormatGeneral)->isChecked());
  EXPECT_EQ(qr->ContentTabs()->Bar()->tabText(qr->ContentTabs()->Bar()->currentIndex()), U("Wi-Fi"));
  EXPECT_EQ(qr->CurrentPage()->Definition().className, "CDialogTypeWifi");
  EXPECT_EQ(Control<QComboBox>(qr, ControlId::EcLevel)->currentText(), U("H级(30%)"));
  EXPECT_EQ(Control<QComboBox>(second->DmPage(), ControlId::VersionList)->currentIndex(), 5);
  EXPECT_EQ(second->DmPage()->ChosenSize(), 5);
  // Each page's own style; every value of it comes back as the model's
  // StylePresets.TheStyleComesBackFromItsValues... shows.
  EXPECT_EQ(PresetOf(qr->Style().style, Symbology::QrCode), StylePreset::Brand);
  EXPECT_EQ(PresetOf(second->DmPage()->Style().style, Symbology::DataMatrix), StylePreset::Dots);

  {
    const auto edited = UserSettings();
    edited->setValue(U("qr/format"), 9);
    edited->setValue(U("qr/level"), U("X"));
    edited->setValue(U("dm/size"), U("big"));
    edited->setValue(U("qr/style/moduleShape"), U("stars"));
    edited->setValue(U("qr/style/eyeShape"), U("stars"));
    edited->setValue(U("qr/style/foreground"), U("blue"));
    edited->setValue(U("qr/style/eyeColour"), U(""));
    edited->setValue(U("dm/style/moduleShape"), U("rounded"));
    edited->setValue(U("dm/style/foreground"), U("#000000"));
  }
  const auto third = opened();
  EXPECT_TRUE(Control<QRadioButton>(third->QrPage(), ControlId::FormatMobileV1)->isChecked());
  EXPECT_EQ(third->QrPage()->CurrentPage()->Definition().className, "CDialogTypeCard");
  EXPECT_EQ(Control<QComboBox>(third->QrPage(), ControlId::EcLevel)->currentText(), U("M级(15%)"));
  EXPECT_EQ(Control<QComboBox>(third->DmPage(), ControlId::VersionList)->currentIndex(), 0);
  EXPECT_TRUE(third->QrPage()->Style().style.IsPlain());
  EXPECT_TRUE(third->DmPage()->Style().style.IsPlain());
}

}  // namespace
