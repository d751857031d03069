// "最近": the symbols the window made or read, newest first, each with what
// its page needs to show it again. Kept between runs by the window's store;
// this holds the list, its cap and its switch, and checks what the store
// reads back before a page gets it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/PageChoice.h"
#include "model/QrPageModel.h"

namespace quillet {

// How the symbol left the window or came into it; numbered as the store
// keeps them.
enum class HistoryKind { Saved, Copied, Dragged, Printed, Batch, Opened, Screen };
constexpr int HistoryKindCount = 7;

constexpr int HistoryCapacity = 100;
// What a stored entry may hold: the file is outside input, and a page
// gets nothing larger than it could have made.
constexpr size_t MaxHistoryThumbnailBytes = 64 * 1024;
constexpr size_t MaxHistoryTextBytes = 8 * 1024;  // a field, the first field, a path
constexpr size_t MaxHistoryDmTextBytes = 4 * 1024;

struct HistoryEntry {
  int64_t id = 0;  // the store's; 0 before it is stored
  HistoryKind kind = HistoryKind::Saved;
  // The symbology, settings, content page, scale and style; the logo
  // itself is loaded again from `style.logoFile` when the entry is opened.
  PageChoice choice;
  // QR: the page's filled fields as its model holds them; DM: slot 0, the text.
  FieldValues fields;
  std::string firstField;  // UTF-8, what the list shows
  std::string place;       // UTF-8: the file saved to or opened, the batch's folder; empty for none
  int64_t time = 0;        // seconds since 1970 (UTC)
  std::string thumbnailPng;

  Symbology symbology() const { return choice.symbol.symbology; }
};

// An entry read from the store that the pages can show and whose sizes are
// within the bounds above.
bool Showable(const HistoryEntry& entry);

class History {
 public:
  // Newest first, at most HistoryCapacity.
  const std::vector<HistoryEntry>& Entries() const { return entries_; }
  bool On() const { return on_; }
  // Turned off, nothing is added; what is listed stays until deleted.
  void SetOn(bool on) { on_ = on; }

  // What the store read: the showable entries, newest first, capped.
  void Load(std::vector<HistoryEntry> entries);
  // At the top; the oldest past the cap drops out. False (and nothing
  // added) while off.
  bool Add(HistoryEntry entry);
  // False when no entry has that id.
  bool Remove(int64_t id);
  void Clear() { entries_.clear(); }
  const HistoryEntry* Find(int64_t id) const;

 private:
  std::vector<HistoryEntry> entries_;
  bool on_ = true;
};

}  // namespace quillet
