// The command line's words in the user's language, by gettext: English in
// the code, the catalogues in po/. Option names, tags, CSV headers and
// values, the manifest's columns and --dump's lines are read by scripts and
// stay as they are under every locale: only the sentences people read are
// marked with _ or N_.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "content/TextList.h"

namespace quillet {

// The catalogue's translation of an English sentence; the sentence itself
// when there is none or the locale's messages are English.
const char* _(const char* english);
// Marks a sentence for the catalogue where it is not yet translated (a table
// row's help, translated where it is printed).
constexpr const char* N_(const char* english) { return english; }

// The singular or the plural sentence as `count` asks in the user's language.
const char* P_(const char* singular, const char* plural, unsigned long count);

// The sentence with {1}, {2}, ... replaced by the values in order, so that
// a translation may put them where its language wants them.
std::string Fill(std::string_view sentence, std::initializer_list<std::string_view> values);

// "L, M, Q or H": the values one of which an option takes.
template <typename Names>
std::string Alternatives(const Names& names) {
  return JoinNames(names, _(", "), _(" or "));
}

// Speaks the user's language as the environment (LC_ALL, LC_MESSAGES, LANG,
// LANGUAGE) asks; numbers stay as in the C locale, so that nothing written
// or parsed changes with it. The catalogues are found under
// QUILLET_LOCALEDIR when set (the tests point it into the build tree), else
// under the installed locale folder.
void SpeakUserLanguage();

}  // namespace quillet
