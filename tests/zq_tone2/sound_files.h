// Sound files for the playback library's tests, written into a temporary folder: WAV files of
// any format fields, ZQ files of random blocks, and a noise-like signal whose stretches all differ.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zqtest {

namespace fs = std::filesystem;

struct WavSpec {
  uint16_t tag = 1;
  uint16_t channels = 2;
  uint32_t rate = 44100;
  uint16_t bits = 16;
  uint16_t blockAlign = 0;        // 0: channels x bits / 8
  std::vector<uint8_t> fmtExtra;  // bytes after the 16-byte record (cbSize first)
  int64_t dataSizeField = -1;     // -1: the real size
};

// A WAV description with the given fields (block align from channels and bits unless given).
WavSpec Spec(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t blockAlign = 0,
             std::vector<uint8_t> fmtExtra = {});
std::vector<uint8_t> MakeWav(const WavSpec& spec, const std::vector<uint8_t>& data);
std::vector<uint8_t> Bytes(const std::vector<int16_t>& s);
std::vector<int16_t> Samples(const std::vector<uint8_t>& b);

// A noise-like 16-bit signal in which every stretch is different (repeats are detectable).
std::vector<int16_t> Signal(size_t samples, unsigned seed);

// A ZQ file of random blocks (filters 0 to 4): header fields as given.
struct ZqSpec {
  unsigned bits = 4, channels = 2, rate = 44100;
  uint32_t blocks = 0;       // per channel
  int64_t samples = -1;      // header sample count; -1: blocks x 32
  int64_t cbDataField = -1;  // -1: the real data size
  uint32_t extraBytes = 0;   // bytes of a partial block after the whole ones
};
std::vector<uint8_t> MakeZq(const ZqSpec& spec, unsigned seed);
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

}  // namespace zqtest
