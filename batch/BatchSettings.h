// What a batch makes and where it goes: one record that the command line and
// the dialog each fill from their own controls, and its one check.
#pragma once

#include <optional>
#include <string>

#include "batch/ColumnPlan.h"
#include "batch/NameTemplate.h"
#include "datamatrix/DmEncoder.h"
#include "image/ImageFormats.h"
#include "image/LabelSheet.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

// Instead of one file per row, one PDF with every row's symbol as a label,
// in a grid on as many pages as needed.
struct LabelSheetJob {
  LabelSheetLayout sheet;        // paper, grid, and the symbols' physical size
  std::string captionTemplate;   // "{row}" and "{COLUMN}" as in file names; empty: no captions
  std::string path;              // the PDF file
};

// What batch and the command line compose unless told otherwise: 通用格式's
// first tab and UTF-8 text, what every phone reads. The window's dialog
// passes its page's choice instead.
constexpr FormatTab PhoneFirstPage{GeneralFormat, 0};
constexpr DataCharset PhoneFirstCharset = DataCharset::Utf8;

struct BatchSettings : SymbolSettings {
  // QR: the content page.
  FormatTab contentPage = PhoneFirstPage;
  // A text column's cells as the symbol's bytes: UTF-8, or code page 936.
  DataCharset textCharset = PhoneFirstCharset;

  // The size, as a scale or a printed size (moduleMm, symbolMm), worked out
  // for each row's symbol; label sheets take the layout's.
  ImageOptions image;
  // Read every file back with independent decoders; a row that does not read back fails.
  bool verify = false;
  std::optional<LabelSheetJob> labels;  // set: one label sheet instead of outputDir
  std::string outputDir;
  std::string nameTemplate{NameTemplate::Default};
  int jobs = 0;              // threads that encode and write; 0: one per hardware thread
  std::string manifestPath;  // empty: no manifest
};

// Why the file names or the label sheet cannot be made, for each front end to word.
enum class OutputRule {
  None,
  NameTemplateBroken,  // `fault`: an unclosed "{", an empty "{}", a "/" or a control character
  NoImageExtension,    // the name template does not end in an image format's extension
  SameNameEveryRow,    // the name template has neither {row} nor a column
  CaptionBroken,       // `fault`: the caption template's
  SheetNotPdf,         // the label sheet's file does not end in ".pdf"
};

struct OutputProblem {
  OutputRule rule = OutputRule::None;
  std::string subject;  // the template or the sheet's file, as given
  TemplateFault fault = TemplateFault::None;  // why the template does not parse
  explicit operator bool() const { return rule != OutputRule::None; }
};

// The rules of a batch's output, checked before anything is read or written;
// `names` gets the parsed template (the caption's on a sheet) when it parses.
OutputProblem CheckBatchOutput(const BatchSettings& settings, std::optional<NameTemplate>* names = nullptr);

}  // namespace quillet
