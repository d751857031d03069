#include "batch/BatchRows.h"

#include "content/Payload.h"
#include "qr/QrCodeEncoder.h"

namespace {

std::string ColumnName(const BatchColumn& column, size_t index) {
  return column.unnamed ? "column " + std::to_string(index + 1) : "column '" + column.header + "'";
}

RowError BadCell(const BatchColumn& column, size_t index, const std::string& reason) {
  return {RowFailure::BadText, ColumnName(column, index) + ": " + reason};
}

RowError RecordError(const TableRecord& record, size_t headerCells) {
  if (record.unterminatedQuote) return {RowFailure::BrokenRow, "a quoted cell is not closed before the end of the input"};
  if (record.overflow)
    return {RowFailure::BrokenRow, "the row is longer than " + std::to_string(TableReader::MaxRecordBytes) +
                                       " bytes or " + std::to_string(TableReader::MaxRecordCells) + " cells"};
  if (record.cells.size() > headerCells)
    return {RowFailure::TooManyCells,
            "the row has " + std::to_string(record.cells.size()) + " cells, the header " + std::to_string(headerCells)};
  return {};
}

// The symbol for the manifest: "version 3 level M" or "24x24".
std::string SymbolInWords(const Symbol& symbol) {
  if (symbol.symbology == Symbology::QrCode)
    return "version " + std::to_string(symbol.version) + " level " + QrLevelLetter(symbol.level);
  return std::to_string(symbol.matrix.Rows()) + "x" + std::to_string(symbol.matrix.Columns());
}

// Temporary English until the row failures are worded by the front ends.
std::string DescribeSymbolFailure(const SymbolResult& made, const SymbolRequest& request) {
  if (made.failure == SymbolFailure::NothingToEncode) return "every field is empty: there is nothing to encode";
  const std::string bytes = std::to_string(made.symbol.data.size()) + " bytes";
  if (request.symbology == Symbology::QrCode)
    return "the data (" + bytes + ") fits no QR Code version at level " + QrLevelLetter(request.level);
  return "the text (" + bytes + ") cannot be encoded in this scheme or fits no size allowed";
}

}  // namespace

RowNamer::RowNamer(const NameTemplate& names, const ColumnPlan& plan, TextEncoding encoding, int rowWidth,
                   bool captions)
    : names_(names), plan_(plan), encoding_(encoding), rowWidth_(rowWidth), captions_(captions) {}

RowTask RowNamer::Next(TableRecord record) {
  RowTask task;
  task.row = ++row_;
  task.error = RecordError(record, plan_.columns.size());
  task.cells = std::move(record.cells);
  task.cells.resize(plan_.columns.size());  // missing cells are empty
  RowError nameError;
  task.fileName = NameOf(task, nameError);
  if (!task.error) task.error = std::move(nameError);
  if (!task.error && !captions_) ClaimName(task);
  return task;
}

std::string RowNamer::NameOf(const RowTask& task, RowError& error) const {
  std::vector<std::string> values;
  for (const int column : plan_.nameColumns) {
    std::string reason;
    auto utf8 = CellToUtf8(task.cells[column], encoding_, &reason);
    if (!utf8) {
      error = BadCell(plan_.columns[column], column, reason);
      return {};
    }
    values.push_back(std::move(*utf8));
  }
  if (captions_) return names_.ExpandCaption(task.row, rowWidth_, values);
  std::string name = names_.Expand(task.row, rowWidth_, values);
  if (name.empty()) error = {RowFailure::EmptyName, "the file name is empty"};
  return name;
}

void RowNamer::ClaimName(RowTask& task) {
  if (names_.Columns().empty()) return;
  const auto [it, fresh] = claimed_.emplace(std::hash<std::string>{}(task.fileName), task.row);
  if (!fresh)
    task.error = {RowFailure::DuplicateName,
                  "the file name '" + task.fileName + "' is already that of row " + std::to_string(it->second)};
}

RowEncoder::RowEncoder(const BatchJob& job, const ColumnPlan& plan, TextEncoding encoding)
    : job_(job), plan_(plan), encoding_(encoding) {
  if (job.kind == SymbolKind::Qr) qr_ = std::make_unique<CQrCodeEncoder>();
}

RowEncoder::~RowEncoder() = default;

