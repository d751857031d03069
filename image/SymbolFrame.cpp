#include "image/SymbolFrame.h"

#include <cmath>
#include <cstdio>

namespace quillet {

int NextCharacter(std::string_view text, size_t at, char32_t* character) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const int length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  char32_t value = length == 1 ? lead : lead & (0x7f >> length);
  for (int i = 1; i < length; ++i) {
    if (byte(at + i) >> 6 != 2) return 0;
    value = value << 6 | (byte(at + i) & 0x3f);
  }
  static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < Smallest[length] || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff)) return 0;
  *character = value;
  return length;
}

std::string CodePointName(char32_t character) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(character));
  return text;
}

namespace {

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029; }

// White space, and the zero-width spaces, which draw nothing either.
bool IsBlank(char32_t c) {
  return (c >= 0x09 && c <= 0x0d) || c == 0x20 || c == 0x85 || c == 0xa0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200b) ||
         c == 0x2028 || c == 0x2029 || c == 0x202f || c == 0x205f || c == 0x2060 || c == 0x3000 || c == 0xfeff;
}

// Straight edges in pixels, each going down (dir +1) or up (-1).
struct Edge {
  double x0, y0, x1, y1;
  int dir;
};

struct EdgeCollector {
  double scale;
  std::vector<Edge> edges{};
  double x = 0, y = 0, startX = 0, startY = 0;
  void Add(double toX, double toY) {
    if (toY != y) edges.push_back(toY > y ? Edge{x, y, toX, toY, 1} : Edge{toX, toY, x, y, -1});
    x = toX;
    y = toY;
  }
  void Move(double px, double py) {
    Close();
    x = startX = px * scale;
    y = startY = py * scale;
  }
  void Line(double px, double py) { Add(px * scale, py * scale); }
  // A cubic in as many straight pieces as keep it within about a tenth of a pixel.
  void Curve(double ax, double ay, double bx, double by, double cx, double cy) {
    const double x0 = x, y0 = y, x1 = ax * scale, y1 = ay * scale, x2 = bx * scale, y2 = by * scale;
    const double x3 = cx * scale, y3 = cy * scale;
    const double hull = std::hypot(x1 - x0, y1 - y0) + std::hypot(x2 - x1, y2 - y1) + std::hypot(x3 - x2, y3 - y2);
    const int pieces = std::clamp(static_cast<int>(std::ceil(std::sqrt(hull * 2))), 1, 64);
    for (int i = 1; i <= pieces; ++i) {
      const double t = static_cast<double>(i) / pieces, u = 1 - t;
      Add(u * u * u * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x3,
          u * u * u * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y3);
    }
  }
  void Close() { Add(startX, startY); }
};

// Rows of a pixel sampled for coverage; across a row coverage is exact.
constexpr int SubRows = 5;

// Adds the span [from, to) of one sub-row to the row's coverage.
void AddSpan(std::vector<double>& row, double from, double to) {
  const int width = static_cast<int>(row.size());
  from = std::clamp(from, 0.0, static_cast<double>(width));
  to = std::clamp(to, 0.0, static_cast<double>(width));
  if (to <= from) return;
  const int first = static_cast<int>(from), last = std::min(width - 1, static_cast<int>(to));
  if (first == last) {
    row[first] += to - from;
    return;
  }
  row[first] += first + 1 - from;
  for (int x = first + 1; x < last; ++x) row[x] += 1;
  row[last] += to - last;
}

}  // namespace

CaptionCheck CheckCaptionText(std::string_view text) {
  int characters = 0;
  for (size_t at = 0; at < text.size();) {
    char32_t character = 0;
    const int length = NextCharacter(text, at, &character);
    if (length == 0) return {CaptionProblem::NotUtf8, {}};
    if (IsControl(character)) return {CaptionProblem::ControlCharacter, CodePointName(character)};
    at += length;
    ++characters;
  }
  if (characters > MaxCaptionCharacters) return {CaptionProblem::TooLong, std::to_string(characters)};
  return {};
}

std::string TrimCaption(std::string_view text) {
  size_t first = text.size(), end = 0;
  for (size_t at = 0; at < text.size();) {
    char32_t character = 0;
    const int length = NextCharacter(text, at, &character);
    const size_t next = at + std::max(length, 1);
    if (length == 0 || !IsBlank(character)) {
      first = std::min(first, at);
      end = next;
    }
    at = next;
  }
  return first < end ? std::string(text.substr(first, end - first)) : std::string();
}

