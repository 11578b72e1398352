// The shipped sample player wrapper nxview.sh: it keeps the chart, starts the player set by the
// user on it, stops it again, and says clearly when no player is set. It keeps its files only in
// a folder of the user's own, signals only the player it started, and plays the chart of the load
// started before the play whichever of the two runs first.
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string BootId() { return FirstLine("/proc/sys/kernel/random/boot_id"); }

// Field n (counted from 3) of /proc/<pid>/stat.
std::string StatField(pid_t pid, int n) {
  const std::string text = FirstLine("/proc/" + std::to_string(pid) + "/stat");
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return {};
  std::istringstream rest(text.substr(close + 1));
  std::string f;
  for (int i = 3; i <= n && rest >> f; ++i) {
  }
  return f;
}

// Clock ticks since boot, the unit of a process's start time.
long long TicksNow() {
  std::ifstream in("/proc/uptime");
  double seconds = 0;
  in >> seconds;
  return static_cast<long long>(seconds * static_cast<double>(sysconf(_SC_CLK_TCK)));
}

// A second user without privileges, to run the wrapper as where one is needed; none where this
// machine has no such user or the test cannot switch to it.
struct OtherUser {
  uid_t uid;
  gid_t gid;
  std::vector<std::string> Command() const {
    return {"/usr/bin/setpriv", "--reuid=" + std::to_string(uid), "--regid=" + std::to_string(gid), "--clear-groups",
            "--"};
  }
};
std::optional<OtherUser> Unprivileged() {
  const passwd* pw = getpwnam("nobody");
  if (geteuid() != 0 || !pw || pw->pw_uid == 0 || access("/usr/bin/setpriv", X_OK) != 0) return std::nullopt;
  return OtherUser{pw->pw_uid, pw->pw_gid};
}

// A process of the test's own, in a session of its own, that the wrapper did not start.
class Decoy {
 public:
  explicit Decoy(std::optional<OtherUser> as = std::nullopt) {
    pid_ = fork();
    if (pid_ == 0) {
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      signal(SIGTERM, SIG_DFL);
      setsid();
      if (as && (setgroups(0, nullptr) != 0 || setgid(as->gid) != 0 || setuid(as->uid) != 0)) _exit(127);
      execl("/bin/sleep", "sleep", "600", static_cast<char*>(nullptr));
      _exit(127);
    }
    // Running once it is no longer this test's copy (its name changes with the exec).
    for (int i = 0; i < 2000 && FirstLine("/proc/" + std::to_string(pid_) + "/comm") != "sleep"; ++i) usleep(10000);
  }
  Decoy(const Decoy&) = delete;
  Decoy& operator=(const Decoy&) = delete;
  ~Decoy() { Finish(); }
  pid_t pid() const { return pid_; }
  std::string StartTime() const { return StatField(pid_, 22); }
  // Ends it; the signal it died of: SIGKILL unless something signalled it before.
  int Finish() {
    if (pid_ <= 0) return result_;
    kill(pid_, SIGKILL);
    int status = 0;
    if (waitpid(pid_, &status, 0) == pid_) result_ = WIFSIGNALED(status) ? WTERMSIG(status) : -1;
    pid_ = 0;
    return result_;
  }

