#include "content/Escaping.h"

#include <algorithm>
#include <utility>

#include "content/LazyModule.h"
#include "content/TextList.h"
#include "content/idna/IdnaModule.h"

namespace quillet {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsUnreserved(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}

void AppendPercent(std::string& out, unsigned char byte) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  out += '%';
  out += Hex[byte >> 4];
  out += Hex[byte & 0x0F];
}

// Bytes that no URI may hold as they are.
bool MustBeEncodedInUri(unsigned char c) {
  return c <= 0x20 || c >= 0x7F || std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string EscapeWith(std::string_view value, std::string_view special) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (special.find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

// The length of "scheme:" at the start, or 0. "example.cn:8080" names a
// host and port, not a scheme, and so does "localhost:80/x".
size_t SchemeLength(std::string_view address) {
  if (address.empty() || !IsAsciiLetter(address[0])) return 0;
  size_t end = 1;
  while (end < address.size() && (IsAsciiLetter(address[end]) || IsAsciiDigit(address[end]) ||
                                  address[end] == '+' || address[end] == '-' || address[end] == '.'))
    ++end;
  if (end >= address.size() || address[end] != ':') return 0;
  const bool portFollows = end + 1 < address.size() && IsAsciiDigit(address[end + 1]);
  return portFollows ? 0 : end + 1;
}

// [first, last) of the host within "scheme://authority...", or empty.
std::pair<size_t, size_t> HostSpan(std::string_view uri, size_t schemeLength) {
  if (uri.substr(schemeLength, 2) != "//") return {0, 0};
  const size_t authority = schemeLength + 2;
  const size_t authorityEnd = std::min(uri.find_first_of("/?#", authority), uri.size());
  const size_t at = uri.substr(authority, authorityEnd - authority).rfind('@');
  const size_t host = at == std::string_view::npos ? authority : authority + at + 1;
  if (host < authorityEnd && uri[host] == '[') return {host, host};  // an IPv6 literal is ASCII
  const size_t colon = uri.substr(host, authorityEnd - host).rfind(':');
  return {host, colon == std::string_view::npos ? authorityEnd : host + colon};
}

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The IDNA library is opened only for a host outside ASCII.
std::optional<std::string> HostToAscii(std::string_view host, UriFailure* failure) {
  if (IsAscii(host)) return std::string(host);
  const IdnaModuleApi* idna = ModuleApi<IdnaModuleApi>(QUILLET_IDNA_MODULE, QUILLET_IDNA_ENTRY, nullptr);
  std::optional<std::string> ascii = idna ? idna->hostToAscii(std::string(host)) : std::nullopt;
  if (!ascii && failure) *failure = idna ? UriFailure::NoIdnaForm : UriFailure::NoIdnaLibrary;
  return ascii;
}

std::string EncodeUriBytes(std::string_view uri) {
  std::string out;
  out.reserve(uri.size());
  for (size_t i = 0; i < uri.size(); ++i) {
    const auto c = static_cast<unsigned char>(uri[i]);
    // A "%" that already starts an escape stays; a stray one is escaped.
    const bool escapeStarts = c == '%' && i + 2 < uri.size() && IsHexDigit(uri[i + 1]) && IsHexDigit(uri[i + 2]);
    if (MustBeEncodedInUri(c) || (c == '%' && !escapeStarts)) {
      AppendPercent(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Every line break (CR LF, CR or LF) written as `lineBreak`, every other
// byte through `put`.
template <typename Put>
std::string WithLineBreaks(std::string_view value, std::string_view lineBreak, Put put) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' || c == '\n') {
      out += lineBreak;
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
    } else {
      put(out, c);
    }
  }
  return out;
}

}  // namespace

std::string EscapeCardText(std::string_view value) {
  return WithLineBreaks(value, "\\n", [](std::string& out, char c) {
    if (c == '\\' || c == ',' || c == ';') out += '\\';
    out += c;
  });
}

std::string EscapeWifiValue(std::string_view value) { return EscapeWith(value, "\\;,:\""); }

std::string PercentEncode(std::string_view value, std::string_view alsoKept) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    if (IsUnreserved(c) || alsoKept.find(c) != std::string_view::npos) {
      out += c;
    } else {
      AppendPercent(out, static_cast<unsigned char>(c));
    }
  }
  return out;
}

std::string CrLfLineBreaks(std::string_view value) {
  return WithLineBreaks(value, "\r\n", [](std::string& out, char c) { out += c; });
}

std::optional<std::string> AddressAsUri(std::string_view address, UriFailure* failure) {
  size_t schemeLength = SchemeLength(address);
  std::string uri = schemeLength == 0 ? "https://" + std::string(address) : std::string(address);
  if (schemeLength == 0) schemeLength = std::string_view("https:").size();
  const auto [host, hostEnd] = HostSpan(uri, schemeLength);
  const auto asciiHost = HostToAscii(std::string_view(uri).substr(host, hostEnd - host), failure);
  if (!asciiHost) return std::nullopt;
  uri.replace(host, hostEnd - host, *asciiHost);
  return EncodeUriBytes(uri);
}

std::string WithReadableHost(std::string_view uri) {
  const size_t colon = uri.find(':');
  if (colon == std::string_view::npos) return std::string(uri);
  const auto [host, hostEnd] = HostSpan(uri, colon + 1);
  const std::string ascii(uri.substr(host, hostEnd - host));
  // Only a host with punycode in it has another form: no module is opened for the others.
  std::string lower = ascii;
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
  if (!IsAscii(ascii) || (!lower.starts_with("xn--") && lower.find(".xn--") == std::string::npos))
    return std::string(uri);
  const IdnaModuleApi* idna = ModuleApi<IdnaModuleApi>(QUILLET_IDNA_MODULE, QUILLET_IDNA_ENTRY, nullptr);
  const std::optional<std::string> unicode = idna ? idna->hostToUnicode(ascii) : std::nullopt;
  if (!unicode || idna->hostToAscii(*unicode) != ascii) return std::string(uri);
  return std::string(uri.substr(0, host)) + *unicode + std::string(uri.substr(hostEnd));
}

}  // namespace quillet
