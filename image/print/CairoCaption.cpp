// A frame's caption as glyph outlines: the vector files draw them as paths,
// so that they need no font, and the raster files fill them themselves.
#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cstring>
#include <mutex>

#include "image/print/CairoDrawing.h"

namespace quillet {

namespace {

// The font size the outlines are taken at: cairo rounds coordinates to
// 1/256 of a unit, too coarse at a size of 1.
constexpr double OutlineSize = 1000;

struct FontMatch {
  FcPattern* pattern = nullptr;
  ~FontMatch() {
    if (pattern) FcPatternDestroy(pattern);
  }
};

// fontconfig gives the nearest font whatever is installed; only the family
// itself will do.
bool IsFamily(FcPattern* match, std::string_view family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (strcasecmp(reinterpret_cast<const char*>(name), std::string(family).c_str()) == 0) return true;
  return false;
}

// The first character of `text` the font has no glyph for, as UTF-8; empty when it has all.
std::string MissingCharacter(FcPattern* match, std::string_view text) {
  FcCharSet* characters = nullptr;
  if (FcPatternGetCharSet(match, FC_CHARSET, 0, &characters) != FcResultMatch) return std::string(text.substr(0, 1));
  for (size_t at = 0; at < text.size();) {
    char32_t character = 0;
    const int length = NextCharacter(text, at, &character);
    if (!FcCharSetHasChar(characters, character)) return std::string(text.substr(at, length));
    at += length;
  }
  return {};
}

CaptionOutline CopyOutline(cairo_t* cr) {
  CaptionOutline outline;
  cairo_path_t* path = cairo_copy_path(cr);
  for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    PathStep step;
    const int points = d->header.type == CAIRO_PATH_CURVE_TO ? 3 : d->header.type == CAIRO_PATH_CLOSE_PATH ? 0 : 1;
    step.kind = d->header.type == CAIRO_PATH_MOVE_TO   ? PathStep::Move
                : d->header.type == CAIRO_PATH_LINE_TO ? PathStep::Line
                : d->header.type == CAIRO_PATH_CURVE_TO ? PathStep::Curve
                                                        : PathStep::Close;
    for (int k = 0; k < points; ++k) {
      step.xy[2 * k] = d[1 + k].point.x / OutlineSize;
      step.xy[2 * k + 1] = d[1 + k].point.y / OutlineSize;
    }
    outline.steps.push_back(step);
  }
  cairo_path_destroy(path);
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  cairo_path_extents(cr, &x0, &y0, &x1, &y1);
  outline.left = x0 / OutlineSize, outline.top = y0 / OutlineSize;
  outline.right = x1 / OutlineSize, outline.bottom = y1 / OutlineSize;
  return outline;
}

// The text's glyphs, unhinted, from the matched font.
CaptionOutline TraceText(FcPattern* match, std::string_view text) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(surface);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(match);
  cairo_set_font_face(cr, face);
  cairo_font_options_t* font = cairo_font_options_create();
  cairo_font_options_set_hint_style(font, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(font, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, font);
  cairo_set_font_size(cr, OutlineSize);
  cairo_move_to(cr, 0, 0);
  cairo_text_path(cr, std::string(text).c_str());
  CaptionOutline outline = CopyOutline(cr);
  cairo_font_options_destroy(font);
  cairo_font_face_destroy(face);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return outline;
}

ShapedCaption Shape(std::string_view text) {
  if (CaptionCheck check = CheckCaptionText(text); !check.Ok()) return {check, nullptr};
  FontMatch match{CaptionFontMatch()};
  if (!match.pattern || !IsFamily(match.pattern, CaptionFontFamily))
    return {{CaptionProblem::NoFont, std::string(CaptionFontFamily)}, nullptr};
  if (std::string missing = MissingCharacter(match.pattern, text); !missing.empty())
    return {{CaptionProblem::MissingCharacter, std::move(missing)}, nullptr};
  return {{}, std::make_shared<const CaptionOutline>(TraceText(match.pattern, text))};
}

}  // namespace

FcPattern* CaptionFontMatch() {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(std::string(CaptionFontFamily).c_str()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  return match;
}

// A batch frames thousands of symbols with one caption or a few.
ShapedCaption ShapeCaption(std::string_view text) {
  constexpr size_t Kept = 16;
  static std::mutex mutex;
  static std::vector<std::pair<std::string, ShapedCaption>> cache;
  std::lock_guard lock(mutex);
  for (const auto& [kept, shaped] : cache)
    if (kept == text) return shaped;
  ShapedCaption shaped = Shape(text);
  if (cache.size() >= Kept) cache.erase(cache.begin());
  cache.emplace_back(std::string(text), shaped);
  return shaped;
}

}  // namespace quillet
