// Vector files and label sheets, drawn by the print module, which is opened on
// first use so that writing a PNG never loads cairo.
#pragma once

#include <memory>
#include <string>

#include "image/LabelSheet.h"
#include "image/ModuleMatrix.h"
#include "image/PhysicalSize.h"
#include "image/print/PrintModule.h"

// A one-page PDF, and an EPS, exactly the symbol's size with its quiet zone.
bool EncodePdf(const ModuleMatrix& matrix, const SymbolLayout& layout, std::string* bytes, std::string* error);
bool EncodeEps(const ModuleMatrix& matrix, const SymbolLayout& layout, std::string* bytes, std::string* error);

// A PDF label sheet whose bytes go to `sink` as pages complete.
std::unique_ptr<LabelSheetWriter> OpenLabelSheet(const LabelSheetSpec& spec, ByteSink sink, std::string* error);
