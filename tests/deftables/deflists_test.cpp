// Definition list rules: rows per numbering mode, the current row, patterns and filters, file
// choice, comment, erase and the erase key.
#include <gtest/gtest.h>

#include "chartfmt/utils.h"
#include "deftables/deflists.h"
#include "deftables_fixture.h"

using namespace mk;
using deftest::MakeDoc;

namespace {

TEST(DefLists, RowsPerNumberingModeAndRowNumbers) {
  const struct {
    int16_t mode;
    int wavRows, bgaRows;
  } cases[] = {{1, 255, 256}, {2, 575, 576}, {3, 1295, 1296}, {0, 0, 0}, {4, 0, 0}};
  for (const auto& c : cases) {
    DocData d = MakeDoc(c.mode, c.mode);
    EXPECT_EQ(DefListRows(d, DefKind::Wav), c.wavRows) << c.mode;
    EXPECT_EQ(DefListRows(d, DefKind::Bga), c.bgaRows) << c.mode;
  }
  DocData d = MakeDoc(2, 1);
  ASSERT_TRUE(SelectDefRow(d, DefKind::Bga, 1));  // the BGA row "00"
  EXPECT_EQ(d.CurDef, 0);
  ASSERT_TRUE(SelectDefRow(d, DefKind::Wav, 1));  // the WAV row "01"
  EXPECT_EQ(d.CurDef, 1);
  EXPECT_TRUE(SelectDefRow(d, DefKind::Wav, 575));
  EXPECT_EQ(d.CurDef, 575);
  EXPECT_FALSE(SelectDefRow(d, DefKind::Wav, 0));  // no selected row: nothing changes
  EXPECT_FALSE(SelectDefRow(d, DefKind::Bga, 258));
  EXPECT_EQ(d.CurDef, 575);
  // A number without a row in the list: the commands find no entry.
  EXPECT_EQ(CurrentDefEntry(d, DefKind::Bga), nullptr);
  d.CurDef = 0;
  EXPECT_EQ(CurrentDefEntry(d, DefKind::Wav), nullptr);
  EXPECT_EQ(CurrentDefEntry(d, DefKind::Bga), &d.Bga[0]);
  EXPECT_FALSE(EraseDef(d, DefKind::Wav));
  EXPECT_FALSE(ChooseDefFile(d, DefKind::Wav, "/x/a.wav", "a.wav"));
  EXPECT_EQ(d.Folder, "/charts/");
}

TEST(DefLists, PatternsAndFilters) {
  DocData d = MakeDoc();
  d.Fmt.BExt = {"BMP", "Jpg"};
  EXPECT_EQ(BgaFilePattern(d), "*.bmp;*.jpg");
  EXPECT_EQ(DefFileFilter(d, DefKind::Bga), "BGAファイル(*.bmp;*.jpg)|*.bmp;*.jpg|");
  EXPECT_EQ(DefFileFilter(d, DefKind::Wav), "音声ファイル(*.wav;*.zq)|*.wav;*.zq|");
  d.Fmt.BExt = {"@", "BMP"};
  EXPECT_EQ(DefFileFilter(d, DefKind::Bga), "BGAファイル(*.*)|*.*|");

  const struct {
    const char* name;
    const char* patterns;
    bool match;
  } cases[] = {{"KICK.WAV", "*.wav;*.zq", true},
               {"kick.wav", "*.wav;*.zq", true},
               {"a.Zq", "*.wav;*.zq", true},
               {"a.wav.bak", "*.wav;*.zq", false},
               {"wav", "*.wav", false},
               {"x", "*.*", false},
               {"x.y", "*.*", true},
               {"a.bmp", "", false},
               {"ab.jpg", "a?.JPG", true}};
  for (const auto& c : cases) EXPECT_EQ(MatchesFilePattern(c.name, c.patterns), c.match) << c.name << " " << c.patterns;
}

TEST(DefLists, ChoosingAFileRebasesTheChartFolder) {
  DocData d = MakeDoc();
  d.CurDef = 1;
  d.Wav[1].Comment = "keep";
  ASSERT_TRUE(ChooseDefFile(d, DefKind::Wav, "/one/a.wav", "a.wav"));
  d.CurDef = 2;
  ASSERT_TRUE(ChooseDefFile(d, DefKind::Wav, "/two/b.wav", "b.wav"));
  EXPECT_EQ(d.Folder, "/two/");
  EXPECT_EQ(d.Wav[1], (DefEntry{"a.wav", "keep"}));  // now looked up in /two/
  EXPECT_EQ(d.Wav[2].File, "b.wav");
}

TEST(DefLists, FileChoicesStartInTheDefinitionsFolder) {
  DocData d = MakeDoc();
  const struct {
    const char* folder;
    const char* current;
    const char* last;
    FileChoiceStart start;
  } cases[] = {
      {"/song/sounds/", "a.wav", "/else/b.wav", {"/song/sounds/", "a.wav"}},
      {"/song/sounds/", "", "/song/sounds/b.wav", {"/song/sounds/", "b.wav"}},
      {"/song/sounds/", "", "/song/b.wav", {"/song/sounds/", ""}},  // from another folder: no name
      {"/song/sounds/", "", "/song/sounds/deeper/b.wav", {"/song/sounds/", ""}},
      {"/song/", "", "", {"/song/", ""}},
      {"", "a.wav", "/else/b.wav", {"", "a.wav"}},  // a new chart nothing was chosen for yet
      {"", "", "/else/b.wav", {"", "/else/b.wav"}},
  };
  for (const auto& c : cases) {
    d.Folder = c.folder;
    const FileChoiceStart s = DefFileChoiceStart(d, c.current, c.last);
    EXPECT_EQ(s.folder, c.start.folder) << c.folder << " " << c.current << " " << c.last;
    EXPECT_EQ(s.name, c.start.name) << c.folder << " " << c.current << " " << c.last;
  }
}

TEST(DefLists, CommentEraseAndTheEraseKey) {
  DocData d = MakeDoc();
  d.CurDef = 3;
  EXPECT_EQ(CommentDialogFor(d.Wav[3]).prompt, "のコメントを入力してください");
  d.Wav[3] = {"s.wav", "old"};
  EXPECT_EQ(CommentDialogFor(d.Wav[3]).prompt, "s.wavのコメントを入力してください");
  EXPECT_EQ(CommentDialogFor(d.Wav[3]).initial, "old");
  // A comment too long to show is not offered cut: the dialog starts empty and says so.
  d.Wav[3].Comment = std::string(kShownChars, 'c') + "d";
  const CommentDialog longer = CommentDialogFor(d.Wav[3]);
  EXPECT_EQ(longer.initial, "");
  EXPECT_NE(longer.prompt.find("…（全4097文字）"), std::string::npos) << longer.prompt;
  EXPECT_EQ(longer.prompt.rfind("s.wavのコメントを入力してください", 0), 0u);
  d.Wav[3].Comment.pop_back();  // as long as a field shows: offered whole
  EXPECT_EQ(CommentDialogFor(d.Wav[3]).initial, d.Wav[3].Comment);
  EXPECT_TRUE(SetDefComment(d, DefKind::Wav, ""));  // OK with an empty text clears it
  EXPECT_EQ(d.Wav[3].Comment, "");
  EXPECT_TRUE(EraseDef(d, DefKind::Wav));
  EXPECT_EQ(d.Wav[3], DefEntry{});
  EXPECT_FALSE(EraseDef(d, DefKind::Wav));  // nothing left to erase

  const struct {
    int key, shift;
    bool erase;
  } keys[] = {{46, 1, true}, {46, 0, false}, {46, 3, false}, {46, 5, false}, {45, 1, false}};
  for (const auto& k : keys) EXPECT_EQ(IsEraseKey(k.key, k.shift), k.erase) << k.key << "/" << k.shift;
}

}  // namespace
