#include "batch/BatchRows.h"

#include "content/Payload.h"
#include "qr/QrCodeEncoder.h"

namespace quillet {

namespace {

RowError ColumnProblem(RowFailure failure, const BatchColumn& column, size_t index) {
  RowError error;
  error.failure = failure;
  error.column = column.unnamed ? std::string() : column.header;
  error.columnIndex = static_cast<long>(index);
  return error;
}

RowError BadCell(const BatchColumn& column, size_t index, TextProblem reason) {
  RowError error = ColumnProblem(RowFailure::BadText, column, index);
  error.text = std::move(reason);
  return error;
}

RowError Failure(RowFailure failure, long count = 0, long limit = 0) {
  RowError error;
  error.failure = failure;
  error.count = count;
  error.limit = limit;
  return error;
}

RowError RecordError(const TableRecord& record, size_t headerCells) {
  if (record.unterminatedQuote || record.overflow) {
    RowError error = Failure(RowFailure::BrokenRow);
    error.overflow = !record.unterminatedQuote;
    return error;
  }
  if (record.cells.size() > headerCells)
    return Failure(RowFailure::TooManyCells, static_cast<long>(record.cells.size()), static_cast<long>(headerCells));
  return {};
}

// A row that fills some fields but leaves a required one empty is a data
// error in a spreadsheet, though the page would compose it; a row with no
// field at all is left to say that there is nothing to encode.
RowError EmptyRequiredField(const RowTask& task, const ColumnPlan& plan) {
  const auto filled = [&](size_t i) { return plan.columns[i].slot >= 0 && !task.cells[i].empty(); };
  bool any = false;
  for (size_t i = 0; i < plan.columns.size(); ++i) any = any || filled(i);
  if (!any) return {};
  for (size_t i = 0; i < plan.columns.size(); ++i)
    if (plan.columns[i].required && !filled(i))
      return ColumnProblem(RowFailure::RequiredFieldEmpty, plan.columns[i], i);
  return {};
}

// The symbol for the manifest: "version 3 level M" or "24x24".
std::string SymbolInWords(const Symbol& symbol) {
  if (symbol.symbology == Symbology::QrCode)
    return "version " + std::to_string(symbol.version) + " level " + QrLevelLetter(symbol.level);
  return std::to_string(symbol.matrix.Rows()) + "x" + std::to_string(symbol.matrix.Columns());
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
  if (!task.error) task.error = EmptyRequiredField(task, plan_);
  RowError nameError;
  task.fileName = NameOf(task, nameError);
  if (!task.error) task.error = std::move(nameError);
  if (!task.error && !captions_) ClaimName(task);
  return task;
}

std::string RowNamer::NameOf(const RowTask& task, RowError& error) const {
  std::vector<std::string> values;
  for (const int column : plan_.nameColumns) {
    TextProblem reason;
    auto utf8 = CellToUtf8(task.cells[column], encoding_, &reason);
    if (!utf8) {
      error = BadCell(plan_.columns[column], column, reason);
      return {};
    }
    values.push_back(std::move(*utf8));
  }
  if (captions_) return names_.ExpandCaption(task.row, rowWidth_, values);
  std::string name = names_.Expand(task.row, rowWidth_, values);
  if (name.empty()) error = Failure(RowFailure::EmptyName);
  return name;
}

void RowNamer::ClaimName(RowTask& task) {
  if (names_.Columns().empty()) return;
  const auto [it, fresh] = claimed_.emplace(std::hash<std::string>{}(task.fileName), task.row);
  if (!fresh)
    task.error = Failure(RowFailure::DuplicateName, it->second);
}

RowEncoder::RowEncoder(const BatchJob& job, const ColumnPlan& plan, TextEncoding encoding)
    : job_(job), plan_(plan), encoding_(encoding) {
  if (job.symbology == Symbology::QrCode) qr_ = std::make_unique<CQrCodeEncoder>();
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
    result.problem = std::move(error);
    return result;
  }
  EncodeAndWrite(request, job_.outputDir + "/" + task.fileName, result);
  return result;
}

SymbolRequest RowEncoder::Request(const RowTask& task, RowError& error) const {
  SymbolRequest request;
  static_cast<SymbolSettings&>(request) = job_;
  for (size_t i = 0; i < plan_.columns.size(); ++i)
    if (plan_.columns[i].unnamed && !task.cells[i].empty()) {
      error = ColumnProblem(RowFailure::UnnamedColumn, plan_.columns[i], i);
      return request;
    }
  if (!plan_.rawText) {
    request.content = ContentFields{job_.contentPage, FieldValues(task, error)};
    return request;
  }
  const int column = plan_.textColumn;
  TextProblem reason;
  auto bytes = job_.textCharset == DataCharset::Utf8 ? CellToUtf8(task.cells[column], encoding_, &reason)
                                                     : CellToCodePage(task.cells[column], encoding_, &reason);
  if (!bytes) {
    error = BadCell(plan_.columns[column], column, reason);
    return request;
  }
  if (bytes->empty()) error = ColumnProblem(RowFailure::NothingToEncode, plan_.columns[column], column);
  request.data = std::move(*bytes);
  request.charset = job_.textCharset;
  return request;
}

FieldValueArray RowEncoder::FieldValues(const RowTask& task, RowError& error) const {
  FieldValueArray values;
  for (size_t i = 0; i < plan_.columns.size(); ++i) {
    const BatchColumn& column = plan_.columns[i];
    if (column.slot < 0 || task.cells[i].empty()) continue;
    TextProblem reason;
    auto bytes = CellToUtf8(task.cells[i], encoding_, &reason);
    if (!bytes) {
      error = BadCell(column, i, reason);
      return values;
    }
    StoreFieldValue(values, static_cast<unsigned>(column.slot), std::move(*bytes));
  }
  return values;
}

void RowEncoder::EncodeAndWrite(const SymbolRequest& request, const std::string& path, BatchRowResult& result) {
  // A label is styled as the sheet draws it, and read back as a file is.
  const ImageOptions& requested = job_.labels ? job_.labels->sheet.symbol : job_.image;
  // A row reports only its verdict and the first loss: no condition past it is read.
  CheckedSymbol checked = MakeReadableSymbol(request, requested.style, qr_.get(), [&](const Symbol& symbol) {
    return CheckStyledSymbol(symbol, requested, CameraCheckDepth::UntilLoss);
  });
  SymbolResult& made = checked.made;
  if (made.failure == SymbolFailure::FieldNotCarried) {
    result.problem = FieldNotCarried(made.field);
    return;
  }
  if (!made.Ok()) {
    const bool empty = made.failure == SymbolFailure::NothingToEncode;
    result.problem = empty ? Failure(RowFailure::NothingToEncode)
                           : Failure(RowFailure::DoesNotFit, static_cast<long>(made.symbol.data.size()));
    result.problem.symbol = made.failure;
    return;
  }
  const Symbol& symbol = made.symbol;
  result.symbol = SymbolInWords(symbol);
  // The scale a printed size takes on this symbol, checked before anything draws it.
  result.image = CheckImage(symbol.matrix, requested);
  if (!result.image.Ok()) {
    result.problem = Failure(RowFailure::WriteFailed);
    return;
  }
  ImageOptions image = SizedForSymbol(requested, symbol.matrix);
  if (checked.check && !StyleRow(symbol, *checked.check, image, result)) return;
  if (job_.labels) {
    // A label is vector drawing: its modules are checked as they are drawn.
    if (job_.verify)
      CheckReadBack(VerifySymbolModules(symbol.matrix, image, symbol.symbology, symbol.data), *FindFormatByName("pdf"),
                    image, result);
    if (!result.Ok()) return;
    result.label = std::make_shared<const ModuleMatrix>(std::move(made.symbol.matrix));
    result.labelImage = std::move(image);
    return;
  }
  result.image = SaveImageFile(symbol.matrix, image, path);
  if (!result.image.Ok()) {
    result.problem = Failure(RowFailure::WriteFailed);
    return;
  }
  const ImageFormat& format = *FindFormatForFile(path);
  if (!format.vector && AsksPrintedSize(image))
    result.pixels = RasterScale(image, symbol.matrix.Columns(), symbol.matrix.Rows());
  if (job_.verify)
    CheckReadBack(VerifySymbolFile(path, symbol.matrix, image, symbol.symbology, symbol.data), format, image, result);
}

bool RowEncoder::StyleRow(const Symbol& symbol, const StyledSymbolCheck& check, ImageOptions& image,
                          BatchRowResult& result) const {
  ApplyStyle(symbol, image.style, image);  // the placement checked, on the options written
  if (check.Ok()) return true;
  result.problem = Failure(check.fit.Ok() ? RowFailure::StyleNotReadBack : RowFailure::LogoDoesNotFit);
  result.problem.logo = check.fit;
  result.problem.readBack = check.readBack;
  return false;
}

// The problem with the column that feeds the field, or the field's tag when
// no column does. A cell the operator format's code page cannot carry is bad
// text in that cell, as any other.
RowError RowEncoder::FieldNotCarried(const FieldProblem& field) const {
  const RowFailure failure =
      field.failure == FieldFailure::NotInCodePage ? RowFailure::BadText : RowFailure::FieldNotCarried;
  RowError error = Failure(failure);
  for (size_t i = 0; i < plan_.columns.size(); ++i)
    if (plan_.columns[i].slot == field.slot) error = ColumnProblem(failure, plan_.columns[i], i);
  if (error.column.empty() && field.slot >= 0) error.column = FieldTags[field.slot];
  error.field = field;
  error.text = field.text;
  return error;
}

void RowEncoder::CheckReadBack(const ReadBackResult& check, const ImageFormat& format, const ImageOptions& image,
                               BatchRowResult& result) const {
  if (check.Ok()) return;
  result.problem = Failure(RowFailure::NotReadBack);
  result.problem.readBack = check;
  result.problem.risk = LikelyReadBackRisk(format, image);
}

}  // namespace quillet
