#include "app/AppIcon.h"

// Resources in a static library are only linked when something refers to
// their initialiser, which Qt declares in the global namespace.
static void InitResources() { Q_INIT_RESOURCE(quillet); }

namespace quillet {

QIcon AppIcon() {
  static const bool initialised = (InitResources(), true);
  (void)initialised;
  return QIcon(QStringLiteral(":/quillet.png"));
}

}  // namespace quillet
