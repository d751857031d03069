#include "image/SymbolShapes.h"

namespace quillet {

namespace {

constexpr ModuleShapeRow ModuleShapeTable[] = {
    {ModuleShape::Square, "square", true},
    {ModuleShape::Dots, "dot", true},
    // Data Matrix's L finder and clock track are lines a rounded join would blur.
    {ModuleShape::Rounded, "rounded", false},
};

constexpr EyeShapeRow EyeShapeTable[] = {
    {EyeShape::Square, "square"},
    {EyeShape::Rounded, "rounded"},
    {EyeShape::Circle, "circle"},
};

constexpr LogoPadRow LogoPadTable[] = {
    {LogoPad::Shape, "shape"},
    {LogoPad::Square, "square"},
};

constexpr GradientRow GradientTable[] = {
    {Gradient::None, "none"},
    {Gradient::Linear, "linear"},
    {Gradient::Radial, "radial"},
};

constexpr FramePositionRow FramePositionTable[] = {
    {FramePosition::Below, "below"},
    {FramePosition::Above, "above"},
};

ModuleShape KindOf(const ModuleShapeRow& row) { return row.shape; }
EyeShape KindOf(const EyeShapeRow& row) { return row.shape; }
Gradient KindOf(const GradientRow& row) { return row.gradient; }
FramePosition KindOf(const FramePositionRow& row) { return row.position; }
LogoPad KindOf(const LogoPadRow& row) { return row.shape; }

template <typename Row, typename Shape>
const Row* FindRow(std::span<const Row> rows, Shape shape) {
  for (const Row& row : rows)
    if (KindOf(row) == shape) return &row;
  return nullptr;
}

template <typename Row>
auto FindByName(std::span<const Row> rows, std::string_view name) -> std::optional<decltype(KindOf(rows[0]))> {
  for (const Row& row : rows)
    if (row.name == name) return KindOf(row);
  return std::nullopt;
}

}  // namespace

std::span<const ModuleShapeRow> ModuleShapes() { return ModuleShapeTable; }
std::span<const EyeShapeRow> EyeShapes() { return EyeShapeTable; }
std::span<const LogoPadRow> LogoPads() { return LogoPadTable; }

std::string_view ShapeName(ModuleShape shape) { return FindRow(ModuleShapes(), shape)->name; }
std::string_view ShapeName(EyeShape shape) { return FindRow(EyeShapes(), shape)->name; }
std::string_view ShapeName(LogoPad pad) { return FindRow(LogoPads(), pad)->name; }

std::optional<ModuleShape> ParseModuleShape(std::string_view name) { return FindByName(ModuleShapes(), name); }
std::optional<EyeShape> ParseEyeShape(std::string_view name) { return FindByName(EyeShapes(), name); }
std::optional<LogoPad> ParseLogoPad(std::string_view name) { return FindByName(LogoPads(), name); }

std::span<const GradientRow> Gradients() { return GradientTable; }
std::span<const FramePositionRow> FramePositions() { return FramePositionTable; }

std::string_view GradientName(Gradient gradient) { return FindRow(Gradients(), gradient)->name; }

std::optional<Gradient> ParseGradient(std::string_view name) { return FindByName(Gradients(), name); }
std::optional<FramePosition> ParseFramePosition(std::string_view name) { return FindByName(FramePositions(), name); }
std::string_view FramePositionName(FramePosition position) { return FindRow(FramePositions(), position)->name; }

bool ShapeForDataMatrix(ModuleShape shape) { return FindRow(ModuleShapes(), shape)->dataMatrix; }

}  // namespace quillet
