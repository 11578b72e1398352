// The lines before the object sections: banner, header, definitions, free text, measure
// lengths and tempo; the player's scratch form.
#include <gtest/gtest.h>

#include "chartfmt/chartwrite.h"
#include "writer_fixture.h"

using wtest::Lines;
using wtest::MakeDoc;
using wtest::Put;
using wtest::SectionLines;

namespace {

mk::DocData HeaderDoc() {
  mk::DocData d = MakeDoc({{"11"}}, 1);
  d.Keys.Title = "TITLE";
  d.Keys.Artist = "ARTIST";
  d.Keys.Genre = "GENRE";
  d.Keys.Bpm = "BPM";
  d.Keys.BaseBpm = "BASEBPM";
  d.Keys.Level = {"PLAYLEVEL", "", "RANK"};
  d.Keys.Pre = "PREVIEW";
  d.Keys.Wall = "STAGEFILE";
  d.Keys.Wav = "WAV";
  d.Keys.Bga = "BMP";
  d.Keys.Tmpc = "03";
  d.Keys.Mesc = "02";
  d.Keys.Path = "PATH_WAV";
  d.PKeys = d.Keys;
  d.PKeys.Bpm = "PBPM";
  d.PKeys.BaseBpm = "PBASE";
  d.PKeys.Wav = "PWAV";
  d.PKeys.Bga = "PBMP";
  d.PKeys.Tmpc = "08";
  d.PKeys.Mesc = "09";
  return d;
}

TEST(ChartHead, BannerHeaderAndDefinitionsInOrder) {
  mk::DocData d = HeaderDoc();
  d.Title = "曲名";
  d.Genre = "";
  d.Bpm = 150;
  d.BaseBpm = 0.5;
  d.Level = {3, 0, -2};
  d.Pre = "pre.wav";
  d.Keys.Echo = {"", "#ECHO1", "%echo two"};
  d.Keys.EchoCount = 2;
  d.Wav[1] = {"a.wav", "コメント"};
  d.Wav[3] = {"", "only comment"};
  d.Wav[0] = {"never.wav", "never"};
  d.Bga[0] = {"zero.bmp", ""};
  d.Bga[255] = {"last.bmp", ""};
  const std::vector<std::string> expected = {
      ";Created by Tovel Ver.0.24",
      "",
      ";Header",
      "#TITLE 曲名",
      "#ARTIST ",
      "#GENRE ",
      "#BPM 150",
      "#BASEBPM 0.5",
      "#PLAYLEVEL 3",
      "#RANK -2",
      "#PREVIEW pre.wav",
      "#ECHO1",
      "%echo two",
      "",
      "#WAV01 a.wav",
      ";WAV01 コメント",
      ";WAV03 only comment",
      "",
      "#BMP00 zero.bmp",
      "#BMPFF last.bmp",
      "",
      "",
      ";Part 1",
      "",
      "",
  };
  EXPECT_EQ(Lines(mk::ChartText(d, 0)), expected);
}

TEST(ChartHead, HeadFootFreeTextAndMissingKeywords) {
  mk::DocData d = MakeDoc({{"11"}}, 0);
  d.Fmt.Head = "*---head";
  d.Fmt.Foot = "*---foot";
  d.FreeText = "free 1\r\n#UNKNOWN x\r\n";
  d.Wav[1] = {"a.wav", ""};  // no WAV keyword: no block at all
  EXPECT_EQ(mk::ChartText(d, 0),
            "*---head\r\n;Created by Tovel Ver.0.24\r\n\r\n;Header\r\n"
            "\r\nfree 1\r\n#UNKNOWN x\r\n\r\n\r\n\r\n"
            ";Part 1\r\n\r\n\r\n*---foot\r\n");

  // Free text as an edit box hands it over (lone LF, lone CR, no final break) is written with
  // CR LF breaks like every other line of the file.
  d.FreeText = "free 1\n#UNKNOWN x\rlast\r\n#END";
  EXPECT_NE(mk::ChartText(d, 0).find("\r\n\r\nfree 1\r\n#UNKNOWN x\r\nlast\r\n#END\r\n\r\n\r\n"), std::string::npos);

  d.Fmt.Head.clear();
  d.Fmt.Foot.clear();
  d.FreeText.clear();
  Put(d, 1, 0, 0, 1);
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(text.rfind(";Created by Tovel Ver.0.24\r\n", 0), 0u);
  EXPECT_EQ(text, ";Created by Tovel Ver.0.24\r\n\r\n;Header\r\n\r\n\r\n;Part 1\r\n#00011:01\r\n\r\n\r\n");
}

TEST(ChartHead, MeasureLengthAndTempoSections) {
  mk::DocData d = HeaderDoc();
  d.Obj[0].Mes.Write(0).Length = 1;
  d.Obj[0].Mes.Write(1).Length = 0.75;
  Put(d, 0, 0, 0, 150);
  Put(d, 0, 0, 96, 120);
  Put(d, 0, 1, 96, 150);
  Put(d, 0, 1, 48, 7, /*back=*/true);  // the back layer is never written, but sets four slots
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(SectionLines(text, ";Custom Long Measure"),
            (std::vector<std::string>{";Custom Long Measure", "#00002:1", "#00102:0.75"}));
  EXPECT_EQ(SectionLines(text, ";BPM"), (std::vector<std::string>{";BPM", "#00003:9678", "#00103:00009600"}));
  EXPECT_NE(text.find("0.75\r\n\r\n\r\n;BPM\r\n"), std::string::npos);

  // A factor whose text would be 0 (read back as the normal length) is left out, and with it a
  // section that would have nothing else.
  d.Obj[0].Mes.Write(1).Length = 3e-16;
  EXPECT_EQ(SectionLines(mk::ChartText(d, 0), ";Custom Long Measure"),
            (std::vector<std::string>{";Custom Long Measure", "#00002:1"}));
  mk::DocData tiny = HeaderDoc();
  tiny.Obj[0].Mes.Write(0).Length = 4e-16;
  EXPECT_EQ(mk::ChartText(tiny, 0).find(";Custom Long Measure"), std::string::npos);
}

TEST(ChartHead, NoLaneZeroContentMeansNoSections) {
  mk::DocData d = HeaderDoc();
  const std::string text = mk::ChartText(d, 0);
  EXPECT_EQ(text.find(";Custom Long Measure"), std::string::npos);
  EXPECT_EQ(text.find(";BPM"), std::string::npos);
  d.Keys.Tmpc.clear();  // a tempo object without the tempo keyword is not written either
  Put(d, 0, 0, 0, 100);
  EXPECT_EQ(mk::ChartText(d, 0).find(";BPM"), std::string::npos);
}

TEST(ChartHead, ScratchUsesPlayerKeywordsAndPathLine) {
  mk::DocData d = HeaderDoc();
  d.Folder = "/songs/a/";
  d.Bpm = 120;
  d.Wav[2] = {"kick.wav", "k"};
  d.Bga[1] = {"bg.bmp", ""};
  d.Obj[0].Mes.Write(0).Length = 2;
  Put(d, 0, 0, 0, 255);

  const std::string withPath = mk::ChartText(d, -1);
  for (const char* line : {"#PBPM 120", "#PBASE 0", "#PATH_WAV /songs/a/", "#PWAV02 kick.wav", ";PWAV02 k",
                           "#PBMP01 bg.bmp", "#00009:2", "#00008:FF"}) {
    EXPECT_NE(withPath.find(std::string(line) + "\r\n"), std::string::npos) << line;
  }

  d.Keys.Path.clear();
  const std::string noPath = mk::ChartText(d, -1);
  EXPECT_EQ(noPath.find("PATH_WAV"), std::string::npos);
  EXPECT_NE(noPath.find("#PWAV02 /songs/a/kick.wav\r\n"), std::string::npos);
  EXPECT_NE(noPath.find("#PBMP01 /songs/a/bg.bmp\r\n"), std::string::npos);

  // The chart keywords decide whether a line is written at all.
  d.Keys.Bpm.clear();
  EXPECT_EQ(mk::ChartText(d, -1).find("PBPM"), std::string::npos);
  // A saved chart never gets the path line or the prefixes.
  d.Keys.Path = "PATH_WAV";
  const std::string saved = mk::ChartText(d, 0);
  EXPECT_EQ(saved.find("PATH_WAV"), std::string::npos);
  EXPECT_NE(saved.find("#WAV02 kick.wav\r\n"), std::string::npos);
}

TEST(ChartHead, MeasureTextIsPadded) {
  EXPECT_EQ(mk::MeasureText(7, 3), "007");
  EXPECT_EQ(mk::MeasureText(7, 1), "7");
  EXPECT_EQ(mk::MeasureText(123, 5), "00123");
  mk::DocData d = MakeDoc({{"11"}}, 12);
  d.Fmt.Ml = 4;
  d.Keys.HSymbol = {"%", "#"};
  d.Keys.SSymbol = {"=", ":"};
  Put(d, 1, 12, 0, 1);
  EXPECT_NE(mk::ChartText(d, 0).find("%001211=01\r\n"), std::string::npos);
}

}  // namespace
