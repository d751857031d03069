// The places the option table's rows write to: one accessor a place, so
// that a row names where its value goes.
#pragma once

#include "cli/CliOptionTable.h"

namespace quillet::slots {

inline CliBatchOptions& BatchOf(CliParseState& state) {
  if (!state.options.batch) state.options.batch.emplace();
  return *state.options.batch;
}
inline auto& TextSlot(CliParseState& s) { return s.options.text; }
inline auto& DataFileSlot(CliParseState& s) { return s.options.dataFile; }
inline auto& OutputSlot(CliParseState& s) { return s.options.outputFile; }
inline double& ModuleMmSlot(CliParseState& s) { return s.options.image.moduleMm; }
inline double& SymbolMmSlot(CliParseState& s) { return s.options.image.symbolMm; }
inline std::optional<bool>& EciSlot(CliParseState& s) { return s.options.symbol.eci; }
inline bool& DumpSlot(CliParseState& s) { return s.options.dump; }
inline bool& VerifySlot(CliParseState& s) { return s.options.verify; }
inline bool& LowContrastSlot(CliParseState& s) { return s.options.contrast.lowContrast; }
inline bool& InvertedSlot(CliParseState& s) { return s.options.contrast.inverted; }
inline auto& FormatSlot(CliParseState& s) { return s.options.format; }
inline int& ScaleSlot(CliParseState& s) { return s.options.image.scale; }
inline int& QuietZoneSlot(CliParseState& s) { return s.options.image.quietZone; }
inline int& DpiSlot(CliParseState& s) { return s.options.image.dpi; }
inline QrLevel& LevelSlot(CliParseState& s) { return s.options.symbol.levelChosen = true, s.options.symbol.level; }
inline int& VersionSlot(CliParseState& s) { return s.options.symbol.version; }
inline auto& SegmentsSlot(CliParseState& s) { return s.options.segments; }
inline int& OperatorSlot(CliParseState& s) { return s.options.contentPage.format; }
inline auto& TabSlot(CliParseState& s) { return s.tabWord; }
inline int& DmSizeSlot(CliParseState& s) { return s.options.symbol.dmSize; }
inline int& SchemeSlot(CliParseState& s) { return s.schemeGiven = true, s.options.symbol.dmScheme; }
inline Rgb& ForegroundSlot(CliParseState& s) { return s.options.image.style.foreground; }
inline ModuleShape& ModuleShapeSlot(CliParseState& s) { return s.options.image.style.moduleShape; }
inline EyeShape& EyeShapeSlot(CliParseState& s) { return s.options.image.style.eyeShape; }
inline auto& EyeColourSlot(CliParseState& s) { return s.options.image.style.eyeColour; }
inline Gradient& GradientSlot(CliParseState& s) { return s.options.image.style.gradient; }
inline auto& SecondForegroundSlot(CliParseState& s) { return s.options.image.style.foreground2; }
inline std::string& FrameTextSlot(CliParseState& s) { return s.options.image.style.frameText; }
inline FramePosition& FramePositionSlot(CliParseState& s) { return s.framePositionGiven = true, s.options.image.style.framePosition; }
inline auto& FrameColourSlot(CliParseState& s) { return s.options.image.style.frameColour; }
inline auto& LogoSlot(CliParseState& s) { return s.options.logoFile; }
inline auto& LogoShareSlot(CliParseState& s) { return s.options.image.style.logoShare; }
inline LogoPad& LogoPadSlot(CliParseState& s) { return s.logoPadGiven = true, s.options.image.style.logoPad; }
inline std::string& NameSlot(CliParseState& s) { return BatchOf(s).nameTemplate; }
inline int& JobsSlot(CliParseState& s) { return BatchOf(s).jobs; }
inline auto& ManifestSlot(CliParseState& s) { return BatchOf(s).manifest; }
inline auto& EncodingSlot(CliParseState& s) { return BatchOf(s).encoding; }
inline auto& SheetSlot(CliParseState& s) { return BatchOf(s).sheet; }
inline int& ColumnsSlot(CliParseState& s) { return BatchOf(s).columns; }
inline int& RowsSlot(CliParseState& s) { return BatchOf(s).rows; }
inline std::string& CaptionSlot(CliParseState& s) { return BatchOf(s).caption; }
inline bool& RawSlot(CliParseState& s) { return s.options.read.raw; }
inline bool& CsvSlot(CliParseState& s) { return s.options.read.csv; }
inline int& ExpectSlot(CliParseState& s) { return s.options.read.expect; }

}  // namespace quillet::slots
