#include "sound_files.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <utility>

namespace zqtest {

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

}  // namespace

WavSpec Spec(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t blockAlign,
             std::vector<uint8_t> fmtExtra) {
  WavSpec s;
  s.tag = tag;
  s.channels = channels;
  s.rate = rate;
  s.bits = bits;
  s.blockAlign = blockAlign;
  s.fmtExtra = std::move(fmtExtra);
  return s;
}

std::vector<uint8_t> MakeWav(const WavSpec& s, const std::vector<uint8_t>& data) {
  const uint16_t align = s.blockAlign ? s.blockAlign : static_cast<uint16_t>(s.channels * s.bits / 8);
  std::vector<uint8_t> fmt;
  Put16(fmt, s.tag);
  Put16(fmt, s.channels);
  Put32(fmt, s.rate);
  Put32(fmt, s.rate * align);
  Put16(fmt, align);
  Put16(fmt, s.bits);
  fmt.insert(fmt.end(), s.fmtExtra.begin(), s.fmtExtra.end());
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  Put32(out, static_cast<uint32_t>(fmt.size()));
  out.insert(out.end(), fmt.begin(), fmt.end());
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, s.dataSizeField >= 0 ? static_cast<uint32_t>(s.dataSizeField) : static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() & 1) out.push_back(0);
  const uint32_t riff = static_cast<uint32_t>(out.size() - 8);
  std::memcpy(&out[4], &riff, 4);
  return out;
}

std::vector<uint8_t> Bytes(const std::vector<int16_t>& s) {
  std::vector<uint8_t> b(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    b[2 * i] = static_cast<uint8_t>(s[i]);
    b[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(s[i]) >> 8);
  }
  return b;
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& b) {
  std::vector<int16_t> s(b.size() / 2);
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<int16_t>(static_cast<uint16_t>(b[2 * i] | b[2 * i + 1] << 8));
  return s;
}

std::vector<int16_t> Signal(size_t samples, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<int16_t> s(samples);
  for (auto& x : s) x = static_cast<int16_t>(static_cast<int>(rng() % 40001) - 20000);
  return s;
}

std::vector<uint8_t> MakeZq(const ZqSpec& s, unsigned seed) {
  const uint32_t block = s.bits * 4 + 1;
  std::mt19937 rng(seed);
  std::vector<uint8_t> data(static_cast<size_t>(s.blocks) * s.channels * block + s.extraBytes);
  for (size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<uint8_t>(rng());
    if (i % block == 0) data[i] = static_cast<uint8_t>((rng() % 5) << 4 | (2 + rng() % 10));
  }
  std::vector<uint8_t> out = {'Z', 'Q', 'S', '1'};
  Put32(out, s.cbDataField >= 0 ? static_cast<uint32_t>(s.cbDataField) : static_cast<uint32_t>(data.size()));
  Put32(out, s.samples >= 0 ? static_cast<uint32_t>(s.samples) : s.blocks * 32u);
  Put16(out, s.rate);
  out.push_back(static_cast<uint8_t>(s.bits));
  out.push_back(static_cast<uint8_t>(s.channels));
  out.resize(32, 0);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TempDir::TempDir() {
  static int counter = 0;
  path_ = fs::temp_directory_path() / ("zq_tone2_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  const fs::path p = path_ / name;
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return p.string();
}

}  // namespace zqtest
