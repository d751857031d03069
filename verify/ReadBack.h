// Read-back verification: after a file is written, read it as a scanner's
// software would and check that the bytes decoded are the bytes encoded.
// The decoders are independent libraries (zxing-cpp and zbar for QR Code,
// libdmtx for Data Matrix) in a module that is opened only when asked for.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/ImageFormats.h"
#include "verify/CameraConditions.h"
#include "verify/ImageRead.h"
#include "image/StyledSymbol.h"
#include "symbol/ModuleMatrix.h"
#include "symbol/Symbology.h"

namespace quillet {

enum class ReadBackStatus {
  ReadBack,        // a decoder gave exactly the encoded bytes
  NotRead,         // no decoder found the symbol
  DifferentBytes,  // a decoder read other bytes than were encoded
  CannotCheck,     // the file could not be read, or the decoders are missing; the fault says why
};

// Why a file did not read back, for each front end to word.
enum class ReadBackFault {
  None,
  ModuleMissing,    // CannotCheck: the decoders' module did not load; `cause` the loader's words
  FileNotOpened,    // CannotCheck
  FileSizeUnknown,  // CannotCheck
  FileTooLarge,     // CannotCheck: larger than any symbol file
  FileNotRead,      // CannotCheck: reading it failed
  NotAnImage,       // NotRead: no format a reader recognises
  ImageBroken,      // NotRead: `image` says why
  SymbolNotFound,   // NotRead: none of `decoders` found the symbol
  BytesDiffer,      // DifferentBytes: `decoder` read `readBytes` bytes, not the `expectedBytes` encoded
  // NotRead or DifferentBytes: a styled symbol that `decoder` did not read
  // exactly under a camera condition where it read the plain one (LostCondition)
  LostUnderCondition,
};

// What would most likely make a style that lost a condition read: for the
// message that says so.
struct StyleAdvice {
  bool smallerLogo = false;
  bool higherLevel = false;
  bool moreContrast = false;
};

struct ReadBackResult {
  ReadBackStatus status = ReadBackStatus::CannotCheck;
  std::string decoder;  // who read it back (or misread it): "zxing-cpp", "zbar", "libdmtx"
  ReadBackFault fault = ReadBackFault::None;
  std::vector<std::string> decoders;  // who tried, in order
  size_t readBytes = 0, expectedBytes = 0;
  std::string cause;  // a library's own words
  ImageReadProblem image;
  // A styled symbol's read-back under each camera condition, by each decoder.
  std::vector<ConditionReading> conditions;
  StyleAdvice advice;  // with LostUnderCondition
  // What MakeReadableSymbol raised for the style to read: the level and the
  // version first made; nullopt and 0 where it raised nothing.
  std::optional<QrLevel> levelRaisedFrom;
  int versionGrownFrom = 0;

