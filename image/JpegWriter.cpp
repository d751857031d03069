// clang-format off
#include <cstdio>  // jpeglib.h needs FILE first
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <cstdlib>
#include <vector>

#include "image/PixelRows.h"
#include "image/StyledImage.h"
#include "image/Writers.h"

namespace quillet {

namespace {

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void RaiseError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Where the pixels come from: the symbol's rows in grey, or a styled
// picture in RGB, composited on its background.
struct JpegSource {
  PixelRows* rows = nullptr;
  uint8_t* grey = nullptr;
  const uint8_t* rgb = nullptr;
  int width = 0;
  int height = 0;
};

// Only plain data between setjmp and the end: a long jump skips no destructor.
bool Compress(jpeg_compress_struct& jpeg, const JpegSource& source, int dpi, unsigned char** bytes,
              unsigned long* size) {
  if (setjmp(reinterpret_cast<JpegErrors*>(jpeg.err)->jump)) return false;
  jpeg_create_compress(&jpeg);
  jpeg_mem_dest(&jpeg, bytes, size);
  jpeg.image_width = static_cast<JDIMENSION>(source.width);
  jpeg.image_height = static_cast<JDIMENSION>(source.height);
  jpeg.input_components = source.rgb ? 3 : 1;
  jpeg.in_color_space = source.rgb ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&jpeg);
  jpeg.write_JFIF_header = TRUE;
  jpeg.density_unit = 1;  // dots per inch
  jpeg.X_density = static_cast<UINT16>(dpi);
  jpeg.Y_density = static_cast<UINT16>(dpi);
  jpeg_start_compress(&jpeg, TRUE);
  for (int y = 0; y < source.height; ++y) {
    JSAMPROW row = source.grey;
    if (source.rgb) {
      row = const_cast<JSAMPROW>(source.rgb + static_cast<size_t>(y) * source.width * 3);
    } else {
      const uint8_t* pixels = source.rows->Row(y);
      for (int x = 0; x < source.width; ++x) source.grey[x] = pixels[x] ? 0 : 255;
    }
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  return true;
}

}  // namespace

// 8-bit grey at the library's default quality; a styled symbol in colour,
// on its background (JPEG keeps no transparency: a clear one is white).
ImageResult WriteJpeg(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  PixelRows rows(matrix, options);
  std::vector<uint8_t> grey(static_cast<size_t>(rows.Width()));
  std::vector<uint8_t> rgb;
  int width = rows.Width(), height = rows.Height();
  if (!options.IsPlain()) {
    // A frame makes the picture larger than the symbol's rows.
    const RgbaImage picture = RenderStyledSymbol(matrix, options);
    rgb = CompositeRgb(picture, SolidBackground(options.style));
    width = picture.width;
    height = picture.height;
  }
  const JpegSource source{&rows, grey.data(), rgb.empty() ? nullptr : rgb.data(), width, height};
  JpegErrors errors{};
  jpeg_compress_struct jpeg{};
  jpeg.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = RaiseError;
  errors.manager.output_message = IgnoreMessage;
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  const bool written = Compress(jpeg, source, options.dpi, &bytes, &size);
  jpeg_destroy_compress(&jpeg);
  if (written) out.append(reinterpret_cast<const char*>(bytes), size);
  std::free(bytes);
  if (!written) return EncoderFailed(std::string("JPEG: ") + errors.message);
  return {};
}

}  // namespace quillet
