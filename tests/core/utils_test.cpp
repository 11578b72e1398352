#include "chartfmt/utils.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scripted_desktop.h"
#include "temp_dir.h"

namespace mk {
namespace {

TEST(FormatNumberShort, Table) {
  struct Case {
    double x;
    const char* text;
  } cases[] = {
      {120, "120"},
      {0, "0"},
      {-0.0, "0"},
      {150.5, "150.5"},
      {-0.25, "-0.25"},
      {100.0 / 3, "33.3333333333333"},
      {100, "100"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 15 significant digits hide the binary error
      {1e15, "1000000000000000"},
      {123456789012345678.0, "123456789012346000"},
      {1e-15, "0.000000000000001"},
      {4e-16, "0"},   // below the 15th place
      {-4e-16, "0"},  // and no "-0"
      {6e-16, "0.000000000000001"},
      {0.9999999999999999, "1"},
      {-99.99999999999999, "-100"},
      {1.23456789012345e-5, "0.000012345678901"},
      {32767, "32767"},
      {-1e-3, "-0.001"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatNumberShort(c.x), c.text) << c.x;
}

TEST(FormatNumberShort, NeverEndsInPointOrFractionZero) {
  for (double x = -50; x <= 50; x += 0.0625) {
    const std::string t = FormatNumberShort(x * 1.1);
    ASSERT_FALSE(t.empty());
    EXPECT_NE(t.back(), '.') << t;
    if (t.find('.') != std::string::npos) {
      EXPECT_NE(t.back(), '0') << t;
    }
    EXPECT_EQ(t.find(','), std::string::npos) << t;
  }
}

TEST(SplitCommandLine, Table) {
  struct Case {
    const char* cmd;
    int16_t count;
    std::vector<std::string> files;
  } cases[] = {
      {"-x", -1, {"untouched"}},
      {"", -1, {"untouched"}},
      {"a.nxl b.nxl", -1, {"untouched"}},  // no folder separator: names no file
      {"C:\\a.nxl", -1, {"untouched"}},    // a backslash is a file name character here
      {"/c/a.nxl", 1, {"/c/a.nxl"}},
      {"/c/a.nxl /c/b.nxl", 2, {"/c/a.nxl", "/c/b.nxl"}},
      {"/c/a.nxl ", 2, {"/c/a.nxl", ""}},
      {"/c/My Charts/a.nxl", 2, {"/c/My", "Charts/a.nxl"}},
      {"/a  b", 3, {"/a", "", "b"}},
      {"\"/c/x y\"", 2, {"\"/c/x", "y\""}},  // quotes are not special
      {" /a", 2, {"", "/a"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> files{"untouched"};
    EXPECT_EQ(SplitCommandLine(c.cmd, files), c.count) << c.cmd;
    EXPECT_EQ(files, c.files) << c.cmd;
  }
}

TEST(ShownValueOf, ALongValueShowsWholeCharactersOfItsStartAndItsLength) {
  std::string a(kShownChars, 'a');
  EXPECT_EQ(ShownValueOf("").text, "");
  EXPECT_FALSE(ShownValueOf(a).cut);
  EXPECT_EQ(ShownValueOf(a).text, a);
  EXPECT_EQ(ShownValueOf(a + "b").text, a + "…（全4097文字）");
  EXPECT_TRUE(ShownValueOf(a + "b").cut);
  // Counted in characters: as many three-byte characters show whole, one more is cut between
  // characters, never inside one.
  std::string kana;
  for (size_t i = 0; i < kShownChars; ++i) kana += "あ";
  EXPECT_EQ(ShownValueOf(kana).text, kana);
  EXPECT_FALSE(ShownValueOf(kana).cut);
  const ShownValue cut = ShownValueOf(kana + "い");
  EXPECT_TRUE(cut.cut);
  EXPECT_EQ(cut.text, kana + "…（全4097文字）");
  EXPECT_EQ(ShownValueOf("x" + kana).text, "x" + kana.substr(0, kana.size() - 3) + "…（全4097文字）");
}

TEST(EachTextLine, EveryKindOfLineBreakAndNoEmptyLineAfterTheLast) {
  struct Case {
    std::string text;
    std::string lines;  // each line and its break, as "[text|break]"
  };
  const Case cases[] = {
      {"", ""},
      {"a", "[a|]"},
      {"a\r\nb", "[a|\r\n][b|]"},
      {"a\rb\nc", "[a|\r][b|\n][c|]"},
      {"a\n\r\nb\r\n", "[a|\n][|\r\n][b|\r\n]"},
      {"\r\r\n\n", "[|\r][|\r\n][|\n]"},
      {"a\r", "[a|\r]"},
  };
  for (const Case& c : cases) {
    std::string got;
    mk::EachTextLine(c.text, [&got](std::string_view line, std::string_view lineBreak) {
      got += "[" + std::string(line) + "|" + std::string(lineBreak) + "]";
    });
    EXPECT_EQ(got, c.lines) << c.text;
  }
}

TEST(AnsiByteLen, CountsCodePageBytes) {
  EXPECT_EQ(AnsiByteLen("譜面表"), 6);
  EXPECT_EQ(AnsiByteLen("abc"), 3);
  EXPECT_EQ(AnsiByteLen(""), 0);
  EXPECT_EQ(AnsiByteLen("ｱｲ"), 2);  // half-width katakana are single bytes
  EXPECT_EQ(AnsiByteLen("a\\b"), 3);
}

TEST(FileExists, FilesAndFolders) {
  testsupport::TempDir dir;
  const std::string file = dir.Write("chart one.nxl", "x");
  EXPECT_EQ(FileExists(file), -1);
  EXPECT_EQ(FileExists(dir.path()), -1);
  EXPECT_EQ(FileExists(dir.Path("missing.nxl")), 0);
  EXPECT_EQ(FileExists(""), 0);
}

TEST(ShowFileProperties, AsksTheDesktopAndIgnoresItsAnswer) {
  testsupport::ScopedDesktop desk;
  desk.SetActionResult(testsupport::CallKind::FileProperties, false);
  ShowFileProperties("/no/such/file.wav");
  const auto calls = desk.CallsOf(testsupport::CallKind::FileProperties);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].path, "/no/such/file.wav");
  EXPECT_EQ(desk.Calls().size(), 1u);
}

}  // namespace
}  // namespace mk
