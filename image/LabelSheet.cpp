#include "image/LabelSheet.h"

#include <strings.h>

const PaperSize* FindPaperSize(std::string_view name) {
  for (const PaperSize& paper : PaperSizes)
    if (paper.name.size() == name.size() && strncasecmp(paper.name.data(), name.data(), name.size()) == 0)
      return &paper;
  return nullptr;
}

std::string PaperSizeNames() {
  std::string names;
  const size_t count = std::size(PaperSizes);
  for (size_t i = 0; i < count; ++i)
    names += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(PaperSizes[i].name);
  return names;
}
