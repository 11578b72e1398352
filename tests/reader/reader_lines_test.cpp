// Line classes and command forms: one table of line -> effect on the document.
#include <gtest/gtest.h>

#include <functional>

#include "chartfmt/chartread.h"
#include "reader_fixture.h"

namespace {

using mk::DocData;

struct LineCase {
  const char* name;
  std::vector<std::string> lines;
  std::function<void(const DocData&)> check;
  std::string freeText;  // expected FreeText afterwards
};

DocData Read(const std::vector<std::string>& lines) {
  DocData d = readerfix::StandardScript().Build();
  d.Wav[1].Comment = "old comment";
  const mk::ChartReadResult r = mk::ReadChartLines(d, lines, false);
  EXPECT_TRUE(r.ok) << mk::ChartReadMessage(r);
  return d;
}

TEST(ReaderLines, EachLineClassAndForm) {
  const std::vector<LineCase> cases = {
      {"title", {"#TITLE Song"}, [](const DocData& d) { EXPECT_EQ(d.Title, "Song"); }, ""},
      {"keyword case ignored, second blank kept",
       {"#title  Two"},
       [](const DocData& d) { EXPECT_EQ(d.Title, " Two"); },
       ""},
      {"empty value", {"#GENRE "}, [](const DocData& d) { EXPECT_EQ(d.Genre, ""); }, ""},
      {"keyword without its blank", {"#TITLESong"}, [](const DocData& d) { EXPECT_EQ(d.Title, ""); }, "#TITLESong\r\n"},
      {"second command symbol", {"%ARTIST Me"}, [](const DocData& d) { EXPECT_EQ(d.Artist, "Me"); }, ""},
      {"other first character", {"!ARTIST Me"}, [](const DocData& d) { EXPECT_EQ(d.Artist, ""); }, "!ARTIST Me\r\n"},
      {"bpm leading number",
       {"#BPM 150.5x", "#BASEBPM abc"},
       [](const DocData& d) {
         EXPECT_EQ(d.Bpm, 150.5);
         EXPECT_EQ(d.BaseBpm, 0);
       },
       ""},
      {"levels rounded half to even",
       {"#PLAYLEVEL 2.5", "#DIFF 3.5", "#RANK -7"},
       [](const DocData& d) {
         EXPECT_EQ(d.Level, (std::array<int16_t, 3>{2, 4, -7}));
       },
       ""},
      {"repeated header keeps the last",
       {"#TITLE a", "#TITLE b"},
       [](const DocData& d) { EXPECT_EQ(d.Title, "b"); },
       ""},
      {"definition without ';' keeps file blanks and the comment",
       {"#WAV01 kick.wav  "},
       [](const DocData& d) {
         EXPECT_EQ(d.Wav[1].File, "kick.wav  ");
         EXPECT_EQ(d.Wav[1].Comment, "old comment");
       },
       ""},
      {"definition with ';' trims both",
       {"#wav0z  a b.wav ; new one "},
       [](const DocData& d) {
         EXPECT_EQ(d.Wav[35].File, "a b.wav");
         EXPECT_EQ(d.Wav[35].Comment, "new one");
       },
       ""},
      {"definition in the BGA mode",
       {"#BMP0A p.bmp", "#BMPFF q.bmp"},
       [](const DocData& d) {
         EXPECT_EQ(d.Bga[10].File, "p.bmp");
         EXPECT_EQ(d.Bga[255].File, "q.bmp");
       },
       ""},
      {"BGA code 0 sets entry 0; WAV code 0, never saved, stays free text",
       {"#WAV00 zero.wav", "#BMP00 zero.bmp", ";WAV00 dropped like a comment"},
       [](const DocData& d) {
         EXPECT_EQ(d.Wav[0].File, "");
         EXPECT_EQ(d.Bga[0].File, "zero.bmp");
       },
       "#WAV00 zero.wav\r\n"},
      {"comment lines set their own table only",
       {";WAV01 drum ", ";BMP01 pic"},
       [](const DocData& d) {
         EXPECT_EQ(d.Wav[1].Comment, "drum ");
         EXPECT_EQ(d.Wav[1].File, "");
         EXPECT_EQ(d.Bga[1].Comment, "pic");
       },
       ""},
      {"Japanese comment and file",
       {"#WAV02 音.wav;太鼓"},
       [](const DocData& d) {
         EXPECT_EQ(d.Wav[2].File, "音.wav");
         EXPECT_EQ(d.Wav[2].Comment, "太鼓");
       },
       ""},
      {"preview and wallpaper",
       {"#PREVIEW p.wav", "#STAGE s.bmp"},
       [](const DocData& d) {
         EXPECT_EQ(d.Pre, "p.wav");
         EXPECT_EQ(d.Wall, "s.bmp");
       },
       ""},
      {"comments and empty lines are ignored",
       {";Header", "", ";Created by", ";00111:01"},
       [](const DocData& d) { EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 0); },
       ""},
      {"echo lines are dropped", {"#ECHOLINE 1", "#echoline 1"}, [](const DocData&) {}, ""},
      {"path line and unknown commands stay free text",
       {"#PATH /x/", "#RANDOM 2", "#00199:01"},
       [](const DocData&) {},
       "#PATH /x/\r\n#RANDOM 2\r\n#00199:01\r\n"},
      {"free text in order, blanks-only line included",
       {"hello", "   ", "世界"},
       [](const DocData&) {},
       "hello\r\n   \r\n世界\r\n"},
      {"short command line", {"#0", "#"}, [](const DocData&) {}, "#0\r\n#\r\n"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DocData d = Read(c.lines);
    c.check(d);
    EXPECT_EQ(d.FreeText, c.freeText);
  }
}

TEST(ReaderLines, HeaderLinesAreReadFromBytesInTheAnsiCodePage) {
  DocData d = readerfix::StandardScript().Build();
  // "#TITLE " + CP932 for "曲名" + CR LF + a WAV line whose file name holds a "ソ" (second byte
  // is a backslash in ASCII).
  const std::string bytes = "#TITLE \x8B\xC8\x96\xBC\r\n#WAV01 \x83\x5C.wav\r\n";
  ASSERT_TRUE(mk::ReadChartText(d, bytes, mk::ChartCoding::Ansi, false).ok);
  EXPECT_EQ(d.Title, "曲名");
  EXPECT_EQ(d.Wav[1].File, "ソ.wav");
}

}  // namespace
