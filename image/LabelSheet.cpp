#include "image/LabelSheet.h"

#include <vector>

#include "content/TextList.h"

namespace quillet {

const PaperSize* FindPaperSize(std::string_view name) {
  for (const PaperSize& paper : PaperSizes)
    if (SameIgnoringCase(paper.name, name))
      return &paper;
  return nullptr;
}

std::string PaperSizeNames() {
  std::vector<std::string_view> names;
  for (const PaperSize& paper : PaperSizes) names.push_back(paper.name);
  return JoinNames(names);
}

}  // namespace quillet
