// The spreadsheet part of the "批量生成" dialog: the file, its encoding and
// row count, its first rows under what each column feeds, and why the
// columns keep the batch from starting. It shows what the form read and
// checked; choosing is the dialog's.
#pragma once

#include <QGroupBox>
#include <optional>

#include "model/BatchForm.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace quillet {

class BatchInputPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit BatchInputPanel(QWidget* parent);

  // Another spreadsheet chosen: its name, and its encoding detected again.
  void Chosen(const QString& path);
  // What the form read of it: the rows and the encoding, or why it could not.
  void ShowInput(const BatchForm& form);
  // What each column feeds, above it, and the note under the preview.
  void ShowColumns(const BatchForm& form, const BatchFormCheck& check);

 signals:
  void ChooseInput();
  void EncodingChosen(std::optional<TextEncoding> encoding);

 private:
  void ShowTable(const std::optional<BatchTable>& table);
  void ShowFeeds(const BatchForm& form, const BatchPlanCheck& feeds);
  void FitPreviewColumns();

  QLabel* inputName_;
  QComboBox* encoding_;
  QLabel* rowCount_;
  QTableWidget* preview_;
  QLabel* columnsNote_;
};

}  // namespace quillet
