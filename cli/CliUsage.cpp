// The help of quillet-cli: prose around the option lines, which the option
// table's rows give.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "cli/CliArgs.h"
#include "cli/CliOptionTable.h"
#include "cli/Translate.h"
#include "cli/Words.h"
#include "content/Catalogue.h"
#include "content/TextList.h"
#include "datamatrix/DmEncoder.h"
#include "qr/QrLevel.h"
#include "qr/QrStandard.h"

namespace quillet {

namespace {

// Translated where printed; the {placeholders} are filled after.
constexpr const char* QrUsage = N_(R"(Usage: quillet-cli qr [options] (--text TEXT | --gbk-text TEXT | --data-file FILE | content fields) (--dump | -o FILE)
       quillet-cli qr [options] --batch INPUT -o DIR

Encodes a QR Code symbol.

Input (exactly one):
{input}
  content fields       compose a payload as the QR page does:
{content}

Symbol:
{symbol}
{common}
  Each later row is one symbol composed as the QR page composes it under --operator
  and --type: a column is a field by its tag (N, M, TEL, ... any case), its caption
  (姓名, 手机, 邮箱, ...) or a field word (below). A column named text instead
  gives one raw symbol per row, its text in UTF-8 (code page 936 with --gbk).

What phones read: --text writes UTF-8, and content fields are 通用格式 unless
--operator says otherwise: a vCard, Wi-Fi, a link, ... that every phone camera
opens. The operator formats (--operator 1, 2 or 3) are for the readers made for
them and to match cards made in those formats before.

Field words: a column or --field may name a field by a word people use for it;
a word of several tags names the first of them that the page has:
{fieldWords}

Examples:
  quillet-cli qr --text 欢迎光临茶香小店 -o welcome.png
  quillet-cli qr --field N=张三 --field M=13800138000 --field COR=茶香小店 -o card.png
  quillet-cli qr --type wifi --field SSID=茶香小店 --field PWD=88888888 -o wifi.png
  quillet-cli qr --type url --field URL=https://example.com -o link.png
  quillet-cli qr --operator 1 --field N=张三 --field M=13800138000 -o old-card.png
  quillet-cli qr --batch cards.csv -o cards --name '{row}-{姓名}.png'

Exit status: 0 done, 1 bad usage, unreadable input or a bad header, 2 the data fits
no version, 3 the image file or the output folder could not be written, 4 some rows
of a batch failed, 5 the image does not read back (--verify).
)");

constexpr const char* DmUsage = N_(R"(Usage: quillet-cli dm [options] (--text TEXT | --gbk-text TEXT | --data-file FILE) (--dump | -o FILE)
       quillet-cli dm [options] --batch INPUT -o DIR

Encodes a Data Matrix ECC 200 symbol.

Input (exactly one):
{input}

Symbol:
{symbol}
{common}
  Each later row is one symbol from its column named text, in UTF-8 (code page 936
  with --gbk).

Examples:
  quillet-cli dm --text "Hello, world" -o hello.png
  quillet-cli dm --text 茶香小店 -o shop.png
  quillet-cli dm --batch serials.tsv -o labels --name '{serial}.svg'

Exit status: 0 done, 1 bad usage, unreadable input or a bad header, 2 the text cannot
be encoded in the scheme or fits no size allowed by --size, 3 the image file or the
output folder could not be written, 4 some rows of a batch failed, 5 the image
does not read back (--verify).
)");

constexpr const char* CommonUsage = N_(R"(
Output (one or both):
{output}

Style (every styled symbol is read back by every decoder before it is written;
one that does not give the encoded bytes is not written, status 5):
{style}

Batch (instead of the input and output above):
{batch}
)");

constexpr const char* OverviewUsage = N_(R"(Usage: quillet-cli (qr | dm | read) [options]

  quillet-cli qr --help    QR Code symbols, from text, a file or content fields
  quillet-cli dm --help    Data Matrix symbols
  quillet-cli read [--raw | --csv] [--expect N] FILE...
                           the symbols in images, as fields (read --help)
  quillet-cli --version    the program's version
  quillet-cli values (qr | dm) OPTION
                           the values OPTION takes, one a line (for completion)
)");

// The column where the options' descriptions start.
constexpr size_t HelpColumn = 23;

// "0 = 10x10 ... 23 = 144x144, 24 to 29 the rectangles"
std::string DmSizeIndices() {
  const int lastSquare = DmSquareSizeCount - 1;
  return Fill(_("0 = {1} ... {2} = {3}, {4} to {5} the rectangles"),
              {DmSizeName(0), std::to_string(lastSquare), DmSizeName(lastSquare), std::to_string(DmSquareSizeCount),
               std::to_string(DmSizeCount - 1)});
}

// Display columns of UTF-8 text: two for CJK characters, one for others.
size_t DisplayWidth(std::string_view text) {
  size_t width = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) != 0x80) width += byte >= 0xE1 ? 2 : 1;
  }
  return width;
}

