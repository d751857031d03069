// The images reading is timed on, the same in every benchmark that reads.
#pragma once

#include <QByteArray>
#include <QImage>

namespace quillet {

// A 4000 x 3000 photo as a camera gives it (a shaded background with sensor
// noise), with or without a business card's symbol 900 pixels wide in it.
QImage CameraPhoto(bool withCard);
// A 3840 x 2160 screen: windows of text, and two symbols of 4 pixels a
// module as a web page or a chat shows them.
QImage ScreenCapture();
QByteArray JpegOf(const QImage& image, int quality = 85);
QByteArray PngOf(const QImage& image);

}  // namespace quillet
