// The style's state and the read-back worded in Chinese, for the page's
// status line, its refusals and the dialog.
#pragma once

#include <QString>

#include "model/StylePresets.h"
#include "model/StyleState.h"
#include "verify/ReadBack.h"

namespace quillet {

// Why a symbol did not read back.
QString ReadBackProblem(const ReadBackResult& result);

// Why the styled symbol shown may not leave the page; empty when it may,
// or while it is being read back.
QString StyleProblemWords(const StyleState& state);

// Over the picture while a style is set: the problem, "正在校验..." or
// "已校验: 可扫描"; empty for a plain symbol or none.
QString StyleStatusWords(const StyleState& state);

// The names of the shapes and the presets in the dialog's lists.
QString ShapeWords(ModuleShape shape);
QString ShapeWords(EyeShape shape);
QString ShapeWords(LogoPad pad);
QString PresetWords(StylePreset preset);

}  // namespace quillet
