// Header panel, tab and preview rules.
#include <gtest/gtest.h>

#include <fstream>

#include "chartfmt/utils.h"
#include "deftables/header.h"
#include "deftables_fixture.h"
#include "temp_dir.h"

using namespace mk;
using deftest::MakeDoc;

namespace {

TEST(Header, MeasureCountDecisions) {
  using K = MesCountDecision;
  const struct {
    bool cancelled;
    const char* text;
    K::Kind kind;
    int value;
  } cases[] = {
      {true, "5", K::Nothing, 0},       {false, "", K::Nothing, 0},     {false, "20", K::Nothing, 0},
      {false, "-1", K::Invalid, 0},     {false, "500", K::Invalid, 0},  {false, "40000", K::Invalid, 0},
      {false, "9E99999", K::AskCut, 0},  // no finite value reads 0
      {false, "12.9", K::AskCut, 12},   {false, "abc", K::AskCut, 0},   {false, "499", K::Change, 499},
      {false, "2 1", K::Change, 21},    {false, "&H20", K::Change, 32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const MesCountDecision d = DecideMesCount(c.cancelled, c.text, 20, 499);
    EXPECT_EQ(d.kind, c.kind);
    if (c.kind == K::AskCut || c.kind == K::Change) {
      EXPECT_EQ(d.value, c.value);
    }
  }
  EXPECT_EQ(DecideMesCount(false, "0", 0, 499).kind, K::Nothing);
  EXPECT_EQ(MesCountPrompt(7), "変更後の最大小節数を入力してください\r\n(現在：7小節)");
}

TEST(Header, WidthRule) {
  HeaderWidths w = HeaderWidthsFor(161);
  EXPECT_EQ(w.text, 105);
  EXPECT_EQ(w.bpm, 49);
  EXPECT_EQ(w.bpm2Left, 104);
  EXPECT_EQ(w.label, 161);
  EXPECT_EQ(w.labelColumn, 49);
  EXPECT_EQ(w.controlLeft, 48);
  w = HeaderWidthsFor(300, 40);  // labels that fit the design column keep it
  EXPECT_EQ(w.text, 244);
  EXPECT_EQ(w.bpm, 118);
  EXPECT_EQ(w.bpm2Left, 173);
  EXPECT_EQ(w.label, 300);
  EXPECT_EQ(w.controlLeft, 48);

  // A wider label text widens the column; the controls start there and keep their right margin
  // of 8 and the BPM fields their gap of 7.
  w = HeaderWidthsFor(161, 80);
  EXPECT_EQ(w.labelColumn, 81);
  EXPECT_EQ(w.controlLeft, 80);
  EXPECT_EQ(w.text, 73);
  EXPECT_EQ(w.bpm, 33);
  EXPECT_EQ(w.bpm2Left, 120);
  EXPECT_EQ(w.bpm2Left + w.bpm, 161 - 8);
  // The column leaves the controls 48 pixels however long the text.
  w = HeaderWidthsFor(161, 500);
  EXPECT_EQ(w.text, 48);
  EXPECT_EQ(HeaderWidthsFor(100, 500).controlLeft, 48);  // narrower than the design: the design column
}

// A number field's text: the value it stands for and, once the field has lost the keyboard, the
// text it shows, which is what a save writes after the keyword.
TEST(Header, NumberFieldValueAndShownText) {
  const struct {
    const char* typed;
    double value;
    const char* shown;
  } cases[] = {
      {"150", 150, "150"},
      {"1 5 0", 150, "150"},
      {"150.5", 150.5, "150.5"},
      {"1,5", 1, "1"},
      {"150abc", 150, "150"},
      {"abc", 0, "0"},
      {"", 0, "0"},
      {"-20", -20, "-20"},
      {"0150", 150, "150"},
      {"150.", 150, "150"},
      {".5", 0.5, "0.5"},
      {"1E3", 1000, "1000"},
      {"1E9", 1e9, "1000000000"},  // longer than may be typed: the field shows it whole
      {"1E-300", 0, "0"},
      {"9E99999", 0, "0"},
      {"&H1F", 31, "31"},
      {"0.1234567", 0.1234567, "0.1234567"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const double v = HeaderNumberValue(c.typed);
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(FormatNumberShort(v), c.shown);
    EXPECT_EQ(HeaderNumberValue(FormatNumberShort(v)), v);  // the shown text holds the same value
  }
}

TEST(Header, NumberFieldsShownOtherwiseThanWritten) {
  DocData d = MakeDoc();
  d.Keys.Bpm = "#BPM";
  d.Keys.BaseBpm = "#BASEBPM";
  d.Bpm = 150;
  d.BaseBpm = 0;
  EXPECT_TRUE(HeaderNumberLosses(d, "150", "0").empty());
  const std::vector<FieldLoss> l = HeaderNumberLosses(d, "150abc", "");
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0].field, ChartField::Bpm);
  EXPECT_EQ(l[0].name, "BPM");
  EXPECT_EQ(l[0].readBack, "150");
  EXPECT_EQ(l[1].field, ChartField::BaseBpm);
  EXPECT_EQ(l[1].name, "基本BPM");
  EXPECT_EQ(l[1].readBack, "0");
  EXPECT_EQ(HeaderNumberLosses(d, "150.0", "0").size(), 1u);  // the file holds "150"
  d.Keys.BaseBpm.clear();                                     // a field the script does not write is not shown either
  EXPECT_TRUE(HeaderNumberLosses(d, "150", "abc").empty());
}

TEST(Header, FileChoiceAndCancel) {
  DocData d = MakeDoc();
  EXPECT_EQ(ApplyHeaderFile(d, 3, false, "/pics/wall.bmp", "wall.bmp"), "wall.bmp");
  EXPECT_EQ(d.Wall, "wall.bmp");
  EXPECT_EQ(d.Folder, "/pics/");
  EXPECT_EQ(ApplyHeaderFile(d, 3, true, "", ""), "None");  // cancel removes it
  EXPECT_EQ(d.Wall, "");
  EXPECT_EQ(d.Folder, "/pics/");
  EXPECT_EQ(ApplyHeaderFile(d, 4, false, "/snd/p.zq", "p.zq"), "p.zq");
  EXPECT_EQ(d.Pre, "p.zq");
  EXPECT_EQ(HeaderFileFilter(3), "画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|");
  EXPECT_EQ(LevelPanelText("", 3), "：3");
}

TEST(Header, TabHoverAndSwitch) {
  const std::vector<int> lefts{0, 40, 80};
  EXPECT_EQ(TabHoverFor(lefts, 10, 0), 1);
  EXPECT_EQ(TabHoverFor(lefts, 33, 0), 2);  // 40 - 8 < 33
  EXPECT_EQ(TabHoverFor(lefts, 100, 1), 3);
  EXPECT_EQ(TabHoverFor({20, 60, 90}, 5, 2), 2);  // no tab qualifies: kept

  DocData d = MakeDoc(1, 3);
  d.CurDef = 0;
  d.DefTab = 1;
  ASSERT_TRUE(SwitchDefTab(d, 1));
  EXPECT_EQ(d.DefTab, 0);
  EXPECT_EQ(d.CurDef, 1);
  d.CurDef = 300;  // above the WAV list's last number
  ASSERT_TRUE(SwitchDefTab(d, 1));
  EXPECT_EQ(d.CurDef, 1);
  d.CurDef = 300;
  EXPECT_FALSE(SwitchDefTab(d, 2));  // no BGA keyword: refused, nothing changes
  EXPECT_EQ(d.DefTab, 0);
  EXPECT_EQ(d.CurDef, 300);
  d.Keys.Bga = "BMP";
  ASSERT_TRUE(SwitchDefTab(d, 2));
  EXPECT_EQ(d.DefTab, 1);
  EXPECT_EQ(d.CurDef, 1);
  d.CurDef = 0;
  ASSERT_TRUE(SwitchDefTab(d, 3));
  EXPECT_EQ(d.DefTab, 2);
  EXPECT_EQ(d.CurDef, 0);
  EXPECT_FALSE(SwitchDefTab(d, 4));
}

TEST(Header, PreviewPath) {
  testsupport::TempDir dir;
  DocData d = MakeDoc();
  d.Folder = dir.path() + "/";
  for (const char* f : {"a.Bmp", "b.jpeg", "c.png", "d.GIF"}) std::ofstream(d.Folder + f) << "x";
  const struct {
    const char* file;
    BgaBlack black;
  } cases[] = {{"a.Bmp", BgaBlack::None}, {"b.jpeg", BgaBlack::OtherKind},    {"c.png", BgaBlack::OtherKind},
               {"d.GIF", BgaBlack::None}, {"missing.bmp", BgaBlack::Missing}, {"", BgaBlack::NoFile}};
  for (const auto& c : cases) {
    d.Bga[4].File = c.file;
    d.CurDef = 4;
    const BgaPreviewFile shown = BgaPreviewPath(d);
    EXPECT_EQ(shown.black, c.black) << c.file;
    EXPECT_EQ(shown.path, *c.file ? d.Folder + c.file : "") << c.file;
  }
  d.CurDef = 1000;  // beyond the table: black
  EXPECT_EQ(BgaPreviewPath(d).black, BgaBlack::NoFile);
}

TEST(Header, FreeTextLineBreaks) {
  EXPECT_EQ(FreeTextForBox("#A 1\r\n#B 2\r\n"), "#A 1\n#B 2\n");
  EXPECT_EQ(FreeTextFromBox("#A 1\n#B 2\n"), "#A 1\r\n#B 2\r\n");
  EXPECT_EQ(FreeTextFromBox(FreeTextForBox("x\r\ny\r\n")), "x\r\ny\r\n");
}

}  // namespace
