// Writing to disk: the frame's ChartWrite, failed writes, the measure-digit refusal, the bytes
// on disk and where the scratch files go.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "platform/core/ansitext.h"
#include "temp_dir.h"
#include "writer_fixture.h"

namespace fs = std::filesystem;

namespace {

using testsupport::ReadAll;
using testsupport::WriteAll;

// Records what the writer asks of the chart window and the frame. Its ObjDeSel drops one
// selected object into the grid, as the editing subsystem's does.
class FakeHost : public mk::ChartWriteHost {
 public:
  void ObjDeSel(int16_t window) override {
    deselCalls.push_back(window);
    mk::DocData& d = mk::g_Docs[window];
    for (int i = 1; i <= d.SelCount; ++i) {
      const mk::SelEntry& e = d.Sel[i];
      wtest::Put(d, e.Lane, e.Mes, e.Tick, e.Value, e.Back != 0);
    }
    d.SelCount = 0;
    d.Sel.resize(1);
  }
  void AddRecentFile(const std::string& path, int16_t script) override { recent.emplace_back(path, script); }
  std::vector<int16_t> deselCalls;
  std::vector<std::pair<std::string, int16_t>> recent;
};

class ChartWriteFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("writer_test_" + std::to_string(getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    mk::ResetWindowTable();
    mk::SizeWindowTable(4);
    mk::DocData d = wtest::MakeDoc({{"11", "51", 1}}, 3);
    d.Keys.Title = "TITLE";
    d.Keys.Wav = "WAV";
    d.PKeys = d.Keys;
    d.Title = "テスト";
    d.Wav[1] = {"音.wav", "ドラム"};
    d.Folder = "/old/";
    d.FileName = "old.bms";
    d.Dirty = -1;
    d.Sel.resize(1);
    wtest::Put(d, 1, 0, 0, 1);
    mk::g_Docs[2] = d;
    previous_ = mk::SetChartWriteHost(&host_);
  }
  void TearDown() override {
    mk::SetChartWriteHost(previous_);
    fs::permissions(dir_, fs::perms::owner_all);
    fs::remove_all(dir_);
  }
  // The old file, the document's name and its modified mark are as before.
  void ExpectUntouched(const fs::path& file, const std::string& old) {
    EXPECT_EQ(ReadAll(file), old);
    EXPECT_EQ(mk::g_Docs[2].Folder, "/old/");
    EXPECT_EQ(mk::g_Docs[2].FileName, "old.bms");
    EXPECT_EQ(mk::g_Docs[2].Dirty, -1);
    EXPECT_TRUE(host_.recent.empty());
    std::vector<fs::path> left;
    for (const auto& e : fs::directory_iterator(dir_)) left.push_back(e.path());
    EXPECT_EQ(left, std::vector<fs::path>{file});  // no temporary file left behind
  }

  fs::path dir_;
  FakeHost host_;
  mk::ChartWriteHost* previous_ = nullptr;
};

TEST_F(ChartWriteFile, SaveWritesCp932AndTakesTheName) {
  mk::g_Docs[2].Sel.push_back({1, 2, 96, 7, 0});  // still selected: dropped in before writing
  mk::g_Docs[2].SelCount = 1;
  const fs::path file = dir_ / "新曲.bms";
  WriteAll(file, "old contents");
  std::string error;
  ASSERT_TRUE(mk::ChartWrite(file.string(), "新曲.bms", 2, 5, 0, &error)) << error;

  const std::string bytes = ReadAll(file);
  const std::string expected =
      ";Created by Tovel Ver.0.24\r\n\r\n;Header\r\n#TITLE \x83\x65\x83\x58\x83\x67\r\n\r\n"
      "#WAV01 \x89\xb9.wav\r\n;WAV01 \x83\x68\x83\x89\x83\x80\r\n\r\n\r\n"
      ";Part 1\r\n#00011:01\r\n#00211:0007\r\n\r\n\r\n";
  EXPECT_EQ(bytes, expected);
  const mk::DocData& d = mk::g_Docs[2];
  EXPECT_EQ(d.Folder, dir_.string() + "/");
  EXPECT_EQ(d.FileName, "新曲.bms");
  EXPECT_EQ(d.FilePath, file.string());
  EXPECT_EQ(d.Dirty, -1);  // the caller clears it
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(host_.deselCalls, std::vector<int16_t>{2});
  ASSERT_EQ(host_.recent.size(), 1u);
  EXPECT_EQ(host_.recent[0], std::make_pair(file.string(), int16_t{5}));
}

TEST_F(ChartWriteFile, ScratchKeepsTheNameAndTheRecentList) {
  mk::g_Docs[2].Folder = "/songs/x";
  const fs::path file = dir_ / "temp.tmp";
  ASSERT_TRUE(mk::ChartWrite(file.string(), "temp.tmp", 2, 1, -1));
  EXPECT_EQ(mk::g_Docs[2].Folder, "/songs/x/");
  EXPECT_EQ(mk::g_Docs[2].FileName, "old.bms");
  EXPECT_TRUE(host_.recent.empty());
  EXPECT_NE(ReadAll(file).find("#WAV01 /songs/x/\x89\xb9.wav\r\n"), std::string::npos);
}

TEST_F(ChartWriteFile, MeasureWiderThanTheFieldIsRefused) {
  const fs::path file = dir_ / "chart.bms";
  WriteAll(file, "old");
  mk::DocData& d = mk::g_Docs[2];
  mk::ResizeMeasures(d, 1000);
  d.MesCount = 1000;
  // Empty measures above 999 are fine: nothing is written for them.
  EXPECT_TRUE(mk::ChartWrite(file.string(), "chart.bms", 2, 1, 0));
  d.Folder = "/old/";
  d.FileName = "old.bms";
  host_.recent.clear();
  WriteAll(file, "old");

  wtest::Put(d, 1, 1000, 0, 3, /*back=*/true);
  std::string error;
  EXPECT_FALSE(mk::ChartWrite(file.string(), "chart.bms", 2, 1, 0, &error));
  EXPECT_NE(error.find("1000"), std::string::npos) << error;
  ExpectUntouched(file, "old");

  // The same for a length factor, in a scratch write too, and with a new file not created.
  d.Obj[1].Mes.Write(1000) = {};
  d.Obj[0].Mes.Write(1000).Length = 0.5;
  EXPECT_TRUE(mk::CheckMeasureDigits(d, error));  // not written without the length channel
  d.Keys.Mesc = "02";
  EXPECT_FALSE(mk::ChartWrite((dir_ / "temp.tmp").string(), "temp.tmp", 2, 1, -1, &error));
  EXPECT_FALSE(fs::exists(dir_ / "temp.tmp"));
  d.Fmt.Ml = 4;
  EXPECT_TRUE(mk::ChartWrite(file.string(), "chart.bms", 2, 1, 0, &error)) << error;
  EXPECT_NE(ReadAll(file).find("#1000"), std::string::npos);
}

TEST_F(ChartWriteFile, ReadOnlyFolderLeavesEverything) {
  const fs::path file = dir_ / "chart.bms";
  WriteAll(file, "old contents");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  // The super-user writes anywhere: take an ordinary user's rights for the write.
  const uid_t euid = geteuid();
  if (euid == 0) {
    ASSERT_EQ(seteuid(65534), 0);
  }
  std::string error;
  const bool ok = mk::ChartWrite(file.string(), "chart.bms", 2, 1, 0, &error);
  if (euid == 0) {
    ASSERT_EQ(seteuid(0), 0);
  }
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  ExpectUntouched(file, "old contents");
}

TEST_F(ChartWriteFile, FullDiskLeavesEverything) {
  const fs::path file = dir_ / "chart.bms";
  const std::string old(200, 'o');
  WriteAll(file, old);
  mk::g_Docs[2].FreeText = std::string(8000, 'x') + "\r\n";  // more than the space left
  // A file-size limit makes writes fail part way, as a full disk does.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool ok = mk::ChartWrite(file.string(), "chart.bms", 2, 1, 0, &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  ExpectUntouched(file, old);
}

// A chart of several megabytes goes to disk in pieces: the bytes are those of the whole text
// encoded at once, and a failure after the first pieces still leaves the old file alone.
mk::DocData LargeChart() {
  std::vector<wtest::LaneSpec> lanes;
  for (int l = 1; l <= 20; ++l) lanes.push_back({"1" + std::string(1, static_cast<char>('A' + l)), "__", 1});
  mk::DocData d = wtest::MakeDoc(lanes, 399, 3, 1);
  d.Keys.Wav = "WAV";
  d.Wav[1] = {"音.wav", "最初の音"};
  d.FreeText = "#自由な行\r\n";
  d.Fmt.Foot = ";終わり";
  for (int l = 1; l <= 20; ++l)
    for (int m = 0; m <= 399; ++m)
      for (int t = 0; t < 192; ++t) d.Obj[l].Mes.Write(m).Obj[t] = static_cast<int16_t>(1 + (l + m + t) % 1295);
  mk::RecalcLaneResolution(d, 0, d.LaneCount, 0, d.MesCount);
  return d;
}

TEST_F(ChartWriteFile, LargeChartInPiecesMatchesTheWholeText) {
  const mk::DocData d = LargeChart();
  const fs::path file = dir_ / "large.bms";
  std::string error;
  ASSERT_TRUE(mk::WriteChartFile(file.string(), d, 0, error)) << error;
  const std::string expected = plat::EncodeAnsi(mk::ChartText(d, 0));
  ASSERT_GT(expected.size(), 2u << 20);  // several pieces
  EXPECT_TRUE(ReadAll(file) == expected);
}

TEST_F(ChartWriteFile, LargeChartFailingAfterSomePiecesLeavesOldFile) {
  const mk::DocData d = LargeChart();
  const fs::path file = dir_ / "large.bms";
  WriteAll(file, "old contents");
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit limit = saved;
  limit.rlim_cur = 2u << 20;  // the first pieces fit, the rest does not
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  std::string error;
  const bool ok = mk::WriteChartFile(file.string(), d, 0, error);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadAll(file), "old contents");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 1);  // no temporary file left behind
}

