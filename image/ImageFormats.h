// The image formats we write, as one table, and the writers that turn a
// module matrix into the bytes of an image file, in memory. Plain C++, no Qt:
// the command line and the desktop pages save through the same code.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "image/ImageResult.h"
#include "image/SymbolStyle.h"
#include "symbol/ModuleMatrix.h"

namespace quillet {

constexpr int MinScale = 1;
// The window's zoom slider. Files may be larger: the command line, batch and
// label sheets take what a printed size asks, up to MaxImageSide.
constexpr int MaxScale = 16;
// No image is more pixels a side (the vector formats: at their dpi), so that
// no scale or printed size allocates absurdly: 84.6 cm at 300 dpi.
constexpr int MaxImageSide = 10000;
// The quiet zone of saved symbols, in modules on every side.
constexpr int SavedQuietZoneModules = 2;
constexpr int MaxQuietZoneModules = 64;
// The resolution files record and the pages quote printed sizes at: a common office printer.
constexpr int DefaultDpi = 300;
constexpr int MinDpi = 1;
constexpr int MaxDpi = 10000;

struct ImageOptions {
  int scale = 4;                           // pixels per module, at least MinScale
  int quietZone = SavedQuietZoneModules;   // modules, 0..MaxQuietZoneModules
  int dpi = DefaultDpi;                    // recorded in the file where the format has a place for it
  // A printed size instead of the scale, in millimetres (0: none; symbolMm
  // wins when both are set): the vector formats print it exactly, the raster
  // ones at the whole pixels per module nearest it at dpi (image/PhysicalSize.h).
  double moduleMm = 0;  // a module's side
  double symbolMm = 0;  // the symbol's side with its quiet zone; a rectangle's longer side
  // Colours and transparency; the logo itself is drawn from `logo`.
  SymbolStyle style{};
  std::shared_ptr<const LogoPlacement> logo{};

  bool IsPlain() const { return !style.HasColours() && !style.HasShapes() && !style.HasFrame() && !logo; }
  // Shapes, a logo and a frame are drawn as a whole picture, not one bit a pixel.
  bool NeedsPicture() const { return logo || style.HasShapes() || style.HasFrame(); }
};

// Appends the whole file to `out`. The image is (columns + 2q)·s by
// (rows + 2q)·s pixels (s: the options' scale, set from a printed size by
// the caller, see SizedForSymbol), dark modules black, everything else white, unless
// the options' style says otherwise.
using ImageWriter = ImageResult (*)(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);

struct ImageFormat {
  std::string_view name;                         // "png": --format and messages
  std::span<const std::string_view> extensions;  // with the dot, the first is the default: ".jpg", ".jpeg", ...
                                                 // none: not a file, and not offered by the save dialog
  ImageWriter write;
  bool vector = false;  // prints a printed size exactly, not in whole pixels per module
};

// In a fixed order: BMP, JPEG, GIF, PNG (the save dialog's entries 1 to 4),
// SVG, PDF and EPS (entries 5 to 7), then the text drawings "utf8" (for a dark
// terminal) and "utf8i" (for a light one), which have no file extension.
std::span<const ImageFormat> ImageFormats();

// By name or by any extension without its dot ("jpg", "jpeg"), ignoring
// case; null when none.
const ImageFormat* FindFormatByName(std::string_view name);

// The extension of the last path component, from its last dot, the dot
// included (".png" of "dir/a.b.png"); empty when that component has no dot.
std::string_view ExtensionOf(std::string_view path);

// The saving rule: the first format whose extension list holds the file's
// extension, ignoring case; null when none does.
const ImageFormat* FindFormatForFile(std::string_view path);

// The formats of the save dialog, in its order: entry k is element k - 1.
// Every format with an extension is offered; the window captions each.
std::span<const ImageFormat* const> SaveDialogFormats();

// A last path component without a dot, or ending in one, gets the default
// extension of save-dialog entry `filterEntry` (1-based); any other path is
// returned as it is.
std::string AppendDefaultExtension(std::string_view path, int filterEntry);

// Each file format's default extension, joined for a message:
// KnownExtensions(", ", " or ") is ".bmp, .jpg, .gif, .png, .svg, .pdf or .eps".
std::string KnownExtensions(std::string_view separator, std::string_view lastSeparator);

// Sizes the options for `matrix` (SizedForSymbol) and checks them as the
// writers do: before a styled symbol is drawn to be read back, for one.
ImageResult CheckImage(const ModuleMatrix& matrix, const ImageOptions& options);

// The file bytes of `matrix` in `format`; sizes the options for the symbol
// (SizedForSymbol) and checks them.
ImageResult EncodeImage(const ModuleMatrix& matrix, const ImageFormat& format, const ImageOptions& options,
                        std::string& out);

// Encodes in the format the extension of `path` names and writes the file
// atomically (see AtomicFile.h): `path` holds either its old content or the
// whole new image, and no temporary file is left behind.
ImageResult SaveImageFile(const ModuleMatrix& matrix, const ImageOptions& options, const std::string& path);

}  // namespace quillet
