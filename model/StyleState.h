// The style of a symbol page and what it made of the symbol shown: refused
// by a rule, being read back, read back or not. Each symbol drawn is a new
// generation of the read-back, and a result of an older one is dropped, so a
// slow read-back never speaks for a symbol the typing has since replaced.
#pragma once

#include <string>

#include "image/ImageResult.h"
#include "image/StyledSymbol.h"
#include "image/SymbolStyle.h"
#include "verify/ReadBack.h"

namespace quillet {

// The style a page draws, saves, copies and hands to batch with: the core's
// record, what the user allowed of the contrast rule, and where the logo
// came from.
struct PageStyle {
  SymbolStyle style;
  ContrastAllowance allowed;
  std::string logoFile;  // UTF-8, shown in the dialog; the logo itself is loaded once, into `style`
};

// Why the styled symbol shown may not leave the page.
enum class StyleProblem {
  None,
  LowContrast,     // `Contrast()` has the ratio
  Inverted,        // `Contrast()` has the ratio
  BadCaption,      // `Caption()` says why, as the writers would refuse it
  LogoDoesNotFit,  // `Fit()` says why
  NotReadBack,     // `ReadBack()` says why
};

// The second colour a gradient chosen without one shades into, so that the
// choice shows at once: a blue that keeps the contrast on white.
constexpr Rgb DefaultSecondColour{0x15, 0x65, 0xc0};

// The style with `gradient` chosen; the second colour stays for a later choice.
SymbolStyle WithGradient(SymbolStyle style, Gradient gradient);

// The style dialog may close on `style`: its colours pass the contrast rule
// or are allowed, and its caption can be drawn. A logo's fit is the content's.
bool Keepable(const PageStyle& style);

class StyleState {
 public:
  const PageStyle& Style() const { return style_; }
  // The page redraws after it, through Draw. The caption loses the blanks
  // around it (TrimCaption): one of only blanks is no frame.
  void SetStyle(PageStyle style);

  // The symbol now shown (an empty matrix for none), placed in the style
  // into `options`. A styled symbol the rules let pass starts a new
  // generation, pending its read-back; true when it does.
  bool Draw(const Symbol& symbol, ImageOptions& options);

  // A symbol is shown in a style that is not plain.
  bool Styled() const { return styled_; }
  StyleProblem Problem() const { return problem_; }
  const StyleCheck& Contrast() const { return contrast_; }
  const ImageResult& Caption() const { return caption_; }
  const LogoFit& Fit() const { return fit_; }
  const ReadBackResult& ReadBack() const { return readBack_; }
  // Saving, copying and dragging the symbol shown are refused.
  bool Refused() const { return problem_ != StyleProblem::None; }

  bool Pending() const { return pending_; }
  unsigned Generation() const { return generation_; }
  // The read-back of `generation` ended. Taken (true) only while pending
  // and for the current generation; an older one is dropped.
  bool Accept(unsigned generation, const ReadBackResult& read);

 private:
  PageStyle style_;
  bool styled_ = false;
  StyleProblem problem_ = StyleProblem::None;
  StyleCheck contrast_;
  ImageResult caption_;
  LogoFit fit_;
  ReadBackResult readBack_;
  unsigned generation_ = 0;
  bool pending_ = false;
  bool higherLevelCanHelp_ = false;  // the symbol shown's, for the read-back's advice
};

}  // namespace quillet
