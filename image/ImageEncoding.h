// Turning a symbol into the bytes of an image file, in memory, so that the
// file itself is written in one piece afterwards.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "image/ModuleMatrix.h"

// Through the Qt image plugin named `format` ("bmp", "jpeg", "png").
std::optional<QByteArray> EncodeWithQt(const QImage& image, const char* format, QString* error);
// A two-colour GIF of a black-and-white image.
std::optional<QByteArray> EncodeGif(const QImage& image, QString* error);
// An SVG document: one path of the dark modules, with a quiet zone of `quietModules`.
QByteArray EncodeSvg(const ModuleMatrix& matrix, int scale, int quietModules);
