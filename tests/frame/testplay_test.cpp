// The test player's starts: option texts split into arguments, the measure to play from.
#include <gtest/gtest.h>

#include "chartview/form1_publish.h"
#include "frame/testplay.h"

using namespace mk;

namespace {

using Args = std::vector<std::string>;

TEST(TestPlayStarts, OptionTextsSplitLikeACommandLine) {
  const struct {
    const char* text;
    Args args;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"-load", {"-load"}},
      {"  -a\t-b  c ", {"-a", "-b", "c"}},
      {"--skin \"My Skin\" -x", {"--skin", "My Skin", "-x"}},
      {"-o\"a b\"c", {"-oa bc"}},  // quotes group inside a word
      {"\"\"", {""}},              // an empty quoted argument stays
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"C:\\player\\x.exe", {"C:\\player\\x.exe"}},  // a "\" is an ordinary character
      {"\"open", {"open"}},                          // an unclosed quote runs to the end
  };
  for (const auto& c : cases) EXPECT_EQ(SplitOptions(c.text), c.args) << c.text;
}

TEST(TestPlayStarts, TheMeasureIsTheScrollPositionIn192ndsTowardZero) {
  const struct {
    int32_t pos;
    int16_t measure;
  } cases[] = {{0, 0}, {191, 0}, {192, 1}, {383, 1}, {192 * 999 + 5, 999}, {-1, 0}, {-192, -1}, {INT32_MAX, INT16_MAX}};
  for (const auto& c : cases) EXPECT_EQ(PlayMeasure(c.pos), c.measure) << c.pos;
}

TEST(TestPlayStarts, EachCommandStartsTheScriptsPlayerWithItsOptions) {
  ScrFormat f;
  f.Viewer = "players\\nx view.sh";  // a "\" from a script written elsewhere reads as "/"
  f.VStart = "-load -q";
  f.VPlay = "-play";
  f.VPlayH = "-measure";
  f.VStop = "-stop now";
  const std::string install = "/opt/my tools/";
  const std::string program = "/opt/my tools/players/nx view.sh";
  EXPECT_EQ(PlayerProgram(f, install), program);
  EXPECT_EQ(LoadStart(f, install, "/opt/my tools/temp.tmp"),
            (PlayerStart{program, {"-load", "-q", "/opt/my tools/temp.tmp"}}));
  EXPECT_EQ(PlayAllStart(f, install), (PlayerStart{program, {"-play"}}));
  EXPECT_EQ(PlayHereStart(f, install, 12), (PlayerStart{program, {"-measure12"}}));
  EXPECT_EQ(StopStart(f, install), (PlayerStart{program, {"-stop", "now"}}));

  // The measure is appended before the split: after a blank it is an argument of its own.
  f.VPlayH = "-m ";
  EXPECT_EQ(PlayHereStart(f, install, 3).args, (Args{"-m", "3"}));
  // Empty option texts: the measure alone, the scratch path alone, no arguments at all.
  f = ScrFormat{};
  f.Viewer = "p";
  EXPECT_EQ(PlayHereStart(f, install, 0).args, (Args{"0"}));
  EXPECT_EQ(LoadStart(f, install, "/t/temp.tmp").args, (Args{"/t/temp.tmp"}));
  EXPECT_EQ(PlayAllStart(f, install).args, Args{});
  EXPECT_EQ(StopStart(f, install).args, Args{});
}

}  // namespace
