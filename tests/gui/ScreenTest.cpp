// "从屏幕识别" with a capture that answers with a prepared picture: what it
// finds opens as an opened image's would and is recorded as read from the
// screen; none or several offer a region; a refusal is told in Chinese; a
// cancel changes nothing. Content without a form gets the scanner's actions.
#include "app/BackgroundRead.h"
#include "app/ScreenReading.h"

#include <QClipboard>
#include <QLabel>
#include <QRandomGenerator>

#include "app/OpenImage.h"
#include "app/ScreenDialogs.h"
#include "app/SymbolImage.h"
#include "app/WindowHistory.h"
#include "symbol/SymbolRequest.h"
#include "tests/gui/GuiHelpers.h"
#include "tests/support/Symbols.h"

using namespace quillet;

namespace {

class FakeScreenDialogs : public OpenDialogs {
 public:
  int pick = 0;
  bool region = false;
  TextAction action = TextAction::EditAsText;
  std::vector<QString> messages, links, texts;
  QStringList items;
  QList<QImage> thumbnails;

  QString AskImageFile(QWidget*) override { return {}; }
  int PickSymbol(QWidget*, const QString&, const QStringList&) override { return -1; }
  Choice AskNotHeld(QWidget*, const QString&) override { return Choice::WholeText; }
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
  int PickShown(QWidget*, const QString&, const QStringList& shown, const QList<QImage>& pictures) override {
    items = shown, thumbnails = pictures;
    return std::exchange(pick, -1);  // a region read next is not asked again
  }
  bool AskRegion(QWidget*, const QString& text) override { return messages.push_back(text), std::exchange(region, false); }
  TextAction AskTextAction(QWidget*, const QString& text, const TextActions&) override {
    return texts.push_back(text), action;
  }
  void OpenLink(const QString& address) override { links.push_back(address); }
};

class FakeCapture : public ScreenCapture {
 public:
  explicit FakeCapture(CaptureResult result) : result_(std::move(result)) {}
  void Start(Done done) override {
    QTimer::singleShot(0, this, [this, done] { done(result_); });
  }

 private:
  CaptureResult result_;
};

QImage Qr(const std::string& bytes) {
  SymbolRequest request;
  request.data = bytes;
  return RenderSymbol(MakeSymbol(request).symbol.matrix, 4, 4);
}

// A screen of 1200 x 700 with the symbols at their places.
QImage ScreenWith(std::initializer_list<std::pair<QPoint, QImage>> symbols) {
  QImage screen(1200, 700, QImage::Format_RGB32);
  screen.fill(QColor(200, 210, 230));
  QPainter painter(&screen);
  for (const auto& [place, symbol] : symbols) painter.drawImage(place, symbol);
  return screen;
}

class Screen : public GuiTest {
 protected:
  Screen() { window->SetOpenDialogs(open); }
  // The capture answers `result`; true once the window is back.
  void ReadScreen(const CaptureResult& result) {
    window->Screen().SetCapture([result] { return std::make_unique<FakeCapture>(result); });
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(window->isVisible());  // out of the picture
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Screen().Busy() && !window->Opener().Reading().Busy(); }, 30000));
    EXPECT_TRUE(window->isVisible());
  }
  QString FieldText(const char* tag) { return TextOf(Field(Current(), tag)); }

  FakeScreenDialogs open;
};

TEST_F(Screen, OneSymbolOpensAtOnceAndIsRecordedAsReadFromTheScreen) {
  ChooseFormatAndTab(ControlId::FormatMobileV2, 0);
  ReadScreen({ScreenWith({{QPoint(733, 411), Qr(QrPrefix + "CARD:N:Screen;M:139;;")}})});
  EXPECT_EQ(FieldText("N"), U("Screen"));
  EXPECT_EQ(FieldText("M"), U("139"));
  ASSERT_FALSE(window->History().List().Entries().empty());
  const HistoryEntry& entry = window->History().List().Entries().front();
  EXPECT_EQ(entry.kind, HistoryKind::Screen);
  EXPECT_EQ(entry.place, "屏幕");
  EXPECT_TRUE(open.messages.empty());
}

