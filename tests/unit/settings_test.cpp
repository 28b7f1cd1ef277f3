// The settings file: creation with the default text and the byte-wise reader's quirks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/settings.h"

namespace qelvar {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qelvar_settings_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    path_ = (dir_ / "QELVAR.INI").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(std::string_view text) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string Read() {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  Settings Parse(std::string_view text) {
    Write(text);
    return ReadSettings(path_);
  }
  fs::path dir_;
  std::string path_;
};

TEST_F(SettingsFile, MissingFileIsCreatedWithDefaultText) {
  Settings s = ReadSettings(path_);
  EXPECT_EQ(s.mode, 19);
  EXPECT_EQ(s.cdep, 32);
  EXPECT_EQ(s.rdet, 1);
  const std::string text = Read();
  EXPECT_EQ(text, kDefaultSettingsText);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 20);
  EXPECT_EQ(text.substr(text.size() - 12), "rdet = 1\r\n\r\n");
  EXPECT_NE(text.find("mode = 19\r\n\r\n'''' color depth: 4,8,15,16,24 or 32\r\n"), std::string::npos);
}

TEST_F(SettingsFile, EmptyFileIsFilledAndDefaultsStay) {
  Settings s = Parse("");
  EXPECT_EQ(s.mode, 19);
  EXPECT_EQ(Read(), kDefaultSettingsText);
}

TEST_F(SettingsFile, DefaultTextReadsBackAsDefaults) {
  Settings s = Parse(kDefaultSettingsText);
  EXPECT_EQ(s.mode, 19);
  EXPECT_EQ(s.cdep, 32);
  EXPECT_EQ(s.rdet, 1);
}

TEST_F(SettingsFile, ValueSpellingsAllGiveTheNumber) {
  EXPECT_EQ(Parse("mode = 17\r\n").mode, 17);
  EXPECT_EQ(Parse("mode=17\r\n").mode, 17);
  EXPECT_EQ(Parse("mode:17 pixels\r\n").mode, 17);
  EXPECT_EQ(Parse("mode=17").mode, 17);  // no line end at all
  EXPECT_EQ(Parse("mode = 11520864\r\n").mode, 11520864);
  EXPECT_EQ(Parse("mode = -18\r\n").mode, 18);  // no sign
  EXPECT_EQ(Parse("mode =\r\n").mode, 0);        // key without digits
}

TEST_F(SettingsFile, KeysMustBeLowerCaseAtLineStart) {
  EXPECT_EQ(Parse("Mode = 17\r\n").mode, 19);
  EXPECT_EQ(Parse(" mode = 17\r\n").mode, 19);
  EXPECT_EQ(Parse("modes 17\r\n").mode, 17);  // only the first four bytes are the key
}

TEST_F(SettingsFile, LaterKeyWinsAndRdetKeepsLowByte) {
  Settings s = Parse("cdep = 8\r\ncdep = 16\r\nrdet = 258\r\n");
  EXPECT_EQ(s.cdep, 16);
  EXPECT_EQ(s.rdet, 2);
}

TEST_F(SettingsFile, BareLineFeedsSkipTheFollowingLine) {
  // The value reading swallows the LF, so the next line is skipped as the rest of this one.
  Settings s = Parse("mode = 17\ncdep = 16\nrdet = 0\n");
  EXPECT_EQ(s.mode, 17);
  EXPECT_EQ(s.cdep, 32);
  EXPECT_EQ(s.rdet, 0);
}

TEST_F(SettingsFile, ShortKeyAtEndOfFileDoesNotMatchStaleBytes) {
  EXPECT_EQ(Parse("mode = 17\r\nmod").mode, 17);
  EXPECT_EQ(Parse("xx\r\ncde").cdep, 32);
}

// Permissions only bite for an ordinary user: run these parts as "nobody".
class AsNobody {
 public:
  AsNobody() : active_(geteuid() == 0 && seteuid(65534) == 0) {}
  ~AsNobody() {
    if (active_) (void)seteuid(0);
  }
  bool active() const { return active_; }

 private:
  bool active_;
};

// Runs ReadSettings in a child process so that a read that blocks fails the
// test after a few seconds instead of hanging it. The child's exit status says
// whether the defaults came back.
bool ReadsDefaultsPromptly(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    const Settings s = ReadSettings(path);
    _exit(s.mode == 19 && s.cdep == 32 && s.rdet == 1 ? 0 : 1);
  }
  for (int waited = 0; waited < 500; ++waited) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child)
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    usleep(10000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  ADD_FAILURE() << "reading " << path << " did not end within 5 seconds";
  return false;
}

// Whatever stands at the settings path, start-up goes on with the defaults
// and nothing is written in its place.
TEST_F(SettingsFile, NonRegularFileGivesDefaultsWithoutBlocking) {
  struct Case {
    const char* what;
    void (*make)(const std::string& path);
    fs::file_type type;
  };
  const Case cases[] = {
      {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0666), 0); },
       fs::file_type::fifo},
      {"directory", [](const std::string& p) { fs::create_directory(p); },
       fs::file_type::directory},
      {"link to a FIFO",
       [](const std::string& p) {
         ASSERT_EQ(mkfifo((p + ".fifo").c_str(), 0666), 0);
         fs::create_symlink(p + ".fifo", p);
       },
       fs::file_type::fifo},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    c.make(path_);
    EXPECT_TRUE(ReadsDefaultsPromptly(path_));
    EXPECT_EQ(fs::status(path_).type(), c.type);
  }
}

TEST_F(SettingsFile, ReadOnlyFileIsStillReadAndUnreadableFileIsNeverEmptied) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to switch to an ordinary user";
  Write("mode = 17\r\n");
  chmod(path_.c_str(), 0444);
  {
    AsNobody user;
    ASSERT_TRUE(user.active());
    EXPECT_EQ(ReadSettings(path_).mode, 17);
  }
  chmod(path_.c_str(), 0222);  // writable but not readable
  {
    AsNobody user;
    ASSERT_TRUE(user.active());
    EXPECT_EQ(ReadSettings(path_).mode, 19);
  }
  EXPECT_EQ(Read(), "mode = 17\r\n");
}

}  // namespace
}  // namespace qelvar
