// Reading from the screen: which capture a session gets, how the portal's
// answers read, what a capture offers, and the actions read content gets.
#include "model/ScreenRead.h"

#include <gtest/gtest.h>

#include "content/Catalogue.h"

using namespace quillet;

namespace {

TEST(ScreenRead, TheSessionChoosesTheCapture) {
  struct Case {
    SessionFacts facts;
    CaptureRoute route;
    CaptureRefusal refusal;
  };
  const Case cases[] = {
      {{"xcb", "x11", false}, CaptureRoute::X11, CaptureRefusal::None},
      {{"xcb", "", true}, CaptureRoute::X11, CaptureRefusal::None},
      // XWayland sees only this program's windows: the portal, or nothing.
      {{"xcb", "wayland", true}, CaptureRoute::Portal, CaptureRefusal::None},
      {{"xcb", "wayland", false}, CaptureRoute::Unavailable, CaptureRefusal::WaylandNoPortal},
      {{"wayland", "", true}, CaptureRoute::Portal, CaptureRefusal::None},
      {{"wayland-egl", "wayland", false}, CaptureRoute::Unavailable, CaptureRefusal::WaylandNoPortal},
      {{"offscreen", "", true}, CaptureRoute::Portal, CaptureRefusal::None},
      {{"offscreen", "", false}, CaptureRoute::Unavailable, CaptureRefusal::NoScreen},
  };
  for (const Case& c : cases) {
    const CaptureChoice choice = ChooseCapture(c.facts);
    EXPECT_EQ(choice.route, c.route) << c.facts.platform << " " << c.facts.sessionType;
    EXPECT_EQ(choice.refusal, c.refusal) << c.facts.platform << " " << c.facts.sessionType;
  }
}

TEST(ScreenRead, ThePortalsAnswers) {
  EXPECT_EQ(InterpretPortalResponse(0, true), PortalOutcome::Picture);
  EXPECT_EQ(InterpretPortalResponse(0, false), PortalOutcome::Failed);  // a uri that is no local file
  EXPECT_EQ(InterpretPortalResponse(1, true), PortalOutcome::Cancelled);
  EXPECT_EQ(InterpretPortalResponse(1, false), PortalOutcome::Cancelled);
  EXPECT_EQ(InterpretPortalResponse(2, true), PortalOutcome::Failed);
}

TEST(ScreenRead, ACaptureOffersARegionWhereItFoundNoneOrSeveral) {
  SymbolsInImage found;
  const auto offer = [&](size_t count, bool screen) {
    found.symbols.resize(count);
    const ScreenOffer o = OfferFor(found, screen);
    return std::tuple{o.openAtOnce, o.pick, o.region};
  };
  EXPECT_EQ(offer(0, true), std::tuple(false, false, true));
  EXPECT_EQ(offer(1, true), std::tuple(true, false, false));
  EXPECT_EQ(offer(3, true), std::tuple(false, true, true));
  EXPECT_EQ(offer(0, false), std::tuple(false, false, false));
  EXPECT_EQ(offer(3, false), std::tuple(false, true, false));
  found.problem.failure = ImageReadFailure::Damaged;
  EXPECT_EQ(offer(0, true), std::tuple(false, false, false));
}

TEST(ScreenRead, ThumbnailsAndRegionsStayInsideThePicture) {
  struct Box {
    int left, top, right, bottom;
  };
  const auto same = [](std::optional<SymbolBox> box, Box want) {
    return box && box->left == want.left && box->top == want.top && box->right == want.right && box->bottom == want.bottom;
  };
  EXPECT_TRUE(same(ThumbnailBox({100, 100, 140, 140}, 1000, 800), {90, 90, 150, 150}));
  EXPECT_TRUE(same(ThumbnailBox({0, 770, 40, 800}, 1000, 800), {0, 760, 50, 800}));
  EXPECT_TRUE(same(RegionBox(300, 250, 100, 50, 1000, 800), {100, 50, 300, 250}));  // dragged up and left
  EXPECT_TRUE(same(RegionBox(-50, 700, 200, 900, 1000, 800), {0, 700, 200, 800}));  // past the edges
  EXPECT_TRUE(same(RegionBox(0, 0, MinRegionSide, MinRegionSide, 1000, 800), {0, 0, MinRegionSide, MinRegionSide}));
  EXPECT_FALSE(RegionBox(10, 10, 10 + MinRegionSide - 1, 200, 1000, 800));  // a click, or a sliver
  EXPECT_FALSE(RegionBox(990, 10, 1100, 200, 1000, 800));                   // mostly off the picture
}

// What recognition makes of real payloads decides; the card has a form.
TEST(ScreenRead, ContentWithoutAFormGetsTheScannersActions) {
  struct Case {
    std::string bytes;
    int format;
    bool openLink, copyText, editAsText;
  };
  const Case cases[] = {
      {"https://example.com/a?b=c", 1, true, true, true},
      {"https://example.com/a?b=c", GeneralFormat, true, true, true},
      {"HTTP://EXAMPLE.COM", GeneralFormat, true, true, true},
      {"just some words", GeneralFormat, false, true, true},
      {"javascript:alert(1)", GeneralFormat, false, true, true},
      {"https://example.com/a b", GeneralFormat, false, true, true},  // no single address
      {"https://", GeneralFormat, false, true, true},
      {"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Li Lei\r\nTEL:138\r\nEND:VCARD", GeneralFormat, false, false, false},
      {"WIFI:T:WPA;S:home;P:secret;;", GeneralFormat, false, false, false},
  };
  for (const Case& c : cases) {
    const Recognised found = RecognisePayload(c.bytes, c.format);
    const TextActions actions = ActionsFor(found, c.bytes);
    EXPECT_EQ(std::tuple(actions.openLink, actions.copyText, actions.editAsText),
              std::tuple(c.openLink, c.copyText, c.editAsText))
        << c.bytes;
  }
  EXPECT_FALSE(ActionsFor(RecognisePayload("\xff\xfe", 1), "").copyText);  // no text at all
}

}  // namespace
