#include <charconv>

#include "image/PhysicalSize.h"
#include "image/StyledImage.h"
#include "image/SymbolOutlines.h"
#include "image/Writers.h"

namespace quillet {

namespace {

// "M x y h w v1 h-w z" for every horizontal run of dark modules.
std::string DarkModulePath(const ModuleMatrix& matrix, int quiet) {
  std::string path;
  ForEachDarkRun(matrix, [&](int x, int y, int length) {
    const std::string run = std::to_string(length);
    path.append("M").append(std::to_string(x + quiet)).append(" ").append(std::to_string(y + quiet));
    path.append("h").append(run).append("v1h-").append(run).append("z");
  });
  return path;
}

// A number of module units with up to three decimals, no locale.
std::string Units(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3).ptr;
  std::string number(text, end);
  while (number.back() == '0') number.pop_back();
  if (number.back() == '.') number.pop_back();
  return number == "-0" ? "0" : number;
}

// Path data of outlines, absolute, corners as arcs.
struct SvgPath {
  std::string data;
  void Move(double x, double y) { data += "M" + Units(x) + " " + Units(y); }
  void Line(double x, double y) { data += "L" + Units(x) + " " + Units(y); }
  void Corner(double, double, double r, int, double x, double y) {
    data += "A" + Units(r) + " " + Units(r) + " 0 0 1 " + Units(x) + " " + Units(y);
  }
  void Curve(double ax, double ay, double bx, double by, double x, double y) {
    data += "C" + Units(ax) + " " + Units(ay) + " " + Units(bx) + " " + Units(by) + " " + Units(x) + " " + Units(y);
  }
  void Close() { data += "z"; }
};

// `fill`: a colour, or a gradient's url().
std::string OutlinePath(const std::vector<Outline>& outlines, const std::string& fill) {
  if (outlines.empty()) return {};
  SvgPath path;
  for (const Outline& outline : outlines) TraceOutline(outline, path);
  return "<path fill=\"" + fill + "\" fill-rule=\"evenodd\" d=\"" + path.data + "\"/>\n";
}

constexpr std::string_view GradientId = "dark";

// The style's gradient over the symbol, in module units as the paths are.
std::string GradientElement(const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolStyle& style = options.style;
  const GradientLine line = GradientOver(drawn, options.quietZone);
  const std::string stops = "<stop offset=\"0\" stop-color=\"" + FormatColour(style.foreground) +
                            "\"/><stop offset=\"1\" stop-color=\"" + FormatColour(*style.foreground2) + "\"/>";
  const std::string id = " id=\"" + std::string(GradientId) + "\" gradientUnits=\"userSpaceOnUse\"";
  if (style.gradient == Gradient::Radial)
    return "<defs><radialGradient" + id + " cx=\"" + Units((line.x0 + line.x1) / 2) + "\" cy=\"" +
           Units((line.y0 + line.y1) / 2) + "\" r=\"" + Units(line.radius) + "\">" + stops +
           "</radialGradient></defs>\n";
  return "<defs><linearGradient" + id + " x1=\"" + Units(line.x0) + "\" y1=\"" + Units(line.y0) + "\" x2=\"" +
         Units(line.x1) + "\" y2=\"" + Units(line.y1) + "\">" + stops + "</linearGradient></defs>\n";
}

// The modules in the style's shapes and its colour or gradient, the eyes in
// their colour.
std::string ShapedModules(const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolStyle& style = options.style;
  const SymbolOutlines outlines = OutlineSymbol(drawn, style, options.quietZone);
  if (!style.HasGradient())
    return OutlinePath(outlines.modules, FormatColour(style.foreground)) +
           OutlinePath(outlines.eyes, FormatColour(style.EyeColour()));
  const std::string gradient = "url(#" + std::string(GradientId) + ")";
  return GradientElement(drawn, options) + OutlinePath(outlines.modules, gradient) +
         OutlinePath(outlines.eyes, style.eyeColour ? FormatColour(*style.eyeColour) : gradient);
}

// The printed length of `modules` as an SVG length: millimetres with up to
// three decimals, no locale and no space, "26.458mm". The file's syntax, not
// the words a person reads (those are the front ends').
std::string LengthAttribute(int modules, const ModuleMatrix& matrix, const ImageOptions& options) {
  // Without a printed size, as the pixel formats print at this dpi.
  const double mm = AsksPrintedSize(options)
                        ? modules * VectorModuleMm(options, matrix.Columns(), matrix.Rows())
                        : modules * options.scale * MillimetresPerInch / options.dpi;
  return Units(mm) + "mm";
}

std::string Base64(std::string_view bytes) {
  static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<uint8_t>(bytes[i + 2]);
    for (int k = 0; k < 4; ++k) text += k < 2 || i + k - 1 < bytes.size() ? Digits[group >> (18 - 6 * k) & 63] : '=';
  }
  return text;
}