// "1: 0 名片, 1 邮件, ..." for every format, wrapped to 80 columns; the
// default format first, as --type means its tabs without --operator.
std::string TabLists() {
  constexpr size_t Room = 80 - HelpColumn;
  const int defaultFormat = CliOptions{}.contentPage.format;
  std::vector<const OperatorFormatSpec*> formats{FindOperatorFormat(defaultFormat)};
  for (const OperatorFormatSpec& format : OperatorFormats())
    if (format.id != defaultFormat) formats.push_back(&format);
  std::string text;
  for (const OperatorFormatSpec* format : formats) {
    std::string line = std::to_string(format->id) + (format->id == defaultFormat ? std::string(_(" (default)")) + ":" : std::string(":"));
    const std::vector<std::string> tabs = NumberedTabs(format->id);
    for (size_t i = 0; i < tabs.size(); ++i) {
      const std::string item = " " + tabs[i] + (i + 1 < tabs.size() ? "," : "");
      if (DisplayWidth(line) + DisplayWidth(item) > Room) text += line + "\n", line = "  ";
      line += item;
    }
    text += line + "\n";
  }
  text.pop_back();
  return text;
}

// "1 = 中国移动v1.0 (default), ..." one format a line, the general one saying
// what it writes.
std::string OperatorLines() {
  std::string text;
  for (const OperatorFormatSpec& format : OperatorFormats()) {
    text += std::to_string(format.id) + " = " + std::string(format.caption);
    if (format.id == CliOptions{}.contentPage.format) text += _(" (default)");
    text += format.composition == Composition::General ? _(": UTF-8 forms every phone camera opens")
                                                       : _(": tag:value pairs behind 0x01 0x10");
    text += '\n';
  }
  text.pop_back();
  return text;
}

