#include "model/StyleState.h"

#include "image/ImageFormats.h"
#include "image/SymbolFrame.h"

namespace quillet {

SymbolStyle WithGradient(SymbolStyle style, Gradient gradient) {
  style.gradient = gradient;
  if (gradient != Gradient::None && !style.foreground2) style.foreground2 = DefaultSecondColour;
  return style;
}

bool Keepable(const PageStyle& style) {
  return CheckContrast(style.style, style.allowed).Ok() &&
         (!style.style.HasFrame() || CheckCaption(style.style.frameText).Ok());
}

void StyleState::SetStyle(PageStyle style) {
  style.style.frameText = TrimCaption(style.style.frameText);
  style_ = std::move(style);
}

bool StyleState::Draw(const Symbol& symbol, ImageOptions& options) {
  problem_ = StyleProblem::None;
  contrast_ = StyleCheck{};
  caption_ = ImageResult{};
  fit_ = LogoFit{};
  readBack_ = ReadBackResult{};
  styled_ = !symbol.matrix.Empty() && !style_.style.IsPlain();
  // A symbol drawn plain has nothing to read back; one still under way no longer counts.
  pending_ = false;
  if (!styled_) return false;
  fit_ = ApplyStyle(symbol, style_.style, options);
  higherLevelCanHelp_ = HigherLevelCanHelp(symbol);
  contrast_ = CheckContrast(style_.style, style_.allowed);
  if (style_.style.HasFrame()) caption_ = CheckCaption(style_.style.frameText);
  if (!contrast_.Ok())
    problem_ = contrast_.failure == StyleFailure::Inverted ? StyleProblem::Inverted : StyleProblem::LowContrast;
  else if (!caption_.Ok())
    problem_ = StyleProblem::BadCaption;
  else if (!fit_.Ok())
    problem_ = StyleProblem::LogoDoesNotFit;
  if (problem_ != StyleProblem::None) return false;
  ++generation_;
  pending_ = true;
  return true;
}

bool StyleState::Accept(unsigned generation, const ReadBackResult& read) {
  if (!pending_ || generation != generation_) return false;
  pending_ = false;
  readBack_ = read;
  if (LostCondition(read)) readBack_.advice.higherLevel = higherLevelCanHelp_;
  if (!read.Ok()) problem_ = StyleProblem::NotReadBack;
  return true;
}

}  // namespace quillet
