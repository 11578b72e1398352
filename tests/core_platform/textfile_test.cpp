// Line splitting, reading text files and the atomic replace.
#include "platform/core/textfile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/core/ansitext.h"
#include "temp_dir.h"

namespace {

using Lines = std::vector<std::string>;

TEST(TextFile, SplitLinesTable) {
  const struct {
    const char* name;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"lone LF", "a\nb\n", {"a", "b"}},
      {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"no final terminator", "a\r\nb", {"a", "b"}},
      {"empty", "", {}},
      {"only a terminator", "\r\n", {""}},
      {"empty lines kept", "a\r\n\r\n\nb", {"a", "", "", "b"}},
      {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"trailing lone CR after text", "x\r", {"x"}},
      {"NUL inside a line", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
      {"CP932 bytes", "\x82\xA0\r\n\x95\x5C", {"\x82\xA0", "\x95\x5C"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(plat::SplitLines(c.bytes), c.lines);
  }
}

TEST(TextFile, ReadTextLinesDecodes) {
  testsupport::TempDir dir;
  std::string p = dir.Write("a.txt", "#TITLE \x83\x65\x83\x58\x83\x67\r\n#PATH C:\\x\n\x81");
  Lines lines;
  std::string error;
  ASSERT_TRUE(plat::ReadTextLines(p, lines, error)) << error;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "#TITLE テスト");
  EXPECT_EQ(lines[1], "#PATH C:\\x");
  EXPECT_EQ(plat::EncodeAnsi(lines[2]), "\x81");  // a cut-off character survives
}

TEST(TextFile, ReadErrors) {
  testsupport::TempDir dir;
  std::string bytes = "stale", error;
  EXPECT_FALSE(plat::ReadFileBytes(dir.Path("missing.txt"), bytes, error));
  EXPECT_TRUE(bytes.empty());
  EXPECT_NE(error.find("missing.txt"), std::string::npos);
  error.clear();
  EXPECT_FALSE(plat::ReadFileBytes(dir.path(), bytes, error));  // a folder
  EXPECT_FALSE(error.empty());
  Lines lines{"stale"};
  EXPECT_FALSE(plat::ReadTextLines(dir.Path("missing.txt"), lines, error));
  EXPECT_TRUE(lines.empty());
}

TEST(TextFile, ReadsLargeFileWhole) {
  testsupport::TempDir dir;
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "#00111:0101010101010101\r\n";
  std::string p = dir.Write("big.txt", big), bytes, error;
  ASSERT_TRUE(plat::ReadFileBytes(p, bytes, error));
  EXPECT_TRUE(bytes == big);
  EXPECT_EQ(plat::SplitLines(bytes).size(), 20000u);
}

TEST(TextFile, WriteAtomicCreatesAndReplaces) {
  testsupport::TempDir dir;
  std::string p = dir.Path("out.txt"), error;
  ASSERT_TRUE(plat::WriteFileAtomic(p, "one\r\n", error)) << error;
  EXPECT_EQ(dir.Read("out.txt"), "one\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(p.c_str(), &st), 0);
  mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);  // as an ordinary new file

  ASSERT_EQ(::chmod(p.c_str(), 0640), 0);
  ASSERT_TRUE(plat::WriteFileAtomic(p, "two", error)) << error;
  EXPECT_EQ(dir.Read("out.txt"), "two");
  ASSERT_EQ(::stat(p.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // permissions kept
  ASSERT_TRUE(plat::WriteFileAtomic(p, "", error));
  EXPECT_EQ(dir.Read("out.txt"), "");
}

TEST(TextFile, WriteAtomicFollowsSymlink) {
  testsupport::TempDir dir;
  std::string real = dir.Write("real.txt", "old"), error;
  ASSERT_EQ(::symlink(real.c_str(), dir.Path("link.txt").c_str()), 0);
  ASSERT_TRUE(plat::WriteFileAtomic(dir.Path("link.txt"), "new", error)) << error;
  EXPECT_EQ(dir.Read("real.txt"), "new");
  struct stat st {};
  ASSERT_EQ(::lstat(dir.Path("link.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(TextFile, FailedWriteLeavesOldFileAndNoLeftovers) {
  testsupport::TempDir dir;
  std::string error;
  // Target is a folder.
  dir.Write("sub/x", "");
  EXPECT_FALSE(plat::WriteFileAtomic(dir.Path("sub"), "data", error));
  EXPECT_FALSE(error.empty());
  // Missing folder.
  EXPECT_FALSE(plat::WriteFileAtomic(dir.Path("nowhere/a.txt"), "data", error));
  EXPECT_FALSE(plat::WriteFileAtomic("", "data", error));
  if (::geteuid() != 0) {  // root may write anywhere
    // Read-only file: refused, content kept.
    std::string ro = dir.Write("ro.txt", "keep");
    ASSERT_EQ(::chmod(ro.c_str(), 0444), 0);
    EXPECT_FALSE(plat::WriteFileAtomic(ro, "lost", error));
    EXPECT_EQ(dir.Read("ro.txt"), "keep");
    // Read-only folder: no temporary file can be made, the old file stays.
    std::string inRo = dir.Write("rodir/f.txt", "old");
    ASSERT_EQ(::chmod(dir.Path("rodir").c_str(), 0555), 0);
    EXPECT_FALSE(plat::WriteFileAtomic(inRo, "new", error));
    EXPECT_EQ(dir.Read("rodir/f.txt"), "old");
  }
  // Nothing but what the test made is left in the folder.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(e.path().filename().string().rfind(".", 0), std::string::npos) << e.path();
    ++entries;
  }
  EXPECT_GE(entries, 1);
}

// A write that fails half-way (here: the file-size limit) leaves the old file as it was.
TEST(TextFile, WriteFailingMidwayKeepsOldFile) {
  testsupport::TempDir dir;
  std::string p = dir.Write("chart.nxl", "old content"), error;
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto prevHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool ok = plat::WriteFileAtomic(p, std::string(100000, 'x'), error);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, prevHandler);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(dir.Read("chart.nxl"), "old content");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);  // the temporary file is gone
}

// The piecewise replace: many pieces make the file; a writer given up before Commit, or one
// whose pieces stop fitting, leaves the old file and no temporary file.
TEST(TextFile, AtomicWriterInPieces) {
  testsupport::TempDir dir;
  std::string p = dir.Write("chart.nxl", "old content"), error;
  const std::string piece(1 << 20, 'p');
  {
    plat::AtomicFileWriter out;
    ASSERT_TRUE(out.Open(p, error)) << error;
    EXPECT_TRUE(out.Write(piece));
  }  // dropped without Commit
  EXPECT_EQ(dir.Read("chart.nxl"), "old content");

  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto prevHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 3 << 20;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  plat::AtomicFileWriter failing;
  bool opened = failing.Open(p, error);
  bool wrote = true;
  for (int i = 0; i < 6; ++i) wrote = failing.Write(piece) && wrote;
  bool committed = failing.Commit(error);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, prevHandler);
  EXPECT_TRUE(opened);
  EXPECT_FALSE(wrote);
  EXPECT_FALSE(committed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(dir.Read("chart.nxl"), "old content");

  plat::AtomicFileWriter out;
  ASSERT_TRUE(out.Open(p, error)) << error;
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(out.Write(piece));  // past the early write-out step
  ASSERT_TRUE(out.Write("end"));
  ASSERT_TRUE(out.Commit(error)) << error;
  const std::string bytes = dir.Read("chart.nxl");
  EXPECT_EQ(bytes.size(), 6 * piece.size() + 3);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "pend");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(TextFile, PathQueries) {
  testsupport::TempDir dir;
  std::string f = dir.Write("f.txt", "x");
  EXPECT_TRUE(plat::PathExists(f));
  EXPECT_TRUE(plat::IsRegularFile(f));
  EXPECT_TRUE(plat::PathExists(dir.path()));
  EXPECT_FALSE(plat::IsRegularFile(dir.path()));
  EXPECT_FALSE(plat::PathExists(dir.Path("none")));
  EXPECT_FALSE(plat::PathExists(""));
}

}  // namespace