// Every field tag, wrapped in the help column under the --field line.
std::string TagList() {
  constexpr size_t Room = 80 - HelpColumn;
  std::string text, line;
  for (size_t slot = 0; slot < FieldTags.size(); ++slot) {
    const std::string item = std::string(FieldTags[slot]) + (slot + 1 < FieldTags.size() ? "," : "");
    if (line.size() + 1 + item.size() > Room) {
      text += line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + item;
  }
  return text + line;
}

// "  名字 N, 全名 N, ..., 电话 TEL/CT/M/SM, ..." wrapped to 80 columns.
std::string FieldWordLines() {
  constexpr size_t Width = 80;
  const std::string indent = "  ";
  std::string text, line = indent;
  const std::span<const FieldWord> words = FieldWords();
  for (size_t i = 0; i < words.size(); ++i) {
    std::string tags(words[i].tags);
    std::replace(tags.begin(), tags.end(), ' ', '/');
    const std::string item = std::string(words[i].word) + " " + tags + (i + 1 < words.size() ? "," : "");
    if (line.size() > indent.size() && DisplayWidth(line) + 1 + DisplayWidth(item) > Width)
      text += line + "\n", line = indent;
    line += (line.size() > indent.size() ? " " : "") + item;
  }
  return text + line;
}

void Replace(std::string& text, std::string_view placeholder, std::string_view value) {
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
}

std::string Filled(std::string_view pattern, bool qr) {
  std::string text(pattern);
  Replace(text, "{eciContent}", qr ? Fill(_("\n(content fields: {1} for the operator formats, {2} for 通用格式,\nwhich has it by default)"),
                                         {std::to_string(EciCodePage936), std::to_string(EciUtf8)})
                                   : "");
  Replace(text, "{eciCodePage936}", std::to_string(EciCodePage936));
  Replace(text, "{eciUtf8}", std::to_string(EciUtf8));
  Replace(text, "{operators}", OperatorLines());
  Replace(text, "{tags}", TagList());
  Replace(text, "{logoShares}", LogoShareWords());
  Replace(text, "{defaultLogoShare}", std::to_string(static_cast<int>(std::lround(100 * DefaultLogoShare))));
  Replace(text, "{defaultName}", NameTemplate::Default);
  Replace(text, "{tabs}", TabLists());
  Replace(text, "{defaultLevel}", std::string(1, QrLevelLetter(DefaultQrLevel)));
  Replace(text, "{maxVersion}", std::to_string(qr::MaxVersion));
  Replace(text, "{sizes}", ValueTakes(*FindCliOption(CliCommand::Dm, "--size")));
  Replace(text, "{sizeIndices}", DmSizeIndices());
  Replace(text, "{extensions}", KnownExtensions(" ", " "));
  Replace(text, "{scale}", std::to_string(ImageOptions{}.scale));
  Replace(text, "{maxImageSide}", std::to_string(MaxImageSide));
  Replace(text, "{quiet}", std::to_string(SavedQuietZoneModules));
  Replace(text, "{dpi}", std::to_string(DefaultDpi));
  Replace(text, "{minContrast}", std::to_string(static_cast<int>(MinContrastRatio)));
  Replace(text, "{moduleShapes}", Alternatives(ModuleShapeNames()));
  Replace(text, "{dmModuleShapes}", Alternatives(DmModuleShapeNames()));
  Replace(text, "{eyeShapes}", Alternatives(EyeShapeNames()));
  Replace(text, "{gradients}", Alternatives(GradientNames()));
  Replace(text, "{framePositions}", Alternatives(FramePositionNames()));
  Replace(text, "{maxCaption}", std::to_string(MaxCaptionCharacters));
  Replace(text, "{logoPads}", Alternatives(LogoPadNames()));
  Replace(text, "{maxSheetCells}", std::to_string(MaxSheetCells));
  return text;
}

// A row's text with its own values in: "L|M|Q|H" after the option, "L, M, Q
// or H" in its description.
std::string RowText(const CliOptionRow& row, std::string_view text, bool qr, bool afterOption) {
  std::string filled = Filled(text, qr);
  if (row.values) Replace(filled, "{values}", afterOption ? JoinNames(row.values(), "|", "|") : Alternatives(row.values()));
  return filled;
}

// The option and its value, then its description from the help column on,
// or from the next line when the option is too wide or the description
// starts with a line of its own.
std::string OptionLines(const CliOptionRow& row, bool qr) {
  std::string usage = std::string(row.nested ? 4 : 2, ' ') + std::string(row.name);
  if (!row.value.empty()) usage.append(" ").append(RowText(row, row.value, qr, true));
  std::istringstream help(RowText(row, _(std::string(row.help).c_str()), qr, false));
  std::string line, text;
  std::getline(help, line);
  if (line.empty() || usage.size() + 1 > HelpColumn) text = usage + "\n" + (line.empty() ? "" : std::string(HelpColumn, ' ') + line + "\n");
  else text = usage + std::string(HelpColumn - usage.size(), ' ') + line + "\n";
  while (std::getline(help, line)) text += std::string(HelpColumn, ' ') + line + "\n";
  return text;
}

// The lines of a section's options under a command, without the last line break.
std::string SectionLines(CliCommand command, CliSection section) {
  std::string text;
  for (const CliOptionRow& row : CliOptionRows())
    if (row.section == section && RowOf(row, command) && !row.help.empty())
      text += OptionLines(row, command == CliCommand::Qr);
  if (!text.empty()) text.pop_back();
  return text;
}

std::string CommandUsage(CliCommand command) {
  std::string text(_(command == CliCommand::Qr ? QrUsage : DmUsage));
  Replace(text, "{common}", _(CommonUsage));
  Replace(text, "{fieldWords}", FieldWordLines());
  const std::pair<std::string_view, CliSection> sections[] = {
      {"{input}", CliSection::Input},   {"{content}", CliSection::Content}, {"{symbol}", CliSection::Symbol},
      {"{output}", CliSection::Output}, {"{style}", CliSection::Style},     {"{batch}", CliSection::Batch}};
  for (const auto& [placeholder, section] : sections) Replace(text, placeholder, SectionLines(command, section));
  return text;
}

}  // namespace

std::string CliUsage(CliCommand topic) {
  switch (topic) {
    case CliCommand::Qr:
    case CliCommand::Dm: return CommandUsage(topic);
    case CliCommand::Help:
    case CliCommand::Version:
    case CliCommand::Values:
    case CliCommand::Options: break;
  }
  return _(OverviewUsage);
}

std::string CliShortUsage(CliCommand topic) {
  const std::string usage = CliUsage(topic);
  const std::string command = topic == CliCommand::Qr ? "qr " : topic == CliCommand::Dm ? "dm " : "";
  return usage.substr(0, usage.find("\n\n") + 1) + Fill(_("Try 'quillet-cli {1}--help'"), {command}) + "\n";
}

}  // namespace quillet
