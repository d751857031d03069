// Payload composition of the operator formats: field values, operator format
// and tab position in, the payload string and the QR encoder's input out. All
// strings are code page 936 bytes. (通用格式 composes in GeneralPayload.h.)
#pragma once

#include <array>
#include <string>

#include "content/Catalogue.h"

namespace quillet {

using FieldValueArray = std::array<std::string, FieldSlotCount>;

// Stores one field's whole text. A slot from FieldSlotCount up is no field:
// nothing is stored and the result is false.
bool StoreFieldValue(FieldValueArray& values, unsigned slot, std::string text);

// Type tag, ":", every non-empty field as tag ":" value ";" in slot order,
// and one more ";". Empty when every value is empty or the tab is unknown.
std::string ComposeFieldPayload(const FieldValueArray& values, int operatorFormat, int tab);

// The bytes the QR encoder receives: 0x01 0x10 followed by the payload.
std::string EncoderInput(const std::string& payload);

}  // namespace quillet
