#include <cstring>
#include <iostream>

#include "QuilletVersion.h"
#include "app/TesselApp.h"

using namespace quillet;

int main(int argc, char** argv) {
  // Answered before any window system is needed.
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "quillet " << QuilletVersion << '\n';
    return 0;
  }
  // Hidden option for the start-up benchmark: quit once the window is shown.
  const bool quitWhenShown = argc > 1 && std::strcmp(argv[1], "--quit-when-shown") == 0;
  CTesselApp app(argc, argv);
  return app.Run(quitWhenShown);
}
