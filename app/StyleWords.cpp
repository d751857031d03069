#include "app/StyleWords.h"

#include <QStringList>
#include <cmath>

#include "app/SaveFailureText.h"
#include "gui/TextBytes.h"
#include "image/StyledImage.h"
#include "res/Strings.h"

namespace quillet {

namespace {

QString ColourName(Rgb colour) { return QString::fromStdString(FormatColour(colour)); }

// The contrast rule's refusal, naming the colours and their ratio.
QString ContrastProblem(const StyleCheck& check, const SymbolStyle& style) {
  const std::string_view text = check.failure == StyleFailure::Inverted ? UiText::StyleInverted : UiText::StyleLowContrast;
  const Rgb background = SolidBackground(style);
  return FromUtf8(text).arg(ColourName(check.dark), ColourName(background)).arg(check.ratio, 0, 'f', 2);
}

QString LogoProblem(const LogoFit& fit) {
  const QString level = FromUtf8(UiText::ErrorCorrectionLevels[QrLevelPosition(fit.level)]);
  switch (fit.failure) {
    case LogoFailure::NotQrCode: return FromUtf8(UiText::StyleNoLogoInDm);
    case LogoFailure::NoRoom: return FromUtf8(UiText::StyleNoLogoRoom).arg(level).arg(fit.version);
    case LogoFailure::TooLarge:
      return FromUtf8(UiText::StyleLogoTooLarge).arg(level).arg(std::floor(fit.largestShare * 100));
    case LogoFailure::None: break;
  }
  return {};
}

static_assert(UiText::CameraConditionNames.size() == CameraConditionCount);

QString AdviceWords(const StyleAdvice& advice) {
  QStringList helps;
  if (advice.smallerLogo) helps << FromUtf8(UiText::AdviceSmallerLogo);
  if (advice.higherLevel) helps << FromUtf8(UiText::AdviceHigherLevel);
  if (advice.moreContrast) helps << FromUtf8(UiText::AdviceMoreContrast);
  return helps.isEmpty() ? QString() : FromUtf8(UiText::ConditionAdvice).arg(helps.join(FromUtf8(UiText::AdviceOr)));
}

QString ConditionLost(const ConditionReading& lost, const StyleAdvice& advice) {
  return FromUtf8(UiText::ConditionLostWhy)
      .arg(QString::fromStdString(lost.decoder),
           FromUtf8(UiText::CameraConditionNames[static_cast<size_t>(lost.condition)]), AdviceWords(advice));
}

QString RaisedWords(const ReadBackResult& result) {
  QString raised;
  if (result.levelRaisedFrom)
    raised += FromUtf8(UiText::StyleLevelRaised).arg(FromUtf8(UiText::ErrorCorrectionLevels[QrLevelPosition(*result.levelRaisedFrom)]));
  if (result.versionGrownFrom > 0) raised += FromUtf8(UiText::StyleVersionGrown).arg(result.versionGrownFrom);
  return raised;
}

QString ReadBackVerdict(const ReadBackResult& result) {
  const QString verdict = FromUtf8(UiText::StyleReadBack) + RaisedWords(result);
  if (result.conditions.empty()) return verdict;
  return verdict + FromUtf8(UiText::StyleReadUnder).arg(ConditionsRead(result.conditions)).arg(CameraConditionCount);
}

}  // namespace

QString ReadBackProblem(const ReadBackResult& result) {
  if (const ConditionReading* lost = LostCondition(result)) return ConditionLost(*lost, result.advice);
  switch (result.status) {
    case ReadBackStatus::DifferentBytes: return FromUtf8(UiText::DifferentBytesWhy);
    case ReadBackStatus::CannotCheck: return FromUtf8(UiText::CannotCheckWhy).arg(CannotCheckReason(result));
    case ReadBackStatus::NotRead:
    case ReadBackStatus::ReadBack: break;
  }
  return FromUtf8(UiText::NotReadBackWhy);
}

QString StyleProblemWords(const StyleState& state) {
  switch (state.Problem()) {
    case StyleProblem::LowContrast:
    case StyleProblem::Inverted: return ContrastProblem(state.Contrast(), state.Style().style);
    case StyleProblem::BadCaption: return DescribeSaveFailure(state.Caption());
    case StyleProblem::LogoDoesNotFit: return LogoProblem(state.Fit());
    case StyleProblem::NotReadBack: return FromUtf8(UiText::StyleNotReadBack).arg(ReadBackProblem(state.ReadBack()));
    case StyleProblem::None: break;
  }
  return {};
}

QString StyleStatusWords(const StyleState& state) {
  if (!state.Styled()) return {};
  if (state.Refused()) return StyleProblemWords(state);
  return state.Pending() ? FromUtf8(UiText::StyleChecking) : ReadBackVerdict(state.ReadBack());
}

QString ShapeWords(ModuleShape shape) {
  switch (shape) {
    case ModuleShape::Dots: return FromUtf8(UiText::ShapeDots);
    case ModuleShape::Rounded: return FromUtf8(UiText::ShapeRounded);
    case ModuleShape::Square: break;
  }
  return FromUtf8(UiText::ShapeSquare);
}

QString ShapeWords(EyeShape shape) {
  switch (shape) {
    case EyeShape::Rounded: return FromUtf8(UiText::EyeRounded);
    case EyeShape::Circle: return FromUtf8(UiText::EyeCircle);
    case EyeShape::Square: break;
  }
  return FromUtf8(UiText::EyeSquare);
}

QString ShapeWords(LogoPad pad) {
  return FromUtf8(pad == LogoPad::Square ? UiText::LogoPadSquare : UiText::LogoPadShape);
}

QString PresetWords(StylePreset preset) { return FromUtf8(PresetRow(preset).caption); }

QString GradientWords(Gradient gradient) {
  switch (gradient) {
    case Gradient::Linear: return FromUtf8(UiText::GradientLinear);
    case Gradient::Radial: return FromUtf8(UiText::GradientRadial);
    case Gradient::None: break;
  }
  return FromUtf8(UiText::GradientNone);
}

QString FramePositionWords(FramePosition position) {
  return FromUtf8(position == FramePosition::Above ? UiText::FrameAbove : UiText::FrameBelow);
}

}  // namespace quillet
