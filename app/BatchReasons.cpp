#include "app/BatchReasons.h"

#include <array>
#include <string_view>

#include "app/SaveFailureText.h"
#include "gui/TextBytes.h"
#include "res/BatchStrings.h"

namespace {

struct Reason {
  RowFailure failure;
  std::string_view text;
};

constexpr std::array<Reason, 10> Reasons = {{
    {RowFailure::BrokenRow, UiText::BatchReasonBrokenRow},
    {RowFailure::TooManyCells, UiText::BatchReasonTooManyCells},
    {RowFailure::BadText, UiText::BatchReasonBadText},
    {RowFailure::UnnamedColumn, UiText::BatchReasonUnnamedColumn},
    {RowFailure::EmptyName, UiText::BatchReasonEmptyName},
    {RowFailure::DuplicateName, UiText::BatchReasonDuplicateName},
    {RowFailure::NothingToEncode, UiText::BatchReasonNothingToEncode},
    {RowFailure::DoesNotFit, UiText::BatchReasonDoesNotFit},
    {RowFailure::NotReadBack, UiText::BatchReasonNotReadBack},
    {RowFailure::LabelTooLarge, UiText::BatchReasonLabelTooLarge},
}};

}  // namespace

QString BatchReasonText(const BatchRowResult& row) {
  if (row.failure == RowFailure::WriteFailed) return DescribeSaveFailure(row.image);
  for (const Reason& reason : Reasons)
    if (reason.failure == row.failure) return FromUtf8(reason.text);
  // A kind this dialog does not know yet: the engine's own words.
  return FromUtf8(row.error);
}
