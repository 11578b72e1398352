#include "editing/selcmds.h"

#include <gtest/gtest.h>

#include "cmd_fixture.h"

namespace mk {
namespace {

using cmdtest::MakeDoc;

// Lanes 0..12: lanes 1..4 of part 1, 5..8 of part 2, 9..12 of part 3; measures 0..9.
DocData Parted() {
  DocData d = MakeDoc(12, 9);
  for (int i = 1; i <= 12; ++i) d.Lane[i].Part = static_cast<int16_t>(1 + (i - 1) / 4);
  return d;
}

TEST(SelectionRect, CoversWholeMeasures) {
  struct Case {
    const char* name;
    SelScope scope;
    int16_t curLane, curMes;
    std::optional<SelRect> rect;
  } cases[] = {
      {"this measure: lanes 1 up, the tempo lane left out", SelScope::Measure, 6, 4, SelRect{1, 4, 0, 12, 4, 191}},
      {"this lane", SelScope::Lane, 6, 4, SelRect{6, 0, 0, 6, 9, 191}},
      {"this lane: the tempo lane", SelScope::Lane, 0, 4, SelRect{0, 0, 0, 0, 9, 191}},
      {"this part", SelScope::Part, 6, 4, SelRect{5, 0, 0, 8, 9, 191}},
      {"this part: the first lane of a part", SelScope::Part, 9, 0, SelRect{9, 0, 0, 12, 9, 191}},
      {"this part: part 0 is the tempo lane", SelScope::Part, 0, 0, SelRect{0, 0, 0, 0, 9, 191}},
      {"everything", SelScope::All, 6, 4, SelRect{1, 0, 0, 12, 9, 191}},
      {"everything, the pointer off the lanes", SelScope::All, -1, -1, SelRect{1, 0, 0, 12, 9, 191}},
      {"this lane, the pointer off the lanes", SelScope::Lane, -1, 4, std::nullopt},
      {"this part, the pointer past the last lane", SelScope::Part, 13, 4, std::nullopt},
      {"this measure, the pointer past the last measure", SelScope::Measure, 6, 10, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DocData d = Parted();
    d.CurLane = c.curLane;
    d.CurMes = c.curMes;
    EXPECT_EQ(SelectionRect(d, c.scope), c.rect);
  }
}

TEST(SelectionRect, AChartWithoutLanesSelectsNothing) {
  DocData d = MakeDoc(0, 3);
  d.CurLane = 0;
  d.CurMes = 1;
  for (SelScope s : {SelScope::Measure, SelScope::Lane, SelScope::Part, SelScope::All}) {
    EXPECT_FALSE(SelectionRect(d, s));
  }
}

}  // namespace
}  // namespace mk
