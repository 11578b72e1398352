// zqenc: encodes an 8- or 16-bit PCM WAV file into a ZQ file.
//   zqenc [-b 4|6|8] input.wav output.zq
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "zqencode.h"

int main(int argc, char **argv) {
  unsigned bits = 4;
  int arg = 1;
  if (arg + 1 < argc && std::strcmp(argv[arg], "-b") == 0) {
    bits = static_cast<unsigned>(std::atoi(argv[arg + 1]));
    arg += 2;
  }
  if (argc - arg != 2 || (bits != 4 && bits != 6 && bits != 8)) {
    std::fprintf(stderr, "usage: zqenc [-b 4|6|8] input.wav output.zq\n");
    return 2;
  }
  std::ifstream in(argv[arg], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "zqenc: cannot open %s\n", argv[arg]);
    return 1;
  }
  const std::vector<uint8_t> wav((std::istreambuf_iterator<char>(in)), {});
  zqenc::Pcm pcm;
  std::string error;
  if (!zqenc::ReadWavPcm(wav, pcm, error)) {
    std::fprintf(stderr, "zqenc: %s: %s\n", argv[arg], error.c_str());
    return 1;
  }
  const std::vector<uint8_t> zq = zqenc::EncodeZq(pcm, bits);
  if (zq.empty()) {
    std::fprintf(stderr, "zqenc: %s: too long to encode\n", argv[arg]);
    return 1;
  }
  std::ofstream out(argv[arg + 1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(zq.data()), static_cast<std::streamsize>(zq.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "zqenc: cannot write %s\n", argv[arg + 1]);
    return 1;
  }
  return 0;
}
