// One writer per row of the formats table. Each appends a whole file to
// `out`; the table's caller has already checked the matrix and the options.
#pragma once

#include "image/ImageFormats.h"

namespace quillet {

ImageResult WriteBmp(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
ImageResult WriteJpeg(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
ImageResult WriteGif(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
ImageResult WritePng(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
ImageResult WriteSvg(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
// Unicode half blocks, two module rows a line, light modules drawn, so that
// it scans from a terminal with a dark background. The scale is not used.
ImageResult WriteHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
// The same with dark modules drawn, for a terminal with a light background.
ImageResult WriteInverseHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);

// A picture as an RGBA PNG: the logo's pad inside the vector formats.
ImageResult WriteRgbaPng(const RgbaImage& image, int dpi, std::string& out);

inline ImageResult EncoderFailed(std::string message) { return {ImageFailure::EncoderFailed, std::move(message), 0}; }

}  // namespace quillet
