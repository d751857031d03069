#include "model/History.h"

#include <algorithm>

#include "datamatrix/DmEncoder.h"
#include "image/ImageFormats.h"
#include "image/SymbolFrame.h"
#include "qr/QrStandard.h"

namespace quillet {

namespace {

bool Bounded(const std::string& text, size_t most = MaxHistoryTextBytes) { return text.size() <= most; }

bool ShowableQr(const HistoryEntry& entry) {
  const PageChoice& choice = entry.choice;
  if (!QrPageModel::CanShow(choice.contentPage)) return false;
  if (choice.symbol.version < 0 || choice.symbol.version > qr::MaxVersion) return false;
  const PageSpec& page = *PageForTab(choice.contentPage.format, choice.contentPage.tab);
  return std::all_of(entry.fields.begin(), entry.fields.end(), [&](const auto& field) {
    return FindField(page, field.first) != nullptr && Bounded(field.second);
  });
}

bool ShowableDm(const HistoryEntry& entry) {
  const int size = entry.choice.symbol.dmSize;
  if (size < 0 || size >= DmSizeCount) return false;
  return entry.fields.empty() ||
         (entry.fields.size() == 1 && entry.fields[0].first == 0 && Bounded(entry.fields[0].second, MaxHistoryDmTextBytes));
}

bool ShowableStyle(const PageStyle& style) {
  const std::optional<double> share = style.style.logoShare;
  if (share && (*share < MinLogoShare || *share > MaxLogoShare)) return false;
  return !style.style.HasFrame() || CheckCaptionText(style.style.frameText).Ok();
}

}  // namespace

bool Showable(const HistoryEntry& entry) {
  const int scale = entry.choice.scale;
  if (scale < MinScale || scale > MaxScale || !ShowableStyle(entry.choice.style)) return false;
  if (!Bounded(entry.firstField) || !Bounded(entry.place) || !Bounded(entry.choice.style.logoFile)) return false;
  if (entry.thumbnailPng.size() > MaxHistoryThumbnailBytes) return false;
  return entry.symbology() == Symbology::QrCode ? ShowableQr(entry) : ShowableDm(entry);
}

void History::Load(std::vector<HistoryEntry> entries) {
  std::erase_if(entries, [](const HistoryEntry& entry) { return !Showable(entry); });
  std::stable_sort(entries.begin(), entries.end(),
                   [](const HistoryEntry& a, const HistoryEntry& b) { return a.time > b.time; });
  if (entries.size() > HistoryCapacity) entries.resize(HistoryCapacity);
  entries_ = std::move(entries);
}

bool History::Add(HistoryEntry entry) {
  if (!on_) return false;
  entries_.insert(entries_.begin(), std::move(entry));
  if (entries_.size() > HistoryCapacity) entries_.resize(HistoryCapacity);
  return true;
}

bool History::Remove(int64_t id) {
  return std::erase_if(entries_, [id](const HistoryEntry& entry) { return entry.id == id; }) > 0;
}

const HistoryEntry* History::Find(int64_t id) const {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [id](const HistoryEntry& e) { return e.id == id; });
  return found == entries_.end() ? nullptr : &*found;
}

}  // namespace quillet
