// The style dialog driven through its widgets, its questions answered from a
// script: the page shows every change at once, the logo's slider ends where
// the level's bound does, the style outlives "重填" and is what save and copy
// write, and colours the rules refuse are named with their ratio.
#include <cmath>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include "app/BatchDialog.h"
#include "app/BatchReasons.h"
#include "app/StyleDialog.h"
#include "app/StyleFrameRows.h"
#include "image/StylePresets.h"
#include "image/StyledSymbol.h"
#include "qr/LogoBound.h"
#include "tests/gui/GuiHelpers.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

class FakeStyleDialogs : public StyleDialogs {
 public:
  std::deque<QColor> colours;  // one per colour question; cancels when none is left
  std::optional<QString> logoFile;
  std::vector<QString> messages;

  std::optional<QColor> AskColour(QWidget*, const QColor&, const QString&) override {
    if (colours.empty()) return std::nullopt;
    const QColor colour = colours.front();
    return colours.pop_front(), colour;
  }
  std::optional<QString> AskLogoFile(QWidget*, const QString&) override { return logoFile; }
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
};

const std::string CardAbc = QrPrefix + "CARD:N:abc;;";
const QColor Navy(0x1f, 0x3a, 0x93);
const QColor Cream(0xff, 0xf4, 0xd6);

class Style : public GuiTest {
 protected:
  void SetUp() override {
    qr->SetStyleDialogs(&styleDialogs);
    dm->SetStyleDialogs(&styleDialogs);
    TypeInto(Field(Current(), "N"), U("abc"));
    QImage logo(64, 64, QImage::Format_RGB32);  // red: neither dark nor light to a decoder
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(LogoPath()));
  }
  QString LogoPath() const { return folder.filePath(U("logo.png")); }

  // The dialog as "样式..." opens it, left open for the test to drive.
  std::unique_ptr<CStyleDlg> Open(CSymbolPage* page) { return std::make_unique<CStyleDlg>(*page, styleDialogs); }
  void SetColours(CStyleDlg& dialog, const QColor& foreground, const QColor& background) {
    styleDialogs.colours = {foreground, background};
    dialog.ForegroundButton()->click();
    dialog.BackgroundButton()->click();
  }
  void ChooseLogo(CStyleDlg& dialog) {
    styleDialogs.logoFile = LogoPath();
    dialog.LogoButton()->click();
  }
  // The status once the read-back under way has ended.
  static QString StatusOf(CSymbolPage* page) {
    EXPECT_TRUE(QTest::qWaitFor([page] { return !page->StyleCheckPending(); }, 30000));
    return page->StyleStatusText();
  }
  // The picture of the page's symbol as shown, cut to the symbol.
  static QImage Shown(CSymbolPage* page) { return GrabPage(page).copy(page->SymbolRect()); }

  FakeStyleDialogs styleDialogs;
  QTemporaryDir folder;
};

// Module (0, 0) is dark in both symbologies (a finder's corner, the top of
// Data Matrix's solid left edge); (7, 0) of a QR Code is its separator and
// (1, 0) of a Data Matrix the light step of its clock track.
struct PreviewCase {
  bool dm;
  QColor foreground, background;
  QPoint lightModule;  // a module known light
};

class StylePreview : public Style, public testing::WithParamInterface<PreviewCase> {};

