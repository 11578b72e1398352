// Selected objects off the definition lanes through definition moves and compaction, and the
// modified mark after saves, moves, compaction and release followed by Undo.
#include <gtest/gtest.h>

#include "deftables/defmove.h"
#include "deftables/wavtable.h"
#include "deftables_fixture.h"
#include "editing/dropsel.h"
#include "editing/movesel.h"
#include "editing/selection.h"
#include "editing/undo.h"

using namespace mk;
using deftest::At;
using deftest::MakeDoc;
using deftest::Put;
using deftest::WavFileAt;

namespace {

constexpr int kMax = 499;

// WAV 05 = kick.wav, 06 = snare.wav; two kicks on lane 1, a tempo value on lane 0, a BGA 05 on
// lane 3, all selected.
DocData KickChart() {
  DocData d = MakeDoc();
  d.Wav[5].File = "kick.wav";
  d.Wav[6].File = "snare.wav";
  d.Bga[5].File = "five.bmp";
  d.Bga[6].File = "six.bmp";
  Put(d, 1, 0, 0, 5);
  Put(d, 1, 0, 96, 5, true);
  Put(d, 0, 0, 48, 5);  // a tempo value that equals the number
  Put(d, 3, 1, 0, 5);
  ObjSelect(d, 0, 0, 0, 3, 1, 191, true);
  return d;
}

// The drag of every test: the selection goes one or two lanes left of where it was and back.
void Drag(DocData& d, int lanes) { MoveSelection(d, 1, 0, 0, 1 + lanes, 0, 0); }

TEST(FloatingOffLanes, DefinitionMoveRenumbersEntriesOffTheLanes) {
  DocData d = KickChart();
  ASSERT_EQ(d.SelCount, 4);
  Drag(d, -1);  // lane 1 -> lane 0 (tempo lane), lane 0 -> -1, BGA lane 3 -> WAV lane 2
  d.CurDef = 5;
  ASSERT_TRUE(MoveDefinition(d, DefMove::WAVDown));
  EXPECT_EQ(d.Wav[6].File, "kick.wav");
  Drag(d, 1);
  ObjDeSel(d, kMax);
  EXPECT_EQ(WavFileAt(d, 1, 0, 0), "kick.wav");
  EXPECT_EQ(WavFileAt(d, 1, 0, 96, true), "kick.wav");
  EXPECT_EQ(At(d, 0, 0, 48), 5) << "a tempo value is no definition number";
  // The BGA object floated over a WAV lane during the move and was counted as WAV there.
  EXPECT_EQ(At(d, 3, 1, 0), 6);
}

TEST(FloatingOffLanes, EachTableMovesOnlyItsOwnEntries) {
  DocData d = KickChart();
  Drag(d, -4);  // everything left of the lanes, each with the table of the lane it left
  d.CurDef = 5;
  ASSERT_TRUE(MoveDefinition(d, DefMove::BGADown));
  Drag(d, 4);
  ObjDeSel(d, kMax);
  EXPECT_EQ(WavFileAt(d, 1, 0, 0), "kick.wav");
  EXPECT_EQ(At(d, 0, 0, 48), 5);
  EXPECT_EQ(d.Bga[At(d, 3, 1, 0)].File, "five.bmp");
}

TEST(FloatingOffLanes, UndoLevelsAndCompactionReachThem) {
  DocData d = KickChart();
  Drag(d, -1);
  ObjBackup(d);  // level 1 holds the selection off the lanes
  ObjDeSel(d, kMax);
  d.CurDef = 5;
  ASSERT_TRUE(MoveDefinition(d, DefMove::WAVUp));  // kick.wav is now 4, snare.wav stays 6
  ASSERT_TRUE(WAVCompact(d, kMax));                // kick.wav 1, snare.wav 2
  ASSERT_TRUE(Undo(d));
  Drag(d, 1);
  ObjDeSel(d, kMax);
  EXPECT_EQ(WavFileAt(d, 1, 0, 0), "kick.wav");
  EXPECT_EQ(WavFileAt(d, 1, 0, 96, true), "kick.wav");
  EXPECT_EQ(At(d, 0, 0, 48), 5);
}

// Each row: an edit sequence on a chart as read (not modified); the chart differs from the file
// at its end and must carry the mark.
TEST(ModifiedMark, UndoAfterChangesItDoesNotTakeBack) {
  const struct Case {
    const char* what;
    void (*run)(DocData&);
  } cases[] = {
      {"place, save, Undo",
       [](DocData& d) {
         ObjBackup(d);
         Put(d, 1, 2, 0, 7);
         MarkSaved(d);
         Undo(d);
       }},
      {"place, save, erase drag that erased nothing, Undo",
       [](DocData& d) {
         ObjBackup(d);
         Put(d, 1, 2, 0, 7);
         MarkSaved(d);
         ObjBackup(d);
         DropLastBackup(d);
         Undo(d);
       }},
      {"place, Undo level taken clean, move, Undo",
       [](DocData& d) {
         ObjBackup(d);
         Put(d, 1, 2, 0, 7);
         d.CurDef = 5;
         MoveDefinition(d, DefMove::WAVDown);
         MarkChangedBeyondUndo(d);
         Undo(d);
       }},
      {"compaction that changes only an undo level, Undo",
       [](DocData& d) {
         d.Wav[1].File = "one.wav";  // a table compact already, and the chart as read
         d.Wav[5] = d.Wav[6] = DefEntry{};
         Put(d, 1, 0, 0, 0);
         d.Dirty = 0;
         ObjBackup(d);                       // the level holds the object of number 9, which has no file
         Put(d, 2, 3, 0, 0);                 // erased
         EXPECT_FALSE(WAVCompact(d, kMax));  // erases it in the level only
         Undo(d);
       }},
      {"release, then place and Undo",
       [](DocData& d) {
         d.Wav[8].File = "unused.wav";
         WAVDelUnused(d, kMax);
         MarkChangedBeyondUndo(d);
         MarkSaved(d);
         d.Wav[8].File = "again.wav";  // a batch load
         MarkChangedBeyondUndo(d);
         ObjBackup(d);
         Put(d, 1, 3, 0, 8);
         Undo(d);
       }},
  };
  for (const Case& c : cases) {
    DocData d = MakeDoc();
    d.Wav[5].File = "five.wav";
    d.Wav[6].File = "six.wav";
    Put(d, 1, 0, 0, 5);
    Put(d, 2, 3, 0, 9);
    c.run(d);
    EXPECT_EQ(d.Dirty, -1) << c.what;
  }
}

TEST(ModifiedMark, UndoOfAnEditSinceTheFileClearsIt) {
  DocData d = MakeDoc();
  ObjBackup(d);
  Put(d, 1, 0, 0, 1);
  EXPECT_EQ(d.Dirty, -1);
  ASSERT_TRUE(Undo(d));
  EXPECT_EQ(d.Dirty, 0);
}

}  // namespace
