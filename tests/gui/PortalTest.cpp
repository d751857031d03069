// The screenshot portal, through a stand-in service on a private session
// bus: its picture is read and opened, a cancel changes nothing, and with
// no portal at all the window says what to do instead.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>

#include "app/BackgroundRead.h"
#include "app/OpenImage.h"
#include "app/ScreenCapture.h"
#include "app/ScreenReading.h"
#include "app/SymbolImage.h"
#include "symbol/SymbolRequest.h"
#include "tests/gui/GuiHelpers.h"
#include "tests/support/Symbols.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

class Messages : public OpenDialogs {
 public:
  std::vector<QString> messages;
  QString AskImageFile(QWidget*) override { return {}; }
  int PickSymbol(QWidget*, const QString&, const QStringList&) override { return 0; }
  Choice AskNotHeld(QWidget*, const QString&) override { return Choice::WholeText; }
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
};

bool PortalRegistered() {
  return QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop"));
}

class Portal : public GuiTest {
 protected:
  Portal() { window->SetOpenDialogs(messages); }
  ~Portal() override {
    portal.kill();
    portal.waitForFinished();
    EXPECT_TRUE(QTest::qWaitFor([] { return !PortalRegistered(); }, 5000));
  }
  // The stand-in answers every Screenshot with `code` and the file.
  void Answer(int code, const std::string& file) {
    portal.start(QStringLiteral(QUILLET_STAND_IN_PORTAL), {QString::number(code), QString::fromStdString(file)});
    ASSERT_TRUE(QTest::qWaitFor(PortalRegistered, 5000));
  }
  CaptureResult Capture() {
    PortalCapture capture(5000);
    std::optional<CaptureResult> result;
    capture.Start([&](const CaptureResult& answered) { result = answered; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 8000));
    return result.value_or(CaptureResult{{}, CaptureRefusal::PortalTimedOut});
  }
  void ReadScreen() {
    window->ReadScreen();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->Screen().Busy() && !window->Opener().Reading().Busy(); }, 30000));
    EXPECT_TRUE(window->isVisible());
  }

  QProcess portal;
  Messages messages;
  TempFolder folder;
};

TEST_F(Portal, ItsPictureIsReadAndOpened) {
  SymbolRequest request;
  request.data = QrPrefix + "CARD:N:Portal;;";
  QImage screen(900, 600, QImage::Format_RGB32);
  screen.fill(Qt::white);
  QPainter(&screen).drawImage(517, 233, RenderSymbol(MakeSymbol(request).symbol.matrix, 4, 4));
  const std::string file = folder.File("Screenshot.png");
  ASSERT_TRUE(screen.save(QString::fromStdString(file)));
  Answer(0, file);
  EXPECT_EQ(ThisSessionsCapture().route, CaptureRoute::Portal);
  const CaptureResult result = Capture();
  EXPECT_EQ(result.refusal, CaptureRefusal::None);
  EXPECT_EQ(result.picture.size(), screen.size());
  ReadScreen();
  EXPECT_EQ(TextOf(Field(Current(), "N")), U("Portal"));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Portal, RefusalsAndACancel) {
  const std::string notAPicture = folder.File("Screenshot.png");
  WriteBytes(notAPicture, "no picture");
  const struct {
    int code;
    std::string file;
    CaptureRefusal refusal;
    bool cancelled;
  } cases[] = {
      {1, "", CaptureRefusal::None, true},
      {2, "", CaptureRefusal::PortalFailed, false},
      {0, "", CaptureRefusal::PortalFailed, false},  // success with no picture
      {0, notAPicture, CaptureRefusal::Unreadable, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    Answer(c.code, c.file);
    const CaptureResult result = Capture();
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_EQ(result.cancelled, c.cancelled);
    EXPECT_TRUE(result.picture.isNull());
    portal.kill();
    portal.waitForFinished();
    ASSERT_TRUE(QTest::qWaitFor([] { return !PortalRegistered(); }, 5000));
  }
}

TEST_F(Portal, NoPortalIsToldWithWhatToDoInstead) {
  const std::string before = qr->CurrentPayload();
  EXPECT_EQ(ThisSessionsCapture().refusal, CaptureRefusal::NoScreen);
  ReadScreen();
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_EQ(messages.messages[0], U("无法截取屏幕：既没有 X11 显示，也没有桌面的截图服务。请先用截图工具截图，再按 Ctrl+V 粘贴到本窗口。"));
  EXPECT_EQ(qr->CurrentPayload(), before);
}

}  // namespace
