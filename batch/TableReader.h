// A streaming reader of spreadsheet text: CSV as RFC 4180 describes it (or the
// same with tabs, for TSV). Bytes in, cells out; text is decoded elsewhere, so
// the reader works the same for UTF-8 and GB18030, whose multi-byte codes
// never contain a quote, a delimiter or a line break.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace quillet {

struct TableRecord {
  std::vector<std::string> cells;
  // Bytes beyond MaxRecordBytes or cells beyond MaxRecordCells were dropped,
  // so that one broken record cannot take all memory.
  bool overflow = false;
  // The input ended inside a quoted field.
  bool unterminatedQuote = false;
};

class TableReader {
 public:
  // Far beyond what any symbol holds, and small enough to keep memory bounded.
  static constexpr size_t MaxRecordBytes = size_t{1} << 20;
  static constexpr size_t MaxRecordCells = 4096;

  TableReader(std::istream& in, char delimiter);

  // Reads the next record; false at the end of the input. A quoted line break
  // (CR LF, LF or CR) is kept as CR LF. Records end at CR LF, LF or CR; empty
  // lines are skipped, and a byte-order mark at the very start is dropped.
  bool Next(TableRecord& record);

 private:
  int Peek();
  int Get();
  void SkipByteOrderMark();
  void Append(TableRecord& record, std::string& cell, char byte);
  void EndCell(TableRecord& record, std::string& cell);
  void ReadQuoted(TableRecord& record, std::string& cell);
  void ConsumeLineEnd(int byte);

  std::istream& in_;
  char delimiter_;
  std::string buffer_;
  size_t position_ = 0;
  size_t recordBytes_ = 0;
  bool started_ = false;
};

// The delimiter a file name implies: tab for ".tsv" (any case), else comma.
char DelimiterForFile(const std::string& path);

}  // namespace quillet
