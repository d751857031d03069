#include "cli/Translate.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>

namespace quillet {

namespace {
constexpr const char* Domain = "quillet-cli";
}

const char* _(const char* english) { return dgettext(Domain, english); }

const char* P_(const char* singular, const char* plural, unsigned long count) {
  return dngettext(Domain, singular, plural, count);
}

std::string Fill(std::string_view sentence, std::initializer_list<std::string_view> values) {
  std::string text;
  for (size_t at = 0; at < sentence.size(); ++at) {
    const size_t index = at + 2 < sentence.size() && sentence[at] == '{' && sentence[at + 2] == '}'
                             ? static_cast<size_t>(sentence[at + 1] - '1')
                             : values.size();
    if (index < values.size()) {
      text += values.begin()[index];
      at += 2;
    } else {
      text += sentence[at];
    }
  }
  return text;
}

void SpeakUserLanguage() {
  // Messages and the character set only: the numeric locale would make
  // printf write "0,5" and strtod stop at "0.5" under some languages.
  std::setlocale(LC_CTYPE, "");
  std::setlocale(LC_MESSAGES, "");
  const char* folder = std::getenv("QUILLET_LOCALEDIR");
  bindtextdomain(Domain, folder && *folder ? folder : QUILLET_LOCALEDIR);
  // Everything else the tool writes (captions, fields) is UTF-8.
  bind_textdomain_codeset(Domain, "UTF-8");
}

}  // namespace quillet
