// The recent-file list, the choice of the window a chart is read into, the readable-file check
// and the chart window's scroll, wheel and grid arithmetic.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "chartfmt/scriptreg.h"
#include "chartview/form1_calc.h"
#include "frame/recent.h"
#include "frame/settings.h"
#include "temp_dir.h"

using namespace mk;

namespace {

using List = std::vector<std::string>;

TEST(RecentTest, AddingMovesOrInsertsAtTheHead) {
  struct Case {
    const char* name;
    List files;
    const char* path;
    List expect;
  } cases[] = {
      {"entry 3 moves up, 4 stays", {"a", "b", "c", "d", "e"}, "d", {"d", "a", "b", "c", "e"}},
      {"a sixth file drops the oldest", {"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}},
      {"the newest stays where it is", {"a", "b", "", "", ""}, "a", {"a", "b", "", "", ""}},
      {"other letter case is another entry",
       {"/x/A.nxl", "", "", "", ""},
       "/x/a.nxl",
       {"/x/a.nxl", "/x/A.nxl", "", "", ""}},
      {"into an empty list", {"", "", "", "", ""}, "/x/a.nxl", {"/x/a.nxl", "", "", "", ""}},
      {"an empty path changes nothing", {"a", "", "", "", ""}, "", {"a", "", "", "", ""}},
      {"a one-entry list", {"a"}, "b", {"b"}},
  };
  for (const Case& c : cases) {
    List files = c.files;
    List scripts, scriptFiles;
    for (const std::string& f : files) {
      scripts.push_back(f.empty() ? "" : "T" + f);
      scriptFiles.push_back(f.empty() ? "" : f + ".dfn");
    }
    AddRecentEntry(files, scripts, scriptFiles, c.path, "Tnew", "new.dfn");
    EXPECT_EQ(files, c.expect) << c.name;
    // Each title and script file travel with their path.
    for (size_t i = 0; i < files.size(); ++i) {
      const bool added = !files[i].empty() && files[i] == c.path;
      EXPECT_EQ(scripts[i], files[i].empty() ? "" : added ? "Tnew" : "T" + files[i]) << c.name << " entry " << i;
      EXPECT_EQ(scriptFiles[i], files[i].empty() ? ""
                                : added          ? "new.dfn"
                                                 : files[i] + ".dfn")
          << c.name << " entry " << i;
    }
  }
}

TEST(RecentTest, CaptionsCarryOneHexDigitAccessKeyAndShowAmpersandsAsWritten) {
  const struct {
    int index;
    const char* path;
    const char* caption;
  } cases[] = {
      {0, "/charts/a.nxl", "&0 /charts/a.nxl"},    {9, "/charts/a.nxl", "&9 /charts/a.nxl"},
      {10, "/charts/a.nxl", "&A /charts/a.nxl"},   {15, "/charts/a.nxl", "&F /charts/a.nxl"},
      {1, "/R&B/a&&b.nxl", "&1 /R&&B/a&&&&b.nxl"},
  };
  for (const auto& c : cases) EXPECT_EQ(RecentCaption(c.index, c.path), c.caption) << c.path;
}

// Two scripts of one title, as a copied and adapted script keeps it: an entry goes by the script
// file it recorded; an entry of an older settings file (title only) by its title where that is
// one script's, and otherwise by the file's extension.
TEST(RecentTest, AnEntryFindsItsOwnScriptAmongScriptsOfOneTitle) {
  testsupport::TempDir dir;
  const std::string nxl = dir.path() + "/a.nxl", abc = dir.path() + "/a.abc";
  std::ofstream(nxl) << "#TITLE x\r\n";
  std::ofstream(abc) << "#TITLE x\r\n";
  g_ScriptTable = {ScriptEntry{}, ScriptEntry{"/i/nexal.dfn", "Same", "NXL", ""},
                   ScriptEntry{"/i/other.dfn", "Other", "X", ""}, ScriptEntry{"/i/nexal6.dfn", "Same", "NX6", ""}};
  g_ScriptCount = 3;
  const struct {
    const char* file;
    const char* title;
    int16_t script;
  } cases[] = {
      {"nexal.dfn", "Same", 1},
      {"nexal6.dfn", "Same", 3},
      {"other.dfn", "renamed", 2},
      {"", "Other", 2},
      {"", "Same", 0},
      {"", "same", 0},
      {"gone.dfn", "Other", 0},  // a recorded file that is gone is not replaced by its title
      {"NEXAL.DFN", "Same", 0},
      {"", "", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RecentEntryScript(c.file, c.title), c.script) << c.file << "/" << c.title;

  EXPECT_TRUE(RecentEntryUsable(nxl, "other.dfn", "Other"));
  EXPECT_TRUE(RecentEntryUsable(nxl, "", "Same"));            // ambiguous: ".nxl" is nexal.dfn's
  EXPECT_TRUE(RecentEntryUsable(nxl, "gone.dfn", "Gone"));    // gone: ".nxl" still has a script
  EXPECT_FALSE(RecentEntryUsable(abc, "gone.dfn", "Other"));  // no script takes ".abc"
  EXPECT_FALSE(RecentEntryUsable(abc, "", "Same"));
  EXPECT_TRUE(RecentEntryUsable(abc, "nexal6.dfn", "Same"));  // its own script, whatever the extension
  EXPECT_FALSE(RecentEntryUsable(dir.path() + "/gone.nxl", "other.dfn", "Other"));
  g_ScriptTable = {ScriptEntry{}};
  g_ScriptCount = 0;
}

TEST(RecentTest, WhereFileOpenAndRecentEntriesReadTheChart) {
  using T = OpenTarget;
  const struct {
    bool anyOpen;
    int16_t firstOpen;
    bool untitled, dirty;
    T expect;
  } open[] = {
      {false, -1, false, false, T::NewWindow}, {false, 0, true, false, T::NewWindow},
      {true, -1, true, false, T::Current},     {true, -1, false, false, T::NewWindow},
      {true, -1, true, true, T::NewWindow},    {true, 0, false, false, T::Current},
      {true, 0, true, true, T::Current},  // the frame asks the save question first
  };
  for (const auto& c : open)
    EXPECT_EQ(FileOpenTarget(c.anyOpen, c.firstOpen, c.untitled, c.dirty), c.expect)
        << c.anyOpen << c.firstOpen << c.untitled << c.dirty;
  const struct {
    int16_t count;
    bool currentOpen, dirty;
    T expect;
  } recent[] = {
      {1, true, false, T::Current},    {1, true, true, T::NewWindow},   {2, true, false, T::NewWindow},
      {0, false, false, T::NewWindow}, {1, false, false, T::NewWindow},
  };
  for (const auto& c : recent)
    EXPECT_EQ(RecentOpenTarget(c.count, c.currentOpen, c.dirty), c.expect) << c.count << c.currentOpen << c.dirty;
}

TEST(RecentTest, OnlyRegularFilesCountAsReadable) {
  testsupport::TempDir dir;
  const std::string file = dir.path() + "/a.nxl";
  std::ofstream(file) << "x";
  std::string reason;
  EXPECT_TRUE(ChartFileReadable(file, reason));
  for (const std::string& bad : {dir.path() + "/missing.nxl", dir.path(), std::string()}) {
    reason.clear();
    EXPECT_FALSE(ChartFileReadable(bad, reason)) << bad;
    EXPECT_FALSE(reason.empty()) << bad;
  }
}

TEST(ViewArithmeticTest, WheelSkipAndGridAnswers) {
  ResetSettings();
  const struct {
    int32_t speed;
    int16_t wheel;
    int step;
  } wheels[] = {{4, 2, 12}, {4, 8, 48}, {4, 1, 6}, {24, 1, 1}, {25, 2, 1}, {383, 8, 1}};
  for (const auto& c : wheels) {
    g_ScrollSpeed = c.speed;
    g_Wheel = c.wheel;
    EXPECT_EQ(WheelStep(), c.step) << c.speed << "/" << c.wheel;  // never 0
  }
  ResetSettings();
  const struct {
    int last, v;
    bool skipOn, dragged, wheel, skip;
  } skips[] = {
      {480, 473, true, true, false, true},   {480, 474, true, true, false, false},
      {480, 400, false, true, false, false}, {480, 432, true, false, false, false},  // track click
      {480, 432, true, true, true, false},   {400, 400, true, true, false, false},   // release
  };
  for (const auto& c : skips)
    EXPECT_EQ(SkipScrollRedraw(c.last, c.v, c.skipOn, c.dragged, c.wheel), c.skip) << c.last << "->" << c.v;
  const int16_t fixed[] = {4, 8, 12, 16, 24, 32, 48, 64, 192};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(GridDivForIndex(i), fixed[i]);
  EXPECT_EQ(GridDivForIndex(9), 0);
  EXPECT_EQ(GridDivForIndex(-1), 0);
  const struct {
    const char* answer;
    int16_t grid;
    bool warn;
  } grids[] = {{"5", 5, true},    {"96", 96, false},   {"0", 4, false},  {"200", 4, false},
               {"abc", 4, false}, {"", 4, false},      {"7.9", 7, true}, {"192.5", 192, false},
               {"1", 1, false},   {"70000", 4, false}, {"-3", 4, false}, {"1e999", 4, false}};
  for (const auto& c : grids) {
    bool warn = !c.warn;
    EXPECT_EQ(CustomGridDiv(c.answer, warn), c.grid) << c.answer;
    EXPECT_EQ(warn, c.warn) << c.answer;
  }
  EXPECT_EQ(ScrollButtonImage(-1), 3);
  EXPECT_EQ(ScrollButtonImage(0), 2);
  EXPECT_EQ(WallButtonImage(1), 5);
  EXPECT_EQ(WallButtonImage(2), 6);
  EXPECT_EQ(WallButtonImage(3), 7);
}

}  // namespace
