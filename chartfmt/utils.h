// Small system utilities shared by several subsystems.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mk {

void ShowFileProperties(const std::string& path);  // asks the desktop
int32_t AnsiByteLen(const std::string& text);
std::string FormatNumberShort(double x);
int16_t FileExists(const std::string& path);  // -1 / 0
// Splits a command line at blanks; "/" plays the part of the folder separator.
int16_t SplitCommandLine(const std::string& cmd, std::vector<std::string>& files);

// What a one-line header field or a list cell shows of a value. Up to kShownChars characters it
// is the value itself; a longer one (a title or a comment of megabytes read from a file) shows
// its first kShownChars characters, "…" and its whole length in characters, while the record
// keeps it whole. Laying such a value out whole would hold the frame up for seconds and take
// gigabytes, for a text no field can show.
inline constexpr size_t kShownChars = 4096;
struct ShownValue {
  std::string text;
  bool cut = false;  // the value is longer than text shows
};
ShownValue ShownValueOf(std::string_view value);

// Calls line(text, lineBreak) for each line of a multi-line text, in order: its text without the
// break, and the break as it stood (CR LF, a lone CR or a lone LF, as an edit box may leave them;
// empty after the last line). A text that ends in a break has no empty line after it.
template <typename F>
void EachTextLine(std::string_view text, F line) {
  for (size_t i = 0; i < text.size();) {
    const size_t end = std::min(text.find_first_of("\r\n", i), text.size());
    size_t next = end;
    if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    line(text.substr(i, end - i), text.substr(end, next - end));
    i = next;
  }
}

}  // namespace mk