// Every change shows at once; "取消" puts the plain symbol back. Data Matrix
// takes no logo, and the dialog says why.
TEST_P(StylePreview, ShowsEveryChangeAtOnceAndCancelPutsItBack) {
  const PreviewCase& c = GetParam();
  CSymbolPage* page = ShowPage(c.dm);
  if (c.dm) TypeInto(dm->TextBox(), U("abc"));
  auto dialog = Open(page);
  EXPECT_EQ(dialog->LogoButton()->isEnabled(), !c.dm);
  if (c.dm) {
    EXPECT_EQ(dialog->LogoNote()->text(), U("Data Matrix 码不支持标志图片：它的纠错无法承受中间被遮住。"));
  }
  SetColours(*dialog, c.foreground, c.background);
  const int scale = page->Scale();
  EXPECT_EQ(QColor(Shown(page).pixel(1, 1)), c.foreground);
  EXPECT_EQ(QColor(Shown(page).pixel(c.lightModule.x() * scale + 1, c.lightModule.y() * scale + 1)), c.background);
  EXPECT_EQ(StatusOf(page), U("已校验: 可扫描（7/7 种拍摄条件可读）"));
  EXPECT_EQ(DecodePicture(GrabPage(page).copy(page->PictureArea()), c.dm ? DecodeFormat::DataMatrix : DecodeFormat::QrCode),
            c.dm ? "abc" : CardAbc);
  dialog->CancelButton()->click();
  EXPECT_EQ(QColor(Shown(page).pixel(1, 1)), QColor(Qt::black));
  EXPECT_TRUE(page->Style().style.IsPlain() && page->StyleStatusText().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Pages, StylePreview,
                         testing::Values(PreviewCase{false, Navy, Cream, {7, 0}},
                                         PreviewCase{true, QColor(0x7a, 0x1f, 0x1f), QColor(0xe8, 0xf0, 0xff), {1, 0}}),
                         [](const auto& info) { return std::string(info.param.dm ? "DmPage" : "QrPage"); });

// The slider ends at the largest pad the level's bound allows at any
// version the symbol may grow to, and the symbol grown reads back; until a
// level is picked, a logo raises it to H, and a level picked afterwards holds.
TEST_F(Style, TheLogoSliderEndsWhereTheLevelAllowsAndALogoRaisesAnUnchosenLevel) {
  auto* levels = Control<QComboBox>(qr, ControlId::EcLevel);
  TypeInto(Field(Current(), "N"), QString(40, u'x'));  // version 4 at H, 3 at L
  const std::string payload = QrPrefix + "CARD:N:abc" + std::string(40, 'x') + ";;";
  auto dialog = Open(qr);
  ChooseLogo(*dialog);
  EXPECT_EQ(levels->currentIndex(), 3);  // H, as nobody chose M
  dialog->TransparentBox()->setChecked(true);
  EXPECT_FALSE(qr->Style().style.logoShare);  // the default size until the slider moves
  EXPECT_EQ(qr->Choice().symbol.level, QrLevel::H);
  for (int item = 3; item >= 0; --item) {
    SCOPED_TRACE(item);
    SelectComboItem(levels, item);
    dialog->RemoveLogoButton()->click();  // the slider follows the level at once; a fresh logo as well
    ChooseLogo(*dialog);
    EXPECT_EQ(levels->currentIndex(), item);
    QSlider* slider = dialog->LogoSizeSlider();
    ASSERT_TRUE(slider->isEnabled());
    slider->setValue(slider->minimum());
    slider->setValue(slider->maximum());
    // The symbol grows to the size the slider asks, whose pad its bound allows.
    const int version = (qr->Symbol().Columns() - 17) / 4;
    EXPECT_TRUE(LogoPadDamage(version, *QrLevelAt(item), qr->RoomForLogo().padModules).Allowed());
    EXPECT_GE(qr->RoomForLogo().padModules, MinLogoPad);
    // The largest logo H and Q allow costs zbar this symbol under a camera
    // condition that no version within reach mends: the verdict names it.
    if (item >= 2) EXPECT_TRUE(StatusOf(qr).contains(U("拍摄条件“"))) << StatusOf(qr).toStdString();
    else EXPECT_EQ(StatusOf(qr), U("已校验: 可扫描（7/7 种拍摄条件可读）"));
    EXPECT_EQ(DecodePicture(GrabPage(qr).copy(qr->PictureArea()), DecodeFormat::QrCode), payload);
  }
}

// A logo grown into its symbol, then a version chosen too small for it:
// the refusal says in Chinese how large it may be, without codewords, as
// the dialog's hint does.
TEST_F(Style, ALogoTooLargeForTheVersionChosenIsRefusedInWords) {
  auto dialog = Open(qr);
  ChooseLogo(*dialog);
  QSlider* slider = dialog->LogoSizeSlider();
  slider->setValue(30);
  EXPECT_GT(qr->Symbol().Columns(), 25);  // grown past version 2 for the logo
  SelectComboItem(Control<QComboBox>(qr, ControlId::VersionList), 1);  // at least version 1
  const int version = (qr->Symbol().Columns() - 17) / 4;  // what the card's data needs
  EXPECT_LT(version, 6);
  const QString refusal = U("标志太大，这个码放不下：H级(30%)下最多为边长的 %1%。换小一点的标志，或选择更大的版本，就能放下。")
                              .arg(std::floor(LargestLogoShareOf(version, QrLevel::H, qr->Style().style) * 100));
  EXPECT_EQ(qr->StyleStatusText(), refusal);
  EXPECT_EQ(dialog->ProblemText()->text(), refusal);
}

// A round logo with a clear background: the pad follows its outline by
// default, and the choice of a square pad clears its whole box, which
// allows no larger a logo (LogoPad.* reads both back).
TEST_F(Style, TheLogoPadFollowsARoundLogoOrFillsItsBox) {
  QImage round(64, 64, QImage::Format_ARGB32);
  round.fill(Qt::transparent);
  QPainter painter(&round);
  painter.setBrush(Qt::red);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(0, 0, 64, 64);
  painter.end();
  const QString path = folder.filePath(U("round.png"));
  ASSERT_TRUE(round.save(path));
  auto dialog = Open(qr);
  styleDialogs.logoFile = path;
  dialog->LogoButton()->click();
  QComboBox* pad = dialog->LogoPadBox();
  ASSERT_TRUE(pad->isEnabled());
  EXPECT_EQ(pad->currentText(), U("随标志轮廓"));
  EXPECT_EQ(qr->Style().style.logoPad, LogoPad::Shape);
  const int shapeLargest = dialog->LogoSizeSlider()->maximum();
  SelectComboItem(pad, 1);
  EXPECT_EQ(qr->Style().style.logoPad, LogoPad::Square);
  EXPECT_LE(dialog->LogoSizeSlider()->maximum(), shapeLargest);
  EXPECT_EQ(StatusOf(qr), U("已校验: 可扫描（7/7 种拍摄条件可读）"));
}

// "样式..." opens the dialog; "重填" empties the fields, not the style,
// which batch from the page takes too; the clear button removes it.
TEST_F(Style, SurvivesResetAndTheClearButtonRemovesIt) {
  ASSERT_TRUE(AnswerModal<CStyleDlg>(
      [&](CStyleDlg* dialog) {
        SetColours(*dialog, Navy, Cream);
        dialog->OkButton()->click();
      },
      [&] { ClickButton(qr, ControlId::Style); }));
  ClickButton(qr, ControlId::Reset);
  EXPECT_FALSE(qr->HasSymbol());
  TypeInto(Field(Current(), "N"), U("abc"));
  EXPECT_EQ(QColor(Shown(qr).pixel(1, 1)), Navy);
  EXPECT_EQ(ToQColor(BatchPageOf(qr->Choice()).image.style.foreground), Navy);
  auto dialog = Open(qr);
  dialog->ClearButton()->click();
  dialog->OkButton()->click();
  EXPECT_TRUE(qr->Style().style.IsPlain());
  EXPECT_EQ(QColor(Shown(qr).pixel(1, 1)), QColor(Qt::black));
}

// A preset sets the shapes and colours at once (what each holds and that it
// reads back is StylePresets.*'); a shape set by hand names no preset; the
// DM page offers only what Data Matrix takes.
TEST_F(Style, PresetsSetShapesAndColoursAndTheDmPageOffersNoEyes) {
  auto dialog = Open(qr);
  QComboBox* presets = dialog->PresetBox();
  ASSERT_EQ(presets->count(), 5);  // 经典 圆点 圆角 品牌 (自定义)
  presets->setCurrentIndex(presets->findText(U("品牌")));
  emit presets->activated(presets->currentIndex());
  EXPECT_EQ(PresetOf(qr->Style().style, Symbology::QrCode), StylePreset::Brand);
  EXPECT_EQ(dialog->ModuleShapeBox()->currentText(), U("圆角"));
  EXPECT_FALSE(dialog->EyeSameColourBox()->isChecked());
  SelectComboItem(dialog->ModuleShapeBox(), dialog->ModuleShapeBox()->findText(U("圆点")));
  EXPECT_EQ(qr->Style().style.moduleShape, ModuleShape::Dots);
  EXPECT_EQ(presets->currentText(), U("(自定义)"));
  dialog->OkButton()->click();

  auto dmDialog = Open(dm);
  EXPECT_EQ(dmDialog->PresetBox()->count(), 3);  // 经典 圆点 (自定义)
  EXPECT_EQ(dmDialog->ModuleShapeBox()->count(), 2);
  EXPECT_TRUE(dmDialog->EyeShapeBox()->isHidden());
}

// The dialog shows the page's picture itself, as it may cover the page's:
// a new shape shows there at once, the preview reads as the page's symbol,
// and the check's verdict stands beside it, a refusal in red.
TEST_F(Style, TheDialogPreviewsEveryChangeWithItsVerdict) {
  auto dialog = Open(qr);
  const auto previewed = [&] { return dialog->Preview()->pixmap().toImage(); };
  const QImage plain = previewed();
  ASSERT_FALSE(plain.isNull());
  EXPECT_TRUE(dialog->PreviewVerdict()->text().isEmpty());
  SelectComboItem(dialog->ModuleShapeBox(), dialog->ModuleShapeBox()->findText(U("圆点")));
  const QImage dots = previewed();
  EXPECT_NE(dots, plain);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !qr->StyleCheckPending(); }, 30000));
  EXPECT_EQ(dialog->PreviewVerdict()->text(), U("已校验: 可扫描（7/7 种拍摄条件可读）"));
  QImage framed(dots.width() + 40, dots.height() + 40, QImage::Format_RGB32);
  framed.fill(Qt::white);
  QPainter(&framed).drawImage(20, 20, dots);
  EXPECT_EQ(DecodePicture(framed, DecodeFormat::QrCode), CardAbc);
  SetColours(*dialog, QColor(0x99, 0x99, 0x99), Qt::white);
  EXPECT_EQ(dialog->PreviewVerdict()->text(), qr->StyleStatusText());
  EXPECT_NE(dialog->PreviewVerdict()->styleSheet().indexOf(U("red")), -1);
  EXPECT_NE(previewed(), dots);
}

