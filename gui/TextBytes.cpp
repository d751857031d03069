#include "gui/TextBytes.h"

#include <QFile>

#include "content/CodePage.h"

QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string ToUtf8Bytes(const QString& text) {
  QString withCrLf = text;
  withCrLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  withCrLf.replace(QChar::ParagraphSeparator, u'\n');
  withCrLf.replace(QChar::LineSeparator, u'\n');
  withCrLf.replace(u'\n', QStringLiteral("\r\n"));
  return withCrLf.toStdString();
}

std::string ToCodePageBytes(const QString& text) {
  const std::string utf8 = ToUtf8Bytes(text);
  const std::string_view view(utf8);
  // Only a few private-use characters have no GB18030 code; keep their
  // UTF-8 bytes rather than drop the text.
  return Utf8ToCodePage(view).value_or(std::string(view));
}

std::string ToLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromLocalPath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}
