// File stamps: what a read or a write leaves, the cheap check against the file on disk, and
// whether two paths name one file.
#include "platform/core/filestamp.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/core/textfile.h"
#include "temp_dir.h"

namespace {

using plat::FileCheck;
using plat::FileStamp;

// Sets the file's modification time to sec seconds (and nsec) since the epoch.
void SetMtime(const std::string& path, long sec, long nsec = 0) {
  const timespec times[2] = {{sec, nsec}, {sec, nsec}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

FileStamp ReadStamp(const std::string& path) {
  std::string bytes, error;
  FileStamp s;
  EXPECT_TRUE(plat::ReadFileBytes(path, bytes, error, &s)) << error;
  return s;
}

TEST(FileStamp, ReadAndWriteLeaveTheSameStamp) {
  testsupport::TempDir dir;
  const std::string p = dir.Path("chart.nxl");
  plat::AtomicFileWriter out;
  std::string error;
  ASSERT_TRUE(out.Open(p, error)) << error;
  out.Write("#TITLE ");
  out.Write("abc\r\n");
  ASSERT_TRUE(out.Commit(error)) << error;
  const FileStamp written = out.Stamp();
  EXPECT_TRUE(written.known);
  EXPECT_EQ(written.size, 12u);
  EXPECT_EQ(written.hash, plat::HashOfBytes("#TITLE abc\r\n"));  // the pieces hash as the whole
  const FileStamp read = ReadStamp(p);
  EXPECT_TRUE(read.known);
  EXPECT_TRUE(plat::SameStatus(read, written));  // inode and time survive the rename
  EXPECT_EQ(read.hash, written.hash);
  EXPECT_NE(plat::HashOfBytes("#TITLE abd\r\n"), written.hash);

  std::string bytes;
  FileStamp failed = written;
  EXPECT_FALSE(plat::ReadFileBytes(dir.Path("none"), bytes, error, &failed));
  EXPECT_FALSE(failed.known);
}

// However the bytes come in pieces (across the hash's 32-byte steps, one byte at a time), the
// value is that of the whole; one changed byte anywhere, or one more byte, changes it.
TEST(BytesHash, PiecesHashAsTheWholeAndEveryByteCounts) {
  std::string bytes;
  for (int i = 0; i < 200; ++i) bytes.push_back(static_cast<char>(i * 37 + 11));
  const uint64_t whole = plat::HashOfBytes(bytes);
  for (size_t a : {0u, 1u, 7u, 8u, 31u, 32u, 33u, 63u, 64u, 100u, 199u, 200u})
    for (size_t b : {a, a + 1, a + 5, a + 40, size_t{200}}) {
      if (b > bytes.size()) continue;
      plat::BytesHash h;
      h.Add(std::string_view(bytes).substr(0, a));
      h.Add(std::string_view(bytes).substr(a, b - a));
      h.Add(std::string_view(bytes).substr(b));
      EXPECT_EQ(h.Value(), whole) << a << " " << b;
    }
  plat::BytesHash single;
  for (char c : bytes) single.Add(std::string_view(&c, 1));
  EXPECT_EQ(single.Value(), whole);
  for (size_t i : {0u, 31u, 32u, 150u, 199u}) {
    std::string other = bytes;
    other[i] = static_cast<char>(other[i] ^ 1);
    EXPECT_NE(plat::HashOfBytes(other), whole) << i;
  }
  EXPECT_NE(plat::HashOfBytes(bytes + std::string(1, '\0')), whole);
  EXPECT_NE(plat::HashOfBytes(""), plat::HashOfBytes(std::string(1, '\0')));
}

TEST(FileStamp, CheckReadsTheBytesOnlyWhenTheStatusChanged) {
  testsupport::TempDir dir;
  const std::string p = dir.Write("chart.nxl", "#BPM 120\r\n");
  SetMtime(p, 1000000);
  FileStamp s = ReadStamp(p);

  // Unknown stamps (an untitled chart) have nothing to compare.
  FileStamp unknown;
  EXPECT_EQ(plat::CheckFileStamp(p, unknown), FileCheck::Same);

  // The same status is taken as the same file without reading it: a wrong hash goes unseen.
  FileStamp wrongHash = s;
  wrongHash.hash ^= 1;
  EXPECT_EQ(plat::CheckFileStamp(p, wrongHash), FileCheck::Same);

  // Touched, same bytes: the bytes are compared, and the stamp takes the new time.
  SetMtime(p, 2000000);
  EXPECT_EQ(plat::CheckFileStamp(p, s), FileCheck::Same);
  EXPECT_EQ(s.mtimeNs, 2000000LL * 1000000000);
  wrongHash = s;
  wrongHash.hash ^= 1;
  EXPECT_EQ(plat::CheckFileStamp(p, wrongHash), FileCheck::Same);  // cheap again

  // Replaced by another file holding the same bytes (an editor's rename): still the same.
  const std::string other = dir.Write("other.tmp", "#BPM 120\r\n");
  ASSERT_EQ(std::rename(other.c_str(), p.c_str()), 0);
  EXPECT_EQ(plat::CheckFileStamp(p, s), FileCheck::Same);

  // Other bytes of the same size, written in place at another time.
  const FileStamp before = s;
  ASSERT_TRUE(testsupport::WriteAll(p, "#BPM 150\r\n"));
  SetMtime(p, 3000000);
  EXPECT_EQ(plat::CheckFileStamp(p, s), FileCheck::Changed);
  EXPECT_EQ(s.hash, before.hash);  // a changed file leaves the stamp as it was
  EXPECT_EQ(plat::CheckFileStamp(p, s), FileCheck::Changed);

  // Grown, and gone.
  FileStamp grown = ReadStamp(p);
  ASSERT_TRUE(testsupport::WriteAll(p, "#BPM 150\r\n#TITLE x\r\n"));
  EXPECT_EQ(plat::CheckFileStamp(p, grown), FileCheck::Changed);
  ASSERT_EQ(::unlink(p.c_str()), 0);
  EXPECT_EQ(plat::CheckFileStamp(p, grown), FileCheck::Missing);
  ASSERT_EQ(::mkdir(p.c_str(), 0700), 0);  // a folder is no file to save over
  EXPECT_EQ(plat::CheckFileStamp(p, grown), FileCheck::Missing);
}

// A file modified just before its status was taken can be written again within the time its file
// system tells apart, as many bytes, leaving the status as it was: such a stamp is checked by its
// bytes until its time is well past.
TEST(FileStamp, AFreshlyModifiedFileIsCheckedByItsBytes) {
  testsupport::TempDir dir;
  const std::string p = dir.Write("chart.nxl", "#BPM 120\r\n");
  FileStamp s = ReadStamp(p);
  ASSERT_TRUE(s.known);

  // Other bytes of the same size, in place, within the same modification time.
  FileStamp same = s;
  ASSERT_TRUE(testsupport::WriteAll(p, "#BPM 150\r\n"));
  SetMtime(p, static_cast<long>(s.mtimeNs / 1000000000), static_cast<long>(s.mtimeNs % 1000000000));
  ASSERT_TRUE(plat::SameStatus(ReadStamp(p), s));
  EXPECT_EQ(plat::CheckFileStamp(p, s), FileCheck::Changed);
  EXPECT_EQ(plat::CheckFileStamp(p, s), FileCheck::Changed);

  // The same bytes read back: the stamp takes the time of this check.
  ASSERT_TRUE(testsupport::WriteAll(p, "#BPM 120\r\n"));
  SetMtime(p, static_cast<long>(same.mtimeNs / 1000000000), static_cast<long>(same.mtimeNs % 1000000000));
  EXPECT_EQ(plat::CheckFileStamp(p, same), FileCheck::Same);
  EXPECT_GE(same.takenNs, s.takenNs);

  // Modified long before the stamp: the status alone is trusted again.
  SetMtime(p, 1000000);
  FileStamp old = ReadStamp(p);
  old.hash ^= 1;
  EXPECT_EQ(plat::CheckFileStamp(p, old), FileCheck::Same);
}

TEST(FileStamp, SameFileFollowsLinksAndSteps) {
  testsupport::TempDir dir;
  const std::string a = dir.Write("sub/a.nxl", "x");
  const std::string b = dir.Write("sub/b.nxl", "x");
  ASSERT_EQ(::symlink(a.c_str(), dir.Path("link.nxl").c_str()), 0);
  ASSERT_EQ(::symlink(dir.Path("sub").c_str(), dir.Path("linked").c_str()), 0);
  ASSERT_EQ(::link(a.c_str(), dir.Path("hard.nxl").c_str()), 0);
  EXPECT_TRUE(plat::SameFile(a, a));
  EXPECT_TRUE(plat::SameFile(a, dir.Path("link.nxl")));
  EXPECT_TRUE(plat::SameFile(a, dir.Path("linked/a.nxl")));
  EXPECT_TRUE(plat::SameFile(a, dir.Path("sub/./../sub/a.nxl")));
  EXPECT_TRUE(plat::SameFile(a, dir.Path("hard.nxl")));
  EXPECT_FALSE(plat::SameFile(a, b));
  EXPECT_FALSE(plat::SameFile(a, dir.Path("sub/none.nxl")));
  EXPECT_TRUE(plat::SameFile(dir.Path("none.nxl"), dir.Path("none.nxl")));  // by text
  EXPECT_FALSE(plat::SameFile("", ""));
}

}  // namespace
