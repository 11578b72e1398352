// The shipped scripts: their sample charts written byte for byte (chart and player forms), and
// documents filled at random written and read back equal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

struct Shipped {
  const char* script;
  const char* sample;
  const char* golden;  // base name of the golden files
};
const Shipped kShipped[] = {
    {"nexal.dfn", "nexal_sample.nxl", "nexal"},
    {"dual.dfn", "dual_sample.scd", "dual"},
    {"tapline.dfn", "tapline_sample.tpl", "tapline"},
    {"simple.dfn", "simple_sample.s4k", "simple"},
};

using testsupport::ReadAll;

fs::path ScriptDir() { return fs::path(MIRKAN_SOURCE_DIR) / "scripts"; }

mk::DocData LoadScript(const std::string& script, int16_t mesCount) {
  mk::DocData d;
  std::string info;
  mk::ScriptReadResult r = mk::ReadScript((ScriptDir() / script).string(), d, info);
  EXPECT_TRUE(r.ok) << script;
  d.MesCount = mesCount;
  mk::ResizeMeasures(d, mesCount);
  return d;
}

fs::path TempFile(const std::string& name) {
  return fs::temp_directory_path() / ("writer_scripts_" + std::to_string(getpid()) + "_" + name);
}

// Compares what the writer puts on disk with a golden file; a mismatch leaves the written
// file beside the test's temporary files for inspection.
void ExpectGolden(const mk::DocData& d, int16_t scratch, const std::string& golden) {
  const fs::path out = TempFile(golden);
  std::string error;
  ASSERT_TRUE(mk::WriteChartFile(out.string(), d, scratch, error)) << error;
  const std::string written = ReadAll(out);
  const std::string expected = ReadAll(fs::path(MIRKAN_TEST_DATA) / "writer" / golden);
  ASSERT_FALSE(expected.empty()) << golden;
  if (written == expected) {
    fs::remove(out);
  } else {
    ADD_FAILURE() << golden << " differs; written: " << out;
  }
}

TEST(ChartGolden, ShippedSamplesByteForByte) {
  for (const Shipped& s : kShipped) {
    SCOPED_TRACE(s.script);
    mk::DocData d = LoadScript(s.script, 0);
    const fs::path sample = fs::path(MIRKAN_SOURCE_DIR) / "samples" / s.sample;
    mk::ChartReadResult r = mk::ReadChartFile(d, sample.string(), s.sample, false);
    ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
    ExpectGolden(d, 0, std::string(s.golden) + ".chart.golden");
    d.Folder = "/songs/sample/";
    ExpectGolden(d, -1, std::string(s.golden) + ".scratch.golden");
  }
}

// ---- round trip ----

bool InGroup(const mk::DocData& d, int lane, int& first) {
  for (int i = 0; i <= d.Fmt.GtCount; ++i) {
    if (lane >= d.Fmt.Gt[i].Lane && lane <= d.Fmt.Gt[i].Lane + 3) {
      first = d.Fmt.Gt[i].Lane;
      return true;
    }
  }
  return false;
}

struct Filled {
  int objects = 0;
  int open = 0;
};

