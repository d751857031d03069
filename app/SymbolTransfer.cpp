#include "app/SymbolTransfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <span>
#include <string_view>

#include "app/SaveDialogs.h"
#include "app/SaveFailureText.h"
#include "app/StyleWords.h"
#include "gui/TextBytes.h"
#include "image/AtomicFile.h"
#include "image/ImageFormats.h"
#include "image/PhysicalSize.h"
#include "res/Strings.h"

namespace quillet {

namespace {

QByteArray Encode(const ModuleMatrix& matrix, const ImageOptions& options, std::string_view formatName) {
  const ImageFormat* format = FindFormatByName(formatName);
  std::string bytes;
  if (format == nullptr || !EncodeImage(matrix, *format, options, bytes).Ok()) return {};
  return QByteArray::fromStdString(bytes);
}

// One folder for the process's dragged files, removed when it ends.
QString DragFolder() {
  static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/quillet-drag-XXXXXX"));
  return folder.isValid() ? folder.path() : QString();
}

// The saving rule's four entries in their order, then the further formats
// the formats table offers.
QStringList SaveFilterCaptions() {
  QStringList captions;
  for (const ImageFormat* format : SaveDialogFormats())
    captions << FromUtf8(UiText::SaveFormatCaption(format->name)) + QStringLiteral(" (*") + FromUtf8(format->extensions.front()) +
                    QLatin1Char(')');
  return captions;
}

// The default extension of a save-dialog entry, with its dot; empty for none.
QString FilterExtension(int filterEntry) {
  const std::span<const ImageFormat* const> offered = SaveDialogFormats();
  if (filterEntry < 1 || filterEntry > static_cast<int>(offered.size())) return {};
  return FromUtf8(offered[filterEntry - 1]->extensions.front());
}

// Reserved somewhere: path separators, and what FAT and NTFS refuse.
bool UnsafeInFileName(char32_t c) {
  return !QChar::isPrint(c) || std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
}

QString RiskText(ReadBackRisk risk) {
  switch (risk) {
    case ReadBackRisk::NoQuietZone: return FromUtf8(UiText::RiskNoQuietZone);
    case ReadBackRisk::OnePixelModules: return FromUtf8(UiText::RiskOnePixel);
    case ReadBackRisk::JpegAtSmallScale: return FromUtf8(UiText::RiskJpeg);
    case ReadBackRisk::None: break;
  }
  return {};
}

}  // namespace

ImageOptions PageImageOptions(int scale) {
  ImageOptions options;
  options.scale = scale;
  options.dpi = DefaultDpi;
  return options;
}

QMimeData* SymbolMimeData(const ModuleMatrix& matrix, const ImageOptions& options) {
  if (matrix.Empty()) return nullptr;
  const QByteArray png = Encode(matrix, options, "png");
  if (png.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/png"), png);
  data->setData(QStringLiteral("image/svg+xml"), Encode(matrix, options, "svg"));
  data->setImageData(QImage::fromData(png, "PNG"));
  return data;
}

QMimeData* SymbolDragData(const ModuleMatrix& matrix, const ImageOptions& options) {
  QMimeData* data = SymbolMimeData(matrix, options);
  if (data == nullptr) return nullptr;
  const QString folder = DragFolder();
  if (folder.isEmpty()) return data;
  const QString path = folder + QLatin1Char('/') + FromUtf8(UiText::DraggedFileName);
  const std::string bytes = data->data(QStringLiteral("image/png")).toStdString();
  if (WriteFileAtomically(ToLocalPath(path), bytes).Ok())
    data->setUrls({QUrl::fromLocalFile(path)});
  return data;
}

QString PrintedSizeText(const ModuleMatrix& matrix, const ImageOptions& options) {
  const PrintedExtent extent = FramedMillimetres(options, matrix.Columns(), matrix.Rows());
  const QString width = QString::number(extent.widthMm, 'f', 1), height = QString::number(extent.heightMm, 'f', 1);
  if (width == height) return FromUtf8(UiText::PrintedSize).arg(width).arg(options.dpi);
  return FromUtf8(UiText::PrintedSizeFramed).arg(width, height).arg(options.dpi);
}

std::optional<std::string> SaveSymbolImage(QWidget* page, const ModuleMatrix* symbol, const ImageOptions& options,
                                           SaveDialogs& dialogs, const QString& content) {
  if (symbol == nullptr || symbol->Empty()) {
    dialogs.ShowMessage(page, FromUtf8(UiText::NoSymbol), true);
    return std::nullopt;
  }
  SaveFileQuestion question{SaveFilterCaptions(), dialogs.lastFolder, dialogs.lastFilterEntry,
                            SuggestedFileName(content, dialogs.lastFilterEntry)};
  QString shownName;
  for (;;) {
    const auto choice = dialogs.AskSaveFileName(page, question);
    if (!choice) return std::nullopt;
    shownName = FromLocalPath(AppendDefaultExtension(ToLocalPath(choice->first), choice->second));
    const QFileInfo chosen(shownName);
    dialogs.lastFolder = chosen.absolutePath();
    dialogs.lastFilterEntry = choice->second;
    // "No" to replacing a file goes back to the dialog, not out of the save.
    if (FindFormatForFile(ToLocalPath(shownName)) == nullptr || !chosen.exists() ||
        dialogs.ConfirmOverwrite(page, shownName))
      break;
    question = SaveFileQuestion{question.filters, dialogs.lastFolder, dialogs.lastFilterEntry, chosen.fileName()};
  }
  const ImageResult result = SaveImageFile(*symbol, options, ToLocalPath(shownName));
  if (result.Ok()) return ToLocalPath(shownName);
  dialogs.ShowMessage(page, FromUtf8(UiText::SaveFailed) + QLatin1Char('\n') + DescribeSaveFailure(result), false);
  return std::nullopt;
}

QString SuggestedFileName(const QString& content, int filterEntry) {
  std::u32string name;
  for (const char32_t c : content.toUcs4()) name += UnsafeInFileName(c) ? U' ' : c;
  QString safe = QString::fromUcs4(name.data(), static_cast<qsizetype>(name.size())).simplified();
  // A leading dot hides the file; Windows drops trailing dots and blanks.
  while (safe.startsWith(QLatin1Char('.')) || safe.startsWith(QLatin1Char(' '))) safe.remove(0, 1);
  const std::u32string start = safe.toStdU32String().substr(0, MaxSuggestedNameLength);
  safe = QString::fromUcs4(start.data(), static_cast<qsizetype>(start.size()));
  while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' '))) safe.chop(1);
  return (safe.isEmpty() ? FromUtf8(UiText::DefaultFileName) : safe) + FilterExtension(filterEntry);
}

// A file that does not read back stays on disk, and the user is told why it may not scan.
QString NotReadBackWarning(const std::string& fileName, const ReadBackResult& result, const ImageOptions& options) {
  QString why = ReadBackProblem(result);
  if (const ImageFormat* format = FindFormatForFile(fileName))
    if (const QString risk = RiskText(LikelyReadBackRisk(*format, options)); !risk.isEmpty()) why += QLatin1Char('\n') + risk;
  return FromUtf8(UiText::NotReadBack).arg(FromLocalPath(fileName), why);
}

}  // namespace quillet
