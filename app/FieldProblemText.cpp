#include "app/FieldProblemText.h"

#include <string_view>

#include "content/Catalogue.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace {

// Every kind is worded by a switch, so that the compiler names a kind added
// below and not worded here.
std::string_view Words(FieldFailure failure) {
  switch (failure) {
    case FieldFailure::Missing: return UiText::FieldMissing;
    case FieldFailure::NotUtf8: return UiText::FieldNotUtf8;
    case FieldFailure::NotANumber: return UiText::FieldNotANumber;
    case FieldFailure::OutOfRange: return UiText::FieldOutOfRange;
    case FieldFailure::NotADateTime: return UiText::FieldNotADateTime;
    case FieldFailure::EndsBeforeStart: return UiText::FieldEndsBeforeStart;
    case FieldFailure::NotAChoice: return UiText::FieldNotAChoice;
    case FieldFailure::NotAPhoneNumber: return UiText::FieldNotAPhoneNumber;
    case FieldFailure::NotAMailAddress: return UiText::FieldNotAMailAddress;
    case FieldFailure::NoIdnaForm: return UiText::FieldNoIdnaForm;
    case FieldFailure::PasswordUnused: return UiText::FieldPasswordUnused;
    case FieldFailure::None: break;
  }
  return {};
}

// "纬度" for the latitude field of the place page; the tag where no page shows it.
QString FieldCaption(int slot, int operatorFormat, int tab) {
  if (const PageSpec* page = PageForTab(operatorFormat, tab))
    for (const FieldSpec& field : page->fields)
      if (field.slot == slot && !field.caption.empty()) return FromUtf8(BareCaption(field.caption));
  return slot >= 0 && slot < FieldSlotCount ? FromUtf8(FieldTags[static_cast<size_t>(slot)]) : QString();
}

}  // namespace

QString FieldProblemText(const FieldProblem& problem, int operatorFormat, int tab) {
  QString why = FromUtf8(Words(problem.failure));
  why.replace(QStringLiteral("%2"), FromUtf8(DateTimeLayout));
  return FromUtf8(UiText::NoSymbolBecause).arg(why.arg(FieldCaption(problem.slot, operatorFormat, tab)));
}
