// From what a user asked for to a symbol: the one road that the pages, the
// command line and batch all take. A request names the symbology, the bytes
// or the content fields, and the settings; the answer is a symbol or a
// failure kind that each front end words in its own language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "content/GeneralPayload.h"
#include "content/Payload.h"
#include "datamatrix/DmEncoder.h"
#include "qr/QrLevel.h"
#include "qr/QrSegments.h"
#include "symbol/ModuleMatrix.h"
#include "symbol/Symbology.h"

namespace quillet {

class CQrCodeEncoder;

// The fields of a content page, composed as the QR page composes them.
struct ContentFields {
  FormatTab page;
  // UTF-8 whatever the format: the request turns an operator format's
  // values into the code page 936 bytes it composes.
  FieldValueArray values;
};

// The character sets a symbol may name with an ECI designator at its start.
// 29 is GB 2312 to ZXing, which then reads GBK right; 31 and 32 would be
// closer, but ZXing's Java library refuses a symbol that names them.
enum class DataCharset { Unnamed, CodePage936, Utf8 };
constexpr int EciCodePage936 = 29;
constexpr int EciUtf8 = 26;

// What a symbol is to be, whatever its data: the one record of these
// settings that the pages, the command line and batch each keep.
struct SymbolSettings {
  Symbology symbology = Symbology::QrCode;
  // QR Code: the level, the smallest version accepted (0: automatic), and
  // how the data is split into segments. Content is always one segment,
  // as the QR page writes it.
  QrLevel level = DefaultQrLevel;
  // The user picked the level: a style that does not read keeps it, where
  // one left to the program is raised first (MakeReadableSymbol).
  bool levelChosen = false;
  int version = 0;
  QrSegments segments = QrSegments::Single;
  // Data Matrix: the size (an index, DmSmallestSquare or DmSmallestRectangle)
  // and the encodation scheme. With dmGrowSize a square size is the
  // smallest: data that does not fit takes the next larger square.
  int dmSize = DmSmallestSquare;
  int dmScheme = DmEncodation::Ascii;
  bool dmGrowSize = false;
  // Both: begin the symbol with the ECI designator of the data's character
  // set. Unset, content takes its format's default (EciByDefault) and
  // other data goes without: some readers print it as text or refuse it.
  std::optional<bool> eci = std::nullopt;
};

struct SymbolRequest : SymbolSettings {
  // The bytes to encode; ignored when `content` is set, whose payload is
  // encoded instead: an operator format's behind 0x01 0x10 in one segment,
  // the general format's as UTF-8 with the optimal segmentation.
  std::string data;
  // The character set of `data`, for the ECI; content knows its own.
  DataCharset charset = DataCharset::CodePage936;
  std::optional<ContentFields> content;
};

// Whether `settings` begin a symbol with an ECI, for content fields of
// `contentFormat` (0 for text or bytes).
bool EciInForce(const SymbolSettings& settings, int contentFormat);

// The designator `eci` puts in front of the request's data; 0 for none (ECI
// off, or bytes of no named character set).
int EciDesignator(const SymbolRequest& request);

enum class SymbolFailure {
  None,
  NothingToEncode,  // the data is empty, or every field is
  NoSuchTab,        // the content's tab is not one of its format's
  FieldNotCarried,  // a field's value has no place in its form (SymbolResult::field)
  NotInScheme,      // Data Matrix: the requested scheme cannot carry the data
  DoesNotFit,       // no version or size allowed holds the data
  OutOfMemory,
};

struct Symbol {
  Symbology symbology = Symbology::QrCode;
  ModuleMatrix matrix;
  std::string data;  // the bytes encoded: what a decoder reads back
  // QR Code
  int version = 0;
  QrLevel level = DefaultQrLevel;
  int mask = 0;
  // Data Matrix
  int dmSizeIndex = -1;
  std::vector<uint8_t> codewords;  // data and error correction
};

struct SymbolResult {
  SymbolFailure failure = SymbolFailure::None;
  // On success the symbol; on failure `symbol.data` still holds the bytes
  // that were to be encoded, which messages count.
  Symbol symbol;
  FieldProblem field;  // with FieldNotCarried: which field, and why
  bool Ok() const { return failure == SymbolFailure::None; }
};

SymbolResult MakeSymbol(const SymbolRequest& request);
// The same, with a QR Code made on `encoder`, which keeps the symbol as its
// own last encoding: the QR page has one encoder, and batch one per thread.
SymbolResult MakeSymbol(const SymbolRequest& request, CQrCodeEncoder& encoder);

}  // namespace quillet
