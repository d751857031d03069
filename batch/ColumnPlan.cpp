#include "batch/ColumnPlan.h"

#include <algorithm>

#include "content/Catalogue.h"
#include "content/TextList.h"

namespace quillet {

namespace {

HeaderRefusal Refusal(HeaderFailure failure, std::string column = {}, std::string other = {}, int slot = -1,
                      std::vector<std::string> columns = {}) {
  HeaderRefusal refusal;
  refusal.failure = failure;
  refusal.column = std::move(column);
  refusal.other = std::move(other);
  refusal.slot = slot;
  refusal.columns = std::move(columns);
  return refusal;
}

// The page marks a required field by a caption that begins with "*".
bool IsRequired(const FieldSpec& field) { return Trimmed(field.caption).starts_with('*'); }

class Planner {
 public:
  Planner(Symbology kind, FormatTab page, const NameTemplate& names)
      : kind_(kind), contentPage_(page), names_(names),
        page_(kind == Symbology::QrCode ? PageForTab(page.format, page.tab) : nullptr) {}

  std::optional<ColumnPlan> Run(const std::vector<std::string>& header, HeaderRefusal* refusal) {
    if (kind_ == Symbology::QrCode && page_ == nullptr)
      return Fail(refusal, Refusal(HeaderFailure::NoSuchTab));
    for (const std::string& cell : header) plan_.columns.push_back(Classify(cell));
    if (HeaderRefusal problem = CheckKnown(); problem.failure != HeaderFailure::None) return Fail(refusal, problem);
    if (HeaderRefusal problem = CheckFields(); problem.failure != HeaderFailure::None) return Fail(refusal, problem);
    if (HeaderRefusal problem = MapTemplate(); problem.failure != HeaderFailure::None) return Fail(refusal, problem);
    return plan_;
  }

 private:
  BatchColumn Classify(const std::string& header) const {
    BatchColumn column{header};
    column.unnamed = Trimmed(header).empty();
    if (column.unnamed) return column;
    if (const FieldSpec* field = page_ ? FieldOfName(*page_, header) : nullptr) {
      column.slot = field->slot;
      column.required = IsRequired(*field);
    }
    column.text = column.slot < 0 && SameIgnoringCase(Trimmed(header), TextColumn);
    column.sourceFile = column.slot < 0 && SameIgnoringCase(Trimmed(header), SourceFileColumn);
    return column;
  }

  // Every column that means nothing, named at once: a header with several
  // misspelt columns is mended in one go.
  HeaderRefusal CheckKnown() const {
    std::vector<std::string> unknown;
    for (const BatchColumn& column : plan_.columns)
      if (!column.unnamed && column.slot < 0 && !column.text && !column.sourceFile && !InTemplate(column.header))
        unknown.push_back(column.header);
    if (unknown.empty()) return {};
    std::string first = unknown.front();
    return Refusal(HeaderFailure::UnknownColumn, std::move(first), {}, -1, std::move(unknown));
  }

  bool InTemplate(const std::string& header) const {
    const auto& columns = names_.Columns();
    return std::find(columns.begin(), columns.end(), Trimmed(header)) != columns.end();
  }

  // At most one column per field and one text column; text excludes fields.
  HeaderRefusal CheckFields() {
    std::vector<int> owner(FieldSlotCount, -1);
    int fields = 0;
    int firstField = -1;
    for (int i = 0; i < static_cast<int>(plan_.columns.size()); ++i) {
      const BatchColumn& column = plan_.columns[i];
      if (column.text && plan_.textColumn >= 0) {
        const std::string& first = plan_.columns[plan_.textColumn].header;
        return Refusal(HeaderFailure::TwoTextColumns, first, column.header);
      }
      if (column.text) plan_.textColumn = i;
      if (column.slot < 0) continue;
      if (fields++ == 0) firstField = i;
      if (owner[column.slot] >= 0) {
        const std::string& first = plan_.columns[owner[column.slot]].header;
        return Refusal(HeaderFailure::TwoColumnsOneField, first, column.header, column.slot);
      }
      owner[column.slot] = i;
    }
    plan_.rawText = plan_.textColumn >= 0;
    if (kind_ == Symbology::DataMatrix && !plan_.rawText)
      return Refusal(HeaderFailure::NoTextColumn);
    if (plan_.rawText && fields > 0) {
      const std::string& field = plan_.columns[firstField].header;
      return Refusal(HeaderFailure::TextWithField, field);
    }
    if (kind_ == Symbology::QrCode && !plan_.rawText && fields == 0)
      return Refusal(HeaderFailure::NoField);
    return {};
  }

  HeaderRefusal MapTemplate() {
    for (const std::string& name : names_.Columns()) {
      const auto it = std::find_if(plan_.columns.begin(), plan_.columns.end(),
                                   [&](const BatchColumn& column) { return Trimmed(column.header) == name; });
      if (it == plan_.columns.end())
        return Refusal(HeaderFailure::NoTemplateColumn, name);
      plan_.nameColumns.push_back(static_cast<int>(it - plan_.columns.begin()));
    }
    return {};
  }

  std::optional<ColumnPlan> Fail(HeaderRefusal* refusal, HeaderRefusal problem) const {
    problem.kind = kind_;
    problem.page = contentPage_;
    if (refusal) *refusal = std::move(problem);
    return std::nullopt;
  }

  Symbology kind_;
  FormatTab contentPage_;
  const NameTemplate& names_;
  const PageSpec* page_;
  ColumnPlan plan_;
};

}  // namespace

std::optional<ColumnPlan> PlanColumns(const std::vector<std::string>& header, Symbology kind, FormatTab page,
                                      const NameTemplate& names, HeaderRefusal* refusal) {
  return Planner(kind, page, names).Run(header, refusal);
}

}  // namespace quillet
