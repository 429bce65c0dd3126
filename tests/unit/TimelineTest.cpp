// The timeline of a report: a run that repeats itself is told in a few lines, whatever it did.
#include <gtest/gtest.h>

#include "src/platform/sim/Simulator.h"
#include "tools/tvxsim/Timeline.h"

namespace tvx {
namespace {

sim::Happening box(DWORD at, const std::string& text, const std::string& answer = "OK") {
  return {at,
          "message",
          {{"text", text}, {"caption", "Setup"}, {"owner", "none"}, {"buttons", "OK, Cancel"}, {"answer", answer}}};
}

sim::Happening copy(DWORD at, const std::string& file) {
  return {at, "copy", {{"from", "D:\\" + file}, {"to", "C:\\" + file}, {"result", "copied"}}};
}

TEST(Timeline, ALineOrABlockThatComesBackThreeTimesOrMoreIsFoldedWithItsCount) {
  std::vector<sim::Happening> log;
  for (DWORD i = 0; i < 5; ++i) log.push_back(box(i * 1000, "Insert the CD"));
  log.push_back(box(5000, "Insert the CD", "Cancel"));
  EXPECT_EQ(sim::timelineLines(log),
            (std::vector<std::string>{
                "[0.000 s] message \"Insert the CD\", caption \"Setup\", owner none, buttons OK, Cancel -> OK",
                "[1.000 s] (the line above came back 4 more times, until 4.000 s)",
                "[5.000 s] message \"Insert the CD\", caption \"Setup\", owner none, buttons OK, Cancel -> Cancel"}));

  // Two lines that come back together are one block; twice is not yet a repetition.
  std::vector<sim::Happening> pairs;
  for (DWORD i = 0; i < 4; ++i) {
    pairs.push_back(copy(i * 10, "A"));
    pairs.push_back(copy(i * 10 + 5, "B"));
  }
  pairs.push_back(copy(100, "C"));
  pairs.push_back(copy(101, "C"));
  EXPECT_EQ(sim::timelineLines(pairs),
            (std::vector<std::string>{"[0.000 s] copied D:\\A to C:\\A", "[0.005 s] copied D:\\B to C:\\B",
                                      "[0.010 s] (the 2 lines above came back 3 more times, "
                                      "until 0.035 s)",
                                      "[0.100 s] copied D:\\C to C:\\C", "[0.101 s] copied D:\\C to C:\\C"}));
}

}  // namespace
}  // namespace tvx
