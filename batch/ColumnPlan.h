// What each column of a batch's header means: a field of the chosen content
// page, the raw text of the symbol, or a value used only in file names. A
// header that means none of these is refused before anything is written, so
// a misspelt column can never drop data silently.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/NameTemplate.h"
#include "content/Catalogue.h"
#include "symbol/Symbology.h"

namespace quillet {

// The column of a raw symbol's text (any case), read --csv's for a Data Matrix.
constexpr std::string_view TextColumn = "text";
// The column quillet-cli read --csv names each row's image in: a value for
// file names ({file}), never a field, and not refused when names do not use it.
constexpr std::string_view SourceFileColumn = "file";

struct BatchColumn {
  std::string header;  // UTF-8, as the input names it
  int slot = -1;       // the field it fills, or -1
  bool text = false;   // the raw text of the symbol
  bool required = false;  // a field the page marks "*": a row with it empty is a data error
  // An unnamed column is harmless while it stays empty; a value in it fails its row.
  bool unnamed = false;
  bool sourceFile = false;  // SourceFileColumn
};

struct ColumnPlan {
  std::vector<BatchColumn> columns;
  // True: one raw symbol per row from the text column; false: composed content.
  bool rawText = false;
  int textColumn = -1;
  // For each column of the name template, in its order, the input column.
  std::vector<int> nameColumns;
};

// Why a header was refused, for front ends that word it in their own language.
enum class HeaderFailure {
  None,
  NoSuchTab,           // the tab is not a tab of the operator format
  UnknownColumn,       // `columns` (the first also in `column`) are no field, not "text" and not in the name template
  TwoTextColumns,      // `column` and `other` both give the text
  TwoColumnsOneField,  // `column` and `other` both give the field `slot`
  NoTextColumn,        // Data Matrix without a column "text"
  TextWithField,       // a column "text", and `column` is a field
  NoField,             // no column is a field or "text"
  NoTemplateColumn,    // the name template uses `column`, which the input lacks
};

struct HeaderRefusal {
  HeaderFailure failure = HeaderFailure::None;
  std::string column;  // UTF-8, as the header (or the template) names it
  std::string other;   // the second column of a pair
  std::vector<std::string> columns;  // UnknownColumn: every such column, in the header's order
  int slot = -1;       // the field both columns give
  // What the header was planned for, to name the page and its fields.
  Symbology kind = Symbology::QrCode;
  FormatTab page{0, 0};
};

// `header` in UTF-8, for QR the fields of `page` by FieldOfName.
// A column named "text" (any case) is the page's TEXT field when the page
// has one, and otherwise asks for raw symbols.
std::optional<ColumnPlan> PlanColumns(const std::vector<std::string>& header, Symbology kind, FormatTab page,
                                      const NameTemplate& names, HeaderRefusal* refusal);

}  // namespace quillet