// A gradient and a frame chosen in the dialog: the second colour and the
// frame's own controls wait for their choice, the page shows the caption's
// band over the symbol in the frame colour and counts it in the printed
// size, and batch takes the frame (the files framed are Frames.*'). A
// caption no frame draws is refused in words, and the dialog cannot keep it.
TEST_F(Style, AGradientAndAFrameShowOnThePageAndInTheFile) {
  const QColor wine(0x7a, 0x1f, 0x1f);
  auto dialog = Open(qr);
  CStyleFrameRows* rows = dialog->FrameRows();
  EXPECT_FALSE(rows->SecondColourButton()->isEnabled() || rows->FramePositionBox()->isEnabled() ||
               rows->FrameColourButton()->isEnabled());
  SelectComboItem(rows->GradientBox(), rows->GradientBox()->findText(U("径向")));
  ASSERT_TRUE(rows->SecondColourButton()->isEnabled());
  styleDialogs.colours = {Navy};
  rows->SecondColourButton()->click();
  TypeInto(rows->FrameTextEdit(), U("扫一扫，加我为联系人"));
  SelectComboItem(rows->FramePositionBox(), rows->FramePositionBox()->findText(U("上方")));
  styleDialogs.colours = {wine};
  rows->FrameColourButton()->click();
  const SymbolStyle& style = qr->Style().style;
  EXPECT_TRUE(style.HasGradient() && style.foreground2 == ToRgb(Navy));
  EXPECT_EQ(style.frameText, "扫一扫，加我为联系人");
  EXPECT_EQ(style.framePosition, FramePosition::Above);
  const QImage shown = Shown(qr);
  EXPECT_GT(shown.height(), shown.width());  // the band
  EXPECT_EQ(QColor(shown.pixel(1, 1)), wine);
  EXPECT_TRUE(qr->PrintedSizeText().contains(U(" × "))) << qr->PrintedSizeText().toStdString();
  // Batch from the page draws in its frame, and its dialog says so.
  EXPECT_TRUE(BatchPageText(BatchPageOf(qr->Choice())).endsWith(U("，边框文字“扫一扫，加我为联系人”(上方)")));
  EXPECT_EQ(StatusOf(qr), U("已校验: 可扫描（7/7 种拍摄条件可读）"));
  EXPECT_TRUE(dialog->OkButton()->isEnabled());

  TypeInto(rows->FrameTextEdit(), QString(60, u'x'));
  EXPECT_EQ(dialog->ProblemText()->text(), U("边框文字须为一行，最多 64 个字符"));
  EXPECT_FALSE(dialog->OkButton()->isEnabled());
}

