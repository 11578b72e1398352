// Random scripts and random charts on them: every script is either refused when it is read, with
// a message naming its lines, or every chart of it reads back as written and writes the same
// bytes again.
#include <gtest/gtest.h>

#include <sstream>

#include "chartgen.h"

namespace {

std::string Report(const chartgen::RoundTrip& r) {
  std::ostringstream out;
  out << r.failure << "\n--- script\n";
  for (const std::string& line : r.script) out << line << "\n";
  out << "--- written\n" << r.written.substr(0, 6000);
  return out.str();
}

void RunSeeds(bool wild, uint32_t seeds, chartgen::Coverage& coverage) {
  int failures = 0;
  for (uint32_t seed = 1; seed <= seeds; ++seed) {
    chartgen::SeededChoices ch(seed * 7919u + (wild ? 1u : 0u));
    const chartgen::RoundTrip r = chartgen::CheckRoundTrip(ch, wild, &coverage);
    if (!r.failure.empty() && ++failures <= 3) ADD_FAILURE() << "seed " << seed << ": " << Report(r);
  }
  EXPECT_EQ(failures, 0);
}

TEST(ChartRoundTrip, GeneratedScriptsReadBackAsWrittenOrAreRefused) {
  chartgen::Coverage c;
  RunSeeds(false, 400, c);
  // The shapes that used to change on every save were generated, and accepted.
  const int accepted = c.scripts;
  EXPECT_GT(accepted, 250);
  EXPECT_GT(c.refused, 20);
  EXPECT_GT(c.groupOverBga, 25);
  EXPECT_GT(c.groupOverStack, 50);
  EXPECT_GT(c.groupInLongerRun, 120);
  EXPECT_GT(c.groupAtRunEdge, 100);
  EXPECT_GT(c.sharedStackChannel, 300);
  EXPECT_GT(c.stackBackLayers, 400);
  EXPECT_GT(c.openObjects, 350);
  EXPECT_GT(c.playerChannels, 400);
  for (int w = 1; w <= 3; ++w)
    for (int b = 1; b <= 3; ++b) EXPECT_GT(c.modePairs[w][b], 10) << "WNUM " << w << " BNUM " << b;
  EXPECT_GT(c.modePairs[0][1] + c.modePairs[0][2] + c.modePairs[0][3], 8);
}

// Names from a few characters: clashes everywhere; most scripts are refused, the rest must
// still read back.
TEST(ChartRoundTrip, ScriptsWithClashingNamesAreRefusedOrReadBack) {
  chartgen::Coverage c;
  RunSeeds(true, 800, c);
  EXPECT_GT(c.scripts, 3);
  EXPECT_GT(c.refused, 700);
}

}  // namespace
