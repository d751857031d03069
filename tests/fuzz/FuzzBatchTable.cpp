// The spreadsheet reader and the name template with any bytes. The first
// line of the input is the name template, the rest the table. No crash, no
// record beyond the reader's limits, and every file name a plain name inside
// the output folder, whatever the cells hold.
#include <sstream>
#include <string>

#include "batch/NameTemplate.h"
#include "batch/TableReader.h"
#include "batch/TextEncoding.h"
#include "tests/support/Require.h"

using namespace quillet;

namespace {

void RequireInsideFolder(const std::string& name) {
  Require(name.find('/') == std::string::npos && name.find('\\') == std::string::npos);
  Require(name.empty() || name[0] != '.');
  for (const char c : name) Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t newline = bytes.find('\n');
  const std::string templateText = bytes.substr(0, newline);
  const std::string table = newline == std::string::npos ? std::string() : bytes.substr(newline + 1);
  const auto names = NameTemplate::Parse(templateText, nullptr);

  std::istringstream in(table);
  TableReader reader(in, size % 2 ? '\t' : ',');
  EncodingDetector detector;
  long row = 0;
  for (TableRecord record; reader.Next(record);) {
    Require(record.cells.size() <= TableReader::MaxRecordCells && !record.cells.empty());
    size_t bytesInRecord = 0;
    for (const std::string& cell : record.cells) {
      bytesInRecord += cell.size();
      detector.See(cell);
      TextProblem problem;
      (void)CellToCodePage(cell, detector.Result(), &problem);
    }
    Require(bytesInRecord <= TableReader::MaxRecordBytes);
    if (!names) continue;
    std::vector<std::string> values = record.cells;
    values.resize(names->Columns().size());
    ++row;
    RequireInsideFolder(names->Expand(row, DecimalWidth(row), values));
  }
  for (const std::string& value : {bytes, templateText, table}) RequireInsideFolder(SafeFileNamePart(value));
  return 0;
}
