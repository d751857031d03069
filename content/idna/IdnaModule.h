// The interface of the IDNA module (libquillet_idna.so), which links libidn2
// and through it libunistring. Only a host outside ASCII needs it, so the
// composition in content/Escaping.cpp opens it on first use.
#pragma once

#include <optional>
#include <string>

namespace quillet {

struct IdnaModuleApi {
  // A UTF-8 host name in its ASCII (punycode) form, normalised to NFC and
  // mapped as IDNA 2008 nontransitional; none when it has no such form.
  std::optional<std::string> (*hostToAscii)(const std::string& host);
  // An ASCII host name with its punycode labels in UTF-8, as people read it;
  // none when a label is no valid punycode.
  std::optional<std::string> (*hostToUnicode)(const std::string& host);
};

#define QUILLET_IDNA_MODULE "libquillet_idna.so"
#define QUILLET_IDNA_ENTRY "QuilletIdnaModule"
extern "C" __attribute__((visibility("default"))) const IdnaModuleApi* QuilletIdnaModule();

}  // namespace quillet
