#include "app/BatchInputPanel.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/BatchControls.h"
#include "app/BatchReasons.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"

namespace quillet {

namespace {

constexpr int MinPreviewColumnWidth = 160;
const QColor Problem(Qt::red);

}  // namespace

BatchInputPanel::BatchInputPanel(QWidget* parent) : QGroupBox(Ui(UiText::BatchInputGroup), parent) {
  auto* layout = new QVBoxLayout(this);
  auto* fileRow = new QHBoxLayout;
  inputName_ = new QLabel(Ui(UiText::BatchNoInput), this);
  inputName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* chooseInput = BatchButton(UiText::BatchChooseInput, this, "chooseInput");
  fileRow->addWidget(inputName_, 1);
  fileRow->addWidget(chooseInput);
  layout->addLayout(fileRow);

  auto* encodingRow = new QHBoxLayout;
  auto* encodingLabel = new QLabel(Ui(UiText::BatchEncoding), this);
  encoding_ = Named(new QComboBox(this), "encoding");
  // Wide enough for the encoding it detects, which it learns only later.
  encoding_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (const std::optional<TextEncoding>& choice : BatchForm::EncodingChoices)
    encoding_->addItem(choice ? FromUtf8(TextEncodingName(*choice)) : Ui(UiText::BatchEncodingAutomatic));
  encodingLabel->setBuddy(encoding_);
  rowCount_ = Named(new QLabel(this), "rowCount");
  encodingRow->addWidget(encodingLabel);
  encodingRow->addWidget(encoding_);
  encodingRow->addWidget(rowCount_, 1);
  layout->addLayout(encodingRow);

  preview_ = Named(new QTableWidget(this), "preview");
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  layout->addWidget(preview_, 1);
  columnsNote_ = Named(new QLabel(this), "columnsNote");
  columnsNote_->setWordWrap(true);
  layout->addWidget(columnsNote_);

  connect(chooseInput, &QPushButton::clicked, this, &BatchInputPanel::ChooseInput);
  connect(encoding_, &QComboBox::activated, this, [this](int index) {
    if (index >= 0 && index < static_cast<int>(std::size(BatchForm::EncodingChoices)))
      emit EncodingChosen(BatchForm::EncodingChoices[index]);
  });
}

void BatchInputPanel::Chosen(const QString& path) {
  inputName_->setText(QDir::toNativeSeparators(path));
  encoding_->setCurrentIndex(0);
}

void BatchInputPanel::ShowInput(const BatchForm& form) {
  if (const std::optional<BatchTable>& table = form.Table()) {
    rowCount_->setStyleSheet(QString());
    rowCount_->setText(Ui(UiText::BatchRowCount).arg(table->rows).arg(table->firstRows.size()));
    encoding_->setItemText(0, Ui(UiText::BatchEncodingDetected).arg(FromUtf8(TextEncodingName(table->encoding))));
  } else {
    rowCount_->setText(BatchProblemText(form.InputProblem()));
    rowCount_->setStyleSheet(QStringLiteral("color: red"));
  }
  ShowTable(form.Table());
}

void BatchInputPanel::ShowTable(const std::optional<BatchTable>& table) {
  preview_->clear();
  if (!table) {
    preview_->setRowCount(0);
    preview_->setColumnCount(0);
    return;
  }
  QStringList headers;
  for (const std::string& header : table->header) headers << QString::fromStdString(header);
  preview_->setColumnCount(static_cast<int>(headers.size()));
  preview_->setHorizontalHeaderLabels(headers);
  preview_->setRowCount(static_cast<int>(table->firstRows.size()) + 1);
  QStringList rowNames{Ui(UiText::BatchFeedsRow)};
  const QString undecodable = Ui(UiText::BatchUndecodable).arg(FromUtf8(TextEncodingName(table->encoding)));
  for (int r = 0; r < static_cast<int>(table->firstRows.size()); ++r) {
    rowNames << QString::number(r + 1);
    const auto& cells = table->firstRows[static_cast<size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()) && c < preview_->columnCount(); ++c) {
      const auto& cell = cells[static_cast<size_t>(c)];
      auto* item = new QTableWidgetItem(cell ? QString::fromStdString(*cell) : undecodable);
      if (!cell) item->setForeground(Problem);
      preview_->setItem(r + 1, c, item);
    }
  }
  preview_->setVerticalHeaderLabels(rowNames);
}

void BatchInputPanel::ShowColumns(const BatchForm& form, const BatchFormCheck& check) {
  ShowFeeds(form, check.feeds);
  const QString fields = BatchPageFieldsText(form.Page());
  columnsNote_->setText(!check.columns
                            ? fields
                            : QStringLiteral("<span style='color:red'>%1</span><br>%2")
                                  .arg(BatchFormText(check.columns, form.output.ToSheet()).toHtmlEscaped(),
                                       fields.toHtmlEscaped()));
  FitPreviewColumns();
}

void BatchInputPanel::ShowFeeds(const BatchForm& form, const BatchPlanCheck& feeds) {
  for (int c = 0; c < static_cast<int>(feeds.columns.size()) && c < preview_->columnCount(); ++c) {
    const ColumnFeed& feed = feeds.columns[static_cast<size_t>(c)];
    auto* item = new QTableWidgetItem(ColumnFeedText(feed, form.Page(), form.output.ToSheet()));
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    if (feed.role == ColumnRole::Nothing) item->setForeground(Problem);
    preview_->setItem(0, c, item);
  }
}

void BatchInputPanel::FitPreviewColumns() {
  // As wide as the contents, but one long cell must not push the other
  // columns (and its own centred header) out of sight.
  preview_->resizeColumnsToContents();
  const int widest = preview_->viewport()->width() / 2;
  for (int c = 0; c < preview_->columnCount(); ++c)
    preview_->setColumnWidth(c, std::min(preview_->columnWidth(c), std::max(widest, MinPreviewColumnWidth)));
}

}  // namespace quillet
