#include "model/ScreenRead.h"

#include <algorithm>

#include "content/Catalogue.h"

namespace quillet {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  // `start` is lower case.
  return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(), [](char lower, char c) {
           return (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) == lower;
         });
}

}  // namespace

// A tab the pages show as a form of its own (even where its fields hold only
// part of what was read); the text tabs and the general format's address
// are no more than the text itself.
bool HasForm(const Recognised& found) {
  if (found.kind == PayloadKind::Text) return false;
  const TabSpec* tab = FindTab(found.page.format, found.page.tab);
  return tab != nullptr && tab->name != "text" && tab->name != "url";
}

CaptureChoice ChooseCapture(const SessionFacts& facts) {
  const bool wayland = facts.sessionType == "wayland" || facts.platform.starts_with("wayland");
  if (wayland) return facts.portalAnswers ? CaptureChoice{CaptureRoute::Portal} : CaptureChoice{CaptureRoute::Unavailable, CaptureRefusal::WaylandNoPortal};
  if (facts.platform == "xcb") return {CaptureRoute::X11};
  if (facts.portalAnswers) return {CaptureRoute::Portal};
  return {CaptureRoute::Unavailable, CaptureRefusal::NoScreen};
}

PortalOutcome InterpretPortalResponse(uint32_t code, bool uriIsLocalFile) {
  if (code == 1) return PortalOutcome::Cancelled;
  return code == 0 && uriIsLocalFile ? PortalOutcome::Picture : PortalOutcome::Failed;
}

ScreenOffer OfferFor(const SymbolsInImage& found, bool fromScreen) {
  const size_t count = found.ImageRead() ? found.symbols.size() : 0;
  return {count == 1, count > 1, fromScreen && found.ImageRead() && count != 1};
}

SymbolBox ThumbnailBox(const SymbolBox& symbol, int width, int height) {
  const int margin = symbol.Side() / 4;
  return {std::clamp(symbol.left - margin, 0, width), std::clamp(symbol.top - margin, 0, height),
          std::clamp(symbol.right + margin, 0, width), std::clamp(symbol.bottom + margin, 0, height)};
}

std::optional<SymbolBox> RegionBox(int x0, int y0, int x1, int y1, int width, int height) {
  const SymbolBox box{std::clamp(std::min(x0, x1), 0, width), std::clamp(std::min(y0, y1), 0, height),
                      std::clamp(std::max(x0, x1), 0, width), std::clamp(std::max(y0, y1), 0, height)};
  if (box.right - box.left < MinRegionSide || box.bottom - box.top < MinRegionSide) return std::nullopt;
  return box;
}

bool IsWebAddress(std::string_view text) {
  if (!StartsWithNoCase(text, "http://") && !StartsWithNoCase(text, "https://")) return false;
  const size_t host = text.find("//") + 2;
  return text.size() > host && std::none_of(text.begin(), text.end(), [](char c) {
           return static_cast<unsigned char>(c) <= ' ' || c == 0x7f;
         });
}

TextActions ActionsFor(const Recognised& found, std::string_view text) {
  if (text.empty() || HasForm(found)) return {};
  return {IsWebAddress(text), true, true};
}

}  // namespace quillet
