// Reading RIFF files chunk by chunk (in place of the multimedia file I/O of other systems).
//
// Chunk sizes are never trusted: a chunk's size is clamped to what the file (and the parent
// chunk) really holds, and a chunk of odd size is followed by one pad byte. Reads and seeks
// work on the whole file, like plain file calls.
#pragma once
#include <cstdint>

namespace plat::audio {

using MMRESULT = uint32_t;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MMIOERR_CANNOTSEEK = 264;
constexpr MMRESULT MMIOERR_CHUNKNOTFOUND = 265;
constexpr MMRESULT MMIOERR_CANNOTREAD = 259;

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}
constexpr uint32_t FOURCC_RIFF = MakeFourCC('R', 'I', 'F', 'F');
constexpr uint32_t FOURCC_LIST = MakeFourCC('L', 'I', 'S', 'T');

// Descend flags.
constexpr uint32_t MMIO_FINDCHUNK = 0x10;  // find the chunk with ckid
constexpr uint32_t MMIO_FINDRIFF = 0x20;   // find a "RIFF" chunk with fccType
constexpr uint32_t MMIO_FINDLIST = 0x40;   // find a "LIST" chunk with fccType
// Open flag accepted for compatibility (reads are always buffered).
constexpr uint32_t MMIO_ALLOCBUF = 0x10000;

struct RiffChunk {
  uint32_t ckid = 0;          // chunk identifier
  uint32_t cksize = 0;        // data size, clamped to what the file and the parent hold
  uint32_t fccType = 0;       // form type of a "RIFF" or "LIST" chunk
  uint32_t dwDataOffset = 0;  // file offset of the data (of the form type for RIFF/LIST)
  uint32_t dwFlags = 0;
};

class RiffFile;  // opaque; one open file

// Opens a file for reading; null when it cannot be opened (or is a folder).
RiffFile* RiffOpen(const char* path, uint32_t flags = 0);
// Closes and frees; MMSYSERR_INVALHANDLE for null.
MMRESULT RiffClose(RiffFile* file);

// Reads a chunk header at the current position (flags 0), or searches from the current
// position for a chunk (MMIO_FINDCHUNK: ckid taken from ck->ckid; MMIO_FINDRIFF /
// MMIO_FINDLIST: ck->fccType), staying within parent when given. On success the file is
// positioned at the chunk's data (after the form type for "RIFF"/"LIST") and ck is filled.
// MMIOERR_CHUNKNOTFOUND when the end of the file or the parent comes first, or fewer than
// 8 header bytes (12 for RIFF/LIST) remain.
MMRESULT RiffDescend(RiffFile* file, RiffChunk* ck, const RiffChunk* parent, uint32_t flags);
// Moves to the end of the chunk (and its pad byte).
MMRESULT RiffAscend(RiffFile* file, RiffChunk* ck, uint32_t flags = 0);
// Reads up to n bytes at the current position; the bytes read (fewer at the end of the
// file), or -1 on a read error or a negative n.
int32_t RiffRead(RiffFile* file, void* buffer, int32_t n);
// origin: SEEK_SET, SEEK_CUR or SEEK_END. The new position, or -1 (negative result).
// Seeking past the end is allowed (reads there return 0).
int32_t RiffSeek(RiffFile* file, int32_t offset, int origin);

// ---- Fault injection (tests) -------------------------------------------------------------
// The RiffRead call `skip` calls from now fails (returns -1), and the count - 1 after it.
void InjectRiffReadFailure(unsigned skip = 0, unsigned count = 1);
void ClearRiffFailures();

}  // namespace plat::audio
