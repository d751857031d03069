#include "gui/TextBytes.h"

#include <QFile>

namespace quillet {

QString FromUtf8(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string ToUtf8Bytes(const QString& text) {
  QString withCrLf = text;
  withCrLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  withCrLf.replace(QChar::ParagraphSeparator, u'\n');
  withCrLf.replace(QChar::LineSeparator, u'\n');
  withCrLf.replace(u'\n', QStringLiteral("\r\n"));
  return withCrLf.toStdString();
}

std::string ToLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FromLocalPath(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace quillet
