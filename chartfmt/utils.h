// Small system utilities shared by several subsystems.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace mk {

void ShowFileProperties(const std::string& path);  // asks the desktop
int32_t AnsiByteLen(const std::string& text);
std::string FormatNumberShort(double x);
int16_t FileExists(const std::string& path);  // -1 / 0
// Splits a command line at blanks; "/" plays the part of the folder separator.
int16_t SplitCommandLine(const std::string& cmd, std::vector<std::string>& files);

}  // namespace mk
