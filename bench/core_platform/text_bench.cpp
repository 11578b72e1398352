// Throughput of the text layer on chart-sized input (about 10 MB).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"
#include "platform/core/vbnum.h"

namespace {

std::string MakeText(const std::string& line, const char* eol, size_t bytes = 10 << 20) {
  std::string s;
  s.reserve(bytes + 64);
  while (s.size() < bytes) {
    s += line;
    s += eol;
  }
  return s;
}

const std::string kAsciiLine = "#00111:01020304050607080910111213141516";
// "#TITLE テスト譜面" in CP932.
const std::string kSjisLine = "#TITLE \x83\x65\x83\x58\x83\x67\x95\x88\x96\xCA \x82\xA0\x82\xA2\x82\xA4";

void BM_SplitLinesCrLf(benchmark::State& st) {
  std::string text = MakeText(kAsciiLine, "\r\n");
  for (auto _ : st) benchmark::DoNotOptimize(plat::SplitLines(text));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
}
BENCHMARK(BM_SplitLinesCrLf)->Unit(benchmark::kMillisecond);

void BM_SplitLinesLoneCr(benchmark::State& st) {
  std::string text = MakeText(kAsciiLine, "\r");
  for (auto _ : st) benchmark::DoNotOptimize(plat::SplitLines(text));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
}
BENCHMARK(BM_SplitLinesLoneCr)->Unit(benchmark::kMillisecond);

void BM_DecodeAscii(benchmark::State& st) {
  std::string text = MakeText(kAsciiLine, "\r\n");
  for (auto _ : st) benchmark::DoNotOptimize(plat::DecodeAnsi(text));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
}
BENCHMARK(BM_DecodeAscii)->Unit(benchmark::kMillisecond);

void BM_DecodeJapanese(benchmark::State& st) {
  std::string text = MakeText(kSjisLine, "\r\n");
  for (auto _ : st) benchmark::DoNotOptimize(plat::DecodeAnsi(text));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
}
BENCHMARK(BM_DecodeJapanese)->Unit(benchmark::kMillisecond);

void BM_EncodeJapanese(benchmark::State& st) {
  std::string text = plat::DecodeAnsi(MakeText(kSjisLine, "\r\n"));
  for (auto _ : st) benchmark::DoNotOptimize(plat::EncodeAnsi(text));
  st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * text.size()));
}
BENCHMARK(BM_EncodeJapanese)->Unit(benchmark::kMillisecond);

void BM_LeadingNumber(benchmark::State& st) {
  for (auto _ : st) {
    benchmark::DoNotOptimize(plat::LeadingNumber(" 120.5"));
    benchmark::DoNotOptimize(plat::LeadingNumber("&H1F"));
  }
}
BENCHMARK(BM_LeadingNumber);

}  // namespace
