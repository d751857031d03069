// The application: the dialog font for every control, the icon, and the main
// window run until it closes.
#pragma once

#include <QApplication>

class CTesselApp : public QApplication {
  Q_OBJECT
 public:
  CTesselApp(int& argc, char** argv);
  // Shows the main window and runs until it closes. With `quitWhenShown`
  // the program ends as soon as the window is on screen (start-up timing).
  int Run(bool quitWhenShown);
};
