#include "app/TextBytes.h"

#include "content/CodePage.h"

std::string ToCodePageBytes(const QString& text) {
  QString withCrLf = text;
  withCrLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  withCrLf.replace(QChar::ParagraphSeparator, u'\n');
  withCrLf.replace(QChar::LineSeparator, u'\n');
  withCrLf.replace(u'\n', QStringLiteral("\r\n"));
  const QByteArray utf8 = withCrLf.toUtf8();
  const std::string_view view(utf8.constData(), static_cast<size_t>(utf8.size()));
  // toUtf8 always yields valid UTF-8, so conversion cannot fail; keep the
  // bytes rather than drop the text if it ever does.
  return Utf8ToCodePage(view).value_or(std::string(view));
}

QString FromCodePageBytes(const std::string& bytes) {
  const std::optional<std::string> utf8 = CodePageToUtf8(bytes);
  const std::string& text = utf8 ? *utf8 : bytes;
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
