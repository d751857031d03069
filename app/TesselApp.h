// The application: the dialog font for every control, Chinese texts in Qt's
// own dialogs, the name and icon, and the main window run until it closes.
#pragma once

#include <QApplication>

namespace quillet {

// What every window of the program relies on; tests set up their
// application with it too.
void ConfigureApplication(QApplication& app);

class CTesselApp : public QApplication {
  Q_OBJECT
 public:
  CTesselApp(int& argc, char** argv);
  // Shows the main window and runs until it closes. With `quitWhenShown`
  // the program ends as soon as the window is on screen (start-up timing).
  int Run(bool quitWhenShown);
};

}  // namespace quillet
