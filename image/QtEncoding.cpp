#include <QBuffer>
#include <QImageWriter>

#include "image/ImageEncoding.h"

std::optional<QByteArray> EncodeWithQt(const QImage& image, const char* format, QString* error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (!writer.write(image)) {
    *error = QStringLiteral("the %1 encoder failed: %2").arg(QString::fromLatin1(format).toUpper(), writer.errorString());
    return std::nullopt;
  }
  return bytes;
}
