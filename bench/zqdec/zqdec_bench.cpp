// Decoding the same number of samples from memory: zqDecodeConvert against libsndfile's IMA ADPCM
// and MS ADPCM WAV decoders. Each reports ns_per_sample (the console prints it with the unit
// "s": the counter is the time per 1e-9 samples). At the end a summary gives, for mono and
// stereo, each decoder's ns per sample and the ZQ time as a multiple of the faster peer's
// (aim: at most 1).
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "zqdec.h"

namespace {

constexpr size_t kFrames = 1 << 20;  // per channel

// A memory file for libsndfile's virtual I/O.
struct MemFile {
  std::vector<uint8_t> bytes;
  sf_count_t pos = 0;
};

sf_count_t VLength(void *u) { return static_cast<sf_count_t>(static_cast<MemFile *>(u)->bytes.size()); }
sf_count_t VSeek(sf_count_t off, int whence, void *u) {
  auto *m = static_cast<MemFile *>(u);
  const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : VLength(u);
  m->pos = base + off;
  return m->pos;
}
sf_count_t VRead(void *ptr, sf_count_t count, void *u) {
  auto *m = static_cast<MemFile *>(u);
  const sf_count_t left = std::max<sf_count_t>(0, VLength(u) - m->pos);
  const sf_count_t n = std::min(count, left);
  std::memcpy(ptr, m->bytes.data() + m->pos, static_cast<size_t>(n));
  m->pos += n;
  return n;
}
sf_count_t VWrite(const void *ptr, sf_count_t count, void *u) {
  auto *m = static_cast<MemFile *>(u);
  if (m->bytes.size() < static_cast<size_t>(m->pos + count)) m->bytes.resize(static_cast<size_t>(m->pos + count));
  std::memcpy(m->bytes.data() + m->pos, ptr, static_cast<size_t>(count));
  m->pos += count;
  return count;
}
sf_count_t VTell(void *u) { return static_cast<MemFile *>(u)->pos; }
SF_VIRTUAL_IO g_vio = {VLength, VSeek, VRead, VWrite, VTell};

std::vector<int16_t> Signal(int channels) {
  std::mt19937 rng(7);
  std::normal_distribution<double> noise(0, 800);
  std::vector<int16_t> pcm(kFrames * channels);
  for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<int16_t>(9000 * std::sin(i * 0.031) + noise(rng));
  return pcm;
}

MemFile EncodeWav(int subformat, int channels) {
  const std::vector<int16_t> pcm = Signal(channels);
  MemFile m;
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | subformat;
  SNDFILE *f = sf_open_virtual(&g_vio, SFM_WRITE, &info, &m);
  if (f == nullptr) return m;
  sf_writef_short(f, pcm.data(), kFrames);
  sf_close(f);
  m.pos = 0;
  return m;
}

void SetCounters(benchmark::State &state, int channels) {
  const double samples = static_cast<double>(kFrames) * channels;
  state.counters["ns_per_sample"] =
      benchmark::Counter(samples * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples));
}

void BM_ZqDecode(benchmark::State &state) {
  const int channels = static_cast<int>(state.range(0));
  const unsigned bits = static_cast<unsigned>(state.range(1));
  const unsigned block = bits == 4 ? 17 : bits == 6 ? 25 : 33;
  uint8_t header[32] = {'Z', 'Q', 'S', '1'};
  header[12] = 0x44;
  header[13] = 0xAC;
  header[14] = static_cast<uint8_t>(bits);
  header[15] = static_cast<uint8_t>(channels);
  std::vector<uint8_t> src(kFrames / 32 * channels * block);
  std::mt19937 rng(1);
  for (auto &b : src) b = static_cast<uint8_t>(rng());
  std::vector<uint8_t> dst(kFrames * channels * 2);
  for (auto _ : state) {
    ZQWAVEFORMATEX fmt;
    HZQDECODER d = zqDecodeOpen(header, &fmt);
    ZQSTREAMHEADER s{src.data(), static_cast<uint32_t>(src.size()), 0,
                     dst.data(), static_cast<uint32_t>(dst.size()), 0};
    zqDecodeConvert(d, &s);
    zqDecodeClose(d);
    benchmark::DoNotOptimize(dst.data());
    if (s.cbDstLengthUsed != dst.size()) state.SkipWithError("short decode");
  }
  SetCounters(state, channels);
}

void BM_SndfileDecode(benchmark::State &state, int subformat) {
  const int channels = static_cast<int>(state.range(0));
  MemFile m = EncodeWav(subformat, channels);
  std::vector<int16_t> dst(kFrames * channels);
  for (auto _ : state) {
    m.pos = 0;
    SF_INFO info{};
    SNDFILE *f = sf_open_virtual(&g_vio, SFM_READ, &info, &m);
    if (f == nullptr) {
      state.SkipWithError("libsndfile cannot open its own file");
      break;
    }
    const sf_count_t n = sf_readf_short(f, dst.data(), kFrames);
    sf_close(f);
    benchmark::DoNotOptimize(dst.data());
    if (n != static_cast<sf_count_t>(kFrames)) state.SkipWithError("short decode");
  }
  SetCounters(state, channels);
}

void BM_ImaAdpcmDecode(benchmark::State &state) { BM_SndfileDecode(state, SF_FORMAT_IMA_ADPCM); }
void BM_MsAdpcmDecode(benchmark::State &state) { BM_SndfileDecode(state, SF_FORMAT_MS_ADPCM); }

// Console output plus the summary: ns per sample of every run, and ZQ against the faster peer.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      const auto c = run.counters.find("ns_per_sample");
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && c != run.counters.end())
        ns_[run.benchmark_name()] = c->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char *ch : {"1", "2"}) {
      const double ima = Ns(std::string("BM_ImaAdpcmDecode/") + ch);
      const double ms = Ns(std::string("BM_MsAdpcmDecode/") + ch);
      const double peer = ima > 0 && ms > 0 ? std::min(ima, ms) : std::max(ima, ms);
      std::printf("%s: IMA ADPCM %.2f ns/sample, MS ADPCM %.2f ns/sample\n", ch[0] == '1' ? "mono" : "stereo", ima, ms);
      for (const char *bits : {"4", "6", "8"}) {
        const double zq = Ns(std::string("BM_ZqDecode/") + ch + "/" + bits);
        if (zq > 0 && peer > 0)
          std::printf("  ZQ %s-bit %.2f ns/sample: %.2f x the faster peer (aim: <= 1)\n", bits, zq, zq / peer);
      }
    }
  }

 private:
  double Ns(const std::string &name) const {
    const auto it = ns_.find(name);
    return it == ns_.end() ? 0 : it->second;
  }

  std::map<std::string, double> ns_;
};

}  // namespace

BENCHMARK(BM_ZqDecode)->ArgsProduct({{1, 2}, {4, 6, 8}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImaAdpcmDecode)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MsAdpcmDecode)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
