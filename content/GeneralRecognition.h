// The inverses of the general format's composers: each standard form back
// to the fields of its tab. Part of the recognition of decoded bytes.
#pragma once

#include <optional>
#include <string_view>

#include "content/Recognition.h"

namespace quillet {

// The general format's tab and fields for a vCard, WIFI:, web address,
// tel:, SMSTO:, mailto:, geo:, iCalendar event or MECARD; nullopt for
// anything else.
std::optional<Recognised> RecogniseGeneral(std::string_view bytes);

}  // namespace quillet