 private:
  pid_t pid_ = 0;
  int result_ = -1;
};

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

  // How one run of the wrapper is set up: its own environment on top of the test's.
  struct Env {
    QString player;                                // MIRKAN_PLAYER ("" for none)
    std::vector<std::pair<QString, QString>> set;  // more variables; an empty value removes one
    std::vector<std::string> asUser;               // a command that runs the wrapper as another user
  };

  // Starts the wrapper and returns at once.
  std::unique_ptr<QProcess> Begin(const QStringList& args, const Env& e) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir_.path() + "/run"));
    env.remove("MIRKAN_PLAYER");
    if (!e.player.isEmpty()) env.insert("MIRKAN_PLAYER", e.player);
    env.insert("PATH", "/usr/bin:/bin");  // no desktop notifier from the test's own PATH
    for (const auto& [name, value] : e.set) {
      if (value.isEmpty())
        env.remove(name);
      else
        env.insert(name, value);
    }
    p->setProcessEnvironment(env);
    QStringList all;
    for (const std::string& w : e.asUser) all << QString::fromStdString(w);
    all << QString::fromStdString(install_ + "nxview.sh") << args;
    p->start(all.takeFirst(), all);
    EXPECT_TRUE(p->waitForStarted(20000));
    return p;
  }

  // Waits for a started wrapper to end; returns its exit status, with its standard error in err.
  static int End(QProcess& p, std::string* err = nullptr) {
    EXPECT_TRUE(p.waitForFinished(60000));
    if (err) *err = p.readAllStandardError().toStdString();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }

  // Runs the wrapper to its end.
  int Run(const QStringList& args, const Env& e, std::string* err = nullptr) { return End(*Begin(args, e), err); }
  int Run(const QStringList& args, const QString& player, std::string* err = nullptr) {
    return Run(args, Env{player, {}, {}}, err);
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

// A player that ended on its own (played to its end, or closed by the user) is the usual case:
// the next play and stop say nothing about it.
TEST_F(NxviewTest, APlayerThatHasEndedIsPassedOverSilently) {
  // This player ends once the test lets it: after the play has kept its number.
  const std::string brief =
      dir_.Write("brief player.sh",
                 "#!/bin/sh\n"
                 "here=\"$(dirname \"$0\")\"\n"
                 "echo \"[$1]\" >> \"$here/player.log\"\n"
                 "i=0\n"
                 "while [ ! -e \"$here/end$1\" ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i+1)); done\n");
  fs::permissions(brief, fs::perms::owner_all);
  const QString player = QString::fromStdString("\"" + brief + "\" {measure}");
  const std::string pidFile = dir_.path() + "/run/mirkan-nxview-" + std::to_string(geteuid()) + "/pid";
  // Lets the player of measure m end and waits until it is gone (not even left to be reaped).
  auto end = [&](int m) {
    AwaitLog(static_cast<size_t>(m) + 1);
    const std::string kept = FirstLine(pidFile);
    const std::string proc = "/proc/" + kept.substr(0, kept.find(' '));
    ASSERT_NE(kept, "");
    dir_.Write("end" + std::to_string(m), "");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (fs::exists(proc) && std::chrono::steady_clock::now() < until) QThread::msleep(20);
    ASSERT_FALSE(fs::exists(proc));
  };
  std::string err;
  EXPECT_EQ(Run({"-load", QString::fromStdString(chart_)}, player, &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(Run({"-play"}, player, &err), 0);
  EXPECT_EQ(err, "");
  end(0);
  EXPECT_EQ(Run({"-measure1"}, player, &err), 0);  // looks for the ended player to stop it first
  EXPECT_EQ(err, "");
  end(1);
  EXPECT_EQ(Run({"-stop"}, player, &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(AwaitLog(2), "[0]\n[1]\n");
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

// Someone else prepared the folder where the kept files would go (the shared temporary folder is
// open to everyone): the wrapper refuses it, says so, and writes nothing through it.
TEST_F(NxviewTest, AStateFolderThatIsNotTheUsersAloneIsRefusedAndNothingIsWrittenThroughALink) {
  const std::string tmp = dir_.path() + "/shared tmp";
  fs::create_directories(tmp);
  fs::permissions(tmp, fs::perms::all | fs::perms::sticky_bit);
  const std::string victim = dir_.Write("victim", "kept\n");
  const std::string state = tmp + "/mirkan-nxview-" + std::to_string(geteuid());
  const std::string elsewhere = tmp + "/elsewhere";
  const QString chart = QString::fromStdString(chart_);
  const Env env{QString::fromStdString("\"" + player_ + "\""),
                {{"XDG_RUNTIME_DIR", ""}, {"TMPDIR", QString::fromStdString(tmp)}},
                {}};
  constexpr uid_t kOther = 65534;
  auto other = [&](const std::string& path) { EXPECT_EQ(lchown(path.c_str(), kOther, kOther), 0) << path; };
  auto links = [&] {
    fs::create_symlink(victim, state + "/chart.new");
    fs::create_symlink(victim, state + "/chart");
    testsupport::WriteAll(state + "/pid", "1\n");
  };
  const struct {
    const char* what;
    std::function<void()> plant;
  } cases[] = {
      {"another user's folder with links to a file of ours",
       [&] {
         fs::create_directory(state);
         links();
         for (const char* f : {"/chart.new", "/chart", "/pid", ""}) other(state + f);
       }},
      {"another user's private folder",
       [&] {
         fs::create_directory(state);
         fs::permissions(state, fs::perms::owner_all);
         other(state);
       }},
      {"a folder of ours that others may write into",
       [&] {
         fs::create_directory(state);
         fs::permissions(state, fs::perms::all);
         links();
       }},
      {"a link to a folder",
       [&] {
         fs::create_directory(elsewhere);
         fs::permissions(elsewhere, fs::perms::owner_all);
         fs::create_directory_symlink(elsewhere, state);
         other(state);
       }},
      {"a file", [&] { testsupport::WriteAll(state, ""); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(state);
    fs::remove_all(elsewhere);
    c.plant();
    std::string err;
    EXPECT_EQ(Run({"-load", chart}, env, &err), 1);
    EXPECT_NE(err.find("is not yours alone"), std::string::npos) << err;
    EXPECT_NE(err.find(state), std::string::npos) << err;
    EXPECT_EQ(Run({"-play"}, env), 1);
    EXPECT_EQ(Run({"-stop"}, env), 1);
    EXPECT_EQ(dir_.Read("victim"), "kept\n");
    EXPECT_FALSE(fs::exists(elsewhere + "/chart"));
  }
  EXPECT_FALSE(dir_.Exists("player.log"));

  // Without the folder it makes its own, private one, and plays from it.
  fs::remove_all(state);
  EXPECT_EQ(Run({"-load", chart}, env), 0);
  struct stat st {};
  ASSERT_EQ(lstat(state.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  EXPECT_EQ(Run({"-play"}, env), 0);
  EXPECT_EQ(AwaitLog(1), "[" + chart_ + "]\n");
  EXPECT_EQ(Run({"-stop"}, env), 0);
  EXPECT_EQ(AwaitLog(2), "[" + chart_ + "]\nstopped\n");

  // Links in its own folder (left there somehow) are replaced, never written through; a folder
  // of ours that only others could read is made private.
  fs::remove(state + "/chart");
  links();
  fs::permissions(state, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
  EXPECT_EQ(Run({"-load", chart}, env), 0);
  EXPECT_EQ(Run({"-stop"}, env), 0);
  EXPECT_EQ(dir_.Read("victim"), "kept\n");
  EXPECT_FALSE(fs::is_symlink(state + "/chart"));
  EXPECT_EQ(fs::status(state).permissions() & fs::perms::all, fs::perms::owner_all);

  // A runtime folder that is not the user's own is passed over for the temporary folder.
  const std::string foreign = dir_.path() + "/foreign run";
  fs::create_directory(foreign);
  fs::permissions(foreign, fs::perms::owner_all);
  other(foreign);
  fs::remove_all(state);
  Env inForeign = env;
  inForeign.set[0].second = QString::fromStdString(foreign);
  EXPECT_EQ(Run({"-load", chart}, inForeign), 0);
  EXPECT_TRUE(fs::is_directory(state));
  EXPECT_TRUE(fs::is_empty(foreign));
}

// The number in the kept pid file may name a process the wrapper did not start: planted, or left
// by a player that ended on its own and since given to another process. Only the player it
// started, still running, is signalled.
TEST_F(NxviewTest, StopSignalsOnlyThePlayerItStartedWhileThatProcessStillRuns) {
  const QString player = QString::fromStdString("\"" + player_ + "\"");
  ASSERT_EQ(Run({"-load", QString::fromStdString(chart_)}, player), 0);
  const std::string pidFile = dir_.path() + "/run/mirkan-nxview-" + std::to_string(geteuid()) + "/pid";
  ASSERT_TRUE(fs::is_directory(fs::path(pidFile).parent_path()));
  Decoy decoy;
  const std::string pid = std::to_string(decoy.pid()), start = decoy.StartTime(), boot = BootId();
  ASSERT_FALSE(start.empty());
  const std::string planted[] = {
      pid,                                                             // the number alone
      pid + " " + std::to_string(std::stoll(start) + 1) + " " + boot,  // another process got the number
      pid + " " + start + " 00000000-0000-0000-0000-000000000000",     // an earlier boot
      pid + " " + start,                                               // no boot
      "-" + pid + " " + start + " " + boot,                            // a group
      "0" + pid + "x " + start + " " + boot,
  };
  size_t lines = 0;
  for (const std::string& p : planted) {
    SCOPED_TRACE(p);
    testsupport::WriteAll(pidFile, p + "\n");
    EXPECT_EQ(Run({"-stop"}, player), 0);
    EXPECT_FALSE(fs::exists(pidFile));
    // A play stops the player before it, too.
    testsupport::WriteAll(pidFile, p + "\n");
    EXPECT_EQ(Run({"-play"}, player), 0);
    AwaitLog(++lines);
    EXPECT_EQ(Run({"-stop"}, player), 0);  // the player it did start goes
    AwaitLog(++lines);
  }
  std::string expected;
  for (size_t i = 0; i < std::size(planted); ++i) expected += "[" + chart_ + "]\nstopped\n";
  EXPECT_EQ(AwaitLog(lines), expected);
  EXPECT_EQ(decoy.Finish(), SIGKILL) << "something signalled a process the wrapper did not start";

  // The same check lets through a process that is the one named, start time and boot alike.
  Decoy named;
  testsupport::WriteAll(pidFile, std::to_string(named.pid()) + " " + named.StartTime() + " " + boot + "\n");
  EXPECT_EQ(Run({"-stop"}, player), 0);
  EXPECT_EQ(named.Finish(), SIGTERM);
}

// A kept number 1 (or 0) would signal every process the user may signal (or the wrapper's own
// group). Run as an unprivileged user, so that a fault could only reach that user's processes.
TEST_F(NxviewTest, AnUnprivilegedStopNeverSignalsEveryProcessOrItsOwnGroup) {
  const std::optional<OtherUser> user = Unprivileged();
  if (!user) GTEST_SKIP() << "needs root, setpriv and the unprivileged user nobody to run the wrapper as";
  const auto open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                    fs::perms::others_exec;
  fs::permissions(dir_.path(), open);
  fs::permissions(install_, open);
  fs::permissions(install_ + "nxview.sh", open);
  const std::string run = dir_.path() + "/their run";
  const std::string state = run + "/mirkan-nxview-" + std::to_string(user->uid);
  fs::create_directories(state);
  for (const std::string& f : {run, state}) {
    fs::permissions(f, fs::perms::owner_all);
    ASSERT_EQ(chown(f.c_str(), user->uid, user->gid), 0);
  }
  Decoy decoy(user);
  const std::string boot = BootId();
  const std::string planted[] = {"1", "1 " + StatField(1, 22) + " " + boot, "0", "0 0 " + boot, "-1"};
  const Env env{"", {{"XDG_RUNTIME_DIR", QString::fromStdString(run)}}, user->Command()};
  for (const std::string& p : planted) {
    SCOPED_TRACE(p);
    testsupport::WriteAll(state + "/pid", p + "\n");
    ASSERT_EQ(chown((state + "/pid").c_str(), user->uid, user->gid), 0);
    std::string err;
    EXPECT_EQ(Run({"-stop"}, env, &err), 0) << err;
    EXPECT_FALSE(fs::exists(state + "/pid"));
  }
  EXPECT_EQ(decoy.Finish(), SIGKILL) << "the stop signalled the user's other processes";
}

// The program starts the load and the play of a test play one right after the other, and the
// two may run in either order: a play plays the chart of the latest load started before it.
TEST_F(NxviewTest, APlayPlaysTheChartOfTheLoadStartedBeforeItWhicheverRunsFirst) {
  const std::string a = dir_.Write("a/chart.nxl", "#TITLE a\r\n"), b = dir_.Write("b/chart.nxl", "#TITLE b\r\n");
  // This player logs only its start, so that the log follows the plays one by one.
  const std::string log = dir_.Path("plays.log");
  const std::string quiet =
      dir_.Write("quiet player.sh", "#!/bin/sh\necho \"[$1]\" >> \"$(dirname \"$0\")/plays.log\"\nexec sleep 600\n");
  fs::permissions(quiet, fs::perms::owner_all);
  const Env env{QString::fromStdString("\"" + quiet + "\""), {}, {}};
  // A load held up before it has kept anything, until the test lets it go on.
  dir_.Write("slow/stat",
             "#!/bin/sh\n"
             "i=0\n"
             "while [ ! -e \"$NXVIEW_TEST_GO\" ] && [ $i -lt 6000 ]; do sleep 0.01; i=$((i+1)); done\n"
             "exec /usr/bin/stat \"$@\"\n");
  fs::permissions(dir_.Path("slow/stat"), fs::perms::owner_all);
  auto held = [&](const std::string& go) {
    return Env{env.player,
               {{"PATH", QString::fromStdString(dir_.Path("slow") + ":/usr/bin:/bin")},
                {"NXVIEW_TEST_GO", QString::fromStdString(go)}},
               {}};
  };
  std::string expected;
  auto played = [&](const std::string& chart) {
    expected += "[" + chart + "]\n";
    const size_t n = static_cast<size_t>(std::count(expected.begin(), expected.end(), '\n'));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string got = testsupport::ReadAll(log);
    while (static_cast<size_t>(std::count(got.begin(), got.end(), '\n')) < n &&
           std::chrono::steady_clock::now() < end) {
      QThread::msleep(20);
      got = testsupport::ReadAll(log);
    }
    EXPECT_EQ(got, expected);
  };

  // Started back to back, as the program did.
  for (int i = 0; i < 10; ++i) {
    const std::string& chart = i % 2 ? b : a;
    auto load = Begin({"-load", QString::fromStdString(chart)}, env);
    auto play = Begin({"-play"}, env);
    EXPECT_EQ(End(*load), 0);
    EXPECT_EQ(End(*play), 0);
    played(chart);
  }

  // The play runs first while the load is held up: it waits for the load.
  for (int i = 0; i < 3; ++i) {
    const std::string& chart = i % 2 ? a : b;
    const std::string go = dir_.Path("go" + std::to_string(i));
    auto load = Begin({"-load", QString::fromStdString(chart)}, held(go));
    auto play = Begin({"-play"}, env);
    play->waitForFinished(1000);  // a play that did not wait would be over by now
    testsupport::WriteAll(go, "");
    EXPECT_EQ(End(*load), 0);
    EXPECT_EQ(End(*play), 0);
    played(chart);
  }

  // Two loads: the one started later is done first, the earlier one then leaves its chart kept.
  const std::string go = dir_.Path("go-two");
  auto first = Begin({"-load", QString::fromStdString(a)}, held(go));
  const std::string firstStart = StatField(static_cast<pid_t>(first->processId()), 22);
  ASSERT_FALSE(firstStart.empty());
  while (TicksNow() <= std::stoll(firstStart) + 1) QThread::msleep(5);  // a later start time
  auto second = Begin({"-load", QString::fromStdString(b)}, env);
  EXPECT_EQ(End(*second), 0);
  auto play = Begin({"-play"}, env);
  play->waitForFinished(1000);
  testsupport::WriteAll(go, "");
  EXPECT_EQ(End(*first), 0);
  EXPECT_EQ(End(*play), 0);
  played(b);
  EXPECT_EQ(Run({"-stop"}, env), 0);
}

}  // namespace
