// Opening by extension: extension, file title, candidate scripts, the dialog's path text, the
// window table's free number and the command-line paths.
#include <gtest/gtest.h>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "frame/queryopen.h"
#include "frame/settings.h"

using namespace mk;

namespace {

TEST(QueryOpenTest, ExtensionIsTheTextAfterTheLastDotOfTheWholePath) {
  struct Case {
    const char* path;
    const char* ext;
    const char* title;
  } cases[] = {
      {"/charts/song.nxl", "nxl", "song.nxl"},
      {"/charts/song.tar.TPX", "TPX", "song.tar.TPX"},
      {"/my.charts/song", "charts/song", "song"},  // a dot in a folder counts
      {"/charts/song.", "", "song."},
      {"/charts/song", "", "song"},
      {"song.nxl", "nxl", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileExtension(c.path), c.ext) << c.path;
    EXPECT_EQ(FileTitle(c.path), c.title) << c.path;
  }
}

TEST(QueryOpenTest, CandidatesCompareWholeEntriesIgnoringCase) {
  g_ScriptTable = {ScriptEntry{}, ScriptEntry{"/a.dfn", "A", "NXL,abc", ""}, ScriptEntry{"/b.dfn", "B", "xyz, abc", ""},
                   ScriptEntry{"/c.dfn", "C", "nxl", ""}};
  g_ScriptCount = 3;
  EXPECT_EQ(CandidateScripts("nxl"), (std::vector<int16_t>{1, 3}));
  EXPECT_EQ(CandidateScripts("NXL"), (std::vector<int16_t>{1, 3}));
  EXPECT_EQ(CandidateScripts("abc"), (std::vector<int16_t>{1}));  // " abc" is another entry
  EXPECT_EQ(CandidateScripts("XYZ"), (std::vector<int16_t>{2}));
  EXPECT_TRUE(CandidateScripts("charts/song").empty());
  g_ScriptTable = {ScriptEntry{}};
  g_ScriptCount = 0;
}

TEST(QueryOpenTest, DialogShowsTheEndOfALongPath) {
  const std::string forty(40, 'a');
  EXPECT_EQ(ShortPathText(forty), forty);
  const std::string fortyOne = "b" + forty;
  EXPECT_EQ(ShortPathText(fortyOne), "..." + std::string(37, 'a'));
  const std::string jp = "/譜面/" + std::string(36, 'x') + "曲.nxl";  // counted in characters
  EXPECT_EQ(ShortPathText(jp), "..." + std::string(32, 'x') + "曲.nxl");
}

TEST(QueryOpenTest, FirstFreeNumberAndTheLimitText) {
  ResetSettings();
  ResetWindowTable();
  SizeWindowTable(3);
  g_MaxWindows = 3;
  EXPECT_EQ(FirstFreeSlot(), 1);
  g_SlotUsed = {-1, 0, -1};
  EXPECT_EQ(FirstFreeSlot(), 2);
  g_SlotUsed = {-1, -1, -1};
  EXPECT_EQ(FirstFreeSlot(), 0);
  g_MaxWindows = 30;
  EXPECT_EQ(WindowLimitText(), "30個以上のウインドウを開くことはできません");
  ResetWindowTable();
}

TEST(QueryOpenTest, CommandLineArgumentsAreWholePaths) {
  EXPECT_EQ(CommandLinePath("/a b/c d.nxl", "/home"), "/a b/c d.nxl");
  EXPECT_EQ(CommandLinePath("c d.nxl", "/home/u"), "/home/u/c d.nxl");
  EXPECT_EQ(CommandLinePath("c.nxl", "/"), "/c.nxl");
}

}  // namespace