// A caption of only blanks is no frame, as an empty one: nothing shows and
// nothing is refused. Blanks still being typed around a caption stay in the
// field. A script drawn only shaped is named as such, not as a character the
// font lacks.
TEST_F(Style, ABlankCaptionIsNoFrameAndAShapedScriptIsNamedAsSuch) {
  auto dialog = Open(qr);
  CStyleFrameRows* rows = dialog->FrameRows();
  const auto retype = [rows](const QString& text) {
    QTest::keyClick(rows->FrameTextEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(rows->FrameTextEdit(), Qt::Key_Backspace);
    TypeInto(rows->FrameTextEdit(), text);
  };
  retype(U("\u3000 \u3000"));
  EXPECT_FALSE(qr->Style().style.HasFrame());
  EXPECT_FALSE(rows->FramePositionBox()->isEnabled());
  const QImage shown = Shown(qr);
  EXPECT_EQ(shown.height(), shown.width());  // no band
  EXPECT_TRUE(dialog->ProblemText()->text().isEmpty()) << dialog->ProblemText()->text().toStdString();
  EXPECT_TRUE(dialog->OkButton()->isEnabled());
  EXPECT_EQ(rows->FrameTextEdit()->text(), U("\u3000 \u3000"));

  retype(U(" 扫一扫 "));
  EXPECT_EQ(qr->Style().style.frameText, "扫一扫");
  EXPECT_EQ(rows->FrameTextEdit()->text(), U(" 扫一扫 "));

  retype(U("扫 مرحبا"));
  EXPECT_EQ(dialog->ProblemText()->text(), U("边框文字中的“م”属于需要连写整形的文字（如阿拉伯文、泰文），暂不支持绘制"));
  EXPECT_FALSE(dialog->OkButton()->isEnabled());
  retype(U("扫\U0001F600"));
  EXPECT_EQ(dialog->ProblemText()->text(), U("边框文字的字体中没有“\U0001F600”，该字会显示为空框"));
}

// A file that is no logo is named with why, and the logo stays.
TEST_F(Style, AFileThatIsNoLogoSaysWhyAndKeepsTheLogo) {
  WriteBytes(folder.filePath(U("notes.png")).toStdString(), "just text");
  auto dialog = Open(qr);
  ChooseLogo(*dialog);
  styleDialogs.logoFile = folder.filePath(U("notes.png"));
  dialog->LogoButton()->click();
  EXPECT_EQ(styleDialogs.messages, std::vector<QString>{U("无法使用标志图片 notes.png：\n不是 PNG、JPEG 或 SVG 图片。")});
  EXPECT_EQ(qr->Style().logoFile, LogoPath().toStdString());
  // A PNG cut after its signature: libpng's English reason is not pasted in.
  WriteBytes(folder.filePath(U("cut.png")).toStdString(), "\x89PNG\r\n\x1a\n");
  styleDialogs.logoFile = folder.filePath(U("cut.png"));
  dialog->LogoButton()->click();
  EXPECT_EQ(styleDialogs.messages.back(), U("无法使用标志图片 cut.png：\n图片已损坏。"));
  EXPECT_EQ(qr->Style().logoFile, LogoPath().toStdString());
}

// Saved and copied in the style: the files' pixels in its colours (a clear
// quiet zone where the background is transparent), and decoding.
struct StyledFileCase {
  const char* name;
  int filterEntry;
  bool transparent;
  bool logo;
};

class StyledFiles : public Style, public testing::WithParamInterface<StyledFileCase> {};

TEST_P(StyledFiles, SaveAndCopyWriteTheStyle) {
  const StyledFileCase& c = GetParam();
  auto dialog = Open(qr);
  SetColours(*dialog, Navy, Cream);
  dialog->TransparentBox()->setChecked(c.transparent);
  if (c.logo) ChooseLogo(*dialog);
  dialog->accept();
  ASSERT_EQ(StatusOf(qr), U("已校验: 可扫描（7/7 种拍摄条件可读）"));
  dialogs.answers.emplace_back(folder.filePath(U(c.name)), c.filterEntry);
  ClickButton(qr, ControlId::Save);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.at(0).first.toStdString();
  QApplication::clipboard()->clear();
  qr->CopyAction()->trigger();
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(copied && copied->hasFormat(U("image/png")));
  const QImage images[] = {QImage(folder.filePath(U(c.name))), QImage::fromData(copied->data(U("image/png")))};
  const int quiet = 2 * qr->Scale();
  for (const QImage& image : images) {
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(QColor(image.pixel(quiet + 1, quiet + 1)), Navy);
    if (c.transparent) EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
    else EXPECT_EQ(QColor(image.pixel(1, 1)), Cream);
    EXPECT_EQ(DecodePicture(image, DecodeFormat::QrCode), CardAbc);  // a clear pixel keeps its light colour
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, StyledFiles,
                         testing::Values(StyledFileCase{"a.png", 4, false, false}, StyledFileCase{"b.png", 4, true, true},
                                         StyledFileCase{"c.bmp", 1, false, true}, StyledFileCase{"d.gif", 3, true, false}),
                         [](const auto& info) { return NameOf(info.param.name); });

// Worked by hand: #999999 has relative luminance 0.3185, so on white the
// ratio is 1.05 / 0.3685 = 2.85; white on black is 21, but inverted. A
// refused style is shown with why; nothing is saved and the dialog cannot
// keep it until its override is ticked.
struct RefusalCase {
  QColor foreground, background;
  const char* why;
  bool inverted;
};

class Refusals : public Style, public testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, NameTheColoursAndTheRatioAndSaveNothingUntilAllowed) {
  const RefusalCase& c = GetParam();
  auto dialog = Open(qr);
  SetColours(*dialog, c.foreground, c.background);
  EXPECT_EQ(qr->StyleStatusText(), U(c.why));
  EXPECT_EQ(dialog->ProblemText()->text(), U(c.why));
  EXPECT_FALSE(dialog->OkButton()->isEnabled());
  dialogs.answers.emplace_back(folder.filePath(U("refused.png")), 4);
  ClickButton(qr, ControlId::Save);
  EXPECT_EQ(dialogs.messages, (std::vector<std::pair<QString, bool>>{{U("当前样式的条码无法使用：\n") + U(c.why), true}}));
  (c.inverted ? dialog->InvertedBox() : dialog->LowContrastBox())->setChecked(true);
  EXPECT_NE(StatusOf(qr), U(c.why));
  EXPECT_TRUE(dialog->OkButton()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Colours, Refusals,
    testing::Values(RefusalCase{QColor(0x99, 0x99, 0x99), Qt::white,
                                "对比度不足：#999999 在 #ffffff 上的对比度为 2.85:1，至少需要 3:1。", false},
                    RefusalCase{Qt::white, Qt::black, "反色：模块 #ffffff 比背景 #000000 更浅 (对比度 21.00:1)，许多扫描器不识别。",
                                true}),
    [](const auto& info) { return std::string(info.param.inverted ? "Inverted" : "LowContrast"); });

}  // namespace
