#include "batch/BatchRows.h"

#include "content/Payload.h"
#include "qr/QrCodeEncoder.h"

namespace {

constexpr char LevelLetters[] = {'M', 'L', 'H', 'Q'};  // by level index

std::string ColumnError(const BatchColumn& column, size_t index, const std::string& reason) {
  const std::string name = column.unnamed ? "column " + std::to_string(index + 1) : "column '" + column.header + "'";
  return name + ": " + reason;
}

std::string RecordError(const TableRecord& record, size_t headerCells) {
  if (record.unterminatedQuote) return "a quoted cell is not closed before the end of the input";
  if (record.overflow)
    return "the row is longer than " + std::to_string(TableReader::MaxRecordBytes) + " bytes or " +
           std::to_string(TableReader::MaxRecordCells) + " cells";
  if (record.cells.size() > headerCells)
    return "the row has " + std::to_string(record.cells.size()) + " cells, the header " + std::to_string(headerCells);
  return {};
}

}  // namespace

RowNamer::RowNamer(const NameTemplate& names, const ColumnPlan& plan, TextEncoding encoding, int rowWidth)
    : names_(names), plan_(plan), encoding_(encoding), rowWidth_(rowWidth) {}

RowTask RowNamer::Next(TableRecord record) {
  RowTask task;
  task.row = ++row_;
  task.error = RecordError(record, plan_.columns.size());
  task.cells = std::move(record.cells);
  task.cells.resize(plan_.columns.size());  // missing cells are empty
  std::string nameError;
  task.fileName = NameOf(task, nameError);
  if (task.error.empty()) task.error = nameError;
  if (task.error.empty()) ClaimName(task);
  return task;
}

std::string RowNamer::NameOf(const RowTask& task, std::string& error) const {
  std::vector<std::string> values;
  for (const int column : plan_.nameColumns) {
    auto utf8 = CellToUtf8(task.cells[column], encoding_, &error);
    if (!utf8) {
      error = ColumnError(plan_.columns[column], column, error);
      return {};
    }
    values.push_back(std::move(*utf8));
  }
  std::string name = names_.Expand(task.row, rowWidth_, values);
  if (name.empty()) error = "the file name is empty";
  return name;
}

void RowNamer::ClaimName(RowTask& task) {
  if (names_.Columns().empty()) return;
  const auto [it, fresh] = claimed_.emplace(std::hash<std::string>{}(task.fileName), task.row);
  if (!fresh) task.error = "the file name '" + task.fileName + "' is already that of row " + std::to_string(it->second);
}

RowEncoder::RowEncoder(const BatchJob& job, const ColumnPlan& plan, TextEncoding encoding)
    : job_(job), plan_(plan), encoding_(encoding) {
  if (job.kind == SymbolKind::Qr) qr_ = std::make_unique<CQrCodeEncoder>();
}

RowEncoder::~RowEncoder() = default;

BatchRowResult RowEncoder::Encode(const RowTask& task) {
  BatchRowResult result{task.row, task.fileName, {}, task.error};
  if (!result.Ok()) return result;
  const std::string payload = Payload(task, result.error);
  if (!result.Ok()) return result;
  result.error = EncodeAndWrite(payload, job_.outputDir + "/" + task.fileName, result.symbol);
  return result;
}

std::string RowEncoder::Payload(const RowTask& task, std::string& error) const {
  for (size_t i = 0; i < plan_.columns.size(); ++i)
    if (plan_.columns[i].unnamed && !task.cells[i].empty()) {
      error = ColumnError(plan_.columns[i], i, "a column without a name holds a value");
      return {};
    }
  if (!plan_.rawText) return ComposedPayload(task, error);
  const int column = plan_.textColumn;
  auto bytes = CellToCodePage(task.cells[column], encoding_, &error);
  if (!bytes) {
    error = ColumnError(plan_.columns[column], column, error);
    return {};
  }
  if (bytes->empty()) error = "the text is empty: there is nothing to encode";
  return std::move(*bytes);
}

std::string RowEncoder::ComposedPayload(const RowTask& task, std::string& error) const {
  FieldValueArray values;
  for (size_t i = 0; i < plan_.columns.size(); ++i) {
    const BatchColumn& column = plan_.columns[i];
    if (column.slot < 0 || task.cells[i].empty()) continue;
    auto bytes = CellToCodePage(task.cells[i], encoding_, &error);
    if (!bytes) {
      error = ColumnError(column, i, error);
      return {};
    }
    StoreFieldValue(values, static_cast<unsigned>(column.slot), std::move(*bytes));
  }
  const std::string payload = ComposeFieldPayload(values, job_.operatorFormat, job_.tab);
  if (payload.empty()) {
    error = "every field is empty: there is nothing to encode";
    return {};
  }
  return EncoderInput(payload);
}

std::string RowEncoder::EncodeAndWrite(const std::string& payload, const std::string& path, std::string& symbol) {
  ModuleMatrix matrix;
  if (qr_) {
    qr_->SetErrorCorrectionLevel(std::string(1, job_.level));
    qr_->Version = job_.version;
    if (qr_->EncodeData(payload.data(), static_cast<int32_t>(payload.size())) != 0)
      return "the data (" + std::to_string(payload.size()) + " bytes) fits no QR Code version at level " + job_.level;
    symbol = "version " + std::to_string(qr_->Version) + " level " + LevelLetters[qr_->EcLevel];
    matrix = ModuleMatrix::FromQr(*qr_);
  } else {
    DmEncodeParams params;
    params.scheme = job_.dmScheme;
    int size = job_.dmSize;
    const auto grid =
        DmEncodeText(reinterpret_cast<const uint8_t*>(payload.data()), static_cast<int>(payload.size()), params, size);
    if (!grid)
      return "the text (" + std::to_string(payload.size()) +
             " bytes) cannot be encoded in this scheme or fits no size allowed";
    symbol = std::to_string(params.symbolRows) + "x" + std::to_string(params.symbolColumns);
    matrix = ModuleMatrix::FromDm(*grid);
  }
  const ImageResult saved = SaveImageFile(matrix, job_.image, path);
  return saved.Ok() ? std::string() : DescribeImageFailure(saved);
}