// Of several, the list shows each where it was; a region read instead
// holds only the symbol dragged over.
TEST_F(Screen, SeveralGiveTheListWithThumbnailsOrARegion) {
  const QImage one = Qr(QrPrefix + "CARD:N:Left;;"), two = Qr(QrPrefix + "CARD:N:Right;;");
  const CaptureResult capture{ScreenWith({{QPoint(40, 300), one}, {QPoint(800, 60), two}})};
  open.pick = OpenDialogs::PickRegion;
  std::optional<QRect> region = QRect(QPoint(780, 40), two.size() + QSize(40, 40));
  window->Screen().SetRegionChooser([&](const QImage& picture) {
    EXPECT_EQ(picture.size(), QSize(1200, 700));  // the whole capture, not the last region
    return std::exchange(region, std::nullopt);
  });
  ReadScreen(capture);
  ASSERT_EQ(open.items.size(), 2);
  ASSERT_EQ(open.thumbnails.size(), 2);
  for (const QImage& thumbnail : open.thumbnails) {
    // A symbol of about its own size with a margin, not the whole screen.
    EXPECT_GE(thumbnail.width(), one.width() * 3 / 4);
    EXPECT_LE(thumbnail.width(), one.width() * 2);
  }
  EXPECT_EQ(FieldText("N"), U("Right"));

  open.pick = 0;
  ReadScreen(capture);
  EXPECT_EQ(FieldText("N"), open.items[0].contains(U("Left")) ? U("Left") : U("Right"));
}

// Nothing found, a region refused or cancelled, a capture refused or
// cancelled: the fields stay as they were.
TEST_F(Screen, NothingReadLeavesTheFieldsAsTheyWere) {
  TypeInto(Field(Current(), "N"), U("王五"));
  const std::string before = qr->CurrentPayload();
  open.region = true;
  window->Screen().SetRegionChooser([](const QImage&) { return std::nullopt; });  // Esc over the overlay
  ReadScreen({ScreenWith({})});
  ASSERT_EQ(open.messages.size(), 1u);
  EXPECT_EQ(open.messages[0], U("在屏幕上没有找到二维码或 DM 码。小的或密集的条码可以框选一个区域来识别。"));
  ReadScreen({{}, CaptureRefusal::None, true});
  ReadScreen({{}, CaptureRefusal::WaylandNoPortal});
  ASSERT_EQ(open.messages.size(), 2u);
  EXPECT_TRUE(open.messages[1].contains(U("Ctrl+V"))) << open.messages[1].toStdString();
  EXPECT_EQ(qr->CurrentPayload(), before);
  EXPECT_TRUE(window->History().List().Entries().empty());
}

// A web address opens in the browser or is copied; only "在文本页中编辑"
// changes the page, to its text tab. Which actions a content is offered is
// ScreenRead.ContentWithoutAFormGetsTheScannersActions'.
TEST_F(Screen, ContentWithoutAFormOffersTheScannersActions) {
  const std::string address = "https://example.com/q?a=1";
  const CaptureResult capture{ScreenWith({{QPoint(300, 200), Qr(address)}})};
  const std::string before = qr->CurrentPayload();
  open.action = OpenDialogs::TextAction::OpenLink;
  ReadScreen(capture);
  EXPECT_EQ(open.links, std::vector{U(address.c_str())});
  open.action = OpenDialogs::TextAction::CopyText;
  ReadScreen(capture);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), U(address.c_str()));
  EXPECT_EQ(qr->CurrentPayload(), before);
  open.action = OpenDialogs::TextAction::EditAsText;
  ReadScreen(capture);
  EXPECT_EQ(qr->CurrentPayload(), address);
  EXPECT_EQ(FindTab(qr->OperatorFormat(), ContentTabs()->currentIndex())->name, "text");
  EXPECT_EQ(open.texts.size(), 3u);
}

QStringList ButtonTexts(const QWidget* dialog) {
  QStringList texts;
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
    if (button->isVisible()) texts << button->text();
  return texts;
}

