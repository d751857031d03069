// Which read of an image is current: a result is shown only for the read
// under way, with the pages as they were when it started; a stopped read is
// told so through its own flag.
#include "model/ImageReading.h"

#include <gtest/gtest.h>

#include "model/DmPageModel.h"
#include "model/QrPageModel.h"

using namespace quillet;

namespace {

TEST(ImageReading, OnlyTheCurrentReadOfUnchangedPagesIsShown) {
  enum Step { StartFirst, StartSecond, Edit, Cancel };
  const struct {
    const char* name;
    std::vector<Step> steps;
    bool firstShown, secondShown;
  } cases[] = {
      {"alone", {StartFirst}, true, false},
      {"replaced by another", {StartFirst, StartSecond}, false, true},
      {"edited meanwhile", {StartFirst, Edit}, false, false},
      {"cancelled", {StartFirst, Cancel}, false, false},
      {"cancelled, then another", {StartFirst, Cancel, StartSecond}, false, true},
      {"edited, then another", {StartFirst, Edit, StartSecond}, false, true},
      {"another, then edited", {StartFirst, StartSecond, Edit}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ImageReading reading;
    unsigned long revision = 5;
    std::optional<unsigned> first, second;
    for (const Step step : c.steps) {
      if (step == StartFirst) first = reading.Start(revision);
      if (step == StartSecond) second = reading.Start(revision);
      if (step == Edit) ++revision;
      if (step == Cancel) reading.Cancel();
    }
    // Results come back in the order the reads started.
    EXPECT_EQ(first && reading.Finish(*first, revision), c.firstShown);
    EXPECT_EQ(second && reading.Finish(*second, revision), c.secondShown);
    EXPECT_FALSE(reading.Busy());
  }
}

// A read stays busy until its own result comes back, whatever older reads
// return meanwhile; each read has its own stop flag, raised when it is
// replaced or cancelled, never by what happens to a later one.
TEST(ImageReading, BusyAndStopFollowTheReadUnderWay) {
  ImageReading reading;
  EXPECT_FALSE(reading.Busy());
  const unsigned first = reading.Start(0);
  const auto firstStop = reading.Stop();
  EXPECT_TRUE(reading.Busy());
  const unsigned second = reading.Start(0);
  const auto secondStop = reading.Stop();
  EXPECT_TRUE(firstStop->load());
  EXPECT_FALSE(secondStop->load());
  EXPECT_FALSE(reading.Finish(first, 0));
  EXPECT_TRUE(reading.Busy());
  reading.Cancel();
  EXPECT_TRUE(secondStop->load());
  EXPECT_FALSE(reading.Busy());
  EXPECT_FALSE(reading.Finish(second, 0));
  reading.Start(0);
  EXPECT_FALSE(reading.Stop()->load());
}

// The revision the reads compare counts every change to what a page holds.
TEST(ImageReading, EveryEditOfAPageIsANewRevision) {
  QrPageModel qr;
  DmPageModel dm;
  const std::pair<const char*, std::function<unsigned()>> edits[] = {
      {"field", [&] { return qr.SetField(0, "x"), qr.Revision(); }},
      {"tab", [&] { return qr.SwitchTab(1), qr.Revision(); }},
      {"level", [&] { return qr.ChooseLevel(QrLevel::H), qr.Revision(); }},
      {"reset", [&] { return qr.Reset(), qr.Revision(); }},
      {"dm text", [&] { return dm.SetText("y"), dm.Revision(); }},
      {"dm size", [&] { return dm.ChooseSize(3), dm.Revision(); }},
  };
  for (const auto& [name, edit] : edits) {
    const unsigned before = qr.Revision() + dm.Revision();
    edit();
    EXPECT_NE(qr.Revision() + dm.Revision(), before) << name;
  }
}

}  // namespace