// Fills every layer that the script's chart form can carry.
Filled FillRandom(mk::DocData& d, std::mt19937& rng) {
  Filled filled;
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const char* jp[] = {"春", "夏の曲", "テスト　全角", "ｶﾀｶﾅ", "記号～①", "abc"};
  auto text = [&](const std::string& stem) { return stem + jp[pick(0, 5)] + std::to_string(pick(0, 99)); };
  if (!d.Keys.Title.empty()) d.Title = pick(0, 4) == 0 ? "" : text("題");
  if (!d.Keys.Artist.empty()) d.Artist = text("作者");
  if (!d.Keys.Genre.empty()) d.Genre = text(" ");
  const double bpms[] = {120, 150.5, 87.25, 0, 999.125};
  if (!d.Keys.Bpm.empty()) d.Bpm = bpms[pick(0, 4)];
  if (!d.Keys.BaseBpm.empty()) d.BaseBpm = bpms[pick(0, 4)];
  for (int k = 0; k < 3; ++k) {
    if (!d.Keys.Level[k].empty()) d.Level[k] = static_cast<int16_t>(pick(-5, 30));
  }
  if (!d.Keys.Pre.empty()) d.Pre = pick(0, 1) ? text("pre") + ".wav" : "";
  if (!d.Keys.Wall.empty()) d.Wall = pick(0, 1) ? text("wall") + ".bmp" : "";

  auto fillDefs = [&](std::vector<mk::DefEntry>& table, int from, int16_t mode) {
    for (int n = from; n <= mk::DefNumMax(mode) && n < static_cast<int>(table.size()); ++n) {
      if (pick(0, 3) != 0) continue;
      if (pick(0, 4) != 0) table[n].File = text("音") + ".wav";
      if (pick(0, 1) != 0) table[n].Comment = text("コメント ");
    }
  };
  if (!d.Keys.Wav.empty()) fillDefs(d.Wav, 1, d.Fmt.WNum);
  if (!d.Keys.Bga.empty()) fillDefs(d.Bga, 0, d.Fmt.BNum);

  const double lengths[] = {0.5, 0.75, 1, 1.5, 2, 0.125};
  for (int m = 0; m <= d.MesCount; ++m) {
    mk::MesData& tempo = d.Obj[0].Mes.Write(m);
    if (!d.Keys.Mesc.empty() && pick(0, 3) == 0) tempo.Length = lengths[pick(0, 5)];
    if (!d.Keys.Tmpc.empty() && pick(0, 2) == 0) {
      for (int i = pick(1, 4); i > 0; --i) tempo.Obj[pick(0, 191)] = static_cast<int16_t>(pick(1, 255));
    }
  }

  const int wmax = mk::DefNumMax(d.Fmt.WNum);
  const int bmax = mk::DefNumMax(d.Fmt.BNum);
  for (int l = 1; l <= d.LaneCount; ++l) {
    const mk::LaneInfo& li = d.Lane[l];
    int g = 0;
    const bool grouped = InGroup(d, l, g);
    const bool front = grouped || li.Channel != "__";
    const bool back = li.BackChannel != "__";
    const int vmax = !grouped && li.Part == mk::kPartBga ? bmax : wmax;
    for (int m = 0; m <= d.MesCount; ++m) {
      mk::MesData& cell = d.Obj[l].Mes.Write(m);
      for (int layer = 0; layer < 2; ++layer) {
        if (!(layer == 0 ? front : back) || pick(0, 2) == 0) continue;
        const int grid = std::vector<int>{1, 2, 3, 4, 8, 12, 16, 48, 64, 192}[pick(0, 9)];
        for (int i = pick(1, 6); i > 0; --i) {
          int16_t v = static_cast<int16_t>(pick(1, vmax));
          // Open objects are carried by the group's first lane.
          if (layer == 0 && grouped && l == g && pick(0, 3) == 0) {
            v = static_cast<int16_t>(v + mk::kOpenObjectBase);
            ++filled.open;
          }
          ++filled.objects;
          (layer == 0 ? cell.Obj : cell.BackObj)[pick(0, grid - 1) * (192 / grid)] = v;
        }
      }
    }
  }
  mk::RecalcLaneResolution(d, 0, d.LaneCount, 0, d.MesCount);
  return filled;
}

void ExpectSameChart(const mk::DocData& a, const mk::DocData& b) {
  EXPECT_EQ(a.Title, b.Title);
  EXPECT_EQ(a.Artist, b.Artist);
  EXPECT_EQ(a.Genre, b.Genre);
  EXPECT_EQ(a.Bpm, b.Bpm);
  EXPECT_EQ(a.BaseBpm, b.BaseBpm);
  EXPECT_EQ(a.Level, b.Level);
  EXPECT_EQ(a.Pre, b.Pre);
  EXPECT_EQ(a.Wall, b.Wall);
  EXPECT_EQ(a.Wav, b.Wav);
  EXPECT_EQ(a.Bga, b.Bga);
  EXPECT_EQ(b.FreeText, "");
  ASSERT_EQ(a.MesCount, b.MesCount);
  int differences = 0;
  for (int l = 0; l <= a.LaneCount; ++l) {
    for (int m = 0; m <= a.MesCount; ++m) {
      const mk::MesData& x = a.Obj[l].Mes[m];
      const mk::MesData& y = b.Obj[l].Mes[m];
      if (x.Obj != y.Obj || x.BackObj != y.BackObj || x.Length != y.Length || x.Division != y.Division) {
        if (++differences <= 5) ADD_FAILURE() << "lane " << l << " measure " << m << " differs";
      }
    }
  }
  EXPECT_EQ(differences, 0);
}

