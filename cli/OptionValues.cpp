#include "cli/OptionValues.h"

#include <algorithm>
#include <charconv>
#include <span>

#include "cli/Translate.h"
#include "content/Catalogue.h"
#include "datamatrix/DmEncoder.h"
#include "qr/QrLevel.h"
#include "qr/QrStandard.h"

namespace quillet {

std::optional<int> ParseInt(std::string_view word, int low, int high) {
  int value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
  return value;
}

std::vector<std::string> LevelNames() {
  std::vector<std::string> names;
  for (const QrLevelRow& row : QrLevels) names.emplace_back(1, row.letter);
  return names;
}

std::vector<std::string> OperatorNames() {
  std::vector<std::string> names;
  for (const OperatorFormatSpec& format : OperatorFormats()) names.push_back(std::to_string(format.id));
  return names;
}

int MostTabs() {
  size_t most = 0;
  for (const OperatorFormatSpec& format : OperatorFormats()) most = std::max(most, format.tabs.size());
  return static_cast<int>(most);
}

std::vector<std::string> NumberedTabs(int operatorFormat) {
  std::vector<std::string> tabs;
  const OperatorFormatSpec& format = *FindOperatorFormat(operatorFormat);
  for (size_t tab = 0; tab < format.tabs.size(); ++tab)
    tabs.push_back(std::to_string(tab) + " " + std::string(BareTabCaption(format.tabs[tab])) + " (" +
                   std::string(format.tabs[tab].name) + ")");
  return tabs;
}

std::string DmSizeName(int size) {
  return std::to_string(DmSizeAttribute(size, SymbolRows)) + "x" + std::to_string(DmSizeAttribute(size, SymbolColumns));
}

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const ImageFormat& format : ImageFormats()) names.emplace_back(format.name);
  return names;
}

std::vector<std::string> SegmentsNames() { return {QrSegmentsNames.begin(), QrSegmentsNames.end()}; }

std::optional<QrSegments> ParseSegments(std::string_view word) {
  for (size_t i = 0; i < QrSegmentsNames.size(); ++i)
    if (QrSegmentsNames[i] == word) return static_cast<QrSegments>(i);
  return std::nullopt;
}

namespace {

// Every tab's ASCII name or caption under any format, each once.
std::vector<std::string> TabWords(std::string_view (*word)(const TabSpec&)) {
  std::vector<std::string> words;
  for (const OperatorFormatSpec& format : OperatorFormats())
    for (const TabSpec& tab : format.tabs)
      if (std::find(words.begin(), words.end(), word(tab)) == words.end()) words.emplace_back(word(tab));
  return words;
}
std::string_view TabName(const TabSpec& tab) { return tab.name; }

}  // namespace

std::vector<std::string> TabNames() {
  std::vector<std::string> names;
  for (int tab = 0; tab < MostTabs(); ++tab) names.push_back(std::to_string(tab));
  for (auto word : {TabName, BareTabCaption})
    for (std::string& name : TabWords(word)) names.push_back(std::move(name));
  return names;
}

std::string TabTakes() {
  return Fill(_("a tab's position (0 to {1}), name ({2}) or caption ({3})"),
              {std::to_string(MostTabs() - 1), Alternatives(TabWords(TabName)), Alternatives(TabWords(BareTabCaption))});
}

std::optional<std::string> ParseTabWord(std::string_view word) {
  if (ParseInt(word, 0, MostTabs() - 1)) return std::string(word);
  for (const OperatorFormatSpec& format : OperatorFormats())
    if (TabOfName(format.id, word) >= 0) return std::string(word);
  return std::nullopt;
}

std::vector<std::string> DmSizeNames() {
  std::vector<std::string> names{std::string(DmSmallestSquareName), std::string(DmSmallestRectangleName)};
  for (int size = 0; size < DmSizeCount; ++size) names.push_back(DmSizeName(size));
  return names;
}

