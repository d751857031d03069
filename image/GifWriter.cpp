#include <gif_lib.h>

#include <memory>

#include "image/PixelRows.h"
#include "image/Writers.h"

namespace {

int AppendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), static_cast<size_t>(length));
  return length;
}

struct ColorMapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

ImageResult GifError(int code) {
  const char* text = GifErrorString(code);
  return EncoderFailed(std::string("GIF: ") + (text ? text : "unknown error"));
}

// Palette index 0 black, 1 white.
bool PutRows(GifFileType* gif, PixelRows& rows) {
  std::vector<GifPixelType> line(static_cast<size_t>(rows.Width()));
  for (int y = 0; y < rows.Height(); ++y) {
    const uint8_t* pixels = rows.Row(y);
    for (int x = 0; x < rows.Width(); ++x) line[x] = pixels[x] ? 0 : 1;
    if (EGifPutLine(gif, line.data(), rows.Width()) == GIF_ERROR) return false;
  }
  return true;
}

}  // namespace

ImageResult WriteGif(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  PixelRows rows(matrix, options);
  const GifColorType colors[2] = {{0, 0, 0}, {255, 255, 255}};
  std::unique_ptr<ColorMapObject, ColorMapDeleter> palette(GifMakeMapObject(2, colors));
  if (palette == nullptr) return {ImageFailure::OutOfMemory, {}, 0};
  int code = 0;
  GifFileType* gif = EGifOpen(&out, AppendToBuffer, &code);
  if (gif == nullptr) return GifError(code);
  const bool written = EGifPutScreenDesc(gif, rows.Width(), rows.Height(), 1, 1, palette.get()) != GIF_ERROR &&
                       EGifPutImageDesc(gif, 0, 0, rows.Width(), rows.Height(), false, nullptr) != GIF_ERROR &&
                       PutRows(gif, rows);
  const int writeError = gif->Error;
  const bool closed = EGifCloseFile(gif, &code) != GIF_ERROR;
  if (!written || !closed) return GifError(written ? code : writeError);
  return {};
}