TEST(ChartRoundTrip, RandomDocumentsReadBackEqual) {
  for (const Shipped& s : kShipped) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
      SCOPED_TRACE(std::string(s.script) + " seed " + std::to_string(seed));
      const int16_t mesCount = static_cast<int16_t>(seed * 7);
      mk::DocData d = LoadScript(s.script, mesCount);
      std::mt19937 rng(seed);
      const Filled filled = FillRandom(d, rng);
      EXPECT_GT(filled.objects, 4 * mesCount);
      if (d.Fmt.GtCount >= 0) {
        EXPECT_GT(filled.open, 0);
      }

      const fs::path file = TempFile(std::string("rt_") + s.golden);
      std::string error;
      ASSERT_TRUE(mk::WriteChartFile(file.string(), d, 0, error)) << error;
      mk::DocData back = LoadScript(s.script, mesCount);
      mk::ChartReadResult r = mk::ReadChartFile(back, file.string(), file.filename().string(), false);
      ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
      fs::remove(file);
      ExpectSameChart(d, back);
    }
  }
}

// Stacked lanes with a back channel too: random layers cleared so that stacks have gaps, lanes
// with only back objects and back objects below front ones; written and read back equal.
void GiveStackedLanesBackChannels(mk::DocData& d) {
  for (int l = 1; l <= d.LaneCount; ++l) {
    if (d.Lane[l].Part != mk::kPartStacked) continue;
    d.Lane[l].BackChannel = "ZB";
    d.Lane[l].PBackChannel = "ZB";
  }
}

TEST(ChartRoundTrip, StackedLanesWithBothLayersReadBackEqual) {
  int stacks = 0, backBeforeFront = 0;
  for (const Shipped& s : kShipped) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
      SCOPED_TRACE(std::string(s.script) + " seed " + std::to_string(seed));
      const int16_t mesCount = static_cast<int16_t>(seed * 7);
      mk::DocData d = LoadScript(s.script, mesCount);
      GiveStackedLanesBackChannels(d);
      std::mt19937 rng(seed);
      FillRandom(d, rng);
      std::vector<int> stacked;
      for (int l = 1; l <= d.LaneCount; ++l)
        if (d.Lane[l].Part == mk::kPartStacked) stacked.push_back(l);
      if (stacked.empty()) continue;
      ++stacks;
      for (int m = 0; m <= d.MesCount; ++m) {
        bool backOnly = false;
        for (int l : stacked) {
          mk::MesData& cell = d.Obj[l].Mes.Write(m);
          if (rng() % 2) cell.Obj.Clear();
          if (rng() % 2) cell.BackObj.Clear();
          const bool front = cell.Obj != decltype(cell.Obj){};
          const bool back = cell.BackObj != decltype(cell.BackObj){};
          if (backOnly && front) ++backBeforeFront;
          backOnly = backOnly || (back && !front);
        }
      }
      mk::RecalcLaneResolution(d, 0, d.LaneCount, 0, d.MesCount);

      const fs::path file = TempFile(std::string("rt99_") + s.golden);
      std::string error;
      ASSERT_TRUE(mk::WriteChartFile(file.string(), d, 0, error)) << error;
      mk::DocData back = LoadScript(s.script, mesCount);
      GiveStackedLanesBackChannels(back);
      mk::ChartReadResult r = mk::ReadChartFile(back, file.string(), file.filename().string(), false);
      ASSERT_TRUE(r.ok) << mk::ChartReadMessage(r);
      fs::remove(file);
      ExpectSameChart(d, back);
    }
  }
  EXPECT_GT(stacks, 0);
  EXPECT_GT(backBeforeFront, 3);  // the layouts that need the extra placeholders did occur
}

}  // namespace
