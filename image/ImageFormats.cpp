#include "image/ImageFormats.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <vector>

#include "content/TextList.h"
#include "image/AtomicFile.h"
#include "image/PhysicalSize.h"
#include "image/PrintFormats.h"
#include "image/Writers.h"

namespace quillet {

namespace {

constexpr std::string_view BmpExtensions[] = {".bmp", ".dib"};
constexpr std::string_view JpegExtensions[] = {".jpg", ".jpeg", ".jpe", ".jfif"};
constexpr std::string_view GifExtensions[] = {".gif"};
constexpr std::string_view PngExtensions[] = {".png"};
constexpr std::string_view SvgExtensions[] = {".svg"};
constexpr std::string_view PdfExtensions[] = {".pdf"};
constexpr std::string_view EpsExtensions[] = {".eps"};

constexpr ImageFormat Formats[] = {
    {"bmp", BmpExtensions, WriteBmp},
    {"jpg", JpegExtensions, WriteJpeg},
    {"gif", GifExtensions, WriteGif},
    {"png", PngExtensions, WritePng},
    {"svg", SvgExtensions, WriteSvg, true},
    // Vector pages for print, drawn by the print module (image/PrintFormats.h).
    {"pdf", PdfExtensions, WritePdf, true},
    {"eps", EpsExtensions, WriteEps, true},
    {"utf8", {}, WriteHalfBlockText},
    {"utf8i", {}, WriteInverseHalfBlockText},
};

bool ListsExtension(const ImageFormat& format, std::string_view extension) {
  for (std::string_view listed : format.extensions)
    if (SameIgnoringCase(listed, extension)) return true;
  return false;
}

ImageResult Failed(ImageFailure failure, std::string subject = {}, int error = 0) {
  return {failure, std::move(subject), error};
}

}  // namespace

// A frame's caption is shaped before anything is drawn, so that no file has a frame without it.
ImageResult CheckCaption(std::string_view text) {
  const CaptionCheck check = ShapeCaption(text).check;
  switch (check.problem) {
    case CaptionProblem::None: return {};
    case CaptionProblem::NoFont: return Failed(ImageFailure::NoCaptionFont, check.subject);
    case CaptionProblem::MissingCharacter: return Failed(ImageFailure::CaptionCharacter, check.subject);
    case CaptionProblem::NeedsShaping: return Failed(ImageFailure::CaptionScript, check.subject);
    case CaptionProblem::NoPrintModule: return Failed(ImageFailure::NoPrintModule, check.subject);
    default: return Failed(ImageFailure::BadCaption, check.subject);
  }
}

namespace {

// `options` sized for the matrix (SizedForSymbol).
ImageResult CheckInput(const ModuleMatrix& matrix, const ImageOptions& options) {
  if (matrix.Empty()) return Failed(ImageFailure::NoSymbol);
  if (options.scale < MinScale) return Failed(ImageFailure::BadScale, std::to_string(options.scale));
  if (options.quietZone < 0 || options.quietZone > MaxQuietZoneModules)
    return Failed(ImageFailure::BadQuietZone, std::to_string(options.quietZone));
  if (options.dpi < MinDpi || options.dpi > MaxDpi) return Failed(ImageFailure::BadDpi, std::to_string(options.dpi));
  const long long side = 1LL * ModulesASide(options, matrix.Columns(), matrix.Rows()) * options.scale;
  if (side > MaxImageSide) return Failed(ImageFailure::TooLarge, std::to_string(side));
  return options.style.HasFrame() ? CheckCaption(options.style.frameText) : ImageResult{};
}

// "dir" of "dir/a.png", "/" of "/a.png", "." of "a.png".
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The folder must exist and the target must not be one.
ImageResult CheckTarget(const std::string& path) {
  struct stat status {};
  const std::string folder = FolderOf(path);
  if (stat(folder.c_str(), &status) != 0) {
    // A folder that exists but cannot be searched is no missing folder.
    const bool missing = errno == ENOENT || errno == ENOTDIR;
    return Failed(missing ? ImageFailure::FolderMissing : ImageFailure::CannotCreate, folder, errno);
  }
  if (!S_ISDIR(status.st_mode)) return Failed(ImageFailure::FolderMissing, folder, ENOTDIR);
  if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) return Failed(ImageFailure::IsFolder, path);
  return {};
}

}  // namespace

std::span<const ImageFormat> ImageFormats() { return Formats; }

const ImageFormat* FindFormatByName(std::string_view name) {
  for (const ImageFormat& format : Formats)
    if (SameIgnoringCase(format.name, name)) return &format;
  if (name.empty() || name.front() == '.') return nullptr;
  for (const ImageFormat& format : Formats)
    for (std::string_view extension : format.extensions)
      if (SameIgnoringCase(extension.substr(1), name)) return &format;
  return nullptr;
}

std::string_view ExtensionOf(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

const ImageFormat* FindFormatForFile(std::string_view path) {
  const std::string_view extension = ExtensionOf(path);
  if (extension.empty()) return nullptr;
  for (const ImageFormat& format : Formats)
    if (ListsExtension(format, extension)) return &format;
  return nullptr;
}

std::span<const ImageFormat* const> SaveDialogFormats() {
  static const std::vector<const ImageFormat*> offered = [] {
    std::vector<const ImageFormat*> formats;
    for (const ImageFormat& format : Formats)
      if (!format.extensions.empty()) formats.push_back(&format);
    return formats;
  }();
  return offered;
}

std::string AppendDefaultExtension(std::string_view path, int filterEntry) {
  const std::span<const ImageFormat* const> offered = SaveDialogFormats();
  if (filterEntry < 1 || filterEntry > static_cast<int>(offered.size())) return std::string(path);
  const std::string_view extension = offered[filterEntry - 1]->extensions.front();  // with its dot
  const std::string_view name = path.substr(path.find_last_of('/') + 1);
  if (name.ends_with('.')) return std::string(path).append(extension.substr(1));
  if (name.find('.') != std::string_view::npos) return std::string(path);
  return std::string(path).append(extension);
}

std::string KnownExtensions(std::string_view separator, std::string_view lastSeparator) {
  std::vector<std::string_view> extensions;
  for (const ImageFormat& format : Formats)
    if (!format.extensions.empty()) extensions.push_back(format.extensions.front());
  return JoinNames(extensions, separator, lastSeparator);
}

ImageResult CheckImage(const ModuleMatrix& matrix, const ImageOptions& options) {
  return CheckInput(matrix, SizedForSymbol(options, matrix));
}

ImageResult EncodeImage(const ModuleMatrix& matrix, const ImageFormat& format, const ImageOptions& asked,
                        std::string& out) {
  const ImageOptions options = SizedForSymbol(asked, matrix);
  if (ImageResult checked = CheckInput(matrix, options); !checked.Ok()) return checked;
  try {
    return format.write(matrix, options, out);
  } catch (const std::bad_alloc&) {
    return Failed(ImageFailure::OutOfMemory);
  }
}

ImageResult SaveImageFile(const ModuleMatrix& matrix, const ImageOptions& options, const std::string& path) {
  if (ImageResult checked = CheckImage(matrix, options); !checked.Ok()) return checked;
  const ImageFormat* format = FindFormatForFile(path);
  if (format == nullptr) return Failed(ImageFailure::UnknownExtension, std::string(ExtensionOf(path)));
  if (ImageResult target = CheckTarget(path); !target.Ok()) return target;
  std::string bytes;
  if (ImageResult encoded = EncodeImage(matrix, *format, options, bytes); !encoded.Ok()) return encoded;
  return WriteFileAtomically(path, bytes);
}

}  // namespace quillet
