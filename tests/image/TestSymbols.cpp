#include "tests/image/TestSymbols.h"

#include <QFile>

ModuleMatrix PatternMatrix(int columns, int rows, unsigned seed) {
  ModuleMatrix matrix(columns, rows);
  unsigned state = seed;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      state = state * 1103515245u + 12345u;
      matrix.SetDark(x, y, (state >> 16) & 1);
    }
  return matrix;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}
