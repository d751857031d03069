// From what an edit control holds to the code page 936 bytes the encoders
// take. Line breaks become CR LF; NUL and control characters are
// kept as bytes.
#pragma once

#include <QString>
#include <string>

std::string ToCodePageBytes(const QString& text);
