// Reading symbols from the screen: where the picture comes from, what a
// capture's symbols offer, and what a read content the pages have no form
// for offers instead. The window captures and words; this decides.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "content/Recognition.h"
#include "verify/ReadSymbols.h"

namespace quillet {

enum class CaptureRoute { X11, Portal, Unavailable };

// Why there is no picture of the screen.
enum class CaptureRefusal {
  None,
  WaylandNoPortal,  // a Wayland desktop whose screenshot portal does not answer
  NoScreen,         // neither an X server nor a portal
  PortalFailed,     // the portal answered with an error or no picture
  PortalTimedOut,   // the portal never answered
  Unreadable,       // the portal's picture cannot be read
};

struct SessionFacts {
  std::string platform;     // the window system's: "xcb", "wayland", "offscreen", ...
  std::string sessionType;  // the desktop session's: "x11", "wayland", or empty
  bool portalAnswers = false;
};

struct CaptureChoice {
  CaptureRoute route = CaptureRoute::Unavailable;
  CaptureRefusal refusal = CaptureRefusal::None;
};

// X11 is read directly; a Wayland session (even through XWayland, which
// sees no other program's windows) only through the portal.
CaptureChoice ChooseCapture(const SessionFacts& facts);

enum class PortalOutcome { Picture, Cancelled, Failed };
// The screenshot request's answer: 0 with a local file is a picture, 1 the
// user cancelling, anything else a failure.
PortalOutcome InterpretPortalResponse(uint32_t code, bool uriIsLocalFile);

// What a capture's read offers: the one symbol opened at once, or a choice
// among several; a region to read instead when none or several were found.
struct ScreenOffer {
  bool openAtOnce = false;
  bool pick = false;
  bool region = false;
};
ScreenOffer OfferFor(const SymbolsInImage& found, bool fromScreen);

// The part of a picture of `width` x `height` a symbol's thumbnail shows:
// the symbol with a margin, inside the picture.
SymbolBox ThumbnailBox(const SymbolBox& symbol, int width, int height);
// A dragged rectangle, from either corner, inside the picture; none when it
// is too small to hold a symbol.
std::optional<SymbolBox> RegionBox(int x0, int y0, int x1, int y1, int width, int height);
constexpr int MinRegionSide = 21;  // the smallest symbol at one pixel a module

// Read content the pages have no form for: a web address, plain text, or a
// format they do not know.
struct TextActions {
  bool openLink = false;  // an http or https address
  bool copyText = false;
  bool editAsText = false;
};
// Whether the content's page is a form of its own (a card, Wi-Fi, ...),
// rather than a text tab or the general format's address.
bool HasForm(const Recognised& found);
// None apply to content the pages edit (a card, Wi-Fi, ...) or to bytes
// that are no text. `text` is the content as text, empty when it is none.
TextActions ActionsFor(const Recognised& found, std::string_view text);
// Whether the text is one web address a browser may be given.
bool IsWebAddress(std::string_view text);

}  // namespace quillet
