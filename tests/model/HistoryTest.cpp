// "最近" without a display: newest first, the cap, deleting, the switch, and
// entries read back from the file that no page could show.
#include <gtest/gtest.h>

#include <functional>

#include "image/SymbolFrame.h"
#include "model/History.h"

using namespace quillet;

namespace {

HistoryEntry QrEntry(int64_t id, int64_t time = 0) {
  HistoryEntry entry;
  entry.id = id;
  entry.time = time ? time : 1'700'000'000 + id;
  entry.choice.contentPage = {GeneralFormat, 0};
  entry.fields = {{PageForTab(GeneralFormat, 0)->fields[0].slot, "Ada"}};
  entry.firstField = "Ada";
  return entry;
}

HistoryEntry DmEntry(int64_t id) {
  HistoryEntry entry = QrEntry(id);
  entry.choice.symbol.symbology = Symbology::DataMatrix;
  entry.choice.symbol.dmSize = 3;
  entry.fields = {{0, "漢字 text"}};
  return entry;
}

std::vector<int64_t> Ids(const History& history) {
  std::vector<int64_t> ids;
  for (const HistoryEntry& entry : history.Entries()) ids.push_back(entry.id);
  return ids;
}

TEST(History, NewestFirstAndTheOldestPastTheCapDropsOut) {
  History history;
  for (int64_t id = 1; id <= HistoryCapacity + 5; ++id) ASSERT_TRUE(history.Add(QrEntry(id)));
  ASSERT_EQ(history.Entries().size(), static_cast<size_t>(HistoryCapacity));
  EXPECT_EQ(history.Entries().front().id, HistoryCapacity + 5);
  EXPECT_EQ(history.Entries().back().id, 6);
}

TEST(History, DeletesOneOrAll) {
  History history;
  for (int64_t id = 1; id <= 3; ++id) history.Add(QrEntry(id));
  EXPECT_TRUE(history.Remove(2));
  EXPECT_FALSE(history.Remove(2));
  EXPECT_EQ(Ids(history), (std::vector<int64_t>{3, 1}));
  EXPECT_EQ(history.Find(2), nullptr);
  ASSERT_NE(history.Find(3), nullptr);
  history.Clear();
  EXPECT_TRUE(history.Entries().empty());
}

TEST(History, TurnedOffAddsNothingAndKeepsWhatIsListed) {
  History history;
  history.Add(QrEntry(1));
  history.SetOn(false);
  EXPECT_FALSE(history.Add(QrEntry(2)));
  EXPECT_EQ(Ids(history), std::vector<int64_t>{1});
  history.SetOn(true);
  EXPECT_TRUE(history.Add(QrEntry(3)));
  EXPECT_EQ(Ids(history), (std::vector<int64_t>{3, 1}));
}

TEST(History, LoadSortsNewestFirstAndCaps) {
  std::vector<HistoryEntry> read;
  for (int64_t id = 1; id <= HistoryCapacity + 10; ++id) read.push_back(QrEntry(id, 1'000 + (id * 37) % 500));
  History history;
  history.Load(read);
  ASSERT_EQ(history.Entries().size(), static_cast<size_t>(HistoryCapacity));
  for (size_t i = 1; i < history.Entries().size(); ++i)
    EXPECT_GE(history.Entries()[i - 1].time, history.Entries()[i].time);
}

// What a damaged or edited file may hold: such an entry is left out, the
// others are listed.
TEST(History, LoadLeavesOutWhatNoPageCouldShow) {
  const std::string tooLong(MaxHistoryTextBytes + 1, 'x');
  const std::vector<std::pair<const char*, std::function<void(HistoryEntry&)>>> faults = {
      {"a format no list has", [](HistoryEntry& e) { e.choice.contentPage = {9, 0}; }},
      {"a tab past the last", [](HistoryEntry& e) { e.choice.contentPage.tab = 99; }},
      {"a slot not on the page", [](HistoryEntry& e) { e.fields = {{FieldSlotCount + 3, "x"}}; }},
      {"a field too long", [&](HistoryEntry& e) { e.fields[0].second = tooLong; }},
      {"a first field too long", [&](HistoryEntry& e) { e.firstField = tooLong; }},
      {"a place too long", [&](HistoryEntry& e) { e.place = tooLong; }},
      {"a thumbnail too large", [](HistoryEntry& e) { e.thumbnailPng.assign(MaxHistoryThumbnailBytes + 1, 'p'); }},
      {"a scale off the slider", [](HistoryEntry& e) { e.choice.scale = 0; }},
      {"a version past 40", [](HistoryEntry& e) { e.choice.symbol.version = 41; }},
      {"a logo share past the largest", [](HistoryEntry& e) { e.choice.style.style.logoShare = 0.9; }},
      {"a caption of two lines", [](HistoryEntry& e) { e.choice.style.style.frameText = "扫一扫\n加我"; }},
      {"a caption too long", [](HistoryEntry& e) { e.choice.style.style.frameText.assign(MaxCaptionCharacters + 1, 'c'); }},
      {"a DM size past the last", [](HistoryEntry& e) { e = DmEntry(e.id), e.choice.symbol.dmSize = 30; }},
      {"a DM page with two fields", [](HistoryEntry& e) { e = DmEntry(e.id), e.fields.emplace_back(1, "y"); }},
      {"a DM text too long",
       [](HistoryEntry& e) { e = DmEntry(e.id), e.fields[0].second.assign(MaxHistoryDmTextBytes + 1, 'z'); }},
  };
  for (const auto& [name, fault] : faults) {
    SCOPED_TRACE(name);
    HistoryEntry bad = QrEntry(2);
    fault(bad);
    EXPECT_FALSE(Showable(bad));
    History history;
    history.Load({QrEntry(1), bad, DmEntry(3)});
    EXPECT_EQ(Ids(history), (std::vector<int64_t>{3, 1}));
  }
}

}  // namespace
