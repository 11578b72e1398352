// Test play: splitting the option texts and building the player's starts.
#include "frame/testplay.h"

#include <algorithm>

#include "chartview/form1_publish.h"

namespace mk {

std::vector<std::string> SplitOptions(const std::string& text) {
  std::vector<std::string> out;
  std::string cur;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
        cur += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
      inArg = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArg) out.push_back(std::move(cur));
      cur.clear();
      inArg = false;
    } else {
      cur += c;
      inArg = true;
    }
  }
  if (inArg) out.push_back(std::move(cur));
  return out;
}

int16_t PlayMeasure(int32_t scrollPos) {
  const int32_t m = scrollPos / 192;  // toward zero
  return static_cast<int16_t>(std::clamp<int32_t>(m, INT16_MIN, INT16_MAX));
}

namespace {
PlayerStart With(const ScrFormat& fmt, const std::string& installDir, const std::string& options) {
  return {PlayerProgram(fmt, installDir), SplitOptions(options)};
}
}  // namespace

PlayerStart LoadStart(const ScrFormat& fmt, const std::string& installDir, const std::string& scratchPath) {
  PlayerStart s = With(fmt, installDir, fmt.VStart);
  s.args.push_back(scratchPath);
  return s;
}

PlayerStart PlayAllStart(const ScrFormat& fmt, const std::string& installDir) {
  return With(fmt, installDir, fmt.VPlay);
}

PlayerStart PlayHereStart(const ScrFormat& fmt, const std::string& installDir, int16_t measure) {
  return With(fmt, installDir, fmt.VPlayH + std::to_string(measure));
}

PlayerStart StopStart(const ScrFormat& fmt, const std::string& installDir) { return With(fmt, installDir, fmt.VStop); }

std::string PlayerStartFailure(const std::string& program) {
  return "テストプレイ用のプレイヤー " + program + " を起動できませんでした";
}

std::string ScratchWriteFailure(const std::string& path, const std::string& why) {
  return "テストプレイ用の一時ファイル " + path + " を書き込めませんでした\r\n" + why;
}

}  // namespace mk