// The logo's pad as a picture over the modules, at the options' scale.
ImageResult LogoPadImage(const ModuleMatrix& matrix, const ImageOptions& options, std::string& element) {
  std::string png;
  const ImageResult written = WriteRgbaPng(RenderLogoPad(matrix, options), options.dpi, png);
  if (!written.Ok()) return written;
  const LogoPlacement& placement = *options.logo;
  const std::string x = std::to_string(placement.column + options.quietZone);
  const std::string y = std::to_string(placement.row + options.quietZone);
  element = "<image x=\"" + x + "\" y=\"" + y + "\" width=\"" + std::to_string(placement.mask.width) +
            "\" height=\"" + std::to_string(placement.mask.height) +
            "\" xlink:href=\"data:image/png;base64," + Base64(png) + "\"/>\n";
  return {};
}

// The frame as one path around the symbol's place, and the caption's glyphs
// as paths over the band, so that the file needs no font.
std::string FrameElements(const FrameLayout& layout, const SymbolStyle& style) {
  const std::string frame = "<path fill=\"" + FormatColour(style.FrameColour()) + "\" fill-rule=\"evenodd\" d=\"M0 0H" +
                            std::to_string(layout.width) + "V" + std::to_string(layout.height) + "H0z" + "M" +
                            std::to_string(layout.symbolLeft) + " " + std::to_string(layout.symbolTop) + "h" +
                            std::to_string(layout.symbolWidth) + "v" + std::to_string(layout.symbolHeight) + "h-" +
                            std::to_string(layout.symbolWidth) + "z\"/>\n";
  const ShapedCaption caption = ShapeCaption(style.frameText);
  if (!caption.outline) return frame;
  SvgPath glyphs;
  TraceCaption(*caption.outline, PlaceCaption(*caption.outline, layout), glyphs);
  return frame + "<path fill=\"" + FormatColour(SolidBackground(style)) + "\" d=\"" + glyphs.data + "\"/>\n";
}

}  // namespace

// One path of the dark modules over a rectangle of the background (none when
// it is transparent), in module units; the width and height give the
// printed size asked for exactly, or without one the size the pixel formats
// print at at this dpi. A logo's pad goes over them as a
// picture; a frame goes around them, its caption drawn as paths.
ImageResult WriteSvg(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  const FrameLayout layout = LayOutFrame(options.style, matrix.Columns(), matrix.Rows(), options.quietZone);
  const int columns = layout.width, rows = layout.height;
  const std::string viewColumns = std::to_string(columns), viewRows = std::to_string(rows);
  const std::string symbolColumns = std::to_string(layout.symbolWidth), symbolRows = std::to_string(layout.symbolHeight);
  std::string logo;
  if (options.logo)
    if (ImageResult drawn = LogoPadImage(matrix, options, logo); !drawn.Ok()) return drawn;
  const std::string background =
      options.style.transparentBackground
          ? std::string()
          : "<rect width=\"" + symbolColumns + "\" height=\"" + symbolRows + "\" fill=\"" +
                FormatColour(options.style.background) + "\"/>\n";
  const ModuleMatrix& drawn = options.logo ? MatrixUnderLogo(matrix, *options.logo) : matrix;
  const bool shaped = options.style.HasShapes();
  // Curves want antialiasing; square modules want none, or seams show between them.
  const std::string rendering = shaped ? "" : " shape-rendering=\"crispEdges\"";
  const std::string modules = shaped ? ShapedModules(drawn, options)
                                     : "<path fill=\"" + FormatColour(options.style.foreground) + "\" d=\"" +
                                           DarkModulePath(drawn, options.quietZone) + "\"/>\n";
  // Framed, the symbol moves inside the frame; unframed, its bytes stay as they were.
  const std::string symbol = layout.Framed() ? FrameElements(layout, options.style) + "<g transform=\"translate(" +
                                                   std::to_string(layout.symbolLeft) + " " +
                                                   std::to_string(layout.symbolTop) + ")\"" + rendering + ">\n" + background +
                                                   modules + logo + "</g>\n"
                                             : background + modules + logo;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\"" +
         // SVG 1.1 readers find a picture's data by the XLink name only.
         std::string(options.logo ? " xmlns:xlink=\"http://www.w3.org/1999/xlink\"" : "") + " version=\"1.1\" width=\"" +
         LengthAttribute(columns, matrix, options) + "\" height=\"" +
         LengthAttribute(rows, matrix, options) + "\" viewBox=\"0 0 " + viewColumns + " " + viewRows +
         "\"" + (layout.Framed() ? "" : rendering) + ">\n" + symbol + "</svg>\n";
  return {};
}

}  // namespace quillet
