#include "image/ImageWriters.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <array>
#include <cerrno>
#include <cstring>

#include "image/ImageEncoding.h"
#include "image/SymbolImage.h"

namespace {

constexpr ImageEncoderInfo Encoders[] = {
    {"bmp", "Windows bitmap", "*.bmp;*.dib", "bmp"},
    {"jpeg", "JPEG image", "*.jpg;*.jpeg;*.jpe;*.jfif", "jpg"},
    {"gif", "GIF image", "*.gif", "gif"},
    {"png", "PNG image", "*.png", "png"},
    {"svg", "SVG vector image", "*.svg", "svg"},
};

// Extensions of the save dialog's filter entries 1 to 4.
constexpr std::array<std::string_view, 4> FilterExtensions = {"bmp", "jpg", "gif", "png"};

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString FileNameOnly(const QString& path) { return QFileInfo(path).fileName(); }

// ".png" of "dir/a.b.png"; empty when the last path component has no dot.
QString ExtensionOf(const QString& path) {
  const QString name = FileNameOnly(path);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot);
}

bool ListsExtension(const ImageEncoderInfo& encoder, const QString& extension) {
  for (const QString& pattern : Text(encoder.extensions).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    if (dot >= 0 && pattern.mid(dot).compare(extension, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

SaveResult Failed(const QString& reason) { return SaveResult{false, reason}; }

// ".bmp, .dib, ... or .svg", from the encoders' own lists.
QString KnownExtensions() {
  QStringList extensions;
  for (const ImageEncoderInfo& encoder : Encoders)
    for (const QString& pattern : Text(encoder.extensions).split(QLatin1Char(';'), Qt::SkipEmptyParts))
      extensions << pattern.mid(pattern.indexOf(QLatin1Char('.')));
  const QString last = extensions.takeLast();
  return extensions.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QString UnknownExtensionReason(const QString& fileName) {
  const QString extension = ExtensionOf(fileName);
  if (extension.isEmpty()) return QStringLiteral("the file name has no extension; use ") + KnownExtensions();
  return QStringLiteral("unknown image file extension \"%1\"; use %2").arg(extension, KnownExtensions());
}

std::optional<QByteArray> EncodeSymbol(const ModuleMatrix& matrix, int scale, const ImageEncoderInfo& encoder,
                                       QString* error) {
  if (encoder.id == "svg") return EncodeSvg(matrix, scale, SavedQuietZoneModules);
  const QImage image = RenderSymbol(matrix, scale, SavedQuietZoneModules);
  if (image.isNull()) {
    *error = QStringLiteral("out of memory for a %1-pixel image").arg((matrix.Columns() + 4) * scale);
    return std::nullopt;
  }
  if (encoder.id == "gif") return EncodeGif(image, error);
  return EncodeWithQt(image, encoder.id.data(), error);
}

// The reason of a failed QSaveFile step, with errno when Qt gives none.
QString FileError(const QSaveFile& file, int savedErrno) {
  if (!file.errorString().isEmpty() && file.error() != QFileDevice::NoError) return file.errorString();
  return QString::fromLocal8Bit(std::strerror(savedErrno ? savedErrno : EIO));
}

// Written to a temporary file beside the target and renamed over it on
// commit: the target appears whole or keeps its old content.
SaveResult WriteWhole(const QString& fileName, const QByteArray& bytes) {
  QSaveFile file(fileName);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly)) {
    const QString folder = QDir::toNativeSeparators(QFileInfo(fileName).absolutePath());
    return Failed(QStringLiteral("cannot create a file in \"%1\": %2").arg(folder, FileError(file, errno)));
  }
  errno = 0;
  if (file.write(bytes) != bytes.size()) {
    const QString reason = FileError(file, errno);
    file.cancelWriting();
    return Failed(QStringLiteral("writing failed: ") + reason);
  }
  errno = 0;
  if (!file.commit()) return Failed(QStringLiteral("writing failed: ") + FileError(file, errno));
  return SaveResult{true, {}};
}

}  // namespace

std::span<const ImageEncoderInfo> ImageEncoders() { return Encoders; }

const ImageEncoderInfo* FindEncoderForFile(const QString& fileName) {
  const QString extension = ExtensionOf(fileName);
  if (extension.isEmpty()) return nullptr;
  for (const ImageEncoderInfo& encoder : Encoders)
    if (ListsExtension(encoder, extension)) return &encoder;
  return nullptr;
}

QString AppendDefaultExtension(const QString& fileName, int filterEntry) {
  if (FileNameOnly(fileName).contains(QLatin1Char('.'))) return fileName;
  if (filterEntry < 1 || filterEntry > static_cast<int>(FilterExtensions.size())) return fileName;
  return fileName + QLatin1Char('.') + Text(FilterExtensions[filterEntry - 1]);
}

SaveResult SaveSymbolFile(const ModuleMatrix& matrix, int scale, const QString& fileName) {
  if (matrix.Empty()) return Failed(QStringLiteral("there is no symbol to save"));
  if (scale < MinScale || scale > MaxScale)
    return Failed(QStringLiteral("scale %1 is outside %2 to %3").arg(scale).arg(MinScale).arg(MaxScale));
  const ImageEncoderInfo* encoder = FindEncoderForFile(fileName);
  if (encoder == nullptr) return Failed(UnknownExtensionReason(fileName));
  const QFileInfo target(fileName);
  if (!target.absoluteDir().exists())
    return Failed(QStringLiteral("the folder \"%1\" does not exist").arg(QDir::toNativeSeparators(target.absolutePath())));
  if (target.isDir()) return Failed(QStringLiteral("\"%1\" is a folder").arg(QDir::toNativeSeparators(fileName)));
  QString error;
  const std::optional<QByteArray> bytes = EncodeSymbol(matrix, scale, *encoder, &error);
  if (!bytes) return Failed(error);
  return WriteWhole(fileName, *bytes);
}
