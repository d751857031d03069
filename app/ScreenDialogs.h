// The questions of reading from the screen, as the desktop asks them.
#pragma once

#include <QImage>
#include <QList>
#include <QStringList>

#include "app/OpenImage.h"

class QWidget;

namespace quillet {

// The item picked, -1 when cancelled, OpenDialogs::PickRegion for a region.
int PickShownSymbol(QWidget* parent, const QString& label, const QStringList& items, const QList<QImage>& thumbnails);
bool AskForRegion(QWidget* parent, const QString& text);
OpenDialogs::TextAction AskForTextAction(QWidget* parent, const QString& text, const TextActions& offered);

}  // namespace quillet
