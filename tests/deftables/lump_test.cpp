// The batch load rules: slot rows, the start slot, the pattern and what OK writes.
#include <gtest/gtest.h>

#include "deftables/lump.h"
#include "deftables_fixture.h"

using namespace mk;
using deftest::MakeDoc;

namespace {

TEST(Lump, SlotRowsMarkUsedSlots) {
  DocData d = MakeDoc(1, 2);
  d.Wav[1].File = "a.wav";
  d.Bga[0].File = "z.bmp";
  const auto wav = LumpSlotRows(d, DefKind::Wav);
  ASSERT_EQ(wav.size(), 255u);
  EXPECT_EQ(wav[0], "01*");
  EXPECT_EQ(wav[1], "02");
  const auto bga = LumpSlotRows(d, DefKind::Bga);  // 0..255 in base 16 whatever the BGA mode
  ASSERT_EQ(bga.size(), 256u);
  EXPECT_EQ(bga[0], "00*");
  EXPECT_EQ(bga[255], "FF");
  EXPECT_EQ(LumpSlotOfRow(DefKind::Wav, 0), 1);
  EXPECT_EQ(LumpSlotOfRow(DefKind::Bga, 0), 0);
  EXPECT_EQ(LumpFilePattern(d, DefKind::Wav), "*.wav;*.zq");
  d.Fmt.BExt = {"@"};
  EXPECT_EQ(LumpFilePattern(d, DefKind::Bga), "*.*");
}

TEST(Lump, StartSlotIsClampedIntoTheList) {
  const DocData d = MakeDoc(1, 3);
  EXPECT_EQ(LumpInitialSlot(d, DefKind::Bga, 300), 255);
  EXPECT_EQ(LumpInitialSlot(d, DefKind::Wav, 300), 255);
  EXPECT_EQ(LumpInitialSlot(d, DefKind::Wav, 0), 1);
  EXPECT_EQ(LumpInitialSlot(d, DefKind::Bga, 0), 0);
  EXPECT_EQ(LumpInitialSlot(d, DefKind::Bga, 17), 17);
}

TEST(Lump, TenFilesFromSlot250FillTheLastSixInListOrder) {
  DocData d = MakeDoc();
  d.Wav[251] = {"old.wav", "old comment"};
  std::vector<std::string> files;
  for (int i = 0; i < 10; ++i) files.push_back("f" + std::to_string(i) + ".wav");
  ASSERT_TRUE(ApplyLump(d, DefKind::Wav, 250, files, "/samples"));
  EXPECT_EQ(d.Folder, "/samples/");
  for (int j = 0; j < 6; ++j) EXPECT_EQ(d.Wav[250 + j], (DefEntry{files[j], ""})) << j;
  EXPECT_TRUE(d.Wav[249].File.empty());
}

TEST(Lump, NoFilesStillRebasesTheFolder) {
  DocData d = MakeDoc();
  EXPECT_TRUE(ApplyLump(d, DefKind::Bga, 0, {}, "/"));
  EXPECT_EQ(d.Folder, "/");  // a root already ends in "/"
  EXPECT_FALSE(ApplyLump(d, DefKind::Bga, 0, {}, "/"));
  ASSERT_TRUE(ApplyLump(d, DefKind::Bga, 0, {"x.bmp"}, "/"));
  EXPECT_EQ(d.Bga[0].File, "x.bmp");
}

}  // namespace