namespace {

struct CharacterRange {
  char32_t first, last;
};

constexpr CharacterRange ShapedScripts[] = {
    {0x0590, 0x08ff},    // Hebrew, Arabic, Syriac, Thaana, N'Ko, Samaritan, Mandaic
    {0x0900, 0x0dff},    // Devanagari to Sinhala
    {0x0e00, 0x0fff},    // Thai, Lao, Tibetan
    {0x1000, 0x109f},    // Myanmar
    {0x1780, 0x18af},    // Khmer, Mongolian
    {0x1a00, 0x1c4f},    // Buginese, Tai Tham, Balinese, Sundanese, Batak, Lepcha
    {0xa800, 0xa8ff},    // Syloti Nagri, Phags-pa, Saurashtra, Devanagari extended
    {0xa980, 0xaaff},    // Javanese, Cham, Myanmar extended, Tai Viet
    {0xfb1d, 0xfdff},    // Hebrew and Arabic presentation forms
    {0xfe70, 0xfefe},    // Arabic presentation forms B
    {0x10800, 0x10fff},  // historic scripts written right to left
    {0x11000, 0x11fff},  // historic Brahmic scripts
    {0x1e800, 0x1efff},  // Mende Kikakui, Adlam, Arabic mathematical letters
};

bool NeedsShaping(char32_t character) {
  for (const CharacterRange& range : ShapedScripts)
    if (character >= range.first && character <= range.last) return true;
  return false;
}

}  // namespace

CaptionCheck CheckCaptionScript(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    char32_t character = 0;
    const int length = NextCharacter(text, at, &character);
    if (length == 0) return {CaptionProblem::NotUtf8, {}};
    if (NeedsShaping(character)) return {CaptionProblem::NeedsShaping, std::string(text.substr(at, length))};
    at += length;
  }
  return {};
}

// Centred in the band less half a module on every side, at most 0.6 of the
// band's height a font size, smaller when the line is wider than the band.
CaptionPlacement PlaceCaption(const CaptionOutline& outline, const FrameLayout& layout) {
  constexpr double Margin = 0.5, SizeOfBand = 0.6;
  const double roomWidth = layout.symbolWidth - 2 * Margin, roomHeight = layout.bandHeight - 2 * Margin;
  const double inkWidth = outline.right - outline.left, inkHeight = outline.bottom - outline.top;
  double size = SizeOfBand * layout.bandHeight;
  if (inkWidth > 0) size = std::min(size, roomWidth / inkWidth);
  if (inkHeight > 0) size = std::min(size, roomHeight / inkHeight);
  const double centreX = layout.symbolLeft + layout.symbolWidth / 2.0;
  const double centreY = layout.bandTop + layout.bandHeight / 2.0;
  return {size, centreX - size * (outline.left + outline.right) / 2, centreY - size * (outline.top + outline.bottom) / 2};
}

std::vector<uint8_t> CaptionCoverage(const CaptionOutline& outline, const CaptionPlacement& placement, int scale,
                                     int width, int height) {
  EdgeCollector collector{static_cast<double>(scale)};
  TraceCaption(outline, placement, collector);
  collector.Close();
  std::vector<uint8_t> coverage(static_cast<size_t>(width) * height);
  if (collector.edges.empty()) return coverage;
  double top = height, bottom = 0;
  for (const Edge& e : collector.edges) {
    top = std::min(top, e.y0);
    bottom = std::max(bottom, e.y1);
  }
  std::vector<double> row(static_cast<size_t>(width));
  std::vector<std::pair<double, int>> crossings;
  const int firstRow = std::max(0, static_cast<int>(top)), lastRow = std::min(height, static_cast<int>(bottom) + 1);
  for (int py = firstRow; py < lastRow; ++py) {
    std::fill(row.begin(), row.end(), 0.0);
    for (int s = 0; s < SubRows; ++s) {
      const double y = py + (s + 0.5) / SubRows;
      crossings.clear();
      for (const Edge& e : collector.edges)
        if (e.y0 <= y && y < e.y1) crossings.emplace_back(e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir);
      std::sort(crossings.begin(), crossings.end());
      int winding = 0;
      for (size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += crossings[i].second;
        if (winding != 0) AddSpan(row, crossings[i].first, crossings[i + 1].first);
      }
    }
    for (int x = 0; x < width; ++x)
      coverage[static_cast<size_t>(py) * width + x] =
          static_cast<uint8_t>(std::lround(std::min(1.0, row[x] / SubRows) * 255));
  }
  return coverage;
}

}  // namespace quillet
