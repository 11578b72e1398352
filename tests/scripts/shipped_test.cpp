// The scripts the program ships: installed beside the program, registered without a message,
// read without a fault, together using every directive, and each sample chart found through
// the open filter and read by its script.
#include <algorithm>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "chartfmt/chartread.h"
#include "chartfmt/scriptread.h"
#include "chartfmt/scriptreg.h"
#include "platform/core/ansitext.h"
#include "platform/core/desktop.h"
#include "platform/core/textfile.h"
#include "script_helpers.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string kSource = std::string(MIRKAN_SOURCE_DIR) + "/scripts/";
const std::string kInstall = std::string(MIRKAN_BIN_DIR) + "/";

class Shipped : public ::testing::Test {
 protected:
  void SetUp() override { message_ = mk::LoadScriptList(kInstall, "NXL"); }
  void TearDown() override { mk::ResetScriptList(); }
  mk::ScriptMessage message_;
};

TEST_F(Shipped, InstalledCopiesAreTheSources) {
  const std::vector<std::string> names = mk::ListScriptFiles(kSource);
  EXPECT_EQ(names, (std::vector<std::string>{"dual.dfn", "nexal.dfn", "simple.dfn", "tapline.dfn"}));
  EXPECT_EQ(mk::ListScriptFiles(kInstall), names);
  for (const std::string& n : names) {
    EXPECT_EQ(testsupport::ReadAll(kInstall + n), testsupport::ReadAll(kSource + n)) << n;
  }
  const fs::path samples = std::string(MIRKAN_SOURCE_DIR) + "/samples";
  for (const auto& e : fs::recursive_directory_iterator(samples)) {
    if (!e.is_regular_file()) continue;
    const std::string n = fs::relative(e.path(), samples).string();
    EXPECT_EQ(testsupport::ReadAll(kInstall + "samples/" + n), testsupport::ReadAll(e.path().string())) << n;
  }
}

TEST_F(Shipped, RegisterWithTheDefaultExtensionAndReadCleanly) {
  EXPECT_TRUE(message_.empty()) << message_.text;
  ASSERT_EQ(mk::g_ScriptCount, 4);
  EXPECT_EQ(mk::g_ScriptTable[mk::g_DefaultScript].Title, "Nexal 5鍵+パッド");
  EXPECT_EQ(mk::g_OpenFilter, "Dual Stage|*.scd|Nexal 5鍵+パッド|*.nxl|Simple Four|*.s4k|Tapline Twin|*.tpl;*.tpx");
  for (int16_t i = 1; i <= mk::g_ScriptCount; ++i) {
    mk::DocData doc;
    scripttest::RecordingWindow win;
    mk::ScriptReadResult r = mk::ScrRead(i, doc, win);
    ASSERT_TRUE(r.ok) << mk::g_ScriptTable[i].Path << ": " << r.message.text;
    EXPECT_GT(doc.LaneCount, 0);
    EXPECT_EQ(win.caption, "新規 - " + mk::g_ScriptTable[i].Title);
    // Every group covers four lanes of one part, starting a run of that part.
    for (const mk::GtEntry& g : doc.Fmt.Gt) {
      EXPECT_TRUE(g.Lane == 1 || doc.Lane[g.Lane - 1].Part != doc.Lane[g.Lane].Part) << g.Name;
      EXPECT_EQ(doc.Lane[g.Lane + 3].Part, doc.Lane[g.Lane].Part) << g.Name;
    }
  }
}

