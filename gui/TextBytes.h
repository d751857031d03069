// Text between the widgets and the rest of the program: UI strings kept as
// UTF-8, and what an edit control holds as the code page 936 bytes (or, for
// the general format, the UTF-8 bytes) the encoders take (line breaks become
// CR LF; NUL and control characters are kept as bytes).
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString FromUtf8(std::string_view utf8);
std::string ToCodePageBytes(const QString& text);
std::string ToUtf8Bytes(const QString& text);

// A file name between the widgets and the layers below, which take the
// bytes the file system uses.
std::string ToLocalPath(const QString& path);
QString FromLocalPath(std::string_view path);
