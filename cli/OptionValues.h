// The values the options take: their names, for the help, `values` and the
// suggestions, and their parsers, which the option table's rows apply.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/ImageFormats.h"
#include "image/LabelSheet.h"
#include "image/StylePresets.h"
#include "image/SymbolFrame.h"
#include "image/SymbolStyle.h"
#include "qr/QrSegments.h"

namespace quillet {

// The names and numbers the rows and the help share.
std::optional<int> ParseInt(std::string_view word, int low, int high);
int MostTabs();
// "0 名片 (card)", "1 邮件 (email)", ... of a format.
std::vector<std::string> NumberedTabs(int operatorFormat);
std::vector<std::string> OperatorNames();
std::vector<std::string> LevelNames();
std::vector<std::string> FormatNames();
// A Data Matrix size index by its rows and columns: "10x10", "8x18".
std::string DmSizeName(int size);

std::vector<std::string> SegmentsNames();
std::optional<QrSegments> ParseSegments(std::string_view word);
// What --type takes: the positions, the names, then the captions.
std::vector<std::string> TabNames();
std::string TabTakes();
// A tab's position, or a name or caption that some format has: which tab it is
// depends on --operator, which may come later.
std::optional<std::string> ParseTabWord(std::string_view word);
std::vector<std::string> DmSizeNames();
std::optional<int> ParseDmSize(std::string_view word);
std::string DmSizeTakes();
std::vector<std::string> DmSchemeList();
std::optional<int> ParseDmScheme(std::string_view word);
std::optional<const ImageFormat*> ParseFormat(std::string_view word);
std::vector<std::string> PaperNames();
std::optional<const PaperSize*> ParsePaper(std::string_view word);
std::vector<std::string> EncodingNames();
// "N=", "M=", ...: what --field starts with, for completion.
std::vector<std::string> FieldTagWords();
// A module's or a symbol's side: a positive decimal number, at most a metre.
std::optional<double> ParseMillimetres(std::string_view word);
std::string MillimetresTakes();
std::string SymbolMillimetresTakes();
std::string ColourTakes();
// The shapes' names from their table: all, those Data Matrix takes, the eyes'.
std::vector<std::string> ModuleShapeNames();
std::vector<std::string> DmModuleShapeNames();
std::vector<std::string> EyeShapeNames();
std::vector<std::string> GradientNames();
std::vector<std::string> FramePositionNames();
// A frame's caption: CheckCaptionText's line without the blanks around it (TrimCaption), not empty.
std::optional<std::string> ParseCaption(std::string_view word);
std::string CaptionTakes();
std::vector<std::string> LogoPadNames();
std::optional<ModuleShape> ParseDmModuleShape(std::string_view word);
// The presets' names, of those the symbology takes.
template <Symbology Of>
std::vector<std::string> PresetNames() {
  std::vector<std::string> names;
  for (const StylePresetRow& row : StylePresets())
    if (PresetFor(Of, row.preset)) names.emplace_back(row.name);
  return names;
}
std::string BackgroundTakes();

// --bg takes a colour or "none", a transparent background.
struct Background {
  Rgb colour;
  bool transparent;
};
std::optional<Background> ParseBackground(std::string_view word);

}  // namespace quillet
