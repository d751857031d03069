#pragma once

#include <QIcon>

namespace quillet {

// The application icon, from the resources linked into the UI library.
QIcon AppIcon();

}  // namespace quillet
