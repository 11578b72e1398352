#include "riff.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <new>

#include "faults.h"

namespace plat::audio {

class RiffFile {
 public:
  std::FILE* fp = nullptr;
  int64_t size = 0;  // bytes in the file when it was opened
};

void InjectRiffReadFailure(unsigned skip, unsigned count) { detail::RiffFaults().Arm(0, -1, skip, count); }
void ClearRiffFailures() { detail::RiffFaults().Clear(); }

namespace {

int64_t Tell(RiffFile* f) { return static_cast<int64_t>(std::ftell(f->fp)); }

bool SeekTo(RiffFile* f, int64_t pos) {
  return pos >= 0 && pos <= 0x7FFFFFFF && std::fseek(f->fp, static_cast<long>(pos), SEEK_SET) == 0;
}

bool Read32(RiffFile* f, uint32_t* v) {
  uint8_t b[4];
  if (std::fread(b, 1, 4, f->fp) != 4) return false;
  *v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

// Reads the chunk header at the current position, clamping its size to the bytes that the
// file and the parent really hold from the chunk's data on.
bool ReadHeader(RiffFile* f, RiffChunk* ck, int64_t limit) {
  const int64_t start = Tell(f);
  if (start < 0 || start + 8 > limit) return false;
  uint32_t id, size;
  if (!Read32(f, &id) || !Read32(f, &size)) return false;
  const int64_t dataStart = start + 8;
  ck->ckid = id;
  ck->cksize = static_cast<uint32_t>(std::min<int64_t>(size, limit - dataStart));
  ck->dwDataOffset = static_cast<uint32_t>(dataStart);
  ck->dwFlags = 0;
  ck->fccType = 0;
  if (id == FOURCC_RIFF || id == FOURCC_LIST) {
    if (ck->cksize < 4 || !Read32(f, &ck->fccType)) return false;
  }
  return true;
}

// Position after a chunk: its data, plus the pad byte of an odd size.
int64_t ChunkEnd(const RiffChunk& ck) { return static_cast<int64_t>(ck.dwDataOffset) + ck.cksize + (ck.cksize & 1); }

}  // namespace

RiffFile* RiffOpen(const char* path, uint32_t) {
  if (!path) return nullptr;
  struct stat st;
  if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  std::FILE* fp = std::fopen(path, "rb");
  if (!fp) return nullptr;
  RiffFile* f = new (std::nothrow) RiffFile;
  if (!f) {
    std::fclose(fp);
    return nullptr;
  }
  f->fp = fp;
  // Offsets are 32-bit: a larger file is read as if it ended at 2 GiB.
  f->size = std::min<int64_t>(static_cast<int64_t>(st.st_size), 0x7FFFFFFF);
  return f;
}

MMRESULT RiffClose(RiffFile* file) {
  if (!file) return MMSYSERR_INVALHANDLE;
  std::fclose(file->fp);
  delete file;
  return MMSYSERR_NOERROR;
}

MMRESULT RiffDescend(RiffFile* file, RiffChunk* ck, const RiffChunk* parent, uint32_t flags) {
  if (!file) return MMSYSERR_INVALHANDLE;
  if (!ck) return MMSYSERR_INVALPARAM;
  int64_t limit = file->size;
  if (parent) limit = std::min<int64_t>(limit, static_cast<int64_t>(parent->dwDataOffset) + parent->cksize);
  const uint32_t wantId = ck->ckid;
  const uint32_t wantType = ck->fccType;
  uint32_t findId = 0;
  if (flags & MMIO_FINDCHUNK)
    findId = wantId;
  else if (flags & MMIO_FINDRIFF)
    findId = FOURCC_RIFF;
  else if (flags & MMIO_FINDLIST)
    findId = FOURCC_LIST;
  const bool byType = (flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) != 0;
  for (;;) {
    const int64_t start = Tell(file);
    RiffChunk found;
    if (!ReadHeader(file, &found, limit)) {
      SeekTo(file, start);
      return MMIOERR_CHUNKNOTFOUND;
    }
    if (!findId || (found.ckid == findId && (!byType || found.fccType == wantType))) {
      *ck = found;
      return MMSYSERR_NOERROR;
    }
    if (!SeekTo(file, ChunkEnd(found))) return MMIOERR_CHUNKNOTFOUND;
  }
}

MMRESULT RiffAscend(RiffFile* file, RiffChunk* ck, uint32_t) {
  if (!file) return MMSYSERR_INVALHANDLE;
  if (!ck) return MMSYSERR_INVALPARAM;
  return SeekTo(file, ChunkEnd(*ck)) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}

int32_t RiffRead(RiffFile* file, void* buffer, int32_t n) {
  if (!file || n < 0 || (!buffer && n > 0)) return -1;
  int64_t r = 0;
  if (detail::RiffFaults().Take(0, &r)) return -1;
  if (n == 0) return 0;
  const size_t got = std::fread(buffer, 1, static_cast<size_t>(n), file->fp);
  if (got < static_cast<size_t>(n) && std::ferror(file->fp)) {
    std::clearerr(file->fp);
    return -1;
  }
  std::clearerr(file->fp);
  return static_cast<int32_t>(got);
}

int32_t RiffSeek(RiffFile* file, int32_t offset, int origin) {
  if (!file) return -1;
  int64_t base;
  switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = Tell(file); break;
    case SEEK_END: base = file->size; break;
    default: return -1;
  }
  const int64_t pos = base + offset;
  if (!SeekTo(file, pos)) return -1;
  return static_cast<int32_t>(pos);
}

}  // namespace plat::audio
