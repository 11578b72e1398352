// Test play: the external player's program and argument lists, built from the script's options.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

// One start of the player: the program path, taken whole, and its arguments.
struct PlayerStart {
  std::string program;
  std::vector<std::string> args;
  bool operator==(const PlayerStart&) const = default;
};

// An option text split as a command line: blanks and tabs separate the arguments, double
// quotes group blanks into one (the quotes themselves dropped) and a doubled quote inside
// quotes stands for one quote. Nothing else is special, a "\" included.
std::vector<std::string> SplitOptions(const std::string& text);

// The measure to play from: the scroll position in ticks, 192 to a measure.
int16_t PlayMeasure(int32_t scrollPos);

// Loading the chart: the start options, then the scratch file's path as one argument.
PlayerStart LoadStart(const ScrFormat& fmt, const std::string& installDir, const std::string& scratchPath);
// Playing from the start.
PlayerStart PlayAllStart(const ScrFormat& fmt, const std::string& installDir);
// Playing from a measure: the measure follows the option text directly ("-m" and 3 give "-m3").
PlayerStart PlayHereStart(const ScrFormat& fmt, const std::string& installDir, int16_t measure);
// Stopping.
PlayerStart StopStart(const ScrFormat& fmt, const std::string& installDir);

// The message for a player that could not be started.
std::string PlayerStartFailure(const std::string& program);
// The message for a scratch chart that could not be written (the player is then not started).
std::string ScratchWriteFailure(const std::string& path, const std::string& why);

}  // namespace mk
