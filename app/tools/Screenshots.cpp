// Fills a few fields and saves a picture of each page of the main window:
//   quillet-screenshots <output folder>
// Meant to run offscreen (QT_QPA_PLATFORM=offscreen) from scripts/screenshots.
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <cstdio>

#include "app/DialogDM.h"
#include "app/DialogMain.h"
#include "app/TesselApp.h"
#include "app/TesselDlg.h"
#include "app/pages/DialogTypeBase.h"

using namespace quillet;

namespace {

void Fill(CDialogTypeBase* page, int slot, const QString& text) {
  static_cast<QLineEdit*>(page->FieldEdit(slot))->setText(text);
}

bool Save(CDialogMain& window, int tab, const QString& path) {
  window.Tabs()->setCurrentIndex(tab);
  QCoreApplication::processEvents();
  const bool ok = window.grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  CTesselApp app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(folder);

  CDialogMain window;
  // The offscreen screen is small: show the window as a 1920 x 1080 screen would.
  window.resize(window.NaturalSize());
  window.show();
  CDialogTypeBase* card = window.QrPage()->CurrentPage();
  Fill(card, FieldSlotOfTag("N"), QStringLiteral("张三"));
  Fill(card, FieldSlotOfTag("M"), QStringLiteral("13800138000"));
  Fill(card, FieldSlotOfTag("EM"), QStringLiteral("zhangsan@example.com"));
  Fill(card, FieldSlotOfTag("COR"), QStringLiteral("Quillet 软件"));
  window.DmPage()->TextBox()->setPlainText(QStringLiteral("Quillet DM 码\nhttps://example.com"));

  const bool ok = Save(window, 0, folder + QStringLiteral("/qr-page.png")) &&
                  Save(window, 1, folder + QStringLiteral("/dm-page.png"));
  return ok ? 0 : 1;
}
