// Reading the logo a user gives: a PNG, JPEG or SVG file, hostile until
// checked. Its kind is told by its bytes, not its name; its size is bounded
// before anything is allocated for its pixels.
#pragma once

#include <memory>
#include <string>

#include "image/SymbolStyle.h"
#include "verify/ImageRead.h"

namespace quillet {

// The largest logo file read, and the most pixels a side once decoded (an SVG
// is drawn at LogoRenderSide): a logo covers at most a few hundred pixels of
// any symbol we write. A PNG larger than MaxLogoSide, up to
// MaxLogoSourceSide, is decoded a row at a time and scaled down to at most
// LogoReducedSide, so that a photograph's size costs time, not memory; above
// it (a decompression bomb claims more) it is refused before decoding.
constexpr long long MaxLogoFileBytes = 16 << 20;
constexpr int MaxLogoSide = 4096;
constexpr int MaxLogoSourceSide = 10000;
constexpr int LogoReducedSide = 1024;
constexpr int LogoRenderSide = 512;

enum class LogoFileFailure {
  None,
  CannotOpen,    // subject: the path; error: errno
  TooLarge,      // subject: the path; more than MaxLogoFileBytes, or a side above MaxLogoSourceSide (JPEG: MaxLogoSide)
  NotALogo,      // subject: the path; neither PNG, JPEG nor SVG by its bytes
  Unreadable,    // subject: the path; reason: why, or the library's message as detail
  NoReader,      // the module that reads logos is missing; detail: the loader's message
};

// Why the readers refused a logo's bytes.
struct LogoReadProblem {
  LogoFileFailure failure = LogoFileFailure::None;  // TooLarge, NotALogo or Unreadable
  ImageReadDetail reason = ImageReadDetail::None;   // for Unreadable
  std::string detail;                               // for a LibraryMessage reason, the library's message
};

struct LogoFileResult {
  LogoFileFailure failure = LogoFileFailure::None;
  std::string subject;
  ImageReadDetail reason = ImageReadDetail::None;
  std::string detail;
  int error = 0;
  std::shared_ptr<const RgbaImage> logo;
  bool Ok() const { return failure == LogoFileFailure::None; }
};

LogoFileResult LoadLogoFile(const std::string& path);

}  // namespace quillet
