#include "image/ImageResult.h"

#include <cstring>

#include "image/ImageFormats.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Because(int error) { return error ? std::string(": ") + std::strerror(error) : std::string(); }

std::string UnknownExtension(const std::string& extension) {
  const std::string known = KnownExtensions(", ", " or ");
  if (extension.empty()) return "the file name has no extension; use " + known;
  return "unknown image file extension " + Quoted(extension) + "; use " + known;
}

}  // namespace

std::string DescribeImageFailure(const ImageResult& result) {
  const std::string& subject = result.subject;
  switch (result.failure) {
    case ImageFailure::None: return "done";
    case ImageFailure::NoSymbol: return "there is no symbol to save";
    case ImageFailure::BadScale:
      return "scale " + subject + " is outside " + std::to_string(MinScale) + " to " + std::to_string(MaxScale);
    case ImageFailure::BadQuietZone:
      return "a quiet zone of " + subject + " modules is outside 0 to " + std::to_string(MaxQuietZoneModules);
    case ImageFailure::BadDpi:
      return "dpi " + subject + " is outside " + std::to_string(MinDpi) + " to " + std::to_string(MaxDpi);
    case ImageFailure::UnknownExtension: return UnknownExtension(subject);
    case ImageFailure::FolderMissing: return "the folder " + Quoted(subject) + " does not exist";
    case ImageFailure::IsFolder: return Quoted(subject) + " is a folder";
    case ImageFailure::CannotCreate: return "cannot create a file in the folder " + Quoted(subject) + Because(result.error);
    case ImageFailure::CannotWrite: return "writing " + Quoted(subject) + " failed" + Because(result.error);
    case ImageFailure::CannotReplace: return "cannot replace " + Quoted(subject) + Because(result.error);
    case ImageFailure::OutOfMemory: return "out of memory";
    case ImageFailure::EncoderFailed: return "the image encoder failed: " + subject;
  }
  return "unknown failure";
}
