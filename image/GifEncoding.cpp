#include <gif_lib.h>

#include <memory>
#include <vector>

#include "image/ImageEncoding.h"

namespace {

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
  return length;
}

struct ColorMapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

QString GifError(int code) {
  const char* text = GifErrorString(code);
  return QStringLiteral("the GIF encoder failed: %1").arg(QString::fromLatin1(text ? text : "unknown error"));
}

// Palette index 0 black, 1 white; grey pixels below the middle count as black.
bool PutRows(GifFileType* gif, const QImage& image) {
  std::vector<GifPixelType> line(static_cast<size_t>(image.width()));
  for (int y = 0; y < image.height(); ++y) {
    const uint8_t* pixels = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) line[x] = pixels[x] >= 128 ? 1 : 0;
    if (EGifPutLine(gif, line.data(), image.width()) == GIF_ERROR) return false;
  }
  return true;
}

}  // namespace

std::optional<QByteArray> EncodeGif(const QImage& source, QString* error) {
  const QImage image = source.convertToFormat(QImage::Format_Grayscale8);
  const GifColorType colors[2] = {{0, 0, 0}, {255, 255, 255}};
  std::unique_ptr<ColorMapObject, ColorMapDeleter> palette(GifMakeMapObject(2, colors));
  QByteArray bytes;
  int code = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendToBuffer, &code);
  if (gif == nullptr) {
    *error = GifError(code);
    return std::nullopt;
  }
  const bool written = palette != nullptr &&
                       EGifPutScreenDesc(gif, image.width(), image.height(), 1, 1, palette.get()) != GIF_ERROR &&
                       EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) != GIF_ERROR &&
                       PutRows(gif, image);
  const int writeError = gif->Error;
  const bool closed = EGifCloseFile(gif, &code) != GIF_ERROR;
  if (!written || !closed) {
    *error = GifError(written ? code : writeError);
    return std::nullopt;
  }
  return bytes;
}