std::optional<int> ParseDmSize(std::string_view word) {
  if (word == DmSmallestSquareName) return DmSmallestSquare;
  if (word == DmSmallestRectangleName) return DmSmallestRectangle;
  for (int size = 0; size < DmSizeCount; ++size)
    if (word == DmSizeName(size)) return size;
  return ParseInt(word, 0, DmSizeCount - 1);
}

std::string DmSizeTakes() {
  return Fill(_("{1}, {2}, ROWSxCOLUMNS or 0 to {3}"),
              {DmSmallestSquareName, DmSmallestRectangleName, std::to_string(DmSizeCount - 1)});
}

std::vector<std::string> DmSchemeList() { return {DmSchemeNames.begin(), DmSchemeNames.end()}; }

std::optional<int> ParseDmScheme(std::string_view word) {
  for (const DmSchemeName& row : DmSchemeNames)
    if (row.name == word) return row.scheme;
  return std::nullopt;
}

std::optional<const ImageFormat*> ParseFormat(std::string_view word) {
  if (const ImageFormat* format = FindFormatByName(word)) return format;
  return std::nullopt;
}

std::vector<std::string> PaperNames() {
  std::vector<std::string> names;
  for (const PaperSize& paper : PaperSizes) names.emplace_back(paper.name);
  return names;
}

std::optional<const PaperSize*> ParsePaper(std::string_view word) {
  if (const PaperSize* paper = FindPaperSize(word)) return paper;
  return std::nullopt;
}

std::vector<std::string> EncodingNames() { return {"utf-8", "gb18030"}; }

std::vector<std::string> FieldTagWords() {
  std::vector<std::string> words;
  for (std::string_view tag : FieldTags) words.push_back(std::string(tag) + "=");
  return words;
}

std::optional<double> ParseMillimetres(std::string_view word) {
  constexpr double MaxMm = 1000.0;
  double value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || !(value > 0) || value > MaxMm) return std::nullopt;
  return value;
}

std::string MillimetresTakes() { return _("a size in millimetres such as 0.5"); }
std::string SymbolMillimetresTakes() { return _("a size in millimetres such as 50"); }
// The names of a table's rows, in its order.
template <typename Row>
std::vector<std::string> NamesOf(std::span<const Row> rows) {
  std::vector<std::string> names;
  for (const Row& row : rows) names.emplace_back(row.name);
  return names;
}

std::vector<std::string> ModuleShapeNames() { return NamesOf(ModuleShapes()); }

std::vector<std::string> DmModuleShapeNames() {
  std::vector<std::string> names;
  for (const ModuleShapeRow& row : ModuleShapes())
    if (row.dataMatrix) names.emplace_back(row.name);
  return names;
}

std::optional<ModuleShape> ParseDmModuleShape(std::string_view word) {
  const std::optional<ModuleShape> shape = ParseModuleShape(word);
  return shape && ShapeForDataMatrix(*shape) ? shape : std::nullopt;
}

std::vector<std::string> EyeShapeNames() { return NamesOf(EyeShapes()); }

std::vector<std::string> GradientNames() { return NamesOf(Gradients()); }

std::vector<std::string> FramePositionNames() { return NamesOf(FramePositions()); }

std::optional<std::string> ParseCaption(std::string_view word) {
  std::string caption = TrimCaption(word);
  if (caption.empty() || !CheckCaptionText(caption).Ok()) return std::nullopt;
  return caption;
}

std::string CaptionTakes() {
  return Fill(_("a line of 1 to {1} characters, without control characters"), {std::to_string(MaxCaptionCharacters)});
}

std::vector<std::string> LogoPadNames() { return NamesOf(LogoPads()); }

std::string ColourTakes() { return _("a colour #RRGGBB"); }
std::string BackgroundTakes() { return _("a colour #RRGGBB or none (transparent)"); }

std::optional<Background> ParseBackground(std::string_view word) {
  if (word == "none") return Background{White, true};
  if (auto colour = ParseColour(word)) return Background{*colour, false};
  return std::nullopt;
}

}  // namespace quillet