TEST_F(ChartWriteFile, BadWindowIsAFailure) {
  std::string error;
  EXPECT_FALSE(mk::ChartWrite((dir_ / "a.bms").string(), "a.bms", 0, 1, 0, &error));
  EXPECT_FALSE(mk::ChartWrite((dir_ / "a.bms").string(), "a.bms", 9, 1, 0, &error));
  EXPECT_FALSE(fs::exists(dir_ / "a.bms"));
}

class ScratchPath : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = fs::temp_directory_path() / ("writer_scratch_" + std::to_string(getpid()));
    fs::remove_all(base_);
    fs::create_directories(base_ / "install");
    fs::create_directories(base_ / "runtime");
    savedInstall_ = mk::g_InstallDir;
    const char* rt = std::getenv("XDG_RUNTIME_DIR");
    hadRuntime_ = rt != nullptr;
    if (rt) savedRuntime_ = rt;
    setenv("XDG_RUNTIME_DIR", (base_ / "runtime").c_str(), 1);
  }
  void TearDown() override {
    mk::g_InstallDir = savedInstall_;
    if (hadRuntime_) {
      setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
    fs::remove_all(base_);
  }
  fs::path base_;
  std::string savedInstall_, savedRuntime_;
  bool hadRuntime_ = false;
};

