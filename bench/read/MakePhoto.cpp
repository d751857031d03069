// The 4000 x 3000 photos reading is timed on, as JPEG at quality 85, with
// or without a business card's symbol, and the 3840 x 2160 screen capture
// with two, as PNG: what reading must look through quickly.
// Usage: make_photo OUT.jpg [--card] | make_photo OUT.png --screen
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>

#include "bench/read/Photos.h"

using namespace quillet;

int main(int argc, char** argv) {
  if (argc < 2) return std::fputs("usage: make_photo OUT.jpg [--card] | make_photo OUT.png --screen\n", stderr), 2;
  const auto option = [&](const char* name) { return argc > 2 && std::strcmp(argv[2], name) == 0; };
  QGuiApplication app(argc, argv);  // fonts for the screen's text
  QFile file(QString::fromLocal8Bit(argv[1]));
  const QByteArray bytes = option("--screen") ? PngOf(ScreenCapture()) : JpegOf(CameraPhoto(option("--card")));
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? 0 : 1;
}
