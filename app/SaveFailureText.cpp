#include "app/SaveFailureText.h"

#include <QFile>
#include <cstring>

#include "gui/TextBytes.h"
#include "image/ImageFormats.h"
#include "image/SymbolFrame.h"
#include "res/Strings.h"

namespace quillet {

namespace {

QString Range(int low, int high) { return QStringLiteral("%1 到 %2").arg(low).arg(high); }

QString KnownExtensionList() {
  return FromUtf8(KnownExtensions(UiText::ListSeparator, UiText::ListLastSeparator));
}

// One pass over the pattern, so that a "%2" inside a file name stays as it is.
QString Fill(std::string_view pattern, const QString& first, const QString& second = {}) {
  return second.isNull() ? FromUtf8(pattern).arg(first) : FromUtf8(pattern).arg(first, second);
}

}  // namespace

QString SystemReason(int error) {
  for (const UiText::ErrorText& known : UiText::SystemErrors)
    if (known.error == error) return FromUtf8(known.text);
  return QString::fromLocal8Bit(std::strerror(error));
}

QString DescribeSaveFailure(const ImageResult& result) {
  const QString subject = FromLocalPath(result.subject);
  switch (result.failure) {
    case ImageFailure::None: return {};
    case ImageFailure::NoSymbol: return FromUtf8(UiText::NoSymbol);
    case ImageFailure::BadScale: return Fill(UiText::SaveFailedScale, subject, QString::number(MinScale));
    case ImageFailure::TooLarge: return Fill(UiText::SaveFailedTooLarge, subject, QString::number(MaxImageSide));
    case ImageFailure::BadQuietZone: return Fill(UiText::SaveFailedQuietZone, subject, Range(0, MaxQuietZoneModules));
    case ImageFailure::BadDpi: return Fill(UiText::SaveFailedDpi, subject, Range(MinDpi, MaxDpi));
    case ImageFailure::UnknownExtension:
      if (subject.isEmpty()) return Fill(UiText::SaveFailedNoExtension, KnownExtensionList());
      return Fill(UiText::SaveFailedExtension, subject, KnownExtensionList());
    case ImageFailure::FolderMissing: return Fill(UiText::SaveFailedFolderMissing, subject);
    case ImageFailure::IsFolder: return Fill(UiText::SaveFailedIsFolder, subject);
    case ImageFailure::CannotCreate: return Fill(UiText::SaveFailedCreate, subject, SystemReason(result.error));
    case ImageFailure::CannotWrite: return Fill(UiText::SaveFailedWrite, subject, SystemReason(result.error));
    case ImageFailure::CannotReplace: return Fill(UiText::SaveFailedReplace, subject, SystemReason(result.error));
    case ImageFailure::OutOfMemory: return FromUtf8(UiText::SaveFailedMemory);
    // The library's message is English, and not shown here.
    case ImageFailure::EncoderFailed: return FromUtf8(UiText::SaveFailedEncoder);
    case ImageFailure::NoPrintModule: return FromUtf8(UiText::NoPrintModule);
    case ImageFailure::BadCaption: return Fill(UiText::SaveFailedCaption, QString::number(MaxCaptionCharacters));
    case ImageFailure::NoCaptionFont: return Fill(UiText::SaveFailedCaptionFont, subject);
    case ImageFailure::CaptionCharacter: return Fill(UiText::SaveFailedCaptionCharacter, FromUtf8(result.subject));
    case ImageFailure::CaptionScript: return Fill(UiText::SaveFailedCaptionScript, FromUtf8(result.subject));
  }
  return {};
}

QString ReadDetailText(ImageReadDetail detail, int number) {
  switch (detail) {
    case ImageReadDetail::GifError: return FromUtf8(UiText::ReadGifError).arg(number);
    case ImageReadDetail::NoGifImage: return FromUtf8(UiText::ReadNoGifImage);
    case ImageReadDetail::JpegScans: return FromUtf8(UiText::ReadJpegScans).arg(number);
    case ImageReadDetail::OldBmpHeader: return FromUtf8(UiText::ReadOldBmpHeader);
    case ImageReadDetail::CompressedBmp: return FromUtf8(UiText::ReadCompressedBmp);
    case ImageReadDetail::BmpBits: return FromUtf8(UiText::ReadBmpBits).arg(number);
    case ImageReadDetail::BmpPaletteIndex: return FromUtf8(UiText::ReadBmpPalette);
    case ImageReadDetail::SvgUnreadable: return FromUtf8(UiText::ReadSvgUnreadable);
    case ImageReadDetail::SvgNotDrawn: return FromUtf8(UiText::ReadSvgNotDrawn);
    case ImageReadDetail::LibraryMessage:
    case ImageReadDetail::None: break;
  }
  return {};
}

QString CannotCheckReason(const ReadBackResult& result) {
  switch (result.fault) {
    case ReadBackFault::ModuleMissing: return FromUtf8(UiText::CheckModuleMissing);
    case ReadBackFault::FileNotOpened: return FromUtf8(UiText::CheckFileNotOpened);
    case ReadBackFault::FileSizeUnknown: return FromUtf8(UiText::CheckFileSizeUnknown);
    case ReadBackFault::FileTooLarge: return FromUtf8(UiText::CheckFileTooLarge);
    case ReadBackFault::FileNotRead:
    case ReadBackFault::None:
    case ReadBackFault::NotAnImage:
    case ReadBackFault::ImageBroken:
    case ReadBackFault::SymbolNotFound:
    case ReadBackFault::BytesDiffer:
    case ReadBackFault::LostUnderCondition: break;
  }
  return FromUtf8(UiText::CheckFileNotRead);
}

}  // namespace quillet
