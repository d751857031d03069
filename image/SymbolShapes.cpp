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

template <typename Row, typename Shape>
const Row* FindRow(std::span<const Row> rows, Shape shape) {
  for (const Row& row : rows)
    if (row.shape == shape) return &row;
  return nullptr;
}

template <typename Row>
auto FindByName(std::span<const Row> rows, std::string_view name) -> std::optional<decltype(Row::shape)> {
  for (const Row& row : rows)
    if (row.name == name) return row.shape;
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

bool ShapeForDataMatrix(ModuleShape shape) { return FindRow(ModuleShapes(), shape)->dataMatrix; }

}  // namespace quillet
