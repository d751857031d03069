// Driving the application's widgets in tests, and reading back what they show.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/DialogMain.h"
#include "app/SaveDialogs.h"
#include "app/TesselDlg.h"
#include "content/pages/DialogTypeBase.h"
#include "res/DialogLayouts.h"
#include "tests/support/Decode.h"

// What every QR symbol of the program carries before the payload.
inline const std::string QrPrefix("\x01\x10", 2);

QString U(const char* utf8);
QWidget* Field(CDialogTypeBase* page, const char* tag);
// Types `text` key by key ("\n" presses Enter, non-ASCII arrives as an input method commit).
void TypeInto(QWidget* field, const QString& text);
void SelectComboItem(QComboBox* combo, int index);
void ClickButton(QWidget* page, int id);
// A control of a page by its id.
template <typename Widget>
Widget* Control(QWidget* page, int id) { return page->findChild<Widget*>(QString::number(id)); }

// The page as painted, after pending paints.
QImage GrabPage(CSymbolPage* page);
// Pixels greyer than `darkBelow` black, everything else white, then zxing-cpp.
std::optional<std::string> DecodePicture(const QImage& image, DecodeFormat format, int darkBelow = 128);
// Only pure black counts as dark on screen.
std::optional<std::string> DecodeShownSymbol(CSymbolPage* page, DecodeFormat format);

// Answers save questions from a script and records what was asked.
class FakeSaveDialogs : public SaveDialogs {
 public:
  std::optional<std::pair<QString, int>> answer;
  bool allowOverwrite = true;
  QString filter;  // stays empty while the file dialog never opened
  std::vector<QString> overwriteAsked;
  std::vector<std::pair<QString, bool>> messages;  // text, exclamation

  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget*, const QString& f) override {
    filter = f;
    return answer;
  }
  bool ConfirmOverwrite(QWidget*, const QString& path) override {
    overwriteAsked.push_back(path);
    return allowOverwrite;
  }
  void ShowMessage(QWidget*, const QString& text, bool exclamation) override { messages.emplace_back(text, exclamation); }
};

// The main window shown the way the program starts, its two pages answering
// save questions from `dialogs`.
class GuiTest : public testing::Test {
 protected:
  GuiTest() {
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get());
    qr->SetSaveDialogs(&dialogs);
    dm->SetSaveDialogs(&dialogs);
  }
  CDialogTypeBase* Current() const { return qr->CurrentPage(); }
  QTabBar* ContentTabs() const { return qr->ContentTabs()->Bar(); }
  void ChooseFormatAndTab(int radio, int tab) {
    QTest::mouseClick(Control<QRadioButton>(qr, radio), Qt::LeftButton);
    ContentTabs()->setCurrentIndex(tab);
  }

  FakeSaveDialogs dialogs;
  std::unique_ptr<CDialogMain> window = std::make_unique<CDialogMain>();
  CTesselDlg* qr = window->QrPage();
  CDialogDM* dm = window->DmPage();
};
