// Fuzzes the chart writer and reader together: the bytes choose a definition script (lanes,
// parts, groups, channels, symbols, numbering modes) and a chart on it. The script reader must
// refuse the script with a fatal message, or the chart must read back as it was written and
// write the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "chartgen.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool wild = data[0] & 1;
  chartgen::ByteChoices ch(data + 1, size - 1);
  const chartgen::RoundTrip r = chartgen::CheckRoundTrip(ch, wild);
  if (r.failure.empty()) return 0;
  std::fprintf(stderr, "%s\n--- script\n", r.failure.c_str());
  for (const std::string& line : r.script) std::fprintf(stderr, "%s\n", line.c_str());
  std::fprintf(stderr, "--- written\n%s\n", r.written.substr(0, 4000).c_str());
  std::abort();
}
