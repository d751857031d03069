#include "tests/gui/GuiHelpers.h"

#include <QInputMethodEvent>

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

QWidget* Field(CDialogTypeBase* page, const char* tag) { return page->FieldEdit(FieldSlotOfTag(tag)); }

void TypeInto(QWidget* field, const QString& text) {
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

void SelectComboItem(QComboBox* combo, int index) {
  // Keyboard selection, as a user does it, emits `activated` like a click in the list.
  combo->setFocus();
  while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
  while (combo->currentIndex() > index) QTest::keyClick(combo, Qt::Key_Up);
  if (combo->currentIndex() == index) emit combo->activated(index);
}

void ClickButton(QWidget* page, int id) { QTest::mouseClick(Control<QPushButton>(page, id), Qt::LeftButton); }

QImage GrabPage(CSymbolPage* page) {
  QCoreApplication::processEvents();
  return page->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::optional<std::string> DecodePicture(const QImage& image, DecodeFormat format, int darkBelow) {
  std::vector<uint8_t> grey;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) grey.push_back(qGray(image.pixel(x, y)) < darkBelow ? 0 : 255);
  return DecodeImage(grey.data(), image.width(), image.height(), format);
}

std::optional<std::string> DecodeShownSymbol(CSymbolPage* page, DecodeFormat format) {
  return DecodePicture(GrabPage(page).copy(page->PictureArea()), format, 1);
}
