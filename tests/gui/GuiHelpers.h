// Driving the application's widgets in tests, and reading back what they show.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogMain.h"
#include "app/SaveDialogs.h"
#include "app/SymbolPage.h"
#include "tests/support/Decode.h"

class CDialogTypeBase;
class QComboBox;
class QSlider;
class QLabel;

QString U(const char* utf8);

// A shown main window, the way the program starts.
std::unique_ptr<CDialogMain> OpenMainWindow();

QWidget* Field(CDialogTypeBase* page, const char* tag);
// Types `text` into a field, key by key; "\n" presses Enter.
void TypeInto(QWidget* field, const QString& text);
void SelectComboItem(QComboBox* combo, int index);
// A control of a page by its id.
template <typename Widget>
Widget* Control(QWidget* page, int id) {
  return page->findChild<Widget*>(QString::number(id));
}

// The page as painted, after pending paints.
QImage GrabPage(CSymbolPage* page);
// Decodes the symbol shown on the page: the picture area, grey, everything
// that is not black turned white.
std::optional<std::string> DecodeShownSymbol(CSymbolPage* page, DecodeFormat format);

// Answers save questions from a script and records what was asked.
class FakeSaveDialogs : public SaveDialogs {
 public:
  std::optional<std::pair<QString, int>> answer;
  bool allowOverwrite = true;
  int fileNameAsked = 0;
  QString filter;
  std::vector<QString> overwriteAsked;
  std::vector<QString> messages;
  std::vector<bool> exclamations;

  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget*, const QString& f) override {
    ++fileNameAsked;
    filter = f;
    return answer;
  }
  bool ConfirmOverwrite(QWidget*, const QString& path) override {
    overwriteAsked.push_back(path);
    return allowOverwrite;
  }
  void ShowMessage(QWidget*, const QString& text, bool exclamation) override {
    messages.push_back(text);
    exclamations.push_back(exclamation);
  }
};
