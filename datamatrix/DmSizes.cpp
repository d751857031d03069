// The 30 ECC 200 symbol sizes and the choice among them.
#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"
#include "datamatrix/DmSizeTable.h"

#include <array>

namespace quillet {

namespace {

using dm::kAttributes;
using dm::kAttributeCount;

int SmallestFitting(int first, int last, int count) {
  for (int i = first; i <= last; ++i)
    if (kAttributes[i][DataCapacity] >= count) return i;
  return -1;
}

}  // namespace

int DmSizeAttribute(int sizeIndex, DmAttribute attribute) {
  if (!dm::IsSizeIndex(sizeIndex) || attribute < 0 || attribute >= kAttributeCount) return 0;
  return kAttributes[sizeIndex][attribute];
}

int DmChooseSize(int requestedSize, int codewordCount) {
  if (codewordCount <= 0) return -1;
  if (requestedSize == DmSmallestSquare) return SmallestFitting(0, DmSquareSizeCount - 1, codewordCount);
  if (requestedSize == DmSmallestRectangle) return SmallestFitting(DmSquareSizeCount, DmSizeCount - 1, codewordCount);
  if (!dm::IsSizeIndex(requestedSize)) return -1;
  return DmSizeAttribute(requestedSize, DataCapacity) >= codewordCount ? requestedSize : -1;
}

int dm::FittingCapacity(int requestedSize, int codewordCount) {
  const int sizeIndex = DmChooseSize(requestedSize, codewordCount < 1 ? 1 : codewordCount);
  return sizeIndex < 0 ? -1 : DmSizeAttribute(sizeIndex, DataCapacity);
}

}  // namespace quillet
