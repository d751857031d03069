#include "app/TesselApp.h"

#include <QTimer>

#include "app/AppIcon.h"
#include "app/DialogMain.h"
#include "content/pages/DialogUnits.h"

CTesselApp::CTesselApp(int& argc, char** argv) : QApplication(argc, argv) {
  setFont(DialogFont());
  setWindowIcon(AppIcon());
  setDesktopFileName(QStringLiteral("org.quillet.Quillet"));
}

int CTesselApp::Run(bool quitWhenShown) {
  CDialogMain main;
  main.show();
  if (quitWhenShown) QTimer::singleShot(0, this, &QApplication::quit);
  return exec();
}