TEST_F(ScratchPath, InstallFolderWhenWritableAsItsRealPath) {
  fs::create_directory_symlink(base_ / "install", base_ / "link");
  mk::g_InstallDir = (base_ / "link").string() + "/";
  EXPECT_EQ(mk::ScratchFilePath("temp.tmp"), fs::canonical(base_ / "install").string() + "/temp.tmp");
}

TEST_F(ScratchPath, PrivateRuntimeFolderOtherwise) {
  mk::g_InstallDir = (base_ / "missing").string() + "/";
  const std::string path = mk::ScratchFilePath("temp.tmp");
  EXPECT_EQ(path, fs::canonical(base_ / "runtime").string() + "/mirkan/temp.tmp");
  struct stat st {};
  ASSERT_EQ(stat((base_ / "runtime" / "mirkan").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A runtime entry that is not a folder of ours is not used.
  fs::remove_all(base_ / "runtime" / "mirkan");
  fs::create_directory_symlink(base_ / "install", base_ / "runtime" / "mirkan");
  const std::string fallback = mk::ScratchFilePath("temp.tmp");
  EXPECT_EQ(fallback.find((base_ / "runtime").string()), std::string::npos) << fallback;
  EXPECT_NE(fallback.find("/mirkan-"), std::string::npos) << fallback;
}

}  // namespace
