#include <charconv>

#include "image/Writers.h"

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

// The printed length of `pixels` at `dpi`, in millimetres with up to three
// decimals and no locale: "26.458mm".
std::string Millimetres(int pixels, int dpi) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, pixels * 25.4 / dpi, std::chars_format::fixed, 3).ptr;
  std::string number(text, end);
  while (number.back() == '0') number.pop_back();
  if (number.back() == '.') number.pop_back();
  return number + "mm";
}

}  // namespace

// One path of the dark modules over a white rectangle, in module units; the
// width and height give the size the pixel formats print at at this dpi.
ImageResult WriteSvg(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  const int columns = matrix.Columns() + 2 * options.quietZone;
  const int rows = matrix.Rows() + 2 * options.quietZone;
  const std::string viewColumns = std::to_string(columns), viewRows = std::to_string(rows);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
         Millimetres(columns * options.scale, options.dpi) + "\" height=\"" +
         Millimetres(rows * options.scale, options.dpi) + "\" viewBox=\"0 0 " + viewColumns + " " + viewRows +
         "\" shape-rendering=\"crispEdges\">\n"
         "<rect width=\"" + viewColumns + "\" height=\"" + viewRows + "\" fill=\"#ffffff\"/>\n"
         "<path fill=\"#000000\" d=\"" + DarkModulePath(matrix, options.quietZone) + "\"/>\n"
         "</svg>\n";
  return {};
}
