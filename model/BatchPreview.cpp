#include "model/BatchPreview.h"

#include <algorithm>

#include "batch/BatchInput.h"
#include "batch/TableReader.h"
#include "content/TextList.h"

namespace quillet {

namespace {

// One column alone, as the engine plans it: the field or the text it feeds.
ColumnFeed FeedOf(const std::string& header, const BatchPage& page, const NameTemplate& names) {
  if (Trimmed(header).empty()) return {ColumnRole::Unnamed};
  if (const auto alone = PlanColumns({header}, page.symbology, page.contentPage, NameTemplate{}, static_cast<HeaderRefusal*>(nullptr))) {
    const BatchColumn& column = alone->columns.front();
    if (column.slot >= 0) return {ColumnRole::Field, column.slot};
    if (column.text) return {ColumnRole::Text};
  }
  const auto& used = names.Columns();
  if (std::find(used.begin(), used.end(), Trimmed(header)) != used.end()) return {ColumnRole::NameOnly};
  return {ColumnRole::Nothing};
}

}  // namespace

std::optional<BatchTable> ReadBatchTable(const std::string& path, std::optional<TextEncoding> encoding, int maxRows,
                                         BatchProblem* problem) {
  auto input = OpenBatchInput({path, nullptr, encoding, true, nullptr}, problem);
  if (!input) return std::nullopt;
  TableReader reader(*input->stream, input->delimiter);
  TableRecord record;
  if (!reader.Next(record)) {
    *problem = EmptyInput();
    return std::nullopt;
  }
  BatchTable table;
  table.encoding = input->encoding;
  table.rows = std::max(input->records - 1, 0L);
  for (const std::string& cell : record.cells)
    table.header.push_back(CellToUtf8(cell, input->encoding, nullptr).value_or(cell));
  while (static_cast<int>(table.firstRows.size()) < maxRows && reader.Next(record)) {
    auto& row = table.firstRows.emplace_back();
    for (const std::string& cell : record.cells) row.push_back(CellToUtf8(cell, input->encoding, nullptr));
  }
  return table;
}

int BatchPlanCheck::Unused() const {
  return static_cast<int>(std::count_if(columns.begin(), columns.end(),
                                        [](const ColumnFeed& c) { return c.role == ColumnRole::Nothing; }));
}

BatchPlanCheck CheckBatchColumns(const std::vector<std::string>& header, const BatchPage& page,
                                 const NameTemplate& names) {
  BatchPlanCheck check;
  for (const std::string& column : header) check.columns.push_back(FeedOf(column, page, names));
  PlanColumns(header, page.symbology, page.contentPage, names, &check.refusal);
  return check;
}

std::optional<std::string> MissingColumn(const NameTemplate& names, const std::vector<std::string>& header) {
  for (const std::string& column : names.Columns())
    if (std::none_of(header.begin(), header.end(), [&](const std::string& h) { return Trimmed(h) == column; }))
      return column;
  return std::nullopt;
}

}  // namespace quillet
