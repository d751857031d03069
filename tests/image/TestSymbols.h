// Helpers shared by the image tests.
#pragma once

#include <QByteArray>
#include <QString>

#include "image/ModuleMatrix.h"

// A matrix whose modules follow a fixed pseudo-random pattern.
ModuleMatrix PatternMatrix(int columns, int rows, unsigned seed);

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
