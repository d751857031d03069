#include "tests/image/TestSymbols.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

ModuleMatrix ZxingSymbol(DecodeFormat format, const std::string& text) {
  const auto barcodeFormat = format == DecodeFormat::QrCode ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::DataMatrix;
  const ZXing::BitMatrix bits = ZXing::MultiFormatWriter(barcodeFormat).setMargin(0).encode(text, 0, 0);
  ModuleMatrix matrix(bits.width(), bits.height());
  for (int y = 0; y < bits.height(); ++y)
    for (int x = 0; x < bits.width(); ++x) matrix.SetDark(x, y, bits.get(x, y));
  return matrix;
}

ModuleMatrix PatternMatrix(int columns, int rows, unsigned seed) {
  ModuleMatrix matrix(columns, rows);
  unsigned state = seed;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      state = state * 1103515245u + 12345u;
      matrix.SetDark(x, y, (state >> 16) & 1);
    }
  return matrix;
}

int ExpectedPixel(const ModuleMatrix& matrix, int scale, int quiet, int px, int py) {
  const int x = px / scale - quiet;
  const int y = py / scale - quiet;
  const bool inside = x >= 0 && y >= 0 && x < matrix.Columns() && y < matrix.Rows();
  return inside && matrix.IsDark(x, y) ? 0 : 255;
}

std::vector<uint8_t> GreyPixels(const QImage& image) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  std::vector<uint8_t> pixels;
  pixels.reserve(static_cast<size_t>(grey.width()) * grey.height());
  for (int y = 0; y < grey.height(); ++y)
    pixels.insert(pixels.end(), grey.constScanLine(y), grey.constScanLine(y) + grey.width());
  return pixels;
}

namespace {

std::optional<int> Attribute(const QString& text, const QString& name) {
  const QRegularExpression pattern(" " + name + "=\"(\\d+)\"");
  const auto match = pattern.match(text);
  if (!match.hasMatch()) return std::nullopt;
  return match.captured(1).toInt();
}

}  // namespace

std::optional<QImage> RasteriseSvg(const QByteArray& svg) {
  const QString text = QString::fromUtf8(svg);
  const auto width = Attribute(text, "width");
  const auto height = Attribute(text, "height");
  const auto viewBox = QRegularExpression("viewBox=\"0 0 (\\d+) (\\d+)\"").match(text);
  const auto path = QRegularExpression("<path fill=\"#000000\" d=\"([^\"]*)\"/>").match(text);
  if (!width || !height || !viewBox.hasMatch() || !path.hasMatch()) return std::nullopt;
  if (text.count("<path") != 1) return std::nullopt;
  const int scale = *width / viewBox.captured(1).toInt();
  QImage image(*width, *height, QImage::Format_Grayscale8);
  image.fill(255);
  // Every sub-path is "M x y h w v1 h-w z": one rectangle of dark modules.
  const QRegularExpression run("M(\\d+) (\\d+)h(\\d+)v1h-(\\d+)z");
  QString rest = path.captured(1);
  qsizetype consumed = 0;
  for (auto it = run.globalMatch(rest); it.hasNext();) {
    const auto m = it.next();
    if (m.capturedStart() != consumed || m.captured(3) != m.captured(4)) return std::nullopt;
    consumed = m.capturedEnd();
    const int x = m.captured(1).toInt(), y = m.captured(2).toInt(), w = m.captured(3).toInt();
    for (int py = y * scale; py < (y + 1) * scale; ++py)
      for (int px = x * scale; px < (x + w) * scale; ++px) image.scanLine(py)[px] = 0;
  }
  if (consumed != rest.size()) return std::nullopt;
  return image;
}

ScratchFolder::ScratchFolder() {
  QTemporaryDir dir(QDir::tempPath() + "/quillet-image-XXXXXX");
  dir.setAutoRemove(false);
  path_ = dir.path();
}

ScratchFolder::~ScratchFolder() { QDir(path_).removeRecursively(); }

QString ScratchFolder::Path(const QString& name) const { return path_ + "/" + name; }

QStringList ScratchFolder::Entries() const {
  return QDir(path_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}
