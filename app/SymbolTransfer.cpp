#include "app/SymbolTransfer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "gui/TextBytes.h"
#include "image/AtomicFile.h"
#include "image/ImageFormats.h"
#include "image/PhysicalSize.h"
#include "res/Strings.h"

namespace {

QByteArray Encode(const ModuleMatrix& matrix, const ImageOptions& options, std::string_view formatName) {
  const ImageFormat* format = FindFormatByName(formatName);
  std::string bytes;
  if (format == nullptr || !EncodeImage(matrix, *format, options, bytes).Ok()) return {};
  return QByteArray::fromStdString(bytes);
}

// One folder for the process's dragged files, removed when it ends.
QString DragFolder() {
  static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/quillet-drag-XXXXXX"));
  return folder.isValid() ? folder.path() : QString();
}

}  // namespace

ImageOptions PageImageOptions(int scale) {
  ImageOptions options;
  options.scale = scale;
  options.dpi = PreviewPrintDpi;
  return options;
}

QMimeData* SymbolMimeData(const ModuleMatrix& matrix, const ImageOptions& options) {
  if (matrix.Empty()) return nullptr;
  const QByteArray png = Encode(matrix, options, "png");
  if (png.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/png"), png);
  data->setData(QStringLiteral("image/svg+xml"), Encode(matrix, options, "svg"));
  data->setImageData(QImage::fromData(png, "PNG"));
  return data;
}

QMimeData* SymbolDragData(const ModuleMatrix& matrix, const ImageOptions& options) {
  QMimeData* data = SymbolMimeData(matrix, options);
  if (data == nullptr) return nullptr;
  const QString folder = DragFolder();
  if (folder.isEmpty()) return data;
  const QString path = folder + QLatin1Char('/') + FromUtf8(UiText::DraggedFileName);
  const std::string bytes = data->data(QStringLiteral("image/png")).toStdString();
  if (WriteFileAtomically(ToLocalPath(path), bytes).Ok())
    data->setUrls({QUrl::fromLocalFile(path)});
  return data;
}

QString PrintedSizeText(const ModuleMatrix& matrix, int scale) {
  const ImageOptions options = PageImageOptions(scale);
  const double side = PrintedMillimetres(std::max(matrix.Columns(), matrix.Rows()), options);
  return FromUtf8(UiText::PrintedSize).arg(side, 0, 'f', 1).arg(options.dpi);
}
