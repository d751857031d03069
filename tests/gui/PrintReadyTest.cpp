// Print-ready symbols on the pages: the printed size, the read-back check of
// a save, copying to the clipboard and the file a drag carries.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "app/SymbolTransfer.h"
#include "tests/gui/GuiHelpers.h"

namespace {

const std::string CardS = QrPrefix + "CARD:N:s;;";

class PrintReady : public GuiTest {
 protected:
  void MakeQrSymbol() { TypeInto(Field(Current(), "N"), U("s")); }  // version 1
  void SaveAs(CSymbolPage* page, const char* name) {
    dialogs.answers.emplace_back(folder.filePath(U(name)), 4);
    ClickButton(page, ControlId::Save);
  }
  QTemporaryDir folder;
};

// (21 + 4) modules at 4 pixels are 100 pixels, 8.5 mm at 300 dpi; the slider
// and the symbol update it, and no symbol shows none.
TEST_F(PrintReady, PrintedSizeFollowsTheSliderAndTheSymbol) {
  EXPECT_EQ(qr->PrintedSizeText(), QString());
  MakeQrSymbol();
  EXPECT_EQ(qr->PrintedSizeText(), U("打印尺寸: 8.5 mm (300 dpi)"));
  Control<QSlider>(qr, ControlId::Zoom)->setValue(8);
  EXPECT_EQ(qr->PrintedSizeText(), U("打印尺寸: 16.9 mm (300 dpi)"));
  TypeInto(Control<QPlainTextEdit>(dm, ControlId::DmText), U("ABC"));  // 10 x 10
  EXPECT_EQ(dm->PrintedSizeText(), U("打印尺寸: 4.7 mm (300 dpi)"));
}

// The printed size sits beneath the picture area and overlaps no other control.
TEST_F(PrintReady, PrintedSizeIsBeneathThePictureClearOfTheControls) {
  for (CSymbolPage* page : {static_cast<CSymbolPage*>(qr), static_cast<CSymbolPage*>(dm)}) {
    const QWidget* label = page->findChild<QWidget*>(U("printedSize"));
    ASSERT_NE(label, nullptr);
    EXPECT_GT(label->geometry().top(), page->PictureArea().bottom());
    EXPECT_GE(label->width(), page->PictureArea().width() * 2 / 3);
    for (const QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (control != label) EXPECT_FALSE(control->geometry().intersects(label->geometry())) << control->objectName().toStdString();
  }
}

// A save that reads back is confirmed in the page, with no box.
TEST_F(PrintReady, SaveThatReadsBackIsConfirmedInThePage) {
  MakeQrSymbol();
  SaveAs(qr, "card.png");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(qr->PrintedSizeText(), U("已保存，读回校验通过 (zxing-cpp)"));
}

// The largest Data Matrix at one pixel per module reads back with no
// decoder: the file stays and a warning box says so and why.
TEST_F(PrintReady, SaveThatDoesNotReadBackWarns) {
  Control<QPlainTextEdit>(dm, ControlId::DmText)->setPlainText(QString(1500, QLatin1Char('A')));
  Control<QSlider>(dm, ControlId::Zoom)->setValue(1);
  ASSERT_EQ(dm->Symbol().Columns(), 144);
  SaveAs(dm, "large.png");
  EXPECT_TRUE(QFile::exists(folder.filePath(U("large.png"))));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const QString& warning = dialogs.messages[0].first;
  EXPECT_TRUE(warning.startsWith(U("文件已保存，但无法读回其中的条码：\n") + folder.filePath(U("large.png")))) << warning.toStdString();
  EXPECT_TRUE(warning.contains(U("每个模块只有 1 个像素"))) << warning.toStdString();
  EXPECT_TRUE(dialogs.messages[0].second);
}

// Ctrl+C on the page and "复制图片" both put PNG and SVG on the clipboard;
// the PNG decodes to the payload, at the page's scale with the quiet zone.
TEST_F(PrintReady, CopyPutsTheSymbolOnTheClipboard) {
  MakeQrSymbol();
  QApplication::clipboard()->clear();
  qr->setFocus();
  QTest::keyClick(qr, Qt::Key_C, Qt::ControlModifier);
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(copied && copied->hasFormat(U("image/png")));
  const QImage png = QImage::fromData(copied->data(U("image/png")), "PNG");
  EXPECT_EQ(png.size(), QSize(100, 100));
  EXPECT_EQ(DecodePicture(png, DecodeFormat::QrCode), CardS);
  EXPECT_TRUE(copied->data(U("image/svg+xml")).contains("<svg"));
  QApplication::clipboard()->clear();
  qr->CopyAction()->trigger();
  copied = QApplication::clipboard()->mimeData();
  EXPECT_TRUE(copied && copied->hasFormat(U("image/png")));
  EXPECT_EQ(qr->CopyAction()->text(), U("复制图片"));
  EXPECT_EQ(qr->SaveAsAction()->text(), U("另存为..."));
}

TEST_F(PrintReady, CopyWithNoSymbolSaysSo) {
  QApplication::clipboard()->clear();
  dm->CopyAction()->trigger();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].first, U("请先生成图片"));
  const QMimeData* clipboard = QApplication::clipboard()->mimeData();
  EXPECT_FALSE(clipboard && clipboard->hasFormat(U("image/png")));
}

TEST_F(PrintReady, CtrlSSavesLikeTheButton) {
  MakeQrSymbol();
  dialogs.answers.emplace_back(folder.filePath(U("keys")), 6);  // entry 6: PDF
  qr->setFocus();
  QTest::keyClick(qr, Qt::Key_S, Qt::ControlModifier);
  QFile saved(folder.filePath(U("keys.pdf")));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.read(5) == "%PDF-");
  EXPECT_TRUE(dialogs.messages.empty());
}

// A drag carries a PNG file that other programs open.
TEST_F(PrintReady, DragDataHoldsAPngFile) {
  MakeQrSymbol();
  std::unique_ptr<QMimeData> data(SymbolDragData(qr->Symbol(), qr->Scale()));
  ASSERT_TRUE(data && data->hasUrls());
  const QString file = data->urls().at(0).toLocalFile();
  EXPECT_TRUE(file.endsWith(U(".png")));
  EXPECT_EQ(DecodePicture(QImage(file), DecodeFormat::QrCode), CardS);
  EXPECT_EQ(SymbolDragData(ModuleMatrix(), 4), nullptr);
}

}  // namespace