// Taken together the scripts show every directive and every kind of lane a user may start from.
TEST_F(Shipped, TogetherUseEveryDirectiveAndLaneKind) {
  const std::vector<std::string> directives = {
      "#EXT ",     "#HEAD ",    "#FOOT ",    "#WNUM ",   "#BNUM ",     "#LV ",     "#LVN1",     "#LVN2",    "#LVN3",
      "#GT ",      "#ML ",      "#SCRL ",    "#BRIGHT ", "#VIEWER ",   "#VSTART ", "#VPLAY ",   "#VPLAYH ", "#VSTOP ",
      "#BEXT ",    "#BLTYPE ",  "#TITLE ",   "#ARTIST ", "#GENRE ",    "#BPM ",    "#BASEBPM ", "#LEVEL1",  "#LEVEL2",
      "#LEVEL3",   "#WAV ",     "#BGA ",     "#PRE ",    "#WALL ",     "#TMPC ",   "#MESC ",    "#PATH ",   "#ECHO ",
      "#HSYMBOL ", "#SSYMBOL ", "#OSYMBOL ", "#PBPM ",   "#PBASEBPM ", "#PWAV ",   "#PBGA ",    "#PTMPC ",  "#PMESC ",
      "#LANE",     "#EOL",      "#HELP",     "#EOH"};
  std::set<std::string> used;
  std::set<int> wnum, bnum;
  bool part88 = false, part99 = false, backLayer = false, playerChannels = false, wLane = false, ownFourth = false,
       groupPlayer = false, twoHelp = false, levels = false, symbols = false;
  for (int16_t i = 1; i <= mk::g_ScriptCount; ++i) {
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(plat::ReadTextLines(mk::g_ScriptTable[i].Path, lines, error));
    for (const std::string& line : lines) {
      for (const std::string& d : directives) {
        if (plat::AsciiUpper(line.substr(0, d.size())) == d) used.insert(d);
      }
    }
    mk::DocData doc;
    scripttest::RecordingWindow win;
    ASSERT_TRUE(mk::ScrRead(i, doc, win).ok);
    wnum.insert(doc.Fmt.WNum);
    bnum.insert(doc.Fmt.BNum);
    for (int l = 1; l <= doc.LaneCount; ++l) {
      const mk::LaneInfo& lane = doc.Lane[l];
      part88 |= lane.Part == 88;
      part99 |= lane.Part == 99 && l > 1 && doc.Lane[l - 1].Part == 99;
      backLayer |= lane.BackChannel != "__";
      playerChannels |= lane.PChannel != lane.Channel || lane.PBackChannel != lane.BackChannel;
    }
    for (const mk::GtEntry& g : doc.Fmt.Gt) {
      (doc.Lane[g.Lane + 3].Channel == "__" ? wLane : ownFourth) = true;
      groupPlayer |= g.Channel2 != g.Channel;
    }
    twoHelp |= std::count(lines.begin(), lines.end(), "#HELP") >= 2;
    levels |= !doc.Fmt.Lvn[2].empty() && !doc.Keys.Level[2].empty();
    symbols |= doc.Keys.HSymbol.size() > 1 && doc.Keys.SSymbol.size() > 1;
  }
  for (const std::string& d : directives) EXPECT_TRUE(used.count(d)) << d;
  EXPECT_EQ(wnum, (std::set<int>{1, 2, 3}));
  EXPECT_EQ(bnum, (std::set<int>{1, 2, 3}));
  EXPECT_TRUE(part88 && part99 && backLayer && playerChannels && wLane && ownFourth && groupPlayer && twoHelp &&
              levels && symbols);
}

// Each sample chart: exactly one entry of the open filter takes its extension, that entry's
// script lists it, and the script reads the chart without leaving anything uninterpreted
// except the sample's one free statement.
TEST_F(Shipped, SamplesAreFoundThroughTheFilterAndRead) {
  const std::vector<plat::FilterEntry> entries = plat::ParseFilter(mk::g_OpenFilter);
  ASSERT_EQ(entries.size(), 4u);
  int samples = 0;
  for (const auto& e : fs::directory_iterator(kInstall + "samples")) {
    if (!e.is_regular_file()) continue;  // samples/sounds/
    const std::string name = e.path().filename().string();
    const std::string pattern = "*" + plat::AsciiLower(e.path().extension().string());
    int16_t script = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
      const auto& pats = entries[k].patterns;
      if (std::find(pats.begin(), pats.end(), pattern) != pats.end()) {
        EXPECT_EQ(script, 0) << name << " matches two entries";
        script = static_cast<int16_t>(k + 1);
      }
    }
    ASSERT_NE(script, 0) << name;
    EXPECT_NE(plat::AsciiUpper(mk::g_ScriptTable[script].Exts).find(plat::AsciiUpper(pattern.substr(2))),
              std::string::npos);
    mk::DocData doc;
    scripttest::RecordingWindow win;
    ASSERT_TRUE(mk::ScrRead(script, doc, win).ok);
    mk::ResizeMeasures(doc, 10);
    doc.MesCount = 10;
    mk::ChartReadResult r = mk::ReadChartFile(doc, e.path().string(), name, false);
    ASSERT_TRUE(r.ok) << name << ": " << mk::ChartReadMessage(r);
    EXPECT_GT(doc.ObjReadCount, 0) << name;
    EXPECT_FALSE(doc.Title.empty()) << name;
    EXPECT_EQ(doc.FreeText, name == "nexal_sample.nxl" ? "#COMMENT 試験用の譜面です\r\n" : "") << name;
    ++samples;
  }
  EXPECT_EQ(samples, 4);
}

}  // namespace
