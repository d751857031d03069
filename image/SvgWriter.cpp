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
  void Close() { data += "z"; }
};

std::string OutlinePath(const std::vector<Outline>& outlines, Rgb colour) {
  if (outlines.empty()) return {};
  SvgPath path;
  for (const Outline& outline : outlines) TraceOutline(outline, path);
  return "<path fill=\"" + FormatColour(colour) + "\" fill-rule=\"evenodd\" d=\"" + path.data + "\"/>\n";
}

// The modules in the style's shapes and the eyes in their colour.
std::string ShapedModules(const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolOutlines outlines = OutlineSymbol(drawn, options.style, options.quietZone);
  return OutlinePath(outlines.modules, options.style.foreground) +
         OutlinePath(outlines.eyes, options.style.EyeColour());
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
  const ImageResult written = WriteRgbaPng(CropLogoPad(RenderStyledSymbol(matrix, options), options), options.dpi, png);
  if (!written.Ok()) return written;
  const LogoPlacement& placement = *options.logo;
  const std::string x = std::to_string(placement.column + options.quietZone);
  const std::string y = std::to_string(placement.row + options.quietZone);
  element = "<image x=\"" + x + "\" y=\"" + y + "\" width=\"" + std::to_string(placement.mask.width) +
            "\" height=\"" + std::to_string(placement.mask.height) +
            "\" xlink:href=\"data:image/png;base64," + Base64(png) + "\"/>\n";
  return {};
}

}  // namespace

// One path of the dark modules over a rectangle of the background (none when
// it is transparent), in module units; the width and height give the
// printed size asked for exactly, or without one the size the pixel formats
// print at at this dpi. A logo's pad goes over them as a
// picture.
ImageResult WriteSvg(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  const int columns = matrix.Columns() + 2 * options.quietZone;
  const int rows = matrix.Rows() + 2 * options.quietZone;
  const std::string viewColumns = std::to_string(columns), viewRows = std::to_string(rows);
  std::string logo;
  if (options.logo)
    if (ImageResult drawn = LogoPadImage(matrix, options, logo); !drawn.Ok()) return drawn;
  const std::string background =
      options.style.transparentBackground
          ? std::string()
          : "<rect width=\"" + viewColumns + "\" height=\"" + viewRows + "\" fill=\"" +
                FormatColour(options.style.background) + "\"/>\n";
  const ModuleMatrix& drawn = options.logo ? MatrixUnderLogo(matrix, *options.logo) : matrix;
  const bool shaped = options.style.HasShapes();
  // Curves want antialiasing; square modules want none, or seams show between them.
  const std::string rendering = shaped ? "" : " shape-rendering=\"crispEdges\"";
  const std::string modules = shaped ? ShapedModules(drawn, options)
                                     : "<path fill=\"" + FormatColour(options.style.foreground) + "\" d=\"" +
                                           DarkModulePath(drawn, options.quietZone) + "\"/>\n";
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\"" +
         // SVG 1.1 readers find a picture's data by the XLink name only.
         std::string(options.logo ? " xmlns:xlink=\"http://www.w3.org/1999/xlink\"" : "") + " version=\"1.1\" width=\"" +
         LengthAttribute(columns, matrix, options) + "\" height=\"" +
         LengthAttribute(rows, matrix, options) + "\" viewBox=\"0 0 " + viewColumns + " " + viewRows +
         "\"" + rendering + ">\n" + background + modules + logo + "</svg>\n";
  return {};
}

}  // namespace quillet
