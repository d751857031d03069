// Decoded bytes back to the fields that would compose them: the inverse of
// payload composition, for a symbol read from an image. What the fields
// cannot hold exactly is said by a kind, and the text tab takes the whole
// content instead, so that nothing read is lost.
#pragma once

#include <string>
#include <string_view>

#include "content/Payload.h"

namespace quillet {

// Why the fields do not hold everything that was read.
enum class UnheldReason {
  None,
  UnknownTag,     // subject: the tag
  TagNotOnPage,   // no page of the type holds this tag; subject: the tag
  RepeatedTag,    // a tag given twice, and a field holds one value; subject: the tag
  Malformed,      // a payload cut short or with text outside its pairs
  NotCodePage,    // text that code page 936 cannot carry
  NotAChoice,     // a value the page cannot show, such as a time in UTC; subject: the value
};

struct Unheld {
  UnheldReason reason = UnheldReason::None;
  std::string subject;
};

// What a payload was recognised as.
enum class PayloadKind {
  Operator,  // 0x01 0x10, a type tag and its pairs
  General,   // a standard form of the general format (vCard, WIFI:, a URI, ...)
  Mecard,    // MECARD:, into the general format's business card
  Text,      // anything else, into the text tab
};

struct Recognised {
  PayloadKind kind = PayloadKind::Text;
  FormatTab page;
  FieldValueArray values;  // UTF-8, as the pages hold them
  Unheld unheld;           // None: the fields hold everything read

  bool Exact() const { return unheld.reason == UnheldReason::None; }
};

// The format, tab and values that a symbol's bytes come from. Where a type
// tag belongs to several formats, the first (after `preferredFormat`) whose
// page holds every tag read.
Recognised RecognisePayload(std::string_view bytes, int preferredFormat = 1);

// The whole content in the text tab of the format whose character set fits:
// UTF-8 the general format's, code page 936 the operator format's.
Recognised RecogniseAsText(std::string_view bytes, int preferredFormat = 1);

// The whole content in the operator format's text tab, converted to code
// page 936, for a front end that shows no general format.
Recognised RecogniseAsOperatorText(std::string_view bytes, int preferredFormat = 1);

}  // namespace quillet
