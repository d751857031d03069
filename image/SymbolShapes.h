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

// How dark modules are painted: in the foreground alone, or shading into a
// second colour from the symbol's top left corner to its bottom right
// (linear) or from its centre out to its corners (radial).
enum class Gradient {
  None,
  Linear,
  Radial,
};

// Where a frame's caption goes: in a band under the symbol or over it.
enum class FramePosition {
  Below,
  Above,
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

struct GradientRow {
  Gradient gradient;
  std::string_view name;  // "linear": --gradient and the settings
};

struct LogoPadRow {
  LogoPad shape;
  std::string_view name;  // "shape": --logo-pad and the settings
};

struct FramePositionRow {
  FramePosition position;
  std::string_view name;  // "below": --frame-position and the settings
};

// In the order the choices list them, square first.
std::span<const ModuleShapeRow> ModuleShapes();
std::span<const EyeShapeRow> EyeShapes();
// None first, named "none"; the command line takes the others.
std::span<const GradientRow> Gradients();
// Below first, the default.
std::span<const FramePositionRow> FramePositions();
// The logo's pad: the default first.
std::span<const LogoPadRow> LogoPads();

std::string_view ShapeName(ModuleShape shape);
std::string_view ShapeName(EyeShape shape);
std::string_view ShapeName(LogoPad pad);
std::string_view GradientName(Gradient gradient);
// By name, exactly; nullopt for anything else.
std::optional<ModuleShape> ParseModuleShape(std::string_view name);
std::optional<EyeShape> ParseEyeShape(std::string_view name);
std::optional<LogoPad> ParseLogoPad(std::string_view name);
std::optional<Gradient> ParseGradient(std::string_view name);
std::optional<FramePosition> ParseFramePosition(std::string_view name);
std::string_view FramePositionName(FramePosition position);
bool ShapeForDataMatrix(ModuleShape shape);

// A dot's diameter in modules: large enough that a scanner's threshold still
// sees a dark module, small enough to look like a dot.
constexpr double DotDiameter = 0.85;

}  // namespace quillet
