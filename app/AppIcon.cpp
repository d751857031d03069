#include "app/AppIcon.h"

// Resources in a static library are only linked when something refers to
// their initialiser.
static void InitResources() { Q_INIT_RESOURCE(quillet); }

QIcon AppIcon() {
  static const bool initialised = (InitResources(), true);
  (void)initialised;
  return QIcon(QStringLiteral(":/quillet.png"));
}
