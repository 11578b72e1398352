// Small system utilities shared by several subsystems.
#pragma once
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

}  // namespace mk
