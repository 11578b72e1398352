// Random definition scripts and random charts on them, for the round trip of the chart writer
// and reader: a chart written and read back is the chart, and written again the same bytes.
// Choices come from a seeded generator in the tests and from the fuzzer's bytes in the fuzz
// target. Free of the test framework.
#pragma once
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace chartgen {

class Choices {
 public:
  virtual ~Choices() = default;
  // A number from 0 to n - 1 (n at least 1).
  virtual uint32_t Below(uint32_t n) = 0;
  int Between(int lo, int hi) { return lo + static_cast<int>(Below(static_cast<uint32_t>(hi - lo + 1))); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }
};

class SeededChoices : public Choices {
 public:
  explicit SeededChoices(uint32_t seed) : rng_(seed) {}
  uint32_t Below(uint32_t n) override { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }

 private:
  std::mt19937 rng_;
};

// Two bytes per choice while they last, then always 0.
class ByteChoices : public Choices {
 public:
  ByteChoices(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint32_t Below(uint32_t n) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// What kinds of layout a generated script and chart held, to show the generator reaches them.
struct Coverage {
  int scripts = 0;
  int refused = 0;
  int groupOverBga = 0;        // a group with a lane of part 88
  int groupOverStack = 0;      // a group with a lane of part 99
  int groupInLongerRun = 0;    // a group inside a run that starts before it or goes on after it
  int groupAtRunEdge = 0;      // a group starting at a run's first lane or ending at its last
  int sharedStackChannel = 0;  // stacked lanes sharing one channel
  int stackBackLayers = 0;     // stacked lanes with a back channel
  int modePairs[4][4] = {};    // by WNum and BNum (0: another mode)
  int openObjects = 0;
  int objects = 0;
  int playerChannels = 0;
};

// The lines of a random script. wild: channel names from a few characters, so that names clash.
std::vector<std::string> RandomScript(Choices& ch, bool wild);

// Fills doc, as read from such a script, with a random chart the editor can hold: measures,
// header, definitions, tempo and lengths where the script has channels for them, and objects in
// every layer a line can carry (open objects on the first lanes of groups).
void FillChart(mk::DocData& doc, Choices& ch, Coverage* coverage = nullptr);

// The first difference between two charts' objects, definitions and header; empty when none.
std::string ChartDifference(const mk::DocData& a, const mk::DocData& b);

struct RoundTrip {
  bool refused = false;  // the script reader refused the script
  std::string refusal;   // its message
  std::string failure;   // empty when the chart read back as written and wrote the same bytes
  std::vector<std::string> script;
  std::string written;
};

// A random script; when it is accepted, a random chart on it written (chart form), read back
// into a fresh chart of the script, compared, and written again.
RoundTrip CheckRoundTrip(Choices& ch, bool wild, Coverage* coverage = nullptr);

}  // namespace chartgen
