#include <gif_lib.h>

#include <memory>

#include "image/PixelRows.h"
#include "image/StyledImage.h"
#include "image/Writers.h"

namespace quillet {

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

GifColorType GifColour(Rgb colour) { return {colour.red, colour.green, colour.blue}; }

// Styled: index 0 the dark modules, 1 the background (clear where it is
// transparent), then a 6 x 6 x 6 cube for a logo's colours.
constexpr int CubeStart = 2;
constexpr int CubeLevels = 6;

std::vector<GifColorType> StyledPalette(const SymbolStyle& style, bool withCube) {
  std::vector<GifColorType> colours{GifColour(style.foreground), GifColour(style.background)};
  if (!withCube) return colours;
  for (int r = 0; r < CubeLevels; ++r)
    for (int g = 0; g < CubeLevels; ++g)
      for (int b = 0; b < CubeLevels; ++b)
        colours.push_back({static_cast<GifByteType>(r * 51), static_cast<GifByteType>(g * 51),
                           static_cast<GifByteType>(b * 51)});
  colours.resize(256, GifColorType{0, 0, 0});  // colour maps come in powers of two
  return colours;
}

int CubeIndex(const uint8_t* rgb) {
  const auto level = [](uint8_t value) { return (value + 25) / 51; };
  return CubeStart + (level(rgb[0]) * CubeLevels + level(rgb[1])) * CubeLevels + level(rgb[2]);
}

// The styled picture's pixels as palette indices.
std::vector<GifPixelType> StyledIndices(const RgbaImage& image, const SymbolStyle& style) {
  const std::vector<uint8_t> rgb = CompositeRgb(image, SolidBackground(style));
  const Rgb foreground = style.foreground, background = SolidBackground(style);
  std::vector<GifPixelType> indices(rgb.size() / 3);
  for (size_t i = 0; i < indices.size(); ++i) {
    const uint8_t* p = &rgb[i * 3];
    const Rgb colour{p[0], p[1], p[2]};
    if (style.transparentBackground && image.pixels[i * 4 + 3] < 128) indices[i] = 1;
    else if (colour == foreground) indices[i] = 0;
    else if (colour == background) indices[i] = 1;
    else indices[i] = static_cast<GifPixelType>(CubeIndex(p));
  }
  return indices;
}

bool PutIndices(GifFileType* gif, std::vector<GifPixelType>& indices, int width, int height) {
  for (int y = 0; y < height; ++y)
    if (EGifPutLine(gif, &indices[static_cast<size_t>(y) * width], width) == GIF_ERROR) return false;
  return true;
}

// A graphics control block naming the background's index as clear.
bool PutTransparency(GifFileType* gif) {
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSAL_UNSPECIFIED;
  control.TransparentColor = 1;
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_ERROR;
}

ImageResult WriteStyledGif(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  const RgbaImage image = RenderStyledSymbol(matrix, options);
  std::vector<GifPixelType> indices = StyledIndices(image, options.style);
  const std::vector<GifColorType> colours = StyledPalette(options.style, options.NeedsPicture());
  std::unique_ptr<ColorMapObject, ColorMapDeleter> palette(
      GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
  if (palette == nullptr) return {ImageFailure::OutOfMemory, {}, 0};
  int code = 0;
  GifFileType* gif = EGifOpen(&out, AppendToBuffer, &code);
  if (gif == nullptr) return GifError(code);
  EGifSetGifVersion(gif, options.style.transparentBackground);
  const bool written =
      EGifPutScreenDesc(gif, image.width, image.height, palette->BitsPerPixel, 1, palette.get()) != GIF_ERROR &&
      (!options.style.transparentBackground || PutTransparency(gif)) &&
      EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) != GIF_ERROR &&
      PutIndices(gif, indices, image.width, image.height);
  const int writeError = gif->Error;
  const bool closed = EGifCloseFile(gif, &code) != GIF_ERROR;
  if (!written || !closed) return GifError(written ? code : writeError);
  return {};
}

}  // namespace

ImageResult WriteGif(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  if (!options.IsPlain()) return WriteStyledGif(matrix, options, out);
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

}  // namespace quillet
