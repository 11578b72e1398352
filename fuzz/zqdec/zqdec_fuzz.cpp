// A ZQ header and blocks as the playback library hands them over: the whole data decoded in one
// conversion must equal the same data decoded in pieces (sizes taken from the input), and no
// conversion may read or write outside the lengths it is given.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "zqdec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < ZQ_FILEHEADER_SIZE) return 0;
  ZQWAVEFORMATEX fmt;
  HZQDECODER whole = zqDecodeOpen(data, &fmt);
  if (whole == nullptr) return 0;
  HZQDECODER pieces = zqDecodeOpen(data, &fmt);

  // Exact-size copies so that the sanitizer sees any overrun.
  const std::vector<uint8_t> src(data + ZQ_FILEHEADER_SIZE, data + size);
  uint32_t room = 0;
  if (zqDecodeSize(whole, static_cast<uint32_t>(src.size()), &room) != 1) std::abort();
  std::vector<uint8_t> one(room);
  ZQSTREAMHEADER s{src.data(), static_cast<uint32_t>(src.size()), 0, one.data(), room, 0};
  if (zqDecodeConvert(whole, &s) != 1 || s.cbSrcLengthUsed > src.size() || s.cbDstLengthUsed > room) std::abort();
  one.resize(s.cbDstLengthUsed);

  // Piece sizes come from the reserved header bytes.
  std::vector<uint8_t> out;
  size_t next = 0;
  for (unsigned i = 0; next < src.size() && i < 4096; ++i) {
    const size_t take = std::min<size_t>(1 + data[16 + i % 16] % 97, src.size() - next);
    std::vector<uint8_t> in(src.begin() + next, src.begin() + next + take);
    std::vector<uint8_t> dst(128 + data[16 + (i + 7) % 16] % 200);
    ZQSTREAMHEADER p{in.data(), static_cast<uint32_t>(in.size()), 0, dst.data(), static_cast<uint32_t>(dst.size()), 0};
    if (zqDecodeConvert(pieces, &p) != 1 || p.cbSrcLengthUsed > in.size() || p.cbDstLengthUsed > dst.size())
      std::abort();
    out.insert(out.end(), dst.begin(), dst.begin() + p.cbDstLengthUsed);
    next += p.cbSrcLengthUsed;
    if (p.cbSrcLengthUsed == 0 && take == src.size() - next) break;  // what is left is less than a block (or pair)
  }
  if (out.size() > one.size() || !std::equal(out.begin(), out.end(), one.begin())) std::abort();
  zqDecodeClose(pieces);
  zqDecodeClose(whole);
  return 0;
}
