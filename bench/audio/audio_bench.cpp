// Cost of one second of output from the mixer, and of converting one second of each
// compressed source format to PCM.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/audio/acm.h"
#include "platform/audio/dsound.h"
#include "platform/audio/nullout.h"

using namespace plat::audio;

namespace {

WAVEFORMATEX Pcm(uint32_t rate, uint16_t ch, uint16_t bits) {
  const uint16_t align = static_cast<uint16_t>(ch * bits / 8);
  return WAVEFORMATEX{WAVE_FORMAT_PCM, ch, rate, rate * align, align, bits, 0};
}

// One second of 44100 Hz 16-bit stereo output with `voices` looping buffers, of which every
// second one needs rate conversion (22050 Hz mono 8-bit).
void BM_MixOneSecond(benchmark::State& state) {
  setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
  SoundDevice* dev = nullptr;
  if (CreateSoundDevice(nullptr, &dev) != DS_OK) {
    state.SkipWithError("no device");
    return;
  }
  DSBUFFERDESC pd;
  pd.dwFlags = DSBCAPS_PRIMARYBUFFER;
  SoundBuffer* primary = nullptr;
  dev->CreateSoundBuffer(&pd, &primary);
  WAVEFORMATEX out = Pcm(44100, 2, 16);
  primary->SetFormat(&out);
  std::vector<SoundBuffer*> buffers;
  for (int i = 0; i < state.range(0); ++i) {
    WAVEFORMATEX f = i % 2 ? Pcm(22050, 1, 8) : out;
    DSBUFFERDESC d;
    d.dwBufferBytes = f.nAvgBytesPerSec * 2;
    d.lpwfxFormat = &f;
    SoundBuffer* b = nullptr;
    dev->CreateSoundBuffer(&d, &b);
    void* p;
    uint32_t n;
    b->Lock(0, 0, &p, &n, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    for (uint32_t k = 0; k < n; ++k) static_cast<uint8_t*>(p)[k] = static_cast<uint8_t>(k * 7);
    b->Unlock(p, n, nullptr, 0);
    b->Play(0, 0, DSBPLAY_LOOPING);
    buffers.push_back(b);
  }
  for (auto _ : state) {
    nullout::Advance(44100);
    benchmark::DoNotOptimize(nullout::TakeRecording());
  }
  for (SoundBuffer* b : buffers) b->Release();
  primary->Release();
  dev->Release();
}
BENCHMARK(BM_MixOneSecond)->Arg(1)->Arg(2)->Arg(8)->Unit(benchmark::kMicrosecond);

std::vector<uint8_t> Le16s(std::initializer_list<int> v) {
  std::vector<uint8_t> out;
  for (int x : v) {
    out.push_back(static_cast<uint8_t>(x & 0xFF));
    out.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
  }
  return out;
}

// One second of 44100 Hz stereo source converted in one call.
void ConvertOneSecond(benchmark::State& state, uint16_t tag, uint16_t align, uint16_t bits, std::vector<uint8_t> extra,
                      uint32_t srcBytesPerSec) {
  std::vector<uint8_t> fmt(18 + extra.size());
  WAVEFORMATEX f{tag, 2, 44100, srcBytesPerSec, align, bits, static_cast<uint16_t>(extra.size())};
  std::memcpy(fmt.data(), &f, 18);
  if (!extra.empty()) std::memcpy(fmt.data() + 18, extra.data(), extra.size());
  const auto* src = reinterpret_cast<const WAVEFORMATEX*>(fmt.data());
  WAVEFORMATEX dst{};
  dst.wFormatTag = WAVE_FORMAT_PCM;
  AcmStream* s = nullptr;
  if (AcmFormatSuggest(nullptr, src, static_cast<uint32_t>(fmt.size()), &dst, 18, 0) ||
      AcmStreamOpen(&s, nullptr, src, static_cast<uint32_t>(fmt.size()), &dst, nullptr, 0, 0, 0)) {
    state.SkipWithError("format refused");
    return;
  }
  std::vector<uint8_t> in(srcBytesPerSec - srcBytesPerSec % align);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>(i * 13 + (i >> 8));
  if (tag == WAVE_FORMAT_ADPCM)  // predictor numbers 0..6
    for (size_t b = 0; b < in.size(); b += align) in[b] = in[b + 1] = 1;
  uint32_t outBytes = 0;
  AcmStreamSize(s, static_cast<uint32_t>(in.size()), &outBytes, ACM_STREAMSIZEF_SOURCE);
  std::vector<uint8_t> out(outBytes);
  for (auto _ : state) {
    AcmStreamHeader h;
    h.pbSrc = in.data();
    h.cbSrcLength = static_cast<uint32_t>(in.size());
    h.pbDst = out.data();
    h.cbDstLength = outBytes;
    AcmStreamPrepareHeader(s, &h);
    AcmStreamConvert(s, &h, 0);
    AcmStreamUnprepareHeader(s, &h);
    benchmark::DoNotOptimize(out.data());
  }
  AcmStreamClose(s);
}

void BM_ConvertImaAdpcm(benchmark::State& state) {
  ConvertOneSecond(state, WAVE_FORMAT_IMA_ADPCM, 2048, 4, Le16s({2041}), 44100);
}
void BM_ConvertMsAdpcm(benchmark::State& state) {
  ConvertOneSecond(state, WAVE_FORMAT_ADPCM, 2048, 4,
                   Le16s({2036, 7, 256, 0, 512, -256, 0, 0, 192, 64, 240, 0, 460, -208, 392, -232}), 44100);
}
void BM_ConvertMuLaw(benchmark::State& state) { ConvertOneSecond(state, WAVE_FORMAT_MULAW, 2, 8, {}, 88200); }
void BM_ConvertFloat(benchmark::State& state) { ConvertOneSecond(state, WAVE_FORMAT_IEEE_FLOAT, 8, 32, {}, 352800); }
BENCHMARK(BM_ConvertImaAdpcm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertMsAdpcm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertMuLaw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertFloat)->Unit(benchmark::kMicrosecond);

}  // namespace
