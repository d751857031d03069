#include <cstring>

#include "app/TesselApp.h"

int main(int argc, char** argv) {
  // Hidden option for the start-up benchmark: quit once the window is shown.
  const bool quitWhenShown = argc > 1 && std::strcmp(argv[1], "--quit-when-shown") == 0;
  CTesselApp app(argc, argv);
  return app.Run(quitWhenShown);
}
