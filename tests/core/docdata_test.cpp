#include "chartfmt/docdata.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "chartfmt/globals.h"
#include "temp_dir.h"

namespace mk {
namespace {

TEST(DocData, FreshRecordHasResetValues) {
  DocData d;
  EXPECT_EQ(d.Fmt.GtCount, -1);  // no lane group
  EXPECT_EQ(d.Zoom, 1.0);
  EXPECT_EQ(d.ScrlUp, -1);
  EXPECT_EQ(d.GridDiv, 16);
  EXPECT_EQ(d.CurDef, 1);
  EXPECT_EQ(d.CanvasWallMode, 1);
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_TRUE(d.Obj.empty());
  MesData cell;
  for (int t = 0; t < kCellSlots; ++t) ASSERT_TRUE(cell.Obj[t] == 0 && cell.BackObj[t] == 0);
  EXPECT_EQ(cell.Division, 0);
  EXPECT_EQ(cell.Length, 0.0);
}

TEST(DocData, ResizeMeasuresKeepsCellsAndZeroesNewOnes) {
  DocData d;
  d.Obj.resize(3);
  ResizeMeasures(d, 2);
  d.Obj[2].Mes.Write(1).Obj[5] = 10005;
  d.Obj[0].Mes.Write(2).Length = 0.75;
  ResizeMeasures(d, 6);
  for (const LaneMes& lane : d.Obj) ASSERT_EQ(lane.Mes.size(), 7u);
  EXPECT_EQ(d.Obj[2].Mes[1].Obj[5], 10005);
  EXPECT_EQ(d.Obj[0].Mes[2].Length, 0.75);
  EXPECT_EQ(d.Obj[2].Mes[6].Obj[5], 0);
  ResizeMeasures(d, 1);  // shrinking drops the measures past the end
  EXPECT_EQ(d.Obj[1].Mes.size(), 2u);
  EXPECT_EQ(d.Obj[2].Mes[1].Obj[5], 10005);
  ResizeMeasures(d, -1);
  EXPECT_TRUE(d.Obj[0].Mes.empty());
  EXPECT_FALSE(HasCell(d, 0, 0));
  EXPECT_FALSE(HasCell(d, -1, 0));
}

// Whether the names a save writes are found beside the chart's own file.
TEST(DocData, DefinitionsBesideChartComparesTheFoldersThemselves) {
  testsupport::TempDir dir;
  const std::string top = dir.path() + "/";
  std::filesystem::create_directory(top + "sounds");
  std::filesystem::create_directory_symlink(top, top + "linked");
  const struct {
    std::string filePath, folder;
    bool beside;
  } cases[] = {
      {"", top + "sounds/", true},  // untitled: no file of its own yet
      {top + "song.nxl", "", true},
      {top + "song.nxl", top, true},
      {top + "song.nxl", top + "linked/", true},  // the same folder by another way
      {top + "song.nxl", top + "sounds/", false},
      {top + "sounds/song.nxl", top, false},
      {"/gone/song.nxl", "/gone/", true},
      {"/gone/song.nxl", "/elsewhere/", false},
  };
  for (const auto& c : cases) {
    DocData d;
    d.FilePath = c.filePath;
    d.Folder = c.folder;
    EXPECT_EQ(DefinitionsBesideChart(d), c.beside) << c.filePath << " / " << c.folder;
  }
}

TEST(WindowTable, SizingKeepsContentsAndResetEmpties) {
  ResetWindowTable();
  SizeWindowTable(3);
  ASSERT_EQ(g_Docs.size(), 4u);
  ASSERT_EQ(g_SlotUsed.size(), 3u);
  g_Docs[3].Title = "kept";
  g_SlotUsed[2] = -1;
  SizeWindowTable(5);
  EXPECT_EQ(g_Docs.size(), 6u);
  EXPECT_EQ(g_SlotUsed.size(), 5u);
  EXPECT_EQ(g_Docs[3].Title, "kept");
  EXPECT_EQ(g_SlotUsed[2], -1);
  EXPECT_EQ(g_SlotUsed[4], 0);
  g_CurWin = 3;
  g_OpenCount = 1;
  ResetWindowTable();
  EXPECT_TRUE(g_Docs.empty());
  EXPECT_TRUE(g_SlotUsed.empty());
  EXPECT_EQ(g_CurWin, 0);
  EXPECT_EQ(g_OpenCount, 0);
}

}  // namespace
}  // namespace mk
