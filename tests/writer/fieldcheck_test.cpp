// Fields a chart file cannot carry as they stand: which ones the check names, what it says they
// read back as, and that no field spills into another.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "chartfmt/chartwrite.h"
#include "chartfmt/fieldcheck.h"
#include "tests/support/header_keys.h"
#include "writer_fixture.h"

using mk::DocData;

namespace {

DocData Doc() {
  DocData d = wtest::MakeDoc({{"11"}, {"12"}}, 1);
  testsupport::SetHeaderKeys(d.Keys);
  d.Keys.Level[2].clear();
  d.PKeys = d.Keys;
  d.Title = "title";
  d.Artist = "artist";
  d.Bpm = 150;
  d.BaseBpm = 0.5;
  d.Level = {12, 3, 0};
  d.Wav[1] = {"kick.wav", "bass drum"};
  d.Bga[0] = {"black.bmp", ""};
  return d;
}

struct Loss {
  std::string name, readBack;
  bool operator==(const Loss&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Loss& l) { return o << l.name << "=" << l.readBack; }

TEST(FieldCheck, NamesEachFieldThatReadsBackOtherwise) {
  const struct Case {
    const char* what;
    std::function<void(DocData&)> set;
    std::vector<Loss> losses;
  } cases[] = {
      {"the chart as built", [](DocData&) {}, {}},
      {"CP932 text, kana, blanks at either end and tabs",
       [](DocData& d) {
         d.Title = "日本語のタイトル";
         d.Genre = "ｼﾞｬﾝﾙ";
         d.Pre = " pre.wav ";
         d.Wall = "wall\tpaper.bmp";
         d.Wav[2].File = "  snare.wav ";
       },
       {}},
      {"characters outside CP932 become ?",
       [](DocData& d) {
         d.Title = "café ✓";
         d.Bga[0].File = "pic\xF0\x9F\x98\x80.bmp";
       },
       {{"曲名", "caf? ?"}, {"BGA 00 のファイル名", "pic?.bmp"}}},
      {"a line break cannot start a line of its own",
       [](DocData& d) {
         d.Title = "x\r\n#ARTIST evil";
         d.Wav[1].Comment = "one\ntwo";
       },
       {{"曲名", "x #ARTIST evil"}, {"WAV 01 のコメント", "one two"}}},
      {"; in a file name does not become the comment",
       [](DocData& d) {
         d.Wav[2].File = "a;b.wav";
         d.Wav[1].File = "c;d.wav";
       },
       {{"WAV 01 のファイル名", "c?d.wav"}, {"WAV 02 のファイル名", "a?b.wav"}}},
      {"more digits than are written", [](DocData& d) { d.Bpm = 120.12345678901234; }, {{"BPM", "120.123456789012"}}},
      {"a number the text cannot hold", [](DocData& d) { d.BaseBpm = INFINITY; }, {{"基本BPM", "0"}}},
      {"a field the script has no keyword for is neither shown nor written",
       [](DocData& d) {
         d.Level[2] = 5;
         d.Keys.Genre.clear();
         d.Genre = "rock";
         d.Keys.Wav.clear();
         d.Wav[3].File = "a;b.wav";
       },
       {}},
      {"a level that a keyword writes", [](DocData& d) { d.Level[1] = -7; }, {}},
      {"free statements: each line the encoding changes, by its line in the box",
       [](DocData& d) { d.FreeText = "#MEMO café end\r\n#PLAIN 1\r\n\r\n#KANA かな\n#MARK ✓\r"; },
       {{"Free タブ 1 行目", "#MEMO caf? end"}, {"Free タブ 5 行目", "#MARK ?"}}},
      {"a script foot that sets the title wins over the field",
       [](DocData& d) { d.Fmt.Foot = "#TITLE footer"; },
       {{"曲名", "footer"}}},
  };
  for (const Case& c : cases) {
    DocData d = Doc();
    c.set(d);
    std::vector<Loss> got;
    for (const mk::FieldLoss& l : mk::FieldsNotReadBack(d)) got.push_back({l.name, l.readBack});
    EXPECT_EQ(got, c.losses) << c.what;
  }
}

TEST(FieldCheck, OneFieldAndTheWriterAgree) {
  DocData d = Doc();
  d.Wav[7].File = "x;y\n.wav";
  const auto l = mk::FieldNotReadBack(d, mk::ChartField::WavFile, 7);
  ASSERT_TRUE(l.has_value());
  EXPECT_EQ(l->readBack, "x?y .wav");
  EXPECT_FALSE(mk::FieldNotReadBack(d, mk::ChartField::WavFile, 1).has_value());
  // The file's definition line is exactly that, on one line.
  const std::vector<std::string> lines = wtest::Lines(mk::ChartText(d, 0));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "#WAV07 x?y .wav"), lines.end());
}

TEST(FieldCheck, AfterTheSaveTheDocumentHoldsWhatWasWritten) {
  DocData d = Doc();
  d.Title = "café";
  d.Wav[2] = {"a;b.wav", "one\r\ntwo"};
  d.Bga[3].File = "pic✓.bmp";
  d.FreeText = "#MEMO café\r\n#KEEP\nこれ\r\n";
  const std::string bytes = mk::ChartBytes(d, 0);
  ASSERT_EQ(mk::FieldsNotReadBack(d).size(), 5u);
  EXPECT_TRUE(mk::TakeSavedFields(d));
  EXPECT_EQ(d.Title, "caf?");
  EXPECT_EQ(d.Wav[2], (mk::DefEntry{"a?b.wav", "one two"}));
  EXPECT_EQ(d.Bga[3].File, "pic?.bmp");
  EXPECT_EQ(d.FreeText, "#MEMO caf?\r\n#KEEP\nこれ\r\n");  // line ends as they were
  EXPECT_EQ(d.Artist, "artist");
  // The same file, and nothing left that it would not hold.
  EXPECT_EQ(mk::ChartBytes(d, 0), bytes);
  EXPECT_TRUE(mk::FieldsNotReadBack(d).empty());
  EXPECT_FALSE(mk::TakeSavedFields(d));

  // A file that does not read back (a free statement with a number no field holds) gives no
  // fields to take: the window keeps what it holds rather than what the failed read left.
  DocData bad = Doc();
  bad.Title = "café";
  bad.FreeText = "#BPM 1e999\r\n";
  EXPECT_FALSE(mk::TakeSavedFields(bad));
  EXPECT_EQ(bad.Title, "café");
  EXPECT_EQ(bad.Wav[1].File, "kick.wav");
}

TEST(FieldCheck, MessageListsTwentyAndCountsTheRest) {
  std::vector<mk::FieldLoss> losses(25);
  for (int i = 0; i < 25; ++i) losses[i] = {mk::ChartField::WavFile, i + 1, "F" + std::to_string(i), "v"};
  const std::string m = mk::FieldLossMessage(losses);
  EXPECT_NE(m.find("F0：「v」"), std::string::npos);
  EXPECT_NE(m.find("F19：「v」"), std::string::npos);
  EXPECT_EQ(m.find("F20"), std::string::npos);
  EXPECT_NE(m.find("ほか 5 項目"), std::string::npos);
}

}  // namespace
