#include "app/TesselApp.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <QTranslator>

#include "app/AppIcon.h"
#include "app/DialogMain.h"
#include "app/LastChoices.h"
#include "app/HistoryStore.h"
#include "app/ModalFocus.h"
#include "app/WindowHistory.h"
#include "gui/DialogUnits.h"
#include "gui/TextBytes.h"
#include "res/DialogLayouts.h"
#include "res/Strings.h"

namespace quillet {

namespace {

// The program speaks Chinese whatever the desktop's language: Qt's own file
// dialog (the platform's follows the desktop) and standard buttons too.
void InstallChineseQtTexts(QApplication& app) {
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  QLocale::setDefault(chinese);
  auto* translator = new QTranslator(&app);
  if (translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

// The history file, and a word when it had to be set aside or cannot be kept.
void KeepHistory(CDialogMain& window) {
  auto store = std::make_unique<HistoryStore>();
  const QString aside = store->SetAside();
  const bool usable = store->Usable();
  const QString file = store->FilePath();
  if (usable) window.History().Keep(std::move(store));
  if (!aside.isEmpty()) QMessageBox::warning(&window, FromUtf8(UiText::HistoryTitle), FromUtf8(UiText::HistoryDamaged).arg(aside));
  if (!usable) QMessageBox::warning(&window, FromUtf8(UiText::HistoryTitle), FromUtf8(UiText::HistoryNotKept).arg(file));
}

}  // namespace

void ConfigureApplication(QApplication& app) {
  QApplication::setFont(DialogFont());
  QApplication::setWindowIcon(AppIcon());
  // Titles of message boxes and dialogs carry the program's name as it is written.
  QGuiApplication::setApplicationDisplayName(FromUtf8(MainWindowLayout.caption));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quillet.Quillet"));
  InstallChineseQtTexts(app);
  ReturnFocusAfterModalDialogs(app);
}

CTesselApp::CTesselApp(int& argc, char** argv) : QApplication(argc, argv) { ConfigureApplication(*this); }

int CTesselApp::Run(bool quitWhenShown) {
  const std::unique_ptr<QSettings> settings = UserSettings();
  CDialogMain main;
  RestoreLastChoices(main, *settings);
  main.show();
  if (!quitWhenShown) KeepHistory(main);
  // The start-up benchmark leaves the user's settings as they were.
  if (quitWhenShown) {
    QTimer::singleShot(0, this, &QApplication::quit);
    return exec();
  }
  const int result = exec();
  SaveLastChoices(main, *settings);
  return result;
}

}  // namespace quillet
