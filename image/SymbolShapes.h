// The shapes a symbol's modules and a QR Code's finder patterns ("eyes") are
// drawn in: one table of their names, which the command line's values, the
// completions, the manual and the window's choices all read.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace quillet {

enum class ModuleShape {
  Square,   // the plain symbol
  Dots,     // a circle in each dark module
  Rounded,  // corners rounded where no neighbour meets them, so neighbours join
};

enum class EyeShape {
  Square,
  Rounded,
  Circle,
};

// What a logo's pad clears: the modules under the logo's outline and a
// margin of one (the default), or its whole box.
enum class LogoPad {
  Shape,
  Square,
};

struct ModuleShapeRow {
  ModuleShape shape;
  std::string_view name;  // "dot": --shape and the settings
  bool dataMatrix;        // offered for Data Matrix as well as QR Code
};

struct EyeShapeRow {
  EyeShape shape;
  std::string_view name;
};

struct LogoPadRow {
  LogoPad shape;
  std::string_view name;  // "shape": --logo-pad and the settings
};

// In the order the choices list them, square first (the logo's pad: the
// default first).
std::span<const ModuleShapeRow> ModuleShapes();
std::span<const EyeShapeRow> EyeShapes();
std::span<const LogoPadRow> LogoPads();

std::string_view ShapeName(ModuleShape shape);
std::string_view ShapeName(EyeShape shape);
std::string_view ShapeName(LogoPad pad);
// By name, exactly; nullopt for anything else.
std::optional<ModuleShape> ParseModuleShape(std::string_view name);
std::optional<EyeShape> ParseEyeShape(std::string_view name);
std::optional<LogoPad> ParseLogoPad(std::string_view name);
bool ShapeForDataMatrix(ModuleShape shape);

// A dot's diameter in modules: large enough that a scanner's threshold still
// sees a dark module, small enough to look like a dot.
constexpr double DotDiameter = 0.85;

}  // namespace quillet
