// The output part of the "批量生成" dialog: a folder of files named by a
// template, or one PDF of label sheets, the Data Matrix scheme, and
// verifying. Each control writes its setting into the form and says so
// (Changed); the dialog checks the form again.
#pragma once

#include <QGroupBox>
#include <string>
#include <string_view>

#include "model/BatchForm.h"

class QFormLayout;
class QLabel;
class QLayout;
class QLineEdit;

namespace quillet {

class BatchDesktop;

class BatchOutputPanel : public QGroupBox {
  Q_OBJECT
 public:
  BatchOutputPanel(BatchForm& form, BatchDesktop& desktop, QWidget* parent);

  // The folder and the sheet file the form chose beside a spreadsheet, where
  // the user has not typed these.
  void ShowPaths();
  // Under either output its hint, or under the chosen one what is wrong with it.
  void ShowNotes(const FormProblem& output);

 signals:
  void Changed();

 private:
  QWidget* BuildFolderPart();
  QWidget* BuildSheetPart();
  // The paper, the labels on it and their module size, as a row of `form`.
  void AddGridRow(QWidget* part, QFormLayout* form);
  QLayout* BuildSchemeRow();
  struct PathRowText {
    std::string_view caption, browse;
    const char* editName;
    const char* buttonName;
  };
  // A path to type in, bound to the form's `path`, which is changed and
  // checked with it, and its "浏览..." button, which asks with `choose`.
  QLineEdit* AddPathRow(QWidget* part, QFormLayout* form, const PathRowText& text, std::string& path,
                        void (BatchOutputPanel::*choose)());
  // Each setting into the form as `set` takes it from `signal`, then the form checked again.
  template <class Control, class Signal, class Set>
  void Bind(Control* control, Signal signal, Set set);
  void ChooseFolder();
  void ChooseSheetFile();

  BatchForm& form_;
  BatchDesktop& desktop_;
  QLineEdit* folder_;
  QLabel* nameNote_;
  QLineEdit* sheetFile_;
  QLabel* moduleNote_;
};

}  // namespace quillet
