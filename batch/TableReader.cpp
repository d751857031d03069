#include "batch/TableReader.h"

#include "content/TextList.h"

namespace quillet {

namespace {

constexpr size_t ChunkBytes = 64 * 1024;
constexpr int EndOfInput = -1;

}  // namespace

TableReader::TableReader(std::istream& in, char delimiter) : in_(in), delimiter_(delimiter) {}

int TableReader::Peek() {
  if (position_ == buffer_.size()) {
    buffer_.resize(ChunkBytes);
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.resize(static_cast<size_t>(in_.gcount()));
    position_ = 0;
    if (buffer_.empty()) return EndOfInput;
  }
  return static_cast<unsigned char>(buffer_[position_]);
}

int TableReader::Get() {
  const int byte = Peek();
  if (byte != EndOfInput) ++position_;
  return byte;
}

void TableReader::SkipByteOrderMark() {
  started_ = true;
  static constexpr char Mark[] = "\xEF\xBB\xBF";
  if (Peek() == EndOfInput || buffer_.compare(0, 3, Mark) != 0) return;
  position_ = 3;
}

void TableReader::Append(TableRecord& record, std::string& cell, char byte) {
  if (++recordBytes_ > MaxRecordBytes) {
    record.overflow = true;
    return;
  }
  cell += byte;
}

void TableReader::EndCell(TableRecord& record, std::string& cell) {
  if (record.cells.size() == MaxRecordCells) record.overflow = true;
  else record.cells.push_back(std::move(cell));
  cell.clear();
}

void TableReader::ConsumeLineEnd(int byte) {
  if (byte == '\r' && Peek() == '\n') Get();
}

// After the opening quote: up to the closing one, "" standing for one quote.
void TableReader::ReadQuoted(TableRecord& record, std::string& cell) {
  for (;;) {
    const int byte = Get();
    if (byte == EndOfInput) {
      record.unterminatedQuote = true;
      return;
    }
    if (byte == '"') {
      if (Peek() != '"') return;
      Get();
      Append(record, cell, '"');
    } else if (byte == '\r' || byte == '\n') {
      ConsumeLineEnd(byte);
      Append(record, cell, '\r');
      Append(record, cell, '\n');
    } else {
      Append(record, cell, static_cast<char>(byte));
    }
  }
}

bool TableReader::Next(TableRecord& record) {
  if (!started_) SkipByteOrderMark();
  record = TableRecord();
  recordBytes_ = 0;
  // Skip empty lines: a trailing line break is not a record.
  while (Peek() == '\r' || Peek() == '\n') Get();
  if (Peek() == EndOfInput) return false;
  std::string cell;
  bool cellStart = true;
  for (;;) {
    const int byte = Get();
    if (byte == EndOfInput || byte == '\r' || byte == '\n') {
      ConsumeLineEnd(byte);
      EndCell(record, cell);
      return true;
    }
    if (byte == delimiter_) {
      EndCell(record, cell);
      cellStart = true;
      continue;
    }
    // A quote opens a quoted section only at the start of a cell; text after
    // the closing quote is kept as it is, as spreadsheets read it.
    if (byte == '"' && cellStart) ReadQuoted(record, cell);
    else Append(record, cell, static_cast<char>(byte));
    cellStart = false;
  }
}

char DelimiterForFile(const std::string& path) {
  constexpr std::string_view Tsv = ".tsv";
  if (path.size() < Tsv.size()) return ',';
  const std::string_view tail = std::string_view(path).substr(path.size() - Tsv.size());
  return SameIgnoringCase(tail, Tsv) ? '\t' : ',';
}

}  // namespace quillet
