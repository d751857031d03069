// The image-file writers: which formats we write, how a file name picks one,
// and saving a symbol atomically.
#pragma once

#include <QString>
#include <span>
#include <string_view>

#include "image/ModuleMatrix.h"

struct ImageEncoderInfo {
  std::string_view id;          // "bmp", "jpeg", "gif", "png", "svg"
  std::string_view description;
  std::string_view extensions;  // "*.bmp;*.dib"
  std::string_view defaultExtension;  // "bmp"
};

// In a fixed order: BMP, JPEG, GIF, PNG, then SVG.
std::span<const ImageEncoderInfo> ImageEncoders();

// Case-insensitive match of the extension from the name's last dot against
// each encoder's list in order; first match wins. Null when none matches.
const ImageEncoderInfo* FindEncoderForFile(const QString& fileName);

// When the last path component has no dot, append "." and the extension of
// save-dialog filter entry 1..4 (bmp, jpg, gif, png); otherwise unchanged.
QString AppendDefaultExtension(const QString& fileName, int filterEntry);

struct SaveResult {
  bool ok = false;
  QString error;  // a reason a user can act on, empty on success
};

// Writes the symbol with the two-module quiet zone at `scale` to `fileName`,
// in the format its extension names. The file appears whole or not at all;
// an existing file survives a failed save.
SaveResult SaveSymbolFile(const ModuleMatrix& matrix, int scale, const QString& fileName);
