#include "app/BatchReasons.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <array>
#include <string_view>

#include "app/SaveFailureText.h"
#include "app/StyleWords.h"
#include "content/Catalogue.h"
#include "datamatrix/DmEncoder.h"
#include "image/SymbolStyle.h"
#include "qr/QrStandard.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"
#include "res/Strings.h"

namespace quillet {

namespace {

// Every kind is worded by a switch, so that the compiler names a kind added
// below and not worded here.
std::string_view RowWords(RowFailure failure) {
  switch (failure) {
    case RowFailure::RequiredFieldEmpty: return UiText::BatchReasonRequiredFieldEmpty;
    case RowFailure::BrokenRow: return UiText::BatchReasonBrokenRow;
    case RowFailure::TooManyCells: return UiText::BatchReasonTooManyCells;
    case RowFailure::UnnamedColumn: return UiText::BatchReasonUnnamedColumn;
    case RowFailure::EmptyName: return UiText::BatchReasonEmptyName;
    case RowFailure::DuplicateName: return UiText::BatchReasonDuplicateName;
    case RowFailure::NothingToEncode: return UiText::BatchReasonNothingToEncode;
    case RowFailure::DoesNotFit: return UiText::BatchReasonDoesNotFit;
    case RowFailure::NotReadBack: return UiText::BatchReasonNotReadBack;
    case RowFailure::LabelTooLarge: return UiText::BatchReasonLabelTooLarge;
    case RowFailure::LogoDoesNotFit: return UiText::BatchReasonLogoDoesNotFit;
    case RowFailure::StyleNotReadBack: return UiText::BatchReasonStyleNotReadBack;
    case RowFailure::BadText:
    case RowFailure::FieldNotCarried:
    case RowFailure::WriteFailed:
    case RowFailure::None: break;  // worded with their subjects below, or no failure
  }
  return {};
}

std::string_view HeaderWords(HeaderFailure failure) {
  switch (failure) {
    case HeaderFailure::NoSuchTab: return UiText::BatchHeaderNoSuchTab;
    case HeaderFailure::UnknownColumn: return UiText::BatchHeaderUnknownColumn;
    case HeaderFailure::TwoTextColumns: return UiText::BatchHeaderTwoTextColumns;
    case HeaderFailure::TwoColumnsOneField: return UiText::BatchHeaderTwoColumnsOneField;
    case HeaderFailure::NoTextColumn: return UiText::BatchHeaderNoTextColumn;
    case HeaderFailure::TextWithField: return UiText::BatchHeaderTextWithField;
    case HeaderFailure::NoField: return UiText::BatchHeaderNoField;
    case HeaderFailure::NoTemplateColumn: return UiText::BatchHeaderNoTemplateColumn;
    case HeaderFailure::None: break;
  }
  return {};
}

QString Mm(double mm) { return QString::number(mm, 'f', 1); }

QString LabelTooLargeText(const LabelAdvice& advice) {
  const LabelFit& fit = advice.fit;
  QString text = FromUtf8(UiText::BatchLabelTooLarge)
                     .arg(QString::number(advice.modules), Mm(fit.widthMm), Mm(fit.heightMm), Mm(fit.cellWidthMm),
                          Mm(fit.cellHeightMm));
  QStringList remedies;
  if (advice.mostColumns > 0)
    remedies << FromUtf8(UiText::BatchLabelFewerLabels).arg(advice.mostColumns).arg(advice.mostRows);
  if (advice.largestModuleMm > 0)
    remedies << FromUtf8(UiText::BatchLabelSmallerModule).arg(advice.largestModuleMm, 0, 'f', 2);
  if (advice.mostModules > 0) remedies << FromUtf8(UiText::BatchLabelSmallerSymbol).arg(advice.mostModules);
  if (!remedies.isEmpty())
    text += FromUtf8(UiText::BatchLabelFitsWith).arg(remedies.join(FromUtf8(UiText::BatchLabelOr)));
  return text;
}

// The loader's and cairo's messages are English, and not shown here.
QString SheetText(const SheetProblem& problem) {
  switch (problem.failure) {
    case SheetFailure::NoCells: return FromUtf8(UiText::BatchSheetNoCells);
    case SheetFailure::NoPrintModule: return FromUtf8(UiText::NoPrintModule);
    case SheetFailure::NoLabel: return FromUtf8(UiText::BatchSheetNoLabel);
    case SheetFailure::Drawing: return FromUtf8(UiText::BatchSheetDrawing);
    case SheetFailure::LabelTooLarge: return FromUtf8(UiText::BatchReasonLabelTooLarge);
    case SheetFailure::None: break;
  }
  return {};
}

// The column, and where its text goes wrong: the byte (counted from 1) or the character.
QString BadTextText(const RowProblem& problem) {
  const QString column = problem.column.empty() ? QString::number(problem.columnIndex + 1) : FromUtf8(problem.column);
  const QString byte = QString::number(problem.text.offset + 1);
  switch (problem.text.failure) {
    case TextFailure::InvalidCodePage: return FromUtf8(UiText::BatchReasonBadCodePage).arg(column, byte);
    case TextFailure::NoCode:
    case TextFailure::NotInCodePage936:
      return FromUtf8(UiText::BatchReasonNoCode).arg(column, FromUtf8(problem.text.character));
    case TextFailure::InvalidUtf8:
    case TextFailure::None: break;
  }
  return FromUtf8(UiText::BatchReasonBadText).arg(column, byte);
}

// The values a drop-down or check box of 通用格式 takes: "WPA、WEP 或 nopass".
QString ChoicesOf(int slot) {
  for (const PageSpec& page : GeneralPages())
    if (const FieldSpec* field = FindField(page, slot)) {
      if (field->kind == FieldKind::Check) return FromUtf8(CheckedValue) + " 或 " + FromUtf8(UncheckedValue);
      QStringList values;
      for (const FieldChoice& choice : field->choices) values << FromUtf8(choice.value);
      return values.join(FromUtf8(UiText::BatchFieldSeparator));
    }
  return {};
}

// A field by its tag and its caption as a spreadsheet would name it: "N (姓名)".
QString FieldName(int slot, const PageSpec* page) {
  const QString tag = FromUtf8(FieldTags[static_cast<size_t>(slot)]);
  if (page)
    for (const FieldSpec& field : page->fields)
      if (field.slot == slot && !field.caption.empty()) return FromUtf8(UiText::BatchFeedsField).arg(tag, FromUtf8(BareCaption(field.caption)));
  return tag;
}

QString PageDescription(const BatchPage& page) {
  if (page.symbology == Symbology::DataMatrix) {
    const int side = DmSizeAttribute(page.dmSize, SymbolRows);
    return FromUtf8(UiText::BatchDmPage).arg(side);
  }
  const OperatorFormatSpec* format = FindOperatorFormat(page.contentPage.format);
  const TabSpec* tab = FindTab(page.contentPage.format, page.contentPage.tab);
  const QString version = page.version == 0 ? FromUtf8(UiText::BatchQrAutomaticVersion)
                                            : FromUtf8(UiText::BatchQrSmallestVersion).arg(page.version);
  return FromUtf8(UiText::BatchQrPage)
      .arg(format ? FromUtf8(format->caption) : QString(), tab ? FromUtf8(tab->caption).trimmed() : QString(),
           QString(QLatin1Char(QrLevelLetter(page.level))), version);
}

// The page's style after its settings, when it has one: every row is drawn and read back in it.
QString StyleDescription(const SymbolStyle& style) {
  if (style.IsPlain()) return {};
  const QString background = style.transparentBackground ? FromUtf8(UiText::StyleTransparent)
                                                         : QString::fromStdString(FormatColour(style.background));
  const QString frame = style.HasFrame() ? FromUtf8(UiText::BatchStyleFrame)
                                              .arg(QString::fromStdString(style.frameText), FramePositionWords(style.framePosition))
                                        : QString();
  return FromUtf8(UiText::BatchStyle).arg(QString::fromStdString(FormatColour(style.foreground)), background) +
         (style.logo ? FromUtf8(UiText::BatchStyleLogo) : QString()) + frame;
}

}  // namespace

QString FieldProblemText(const FieldProblem& problem, const QString& name) {
  switch (problem.failure) {
    case FieldFailure::Missing: return FromUtf8(UiText::FieldMissing).arg(name);
    case FieldFailure::NotUtf8: return FromUtf8(UiText::FieldNotUtf8).arg(name);
    case FieldFailure::NotANumber: return FromUtf8(UiText::FieldNotANumber).arg(name);
    case FieldFailure::OutOfRange:
      return FromUtf8(UiText::FieldOutOfRange).arg(name, problem.slot == FieldSlotOfTag("LAT") ? "-90 至 90" : "-180 至 180");
    case FieldFailure::NotADateTime: return FromUtf8(UiText::FieldNotADateTime).arg(name, FromUtf8(DateTimeLayout));
    case FieldFailure::EndsBeforeStart: return FromUtf8(UiText::FieldEndsBeforeStart).arg(name);
    case FieldFailure::NotAChoice: return FromUtf8(UiText::FieldNotAChoice).arg(name, ChoicesOf(problem.slot));
    case FieldFailure::NotAPhoneNumber: return FromUtf8(UiText::FieldNotAPhoneNumber).arg(name);
    case FieldFailure::NotAMailAddress: return FromUtf8(UiText::FieldNotAMailAddress).arg(name);
    case FieldFailure::NoIdnaForm: return FromUtf8(UiText::FieldNoIdnaForm).arg(name);
    case FieldFailure::NoIdnaLibrary: return FromUtf8(UiText::FieldNoIdnaLibrary).arg(name);
    case FieldFailure::PasswordUnused: return FromUtf8(UiText::FieldPasswordUnused).arg(name);
    case FieldFailure::NotInCodePage: return FromUtf8(UiText::FieldNotInCodePage).arg(name, FromUtf8(problem.text.character));
    case FieldFailure::None: break;
  }
  return {};
}

QString KnownExtensionList() { return FromUtf8(KnownExtensions(UiText::BatchFieldSeparator, " 或 ")); }

// The batch's rules for its output, in the dialog's words.
QString OutputRuleText(OutputRule rule) {
  switch (rule) {
    case OutputRule::NameTemplateBroken: return FromUtf8(UiText::BatchNameUnclosed);
    case OutputRule::NoImageExtension: return FromUtf8(UiText::BatchNameBadExtension).arg(KnownExtensionList());
    case OutputRule::SameNameEveryRow: return FromUtf8(UiText::BatchNameNoVariable);
    case OutputRule::CaptionBroken: return FromUtf8(UiText::BatchCaptionBad);
    case OutputRule::SheetNotPdf: return FromUtf8(UiText::BatchSheetNotPdf);
    case OutputRule::None: break;
  }
  return {};
}

QString BatchReasonText(const BatchRowResult& row) {
  const RowProblem& problem = row.problem;
  if (problem.failure == RowFailure::WriteFailed) return DescribeSaveFailure(row.image);
  if (problem.failure == RowFailure::BadText) return BadTextText(problem);
  if (problem.failure == RowFailure::FieldNotCarried) return FieldProblemText(problem.field, FromUtf8(problem.column));
  const std::string_view words = RowWords(problem.failure);
  if (words.find("%1") == std::string_view::npos) return FromUtf8(words);
  const QString column = problem.column.empty() ? QString::number(problem.columnIndex + 1) : FromUtf8(problem.column);
  return FromUtf8(words).arg(column);
}

QString BatchProblemText(const BatchProblem& problem) {
  const QString subject = FromLocalPath(problem.subject);
  const QString reason = SystemReason(problem.error);
  // One pass over each pattern, so that a "%2" inside a file name stays as it is.
  switch (problem.stop) {
    case BatchStop::InputUnreadable: return FromUtf8(UiText::BatchInputUnreadable).arg(subject, reason);
    case BatchStop::InputEmpty: return FromUtf8(UiText::BatchInputEmpty);
    case BatchStop::HeaderBroken: return FromUtf8(UiText::BatchHeaderBroken);
    case BatchStop::FolderNotCreated: return FromUtf8(UiText::BatchFolderNotCreated).arg(subject, reason);
    case BatchStop::FolderNotWritable: return FromUtf8(UiText::BatchFolderNotWritable).arg(subject, reason);
    case BatchStop::NotAFolder: return FromUtf8(UiText::BatchNotAFolder).arg(subject);
    case BatchStop::InputNotKept: return FromUtf8(UiText::BatchInputNotKept).arg(subject, reason);
    case BatchStop::HeaderRefused: return FromUtf8(UiText::BatchHeaderRefused).arg(HeaderRefusalText(problem.header));
    case BatchStop::OutputFailed:
    case BatchStop::SheetNotWritten: return DescribeSaveFailure(problem.output);
    case BatchStop::SheetNotOpened:
    case BatchStop::SheetNotMade: return FromUtf8(UiText::BatchSheetNotMade).arg(SheetText(problem.sheet));
    case BatchStop::ManifestNotWritten:
      if (problem.error == 0) return DescribeSaveFailure(problem.output);
      return FromUtf8(UiText::BatchManifestNotWritten).arg(subject, reason);
    case BatchStop::LabelTooLarge: return LabelTooLargeText(problem.label);
    case BatchStop::OutputRules: return OutputRuleText(problem.rules.rule);
    case BatchStop::None: break;
  }
  return {};
}

namespace {

// Several unknown columns in the quotes of one: 列“a”、“b”不是本页的字段….
QString RefusedColumns(const HeaderRefusal& refusal) {
  if (refusal.columns.size() < 2) return FromUtf8(refusal.column);
  QStringList names;
  for (const std::string& column : refusal.columns) names << FromUtf8(column);
  return names.join(QStringLiteral("”、“"));
}

}  // namespace

QString HeaderRefusalText(const HeaderRefusal& refusal) {
  const QString field = refusal.slot >= 0 ? FromUtf8(FieldTags[static_cast<size_t>(refusal.slot)]) : QString();
  const QString subjects[] = {RefusedColumns(refusal), FromUtf8(refusal.other), field};
  // In one pass, as the texts use only some of the markers and a column may be named "%2".
  const QString format = FromUtf8(HeaderWords(refusal.failure));
  QString text;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const int marker = i + 1 < format.size() && format[i] == QLatin1Char('%') ? format[i + 1].digitValue() : -1;
    if (marker >= 1 && marker <= 3) {
      text += subjects[marker - 1];
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

QString BatchFormText(const FormProblem& problem, bool sheet) {
  switch (problem.fault) {
    case FormFault::InputUnreadable:
    case FormFault::LabelTooLarge: return BatchProblemText(problem.problem);
    case FormFault::OutputRule: return OutputRuleText(problem.rule);
    case FormFault::UnknownColumn:
      return FromUtf8(sheet ? UiText::BatchCaptionUnknownColumn : UiText::BatchNameUnknownColumn)
          .arg(FromUtf8(problem.column));
    case FormFault::ColumnsUnused: return FromUtf8(UiText::BatchColumnsUnused).arg(problem.count);
    case FormFault::HeaderRefused: return FromUtf8(UiText::BatchHeaderRefused).arg(HeaderRefusalText(problem.refusal));
    case FormFault::NoInput:
    case FormFault::NoTarget:  // the empty file name or folder says it; "开始" is simply disabled
    case FormFault::None: break;
  }
  return {};
}

QString BatchPageText(const BatchPage& page) { return PageDescription(page) + StyleDescription(page.image.style); }

QString BatchPageFieldsText(const BatchPage& page) {
  if (page.symbology == Symbology::DataMatrix) return FromUtf8(UiText::BatchDmFields);
  QStringList names;
  if (const PageSpec* shown = PageForTab(page.contentPage.format, page.contentPage.tab))
    for (const FieldSpec& field : shown->fields) names << FieldName(field.slot, shown);
  return FromUtf8(UiText::BatchPageFields).arg(names.join(FromUtf8(UiText::BatchFieldSeparator)));
}

QString ColumnFeedText(const ColumnFeed& feed, const BatchPage& page, bool sheet) {
  switch (feed.role) {
    case ColumnRole::Field:
      return FieldName(feed.slot, page.symbology == Symbology::QrCode ? PageForTab(page.contentPage.format, page.contentPage.tab) : nullptr);
    case ColumnRole::Text: return FromUtf8(UiText::BatchFeedsText);
    case ColumnRole::NameOnly: return FromUtf8(sheet ? UiText::BatchFeedsCaption : UiText::BatchFeedsName);
    case ColumnRole::Unnamed: return FromUtf8(UiText::BatchFeedsNothingUnnamed);
    case ColumnRole::Nothing: break;
  }
  return FromUtf8(UiText::BatchFeedsNothing);
}

QString DurationText(long seconds) {
  if (seconds < 60) return FromUtf8(UiText::BatchSeconds).arg(seconds);
  return FromUtf8(UiText::BatchMinutes).arg(seconds / 60).arg(seconds % 60);
}

}  // namespace quillet
