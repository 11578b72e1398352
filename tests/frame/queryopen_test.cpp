// Opening by extension: extension, file title, candidate scripts, the dialog's path text, the
// window table's free number and the command-line paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "frame/queryopen.h"
#include "frame/settings.h"
#include "frame/unopened.h"
#include "temp_dir.h"

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

// The one choice of a script by extension (command line, drops, File > Open, recent list).
TEST(QueryOpenTest, TheExtensionChoosesTheScriptAndThePreferredOneOnlySettlesWhatItLeavesOpen) {
  g_ScriptTable = {ScriptEntry{}, ScriptEntry{"/a.dfn", "A", "NXL", ""}, ScriptEntry{"/b.dfn", "B", "SCD", ""},
                   ScriptEntry{"/c.dfn", "C", "nxl", ""}, ScriptEntry{"/d.dfn", "D", "TPL", ""}};
  g_ScriptCount = 4;
  using V = std::vector<int16_t>;
  const struct {
    const char* path;
    int16_t preferred;
    int16_t script;
    V candidates;
  } cases[] = {
      {"/x/song.scd", 0, 2, {}},      {"/x/song.scd", 1, 2, {}},      // one claims it: the type is no matter
      {"/x/song.SCD", 4, 2, {}},      {"/x/song.nxl", 3, 3, {}},      // several: the type's among them
      {"/x/song.nxl", 1, 1, {}},      {"/x/song.nxl", 2, 0, {1, 3}},  // the type's not among them: ask
      {"/x/song.nxl", 0, 0, {1, 3}},  {"/x/song.txt", 4, 4, {}},      // none: the type's script
      {"/x/song.txt", 0, 0, {}},      {"/x/song", 2, 2, {}},
      {"/x.nxl/song", 0, 0, {}},      {"/x/song.txt", 5, 0, {}},  // no such script
      {"/x/song.nxl", -1, 0, {1, 3}},
  };
  for (const auto& c : cases) {
    const ScriptByExtension r = ChooseScriptByExtension(c.path, c.preferred);
    EXPECT_EQ(r.script, c.script) << c.path << " / " << c.preferred;
    EXPECT_EQ(r.candidates, c.candidates) << c.path << " / " << c.preferred;
  }
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
  EXPECT_EQ(CommandLinePath("../x/./c.nxl", "/no-such-dir/inst"), "/no-such-dir/x/c.nxl");
}

TEST(QueryOpenTest, TheMessageForUnreadFilesListsTheFirstOnesAndCountsTheRest) {
  std::vector<std::string> paths;
  for (size_t i = 0; i < kUnopenedListed + 3; ++i) paths.push_back("/no/such/f" + std::to_string(i) + ".xyz");
  const std::string text = UnopenedFilesMessage(paths);
  EXPECT_NE(text.find("/no/such/f" + std::to_string(kUnopenedListed - 1) + ".xyz\r\n    ファイルが見つかりません"),
            std::string::npos);
  EXPECT_EQ(text.find("/no/such/f" + std::to_string(kUnopenedListed) + ".xyz"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - std::string("\r\n\r\nほか 3 個のファイル").size()),
            "\r\n\r\nほか 3 個のファイル");
  // A "." in a folder's name is no extension of the file.
  testsupport::TempDir dir;
  const std::string plain = dir.Write("v1.2/readme", "text");
  EXPECT_NE(UnopenedFilesMessage({plain}).find(plain + "\r\n    拡張子がないため"), std::string::npos);
}

// One file, one text: "." and ".." steps go, a linked folder is walked as the system walks it
// (its ".." is the parent of the link's target), a linked file keeps its own folder and name.
TEST(QueryOpenTest, ChartPathsTakeOneCanonicalForm) {
  namespace fs = std::filesystem;
  testsupport::TempDir dir;
  const std::string base = dir.path();
  fs::create_directories(base + "/real/deep");
  fs::create_directory(base + "/inst");
  fs::create_directory_symlink(base + "/real/deep", base + "/link");
  std::ofstream(base + "/real/a.nxl") << "x";
  std::ofstream(base + "/charts.nxl") << "x";
  fs::create_symlink(base + "/real/a.nxl", base + "/inst/alias.nxl");
  const struct {
    std::string given, canonical;
  } cases[] = {
      {base + "/inst/../charts.nxl", base + "/charts.nxl"}, {base + "/./inst/.//../charts.nxl", base + "/charts.nxl"},
      {base + "/link/../a.nxl", base + "/real/a.nxl"},      {base + "/link/../../real/a.nxl", base + "/real/a.nxl"},
      {base + "/inst/alias.nxl", base + "/inst/alias.nxl"}, {base + "/gone/../inst/new.nxl", base + "/inst/new.nxl"},
      {base + "/charts.nxl", base + "/charts.nxl"},         {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChartPathCanonical(c.given), c.canonical) << c.given;
  const fs::path cwd = fs::current_path();
  fs::current_path(base + "/inst");
  EXPECT_EQ(ChartPathCanonical("../charts.nxl"), base + "/charts.nxl");
  EXPECT_EQ(CommandLinePath("../link/../a.nxl", base + "/inst"), base + "/real/a.nxl");
  fs::current_path(cwd);
}

}  // namespace
