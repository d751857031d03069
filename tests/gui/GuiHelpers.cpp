#include "tests/gui/GuiHelpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QInputMethodEvent>
#include <QTest>

#include "content/pages/DialogTypeBase.h"

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::unique_ptr<CDialogMain> OpenMainWindow() {
  auto window = std::make_unique<CDialogMain>();
  window->show();
  window->activateWindow();
  (void)QTest::qWaitForWindowActive(window.get());
  return window;
}

QWidget* Field(CDialogTypeBase* page, const char* tag) { return page->FieldEdit(FieldSlotOfTag(tag)); }

namespace {

// A plain text edit takes its input in its viewport.
QWidget* FocusTarget(QWidget* field) {
  if (auto* multi = qobject_cast<QPlainTextEdit*>(field)) return multi->viewport();
  return field;
}

}  // namespace

void TypeInto(QWidget* field, const QString& text) {
  field->setFocus();
  for (const QChar c : text) {
    if (c == u'\n') {
      QTest::keyClick(field, Qt::Key_Return);
    } else if (c.unicode() < 0x80) {
      QTest::keyClicks(field, QString(c));
    } else {
      // What an input method does for a Chinese character.
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(field->focusProxy() ? field->focusProxy() : FocusTarget(field), &commit);
    }
  }
}

void SelectComboItem(QComboBox* combo, int index) {
  // Keyboard selection, as a user does it, emits `activated` like a click in the list.
  combo->setFocus();
  while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
  while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  if (combo->currentIndex() == index) emit combo->activated(index);
}

QImage GrabPage(CSymbolPage* page) {
  QCoreApplication::processEvents();
  return page->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::optional<std::string> DecodeShownSymbol(CSymbolPage* page, DecodeFormat format) {
  const QImage shown = GrabPage(page).copy(page->PictureArea());
  std::vector<uint8_t> grey(static_cast<size_t>(shown.width()) * shown.height());
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      grey[static_cast<size_t>(y) * shown.width() + x] = (shown.pixel(x, y) & 0xFFFFFF) == 0 ? 0 : 255;
  return DecodeImage(grey.data(), shown.width(), shown.height(), format);
}
