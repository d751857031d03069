// Vector files and label sheets, drawn by the print module, which is opened on
// first use so that writing a PNG never loads cairo.
#pragma once

#include <memory>
#include <string>

#include "image/LabelSheet.h"
#include "symbol/ModuleMatrix.h"
#include "image/PhysicalSize.h"
#include "image/print/PrintModule.h"

namespace quillet {

// Writers of the formats table: a one-page PDF, and an EPS, exactly the
// symbol's size with its quiet zone, modules as filled rectangles.
ImageResult WritePdf(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);
ImageResult WriteEps(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out);

// A PDF label sheet whose bytes go to `sink` as pages complete.
std::unique_ptr<LabelSheetWriter> OpenLabelSheet(const LabelSheetLayout& layout, ByteSink sink, SheetProblem* problem);

}  // namespace quillet
