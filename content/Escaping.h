// The quoting rules of the general format's standard forms, each applied to
// one value. Values are UTF-8 and come back UTF-8 or ASCII.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// vCard 3.0 and iCalendar text: "\" "," ";" escaped with "\", every line
// break (CR LF, CR or LF) written as "\n".
std::string EscapeCardText(std::string_view value);

// A WIFI: value: "\" ";" "," ":" and '"' escaped with "\".
std::string EscapeWifiValue(std::string_view value);

// Every byte but the unreserved ASCII letters, digits and "-._~" as %XX,
// and `alsoKept` (e.g. "@," in a mail address) kept as it is.
std::string PercentEncode(std::string_view value, std::string_view alsoKept = {});

// Line breaks made CR LF, as mail bodies carry them.
std::string CrLfLineBreaks(std::string_view value);

// Why an address has no URI form.
enum class UriFailure {
  NoIdnaForm,     // the host has no IDNA (punycode) form
  NoIdnaLibrary,  // the host is not ASCII and the IDNA module cannot be loaded
};

// An address as a URI readers open: "https://" in front of one without a
// scheme, the host through IDNA when it is not ASCII, and every byte that
// may not stand in a URI (outside ASCII, blanks, controls, '"' "<" ">" "\"
// "^" "`" "{" "|" "}") percent-encoded; existing %XX stay. Nullopt, with the
// reason in `failure`, when the host cannot be written in ASCII.
std::optional<std::string> AddressAsUri(std::string_view address, UriFailure* failure = nullptr);

// A URI's host as people read it: punycode labels ("xn--") back in their
// script, when AddressAsUri writes that form back to the very same host;
// otherwise, and without the IDNA module, the URI as it is.
std::string WithReadableHost(std::string_view uri);

}  // namespace quillet
