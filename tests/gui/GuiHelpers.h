// Driving the application's widgets in tests, and reading back what they show.
#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <cctype>
#include <deque>
#include <functional>
#include <iostream>

#include "app/Controls.h"
#include "app/DialogDM.h"
#include "app/DialogMain.h"
#include "app/SaveDialogs.h"
#include "app/TesselDlg.h"
#include "app/pages/DialogTypeBase.h"
#include "res/DialogLayouts.h"
#include "tests/support/Decode.h"

using namespace quillet;

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// What every QR symbol of the program carries before the payload.
inline const std::string QrPrefix("\x01\x10", 2);

// A control of a page by its id.
template <typename Widget>
Widget* Control(QWidget* page, int id) { return page->findChild<Widget*>(QString::number(id)); }

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A test name from free text: letters and digits kept, anything else '_'.
inline std::string NameOf(std::string text) {
  for (char& c : text)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return text;
}

inline QWidget* Field(CDialogTypeBase* page, const char* tag) { return page->FieldEdit(FieldSlotOfTag(tag)); }

// The text property of a single-line or a multi-line field, and its text.
inline const char* TextProperty(const QWidget* field) { return qobject_cast<const QLineEdit*>(field) ? "text" : "plainText"; }
inline QString TextOf(const QWidget* field) { return field->property(TextProperty(field)).toString(); }

// Types `text` key by key ("\n" presses Enter, non-ASCII arrives as an input method commit).
inline void TypeInto(QWidget* field, const QString& text) {
  field->setFocus();
  for (const QChar c : text) {
    if (c == u'\n') {
      QTest::keyClick(field, Qt::Key_Return);
    } else if (c.unicode() < 0x80) {
      QTest::keyClicks(field, QString(c));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(field, &commit);
    }
  }
}

// Keyboard selection, as a user does it, emits `activated` like a click in the list.
inline void SelectComboItem(QComboBox* combo, int index) {
  combo->setFocus();
  while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
  while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  if (combo->currentIndex() == index) emit combo->activated(index);
}

inline void ClickButton(QWidget* page, int id) { QTest::mouseClick(Control<QPushButton>(page, id), Qt::LeftButton); }

// Runs `answer` on the modal dialog of type T that `open` puts up, from inside
// its event loop; false when none came or it stayed open.
template <typename T>
bool AnswerModal(const std::function<void(T*)>& answer, const std::function<void()>& open) {
  bool answered = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    poll.stop();
    answered = true;
    answer(dialog);
  });
  poll.start(10);
  open();
  return QTest::qWaitFor([&] { return answered && QApplication::activeModalWidget() == nullptr; }, 3000);
}

// The page as painted, after pending paints.
inline QImage GrabPage(CSymbolPage* page) {
  QCoreApplication::processEvents();
  return page->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels greyer than `darkBelow` black, everything else white, then zxing-cpp.
inline std::optional<std::string> DecodePicture(const QImage& image, DecodeFormat format, int darkBelow = 128) {
  std::vector<uint8_t> grey;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) grey.push_back(qGray(image.pixel(x, y)) < darkBelow ? 0 : 255);
  return DecodeImage(grey.data(), image.width(), image.height(), format);
}

// Only pure black counts as dark on screen.
inline std::optional<std::string> DecodeShownSymbol(CSymbolPage* page, DecodeFormat format) {
  return DecodePicture(GrabPage(page).copy(page->PictureArea()), format, 1);
}

// Decodes a page's symbol from its modules, whatever part of it the page shows.
inline std::optional<std::string> DecodeSymbol(const ModuleMatrix& symbol, DecodeFormat format) {
  return DecodeModules(symbol.Columns(), symbol.Rows(), [&](int x, int y) { return symbol.IsDark(x, y); }, format);
}

// Answers save questions from a script and records what was asked.
class FakeSaveDialogs : public SaveDialogs {
 public:
  std::deque<std::pair<QString, int>> answers;  // one per file dialog; cancels when none is left
  bool allowOverwrite = true;
  std::vector<SaveFileQuestion> asked;  // stays empty while the file dialog never opened
  std::vector<QString> overwriteAsked;
  std::vector<std::pair<QString, bool>> messages;  // text, exclamation
  std::deque<double> printedSizes;  // one per size question; cancels when none is left
  struct SizeAsked {
    double shown, least, most;
  };
  std::vector<SizeAsked> sizesAsked;

  std::optional<std::pair<QString, int>> AskSaveFileName(QWidget*, const SaveFileQuestion& question) override {
    asked.push_back(question);
    if (answers.empty()) return std::nullopt;
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  bool ConfirmOverwrite(QWidget*, const QString& path) override {
    overwriteAsked.push_back(path);
    return allowOverwrite;
  }
  std::optional<double> AskPrintedSize(QWidget*, const QString&, double shown, double least, double most) override {
    sizesAsked.push_back({shown, least, most});
    if (printedSizes.empty()) return std::nullopt;
    const double answer = printedSizes.front();
    printedSizes.pop_front();
    return answer;
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
  // The DM page or the QR page, shown.
  CSymbolPage* ShowPage(bool dmPage) {
    window->Tabs()->setCurrentIndex(dmPage ? 1 : 0);
    return dmPage ? static_cast<CSymbolPage*>(dm) : qr;
  }
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
