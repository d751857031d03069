// Composition of the general format: each tab's fields in the standard form
// that phone cameras open (vCard, WIFI:, a URI, tel:, SMSTO:, mailto:, geo:,
// an iCalendar event, plain text), as UTF-8 without any prefix.
#pragma once

#include <string>

#include "content/CodePage.h"
#include "content/Payload.h"

namespace quillet {

// Why a value cannot go into its tab's form; the front ends word it with
// the field it names.
enum class FieldFailure {
  None,
  Missing,          // a field the form needs is empty: a card without a name
  NotUtf8,          // the value is no UTF-8 text
  NotANumber,       // a latitude or longitude that is no decimal number
  OutOfRange,       // a latitude outside -90..90, a longitude outside -180..180
  NotADateTime,     // not as DateTimeLayout, or no such day or time
  EndsBeforeStart,  // an event that ends before it starts
  NotAChoice,       // none of the field's choices (or for a check box, true or false)
  NotAPhoneNumber,  // a number with characters no dial pad has
  NotAMailAddress,  // a recipient without "@"
  NoIdnaForm,       // a host name that IDNA cannot write in ASCII
  NoIdnaLibrary,    // a host name outside ASCII, and the IDNA library cannot be loaded
  PasswordUnused,   // a password for a network chosen to have none
  NotInCodePage,    // an operator format's value that code page 936 cannot carry (`text` says where)
};

struct FieldProblem {
  FieldFailure failure = FieldFailure::None;
  int slot = -1;  // the field at fault
  TextProblem text;  // with NotInCodePage
  explicit operator bool() const { return failure != FieldFailure::None; }
};

// The UTF-8 payload of the general format's `tab`, from the fields of that
// tab's page (other slots are ignored). Empty when every one of them is
// empty, when the tab is unknown, and when a value cannot be carried, which
// `problem` then names.
std::string ComposeGeneralPayload(const FieldValueArray& values, int tab, FieldProblem* problem = nullptr);

}  // namespace quillet
