// ZQ encoder: turns 16-bit PCM into ZQ blocks. For each block it tries every filter and shift,
// quantises against the decoder's own arithmetic and keeps the one with the smallest error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zqenc {

struct Pcm {
  unsigned rate = 0;          // samples per second, 1 to 65535
  unsigned channels = 0;      // 1 or 2
  std::vector<int16_t> data;  // interleaved frames
};

// Encodes the PCM as a whole ZQ file (32-byte header + blocks) with 4, 6 or 8 bits per sample.
// The last block is padded with silence. Returns an empty vector for an unusable format.
std::vector<uint8_t> EncodeZq(const Pcm &pcm, unsigned bitsPerSample);

// Reads a RIFF/WAVE file of 8- or 16-bit PCM, mono or stereo. On failure returns false and
// says why in error.
bool ReadWavPcm(const std::vector<uint8_t> &file, Pcm &out, std::string &error);

}  // namespace zqenc
