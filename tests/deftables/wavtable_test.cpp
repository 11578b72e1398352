// WAV table compaction and release.
#include <gtest/gtest.h>

#include "deftables/wavtable.h"
#include "deftables_fixture.h"
#include "editing/dropsel.h"
#include "editing/undo.h"

using namespace mk;
using deftest::At;
using deftest::MakeDoc;
using deftest::Put;

namespace {

constexpr int kMax = 999;

// Entries 1 and 3 with files, 2 with a comment only.
DocData GappedTable() {
  DocData d = MakeDoc();
  d.Wav[1] = {"one.wav", "c1"};
  d.Wav[2] = {"", "only a comment"};
  d.Wav[3] = {"three.wav", "c3"};
  Put(d, 1, 0, 0, 1);
  Put(d, 1, 0, 48, 2);
  Put(d, 1, 0, 96, 3);
  Put(d, 1, 1, 0, 3, true);
  Put(d, 1, 1, 48, 2, true);
  Put(d, 2, 0, 0, 10003);
  Put(d, 2, 0, 48, 10002);
  Put(d, 0, 0, 0, 3);  // tempo
  Put(d, 3, 0, 0, 3);  // BGA lane
  return d;
}

TEST(WavCompact, GapsCloseAndObjectsFollowTheirFiles) {
  DocData d = GappedTable();
  ASSERT_TRUE(WAVCompact(d, kMax));
  EXPECT_EQ(d.Wav[1], (DefEntry{"one.wav", "c1"}));
  EXPECT_EQ(d.Wav[2], (DefEntry{"three.wav", "c3"}));
  for (size_t i = 3; i < d.Wav.size(); ++i) EXPECT_EQ(d.Wav[i], DefEntry{}) << i;
  EXPECT_EQ(At(d, 1, 0, 0), 1);
  EXPECT_EQ(At(d, 1, 0, 48), 0);  // number 2 had no file: erased
  EXPECT_EQ(At(d, 1, 0, 96), 2);
  EXPECT_EQ(At(d, 1, 1, 0, true), 2);
  EXPECT_EQ(At(d, 1, 1, 48, true), 0);
  EXPECT_EQ(At(d, 2, 0, 0), 10002);
  EXPECT_EQ(At(d, 2, 0, 48), 0);
  EXPECT_EQ(At(d, 0, 0, 0), 3);
  EXPECT_EQ(At(d, 3, 0, 0), 3);
  EXPECT_EQ(d.Obj[1].Mes[1].Division, 1);  // only tick 0 is left in that cell

  const DocData once = d;  // twice equals once
  EXPECT_FALSE(WAVCompact(d, kMax));
  EXPECT_TRUE(deftest::SameNumbers(d, once));
}

TEST(WavCompact, EmptyTableErasesEveryWavObjectAndOutOfRangeValuesStay) {
  DocData d = MakeDoc();
  d.Wav[5].Comment = "no file";
  Put(d, 1, 0, 0, 5);
  Put(d, 4, 0, 0, 12000);  // outside every object range: not used as a table index
  Put(d, 4, 0, 96, -3);
  Put(d, 3, 0, 0, 5);
  ASSERT_TRUE(WAVCompact(d, kMax));
  EXPECT_EQ(d.Wav[5], DefEntry{});
  EXPECT_EQ(At(d, 1, 0, 0), 0);
  EXPECT_FALSE(d.Obj[1].Mes.Stored(0));  // the emptied cell shares the empty record again
  EXPECT_EQ(At(d, 4, 0, 0), 12000);
  EXPECT_EQ(At(d, 4, 0, 96), -3);
  EXPECT_EQ(At(d, 3, 0, 0), 5);
}

// The selection lands first and the undo levels are renumbered as the grid is: Undo after a
// compaction keeps every object on its file.
TEST(WavCompact, SelectionLandsAndUndoKeepsFiles) {
  DocData d = GappedTable();
  ObjBackup(d);
  Put(d, 2, 2, 0, 1);
  d.Sel.push_back({1, 3, 0, 3, 0});
  d.SelCount = 1;
  ASSERT_TRUE(WAVCompact(d, kMax));
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(At(d, 1, 3, 0), 2);
  EXPECT_EQ(deftest::WavFileAt(d, 1, 3, 0), "three.wav");
  ASSERT_TRUE(Undo(d));
  EXPECT_EQ(d.Dirty, -1);  // the table differs from the file's whatever level comes back
  EXPECT_EQ(deftest::WavFileAt(d, 1, 0, 0), "one.wav");
  EXPECT_EQ(deftest::WavFileAt(d, 1, 0, 96), "three.wav");
  EXPECT_EQ(deftest::WavFileAt(d, 2, 0, 0), "three.wav");
  EXPECT_EQ(At(d, 1, 0, 48), 0);
  EXPECT_EQ(At(d, 2, 2, 0), 0);
}

TEST(WavDelUnused, ReleasesOnlyEntriesNoWavObjectUses) {
  DocData d = MakeDoc();
  for (int i = 1; i <= 6; ++i) d.Wav[i] = {"f" + std::to_string(i) + ".wav", "c"};
  d.Wav[7] = {"", "used, no file"};
  d.Wav[8] = {"", "unused comment"};
  Put(d, 1, 0, 0, 1);
  Put(d, 1, 0, 0, 2, true);  // back layer only
  Put(d, 2, 0, 0, 10003);    // open object only
  Put(d, 3, 0, 0, 4);        // only in a BGA lane: not a use
  Put(d, 0, 0, 0, 5);        // only as a tempo: not a use
  Put(d, 4, 0, 0, 7);
  d.UndoOn = -1;
  ASSERT_TRUE(WAVDelUnused(d, kMax));
  for (int i : {1, 2, 3}) EXPECT_FALSE(d.Wav[i].File.empty()) << i;
  for (int i : {4, 5, 6, 8}) EXPECT_EQ(d.Wav[i], DefEntry{}) << i;
  EXPECT_EQ(d.Wav[7], (DefEntry{"", "used, no file"}));
  EXPECT_EQ(At(d, 3, 0, 0), 4);
  EXPECT_EQ(d.UndoOn, 0);  // an undo could bring back objects of a released entry

  d.UndoOn = -1;  // twice equals once, and a release that released nothing keeps the undo
  const DocData once = d;
  EXPECT_FALSE(WAVDelUnused(d, kMax));
  EXPECT_TRUE(deftest::SameNumbers(d, once));
  EXPECT_EQ(d.UndoOn, -1);
}

TEST(WavDelUnused, CountsTheFloatingSelectionAsUse) {
  DocData d = MakeDoc();
  d.Wav[9] = {"sel.wav", ""};
  d.Sel.push_back({1, 2, 0, 9, 0});
  d.SelCount = 1;
  WAVDelUnused(d, kMax);
  EXPECT_EQ(d.Wav[9].File, "sel.wav");
  EXPECT_EQ(At(d, 1, 2, 0), 9);
  EXPECT_EQ(d.SelCount, 0);
}

// A back object of WAV 07 dragged onto lane 2, which has no back channel, floats through the
// drop that both commands begin with; dragged back onto lane 1 it must still name its file.
TEST(WavTable, AnEntryTheDropLeavesFloatingKeepsItsFile) {
  for (bool compact : {false, true}) {
    SCOPED_TRACE(compact ? "compaction" : "release");
    DocData d = MakeDoc();
    d.Lane[2].BackChannel = "__";
    d.Wav[3].File = "hat.wav";
    d.Wav[7].File = "kick.wav";
    Put(d, 1, 0, 0, 3);
    d.Sel.push_back({2, 1, 0, 7, -1});
    d.SelCount = 1;
    ASSERT_TRUE(compact ? WAVCompact(d, kMax) : !WAVDelUnused(d, kMax));
    ASSERT_EQ(d.SelCount, 1);
    d.Sel[1].Lane = 1;
    ObjDeSel(d, kMax);
    EXPECT_EQ(d.SelCount, 0);
    EXPECT_EQ(deftest::WavFileAt(d, 1, 1, 0, true), "kick.wav");
    EXPECT_EQ(deftest::WavFileAt(d, 1, 0, 0), "hat.wav");
  }
}

}  // namespace