  bool Ok() const { return status == ReadBackStatus::ReadBack; }
};

// Reads the file at `path` (PNG, JPEG, GIF or BMP pixels as written; a PDF,
// EPS or SVG by its modules drawn at the file's scale) and decodes it.
ReadBackResult VerifySymbolFile(const std::string& path, const ModuleMatrix& matrix, const ImageOptions& options,
                                Symbology symbology, std::string_view expected);

// The same for a file's bytes before they are written (to standard output).
ReadBackResult VerifySymbolBytes(std::string_view bytes, const ModuleMatrix& matrix, const ImageOptions& options,
                                 Symbology symbology, std::string_view expected);

// The check of a vector page, such as a label on a sheet: the modules drawn
// at the scale of `options`.
ReadBackResult VerifySymbolModules(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                                   std::string_view expected);

// The same check for pixels in memory, 8-bit grey, row after row.
ReadBackResult VerifySymbolPixels(const uint8_t* pixels, int width, int height, Symbology symbology,
                                  std::string_view expected);

// How far a styled symbol's camera check goes: every condition, for the
// pages and --dump that show them all, or up to the first the style loses,
// for batch, whose rows need only the verdict and the first loss that words it.
enum class CameraCheckDepth { EveryCondition, UntilLoss };

// A styled symbol, rendered at the options' scale on its background (white
// where it is transparent), must read back with every decoder of its
// symbology (QR Code: zxing-cpp and zbar), not only the first that finds it:
// colours and a logo are what a decoder's blind spot trips over. `decoder`
// names them all on success; the detail names the one that failed. Then it
// must read under every camera condition, by every decoder, wherever the
// plain symbol of the same matrix does (`conditions`).
ReadBackResult VerifyStyledSymbol(const ModuleMatrix& matrix, const ImageOptions& options, Symbology symbology,
                                  std::string_view expected,
                                  CameraCheckDepth depth = CameraCheckDepth::EveryCondition);

// The first reading in which the style lost what the plain symbol keeps; null when none.
// Inline: the words of every front end name it, and they link no decoders.
inline const ConditionReading* LostCondition(const ReadBackResult& result) {
  for (const ConditionReading& reading : result.conditions)
    if (reading.Lost()) return &reading;
  return nullptr;
}

// The symbol as `options` draw it, under every camera condition but
// AsPrinted, by every decoder (CameraConditions.h): `styled` only, no plain
// symbol beside it. The conditions of a styled symbol's read-back, and how
// the plain symbol of a matrix fares under them.
std::vector<ConditionReading> ReadUnderCameraConditions(const ModuleMatrix& matrix, const ImageOptions& options,
                                                        Symbology symbology, std::string_view expected);

// A style on a symbol, checked as every front end checks it before writing
// or showing it as good: the logo placed within its bound, then the read-back.
struct StyledSymbolCheck {
  LogoFit fit;
  ReadBackResult readBack;  // CannotCheck, with no detail, when the logo did not fit
  bool Ok() const { return fit.Ok() && readBack.Ok(); }
};

// Sets `options` for `symbol` in `style` (see ApplyStyle) and reads the
// styled symbol back when its logo fits.
StyledSymbolCheck PlaceAndReadBack(const Symbol& symbol, const SymbolStyle& style, ImageOptions& options,
                                   CameraCheckDepth depth = CameraCheckDepth::EveryCondition);

// A styled symbol made and checked as the command line and batch make it:
// grown for its logo (MakeStyledSymbol), then checked by `check`, which
// places and reads back the symbol as the front end draws it (nullopt: not
// checked, as a plain style is not). A QR Code whose style the decoders miss
// or that loses a camera condition the plain symbol keeps is mended in this
// order: the level raised a step at a time up to H where the request did not
// choose it (at least the same version), then, with no version chosen, the
// version grown one at a time, at most MaxReadBackGrowth versions above the
// first; a version the logo no longer fits is not taken. The result's
// read-back says what was raised.
constexpr int MaxReadBackGrowth = 3;
struct CheckedSymbol {
  SymbolResult made;
  std::optional<StyledSymbolCheck> check;
};
// The check of `symbol` in the style of `requested`, on the options sized
// for it as they are written; nullopt for a plain style, or for options that
// do not suit the symbol (CheckImage says why).
std::optional<StyledSymbolCheck> CheckStyledSymbol(const Symbol& symbol, const ImageOptions& requested,
                                                   CameraCheckDepth depth = CameraCheckDepth::EveryCondition);
using StyledSymbolChecker = std::function<std::optional<StyledSymbolCheck>(const Symbol&)>;
CheckedSymbol MakeReadableSymbol(const SymbolRequest& request, const SymbolStyle& style, CQrCodeEncoder* encoder,
                                 const StyledSymbolChecker& check);

// Whether a higher level could help a symbol that lost a camera condition:
// a QR Code below the strongest.
bool HigherLevelCanHelp(const Symbol& symbol);

// What in the choice of format and options most likely keeps a file from
// reading back, for the warning that says so.
enum class ReadBackRisk { None, NoQuietZone, OnePixelModules, JpegAtSmallScale };
ReadBackRisk LikelyReadBackRisk(const ImageFormat& format, const ImageOptions& options);

}  // namespace quillet