BatchRowResult RowEncoder::Encode(const RowTask& task) {
  BatchRowResult result;
  result.row = task.row;
  result.fileName = task.fileName;
  if (job_.labels) {
    result.caption = task.fileName;
    result.fileName = job_.labels->path;
  }
  RowError error = task.error;
  SymbolRequest request;
  if (!error) request = Request(task, error);
  if (error) {
    result.failure = error.failure;
    result.error = std::move(error.text);
    return result;
  }
  EncodeAndWrite(request, job_.outputDir + "/" + task.fileName, result);
  return result;
}

SymbolRequest RowEncoder::Request(const RowTask& task, RowError& error) const {
  SymbolRequest request;
  request.symbology = job_.kind == SymbolKind::Qr ? Symbology::QrCode : Symbology::DataMatrix;
  request.level = job_.level;
  request.version = job_.version;
  request.dmSize = job_.dmSize;
  request.dmScheme = job_.dmScheme;
  request.dmGrowSize = job_.dmGrowSize;
  for (size_t i = 0; i < plan_.columns.size(); ++i)
    if (plan_.columns[i].unnamed && !task.cells[i].empty()) {
      error = {RowFailure::UnnamedColumn, ColumnName(plan_.columns[i], i) + ": a column without a name holds a value"};
      return request;
    }
  if (!plan_.rawText) {
    request.content = ContentFields{job_.operatorFormat, job_.tab, FieldValues(task, error)};
    return request;
  }
  const int column = plan_.textColumn;
  std::string reason;
  auto bytes = CellToCodePage(task.cells[column], encoding_, &reason);
  if (!bytes) {
    error = BadCell(plan_.columns[column], column, reason);
    return request;
  }
  if (bytes->empty()) error = {RowFailure::NothingToEncode, "the text is empty: there is nothing to encode"};
  request.data = std::move(*bytes);
  return request;
}

FieldValueArray RowEncoder::FieldValues(const RowTask& task, RowError& error) const {
  FieldValueArray values;
  for (size_t i = 0; i < plan_.columns.size(); ++i) {
    const BatchColumn& column = plan_.columns[i];
    if (column.slot < 0 || task.cells[i].empty()) continue;
    std::string reason;
    auto bytes = CellToCodePage(task.cells[i], encoding_, &reason);
    if (!bytes) {
      error = BadCell(column, i, reason);
      return values;
    }
    StoreFieldValue(values, static_cast<unsigned>(column.slot), std::move(*bytes));
  }
  return values;
}

void RowEncoder::EncodeAndWrite(const SymbolRequest& request, const std::string& path, BatchRowResult& result) {
  SymbolResult made = qr_ ? MakeSymbol(request, *qr_) : MakeSymbol(request);
  if (!made.Ok()) {
    result.failure = made.failure == SymbolFailure::NothingToEncode ? RowFailure::NothingToEncode : RowFailure::DoesNotFit;
    result.error = DescribeSymbolFailure(made, request);
    return;
  }
  const Symbol& symbol = made.symbol;
  result.symbol = SymbolInWords(symbol);
  if (job_.labels) {
    // A label is vector drawing: its modules are checked as they are drawn.
    if (job_.verify)
      CheckReadBack(VerifySymbolModules(symbol.matrix, job_.image, symbol.symbology, symbol.data),
                    *FindFormatByName("pdf"), "the label", result);
    if (result.Ok()) result.label = std::make_shared<const ModuleMatrix>(std::move(made.symbol.matrix));
    return;
  }
  result.image = SaveImageFile(symbol.matrix, job_.image, path);
  if (!result.image.Ok()) {
    result.failure = RowFailure::WriteFailed;
    result.error = DescribeImageFailure(result.image);
    return;
  }
  if (job_.verify)
    CheckReadBack(VerifySymbolFile(path, symbol.matrix, job_.image, symbol.symbology, symbol.data),
                  *FindFormatForFile(path), "'" + result.fileName + "'", result);
}

void RowEncoder::CheckReadBack(const ReadBackResult& check, const ImageFormat& format, const std::string& what,
                               BatchRowResult& result) const {
  if (check.Ok()) return;
  result.failure = RowFailure::NotReadBack;
  result.error = DescribeNotReadBack(check, format, job_.image, what);
}
