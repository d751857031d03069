#include "model/DmPageModel.h"

#include <algorithm>

#include "content/CodePage.h"
#include "datamatrix/DmEncoder.h"

namespace quillet {

namespace {

constexpr int LargestSquare = DmSquareSizeCount - 1;

}  // namespace

void DmPageModel::SetText(std::string utf8) {
  // Only a few private-use characters have no GB18030 code; keep their
  // UTF-8 bytes rather than drop the text.
  bytes_ = Utf8ToCodePage(utf8).value_or(std::move(utf8));
  Encode();
}

void DmPageModel::ChooseSize(int sizeIndex) {
  if (sizeIndex >= 0 && sizeIndex <= LargestSquare) chosenSize_ = shownSize_ = sizeIndex;
  Encode();
}

void DmPageModel::SetEci(bool on) {
  eci_ = on;
  Encode();
}

SymbolSettings DmPageModel::Settings() const {
  SymbolSettings settings;
  settings.symbology = Symbology::DataMatrix;
  settings.dmSize = std::clamp(chosenSize_, 0, LargestSquare);
  settings.dmGrowSize = true;
  settings.eci = eci_;
  return settings;
}

void DmPageModel::Encode() {
  ++revision_;
  SymbolRequest request;
  static_cast<SymbolSettings&>(request) = Settings();
  request.dmSize = shownSize_;  // the size grown to so far stays grown
  request.data = bytes_;
  result_ = MakeSymbol(request);
  request_ = std::move(request);
  if (result_.Ok()) shownSize_ = result_.symbol.dmSizeIndex;
  if (TooLong()) shownSize_ = LargestSquare;
}

}  // namespace quillet
