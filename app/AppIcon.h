#pragma once

#include <QIcon>

// The application icon, from the resources linked into the UI library.
QIcon AppIcon();
