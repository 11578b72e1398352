// The shipped sample player wrapper nxview.sh: it keeps the chart, starts the player set by the
// user on it, stops it again, and says clearly when no player is set.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

class NxviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_ = dir_.path() + "/install folder/";
    fs::create_directories(install_);
    for (const char* f : {"nxview.sh", "nxview.conf"})
      fs::copy_file(std::string(MIRKAN_BIN_DIR) + "/" + f, install_ + f);
    fs::create_directories(dir_.path() + "/run");
    chart_ = dir_.Write("install folder/temp.tmp", "#TITLE x\r\n");
    // The player: records its arguments, and that it was stopped.
    player_ = dir_.Write("my player.sh",
                         "#!/bin/sh\n"
                         "log=\"$(dirname \"$0\")/player.log\"\n"
                         "trap 'echo stopped >> \"$log\"; exit 0' TERM\n"
                         "line=''\n"
                         "for a in \"$@\"; do line=\"$line[$a]\"; done\n"
                         "echo \"$line\" >> \"$log\"\n"
                         "while :; do sleep 0.05; done\n");
    fs::permissions(player_, fs::perms::owner_all);
  }

  // Runs the wrapper to its end; returns its exit status, with its standard error in err.
  int Run(const QStringList& args, const QString& player, std::string* err = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir_.path() + "/run"));
    env.remove("MIRKAN_PLAYER");
    if (!player.isEmpty()) env.insert("MIRKAN_PLAYER", player);
    env.insert("PATH", "/usr/bin:/bin");  // no desktop notifier from the test's own PATH
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(install_ + "nxview.sh"), args);
    EXPECT_TRUE(p.waitForFinished(20000));
    if (err) *err = p.readAllStandardError().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }

  std::string AwaitLog(size_t lines) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (;;) {
      const std::string log = dir_.Read("player.log");
      const auto n = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
      if (n >= lines || std::chrono::steady_clock::now() >= end) return log;
      QThread::msleep(20);
    }
  }

  testsupport::TempDir dir_;
  std::string install_, chart_, player_;
};

TEST_F(NxviewTest, ItPlaysTheKeptChartWithTheUsersPlayerAndStopsIt) {
  const QString player = QString::fromStdString("\"" + player_ + "\" --from {measure}");
  EXPECT_EQ(Run({"-load", QString::fromStdString(chart_)}, player), 0);
  EXPECT_EQ(Run({"-measure12"}, player), 0);
  EXPECT_EQ(AwaitLog(1), "[--from][12][" + chart_ + "]\n");
  // A new play stops the one before.
  EXPECT_EQ(Run({"-play"}, player), 0);
  EXPECT_EQ(AwaitLog(3), "[--from][12][" + chart_ + "]\nstopped\n[--from][0][" + chart_ + "]\n");
  EXPECT_EQ(Run({"-stop"}, player), 0);
  EXPECT_EQ(AwaitLog(4), "[--from][12][" + chart_ + "]\nstopped\n[--from][0][" + chart_ + "]\nstopped\n");
  EXPECT_EQ(Run({"-stop"}, player), 0);  // nothing left to stop

  // The player from the settings file beside the wrapper, the chart where {chart} stands.
  fs::remove(dir_.Path("player.log"));
  testsupport::WriteAll(install_ + "nxview.conf", "# mine\nplayer=\"" + player_ + "\" -f {chart} -m {measure}\n");
  EXPECT_EQ(Run({"-measure", "4"}, ""), 0);
  EXPECT_EQ(AwaitLog(1), "[-f][" + chart_ + "][-m][4]\n");
  EXPECT_EQ(Run({"-stop"}, ""), 0);
  AwaitLog(2);
}

TEST_F(NxviewTest, WithoutAPlayerItSaysSoAndFails) {
  EXPECT_EQ(Run({"-load", QString::fromStdString(chart_)}, ""), 0);
  std::string err;
  EXPECT_EQ(Run({"-play"}, "", &err), 1);
  EXPECT_NE(err.find("no player is set"), std::string::npos) << err;
  EXPECT_NE(err.find("MIRKAN_PLAYER"), std::string::npos) << err;
  EXPECT_EQ(Run({"-measure3"}, QString::fromStdString(dir_.Path("no such player")), &err), 1);
  EXPECT_NE(err.find("cannot be found"), std::string::npos) << err;
  EXPECT_EQ(Run({"-measurex"}, "", &err), 2);
  EXPECT_EQ(Run({"-what"}, "", &err), 2);
  EXPECT_NE(err.find("usage"), std::string::npos) << err;
  EXPECT_FALSE(dir_.Exists("player.log"));
}

}  // namespace
