// Text between the widgets and the rest of the program: UI strings kept as
// UTF-8, and what an edit control holds as the UTF-8 the models take (line
// breaks become CR LF; NUL and control characters are kept as bytes); the
// models decide which character set a symbol carries.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillet {

QString FromUtf8(std::string_view utf8);
std::string ToUtf8Bytes(const QString& text);

// A file name between the widgets and the layers below, which take the
// bytes the file system uses.
std::string ToLocalPath(const QString& path);
QString FromLocalPath(std::string_view path);

}  // namespace quillet
