#include "content/idna/IdnaModule.h"

#include <idn2.h>

#include <memory>

namespace quillet {

namespace {

std::optional<std::string> HostToAscii(const std::string& host) {
  char* converted = nullptr;
  if (idn2_to_ascii_8z(host.c_str(), &converted, IDN2_NFC_INPUT | IDN2_NONTRANSITIONAL) != IDN2_OK)
    return std::nullopt;
  const std::unique_ptr<char, decltype(&idn2_free)> owned(converted, idn2_free);
  return std::string(converted);
}

std::optional<std::string> HostToUnicode(const std::string& host) {
  char* converted = nullptr;
  if (idn2_to_unicode_8z8z(host.c_str(), &converted, 0) != IDN2_OK) return std::nullopt;
  const std::unique_ptr<char, decltype(&idn2_free)> owned(converted, idn2_free);
  return std::string(converted);
}

constexpr IdnaModuleApi Api{HostToAscii, HostToUnicode};

}  // namespace

const IdnaModuleApi* QuilletIdnaModule() { return &Api; }

}  // namespace quillet