// The desktop's questions: only the actions that apply are buttons, and
// the list's "框选区域..." asks for a region.
TEST_F(Screen, TheDesktopsQuestionsOfferWhatApplies) {
  using Action = OpenDialogs::TextAction;
  const struct {
    TextActions offered;
    const char* clicked;
    Action answer;
    int buttons;
  } cases[] = {
      {{true, true, true}, "打开链接", Action::OpenLink, 4},
      {{false, true, true}, "复制文本", Action::CopyText, 3},
      {{false, true, true}, "在文本页中编辑", Action::EditAsText, 3},
      {{false, true, true}, "Cancel", Action::Cancel, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clicked);
    Action answer = Action::OpenLink;
    EXPECT_TRUE(AnswerModal<QMessageBox>(
        [&](QMessageBox* box) {
          const QStringList texts = ButtonTexts(box);
          EXPECT_EQ(texts.size(), c.buttons) << texts.join(U(" | ")).toStdString();
          EXPECT_EQ(texts.contains(U("打开链接")), c.offered.openLink);
          for (QAbstractButton* button : box->buttons())
            if (button->text() == U(c.clicked)) return button->click();
          box->reject();
        },
        [&] { answer = AskForTextAction(window.get(), U("https://example.com"), c.offered); }));
    EXPECT_EQ(answer, c.answer);
  }
  int picked = 0;
  EXPECT_TRUE(AnswerModal<QDialog>(
      [](QDialog* dialog) {
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
          if (button->text() == U("框选区域...")) return button->click();
      },
      [&] { picked = PickShownSymbol(window.get(), U("?"), {U("1"), U("2")}, {Qr("a"), QImage()}); }));
  EXPECT_EQ(picked, OpenDialogs::PickRegion);
}

// The overlay over the frozen screen: Esc gives nothing, a drag its
// rectangle in the picture's pixels, which are twice the screen's here.
TEST_F(Screen, TheOverlayGivesTheDraggedRegionOrNothingOnEsc) {
  const QImage picture = ScreenWith({}).scaled(QGuiApplication::primaryScreen()->virtualGeometry().size() * 2);
  const auto overlay = [] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget->isVisible() && widget->cursor().shape() == Qt::CrossCursor) return widget;
    return static_cast<QWidget*>(nullptr);
  };
  const auto answered = [&](const std::function<void(QWidget*)>& answer) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (QWidget* shown = overlay()) poll.stop(), answer(shown);
    });
    poll.start(10);
    return ChooseRegionOnScreen(picture);
  };
  EXPECT_EQ(answered([](QWidget* shown) { QTest::keyClick(shown, Qt::Key_Escape); }), std::nullopt);
  const std::optional<QRect> region = answered([](QWidget* shown) {
    QTest::mousePress(shown, Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseMove(shown, QPoint(200, 150));
    QTest::mouseRelease(shown, Qt::LeftButton, {}, QPoint(100, 100));
  });
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, QRect(QPoint(200, 200), QPoint(599, 399)));
  EXPECT_EQ(answered([](QWidget* shown) { QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(50, 50)); }), std::nullopt);
}

// On a real X server (ctest runs this on Xvfb): another window showing a
// symbol somewhere on the screen is captured with the rest and read.
TEST_F(Screen, OnX11ASymbolShownAnywhereIsRead) {
  if (QGuiApplication::platformName() != U("xcb")) GTEST_SKIP() << "needs an X server";
  const quint32 seed = QRandomGenerator::global()->generate();
  SCOPED_TRACE(seed);
  QRandomGenerator random(seed);
  const QRect desktop = QGuiApplication::primaryScreen()->geometry();
  QLabel shown;
  shown.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  shown.setPixmap(QPixmap::fromImage(Qr(QrPrefix + "CARD:N:X11;M:137;;")));
  shown.adjustSize();
  shown.move(random.bounded(desktop.width() - shown.width()), random.bounded(desktop.height() - shown.height()));
  shown.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
  ChooseFormatAndTab(ControlId::FormatMobileV2, 0);
  window->ReadScreen();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Screen().Busy() && !window->Opener().Reading().Busy(); }, 30000));
  EXPECT_EQ(FieldText("N"), U("X11"));
  EXPECT_EQ(FieldText("M"), U("137"));
  EXPECT_TRUE(open.messages.empty());
}

}  // namespace
