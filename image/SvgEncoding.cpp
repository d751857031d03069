#include "image/ImageEncoding.h"

namespace {

// "M x y h w v1 h-w z" for every horizontal run of dark modules.
QByteArray DarkModulePath(const ModuleMatrix& matrix, int quietModules) {
  QByteArray path;
  for (int y = 0; y < matrix.Rows(); ++y) {
    for (int x = 0; x < matrix.Columns();) {
      if (!matrix.IsDark(x, y)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < matrix.Columns() && matrix.IsDark(x, y)) ++x;
      const QByteArray run = QByteArray::number(x - start);
      path += "M" + QByteArray::number(start + quietModules) + " " + QByteArray::number(y + quietModules) + "h" +
              run + "v1h-" + run + "z";
    }
  }
  return path;
}

}  // namespace

QByteArray EncodeSvg(const ModuleMatrix& matrix, int scale, int quietModules) {
  const QByteArray columns = QByteArray::number(matrix.Columns() + 2 * quietModules);
  const QByteArray rows = QByteArray::number(matrix.Rows() + 2 * quietModules);
  const QByteArray width = QByteArray::number((matrix.Columns() + 2 * quietModules) * scale);
  const QByteArray height = QByteArray::number((matrix.Rows() + 2 * quietModules) * scale);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width + "\" height=\"" + height +
         "\" viewBox=\"0 0 " + columns + " " + rows + "\" shape-rendering=\"crispEdges\">\n"
         "<rect width=\"" + columns + "\" height=\"" + rows + "\" fill=\"#ffffff\"/>\n"
         "<path fill=\"#000000\" d=\"" + DarkModulePath(matrix, quietModules) + "\"/>\n"
         "</svg>\n";
}
