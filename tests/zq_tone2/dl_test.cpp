// libzq_tone2.so as the program uses it: loaded by name at run time, nine functions.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "exports.h"
#include "sound_files.h"

namespace zqtest {
namespace {

const char kLibrary[] = MIRKAN_BIN_DIR "/libzq_tone2.so";

struct Api {
  int32_t (*Init)(void*, int32_t, int32_t);
  int32_t (*Term)();
  int32_t (*Load)(const char*, int32_t);
  int32_t (*Play)();
  int32_t (*Stop)();
  int32_t (*Close)();
  int32_t (*Reset)();
  int32_t (*Stream)();
  int32_t (*ChangeStreamSec)(uint32_t);
};

template <typename F>
void Bind(void* lib, const char* name, F& f) {
  f = reinterpret_cast<F>(dlsym(lib, name));
  ASSERT_NE(f, nullptr) << name;
}

TEST(ZqTone2Library, EdgeCasesThroughTheLoadedLibrary) {
  setenv("MIRKAN_AUDIO_BACKEND", "null", 1);
  void* lib = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  Api a{};
  Bind(lib, "DSLib_Init", a.Init);
  Bind(lib, "DSLib_Term", a.Term);
  Bind(lib, "DSLib_Load", a.Load);
  Bind(lib, "DSLib_Play", a.Play);
  Bind(lib, "DSLib_Stop", a.Stop);
  Bind(lib, "DSLib_Close", a.Close);
  Bind(lib, "DSLib_Reset", a.Reset);
  Bind(lib, "DSLib_Stream", a.Stream);
  Bind(lib, "DSLib_ChangeStreamSec", a.ChangeStreamSec);

  TempDir tmp;
  const WavSpec mono8 = Spec(1, 1, 22050, 8);
  const std::string ten = tmp.Write("10.wav", MakeWav(mono8, std::vector<uint8_t>(22050 * 10, 0x90)));
  const std::string three = tmp.Write("3.wav", MakeWav(mono8, std::vector<uint8_t>(22050 * 3, 0x90)));
  const std::string missing = (tmp.path() / "none.wav").string();

  // Before DSLib_Init.
  EXPECT_EQ(a.Term(), 0);
  EXPECT_EQ(a.ChangeStreamSec(5), 20);
  EXPECT_EQ(a.ChangeStreamSec(5), 5);
  EXPECT_EQ(a.Load(three.c_str(), 1), 1);
  EXPECT_EQ(a.Play(), 1);
  EXPECT_EQ(a.Stop(), 1);
  EXPECT_EQ(a.Close(), 1);
  EXPECT_EQ(a.Reset(), 1);
  EXPECT_EQ(a.Stream(), 1);

  ASSERT_EQ(a.Init(nullptr, 0, 0), 0);
  EXPECT_EQ(a.Play(), 1);  // nothing loaded
  EXPECT_EQ(a.Stop(), 1);
  EXPECT_EQ(a.Stream(), 1);
  for (const std::string& f : {ten, three}) {
    for (int32_t allow : {1, 0}) {
      EXPECT_EQ(a.Load(f.c_str(), allow), 0) << f;
      EXPECT_EQ(a.Play(), 0) << f;
      EXPECT_EQ(a.Play(), 0) << f;  // again while playing: from the start
      EXPECT_EQ(a.Stream(), 0) << f;
      EXPECT_EQ(a.Stop(), 0) << f;
      EXPECT_EQ(a.Reset(), 0) << f;
    }
  }
  EXPECT_EQ(a.ChangeStreamSec(0), 5);
  EXPECT_EQ(a.Load(three.c_str(), 1), 0);
  EXPECT_EQ(a.Play(), 0);
  EXPECT_EQ(a.Close(), 0);
  EXPECT_EQ(a.Play(), 1);
  EXPECT_EQ(a.Close(), 1);
  EXPECT_EQ(a.Load(missing.c_str(), 1), 1);
  EXPECT_EQ(a.Play(), 1);
  EXPECT_EQ(a.Load(ten.c_str(), 1), 0);
  ASSERT_EQ(a.Init(nullptr, 0, 1), 0);  // the second device drops the sound
  EXPECT_EQ(a.Play(), 1);
  EXPECT_EQ(a.Term(), 0);
  EXPECT_EQ(a.Term(), 0);
  EXPECT_EQ(a.Play(), 1);
  dlclose(lib);
  unsetenv("MIRKAN_AUDIO_BACKEND");
}

TEST(ZqTone2Library, ExportsExactlyTheNineFunctions) {
  const auto names = testsupport::DefinedDynamicSymbols(kLibrary);
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(*names, (std::set<std::string>{"DSLib_ChangeStreamSec", "DSLib_Close", "DSLib_Init", "DSLib_Load",
                                           "DSLib_Play", "DSLib_Reset", "DSLib_Stop", "DSLib_Stream", "DSLib_Term"}));
}

}  // namespace
}  // namespace zqtest
