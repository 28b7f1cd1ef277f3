// The qelvar-replay command line: usage errors and unparsable scripts end
// with status 2 and a message, before the modeller starts.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int status = -1;
  std::string errors;
};

class ReplayRunner : public ::testing::Test {
 protected:
  fs::path dir = fs::temp_directory_path() / ("qelvar_runner_" + std::to_string(getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }

  RunResult Start(const std::string& arguments, const std::string& input = "") {
    const fs::path err = dir / "stderr.txt", in = dir / "stdin.txt";
    std::ofstream(in) << input;
    const std::string command = "cd '" + dir.string() + "' && '" QELVAR_REPLAY_BIN "' " +
                                arguments + " <'" + in.string() + "' 2>'" + err.string() + "'";
    RunResult run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream e(err);
    run.errors.assign(std::istreambuf_iterator<char>(e), std::istreambuf_iterator<char>());
    return run;
  }
  void Write(const char* name, const std::string& text) { std::ofstream(dir / name) << text; }
};

TEST_F(ReplayRunner, UsageErrorsExitWithStatusTwo) {
  for (const char* args : {"", "--home", "--home no-such-dir s.script", "--verbose s.script"}) {
    RunResult r = Start(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.errors.find("usage: qelvar-replay"), std::string::npos) << args;
  }
  RunResult missing = Start("missing.script");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.errors.find("missing.script"), std::string::npos);
}

TEST_F(ReplayRunner, BadScriptLineIsReportedByNumberBeforeStarting) {
  Write("bad.script", "# header\nkey F2\n\nmouse 1\nkey Enter\n");
  RunResult r = Start("--home . bad.script");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.errors.find("line 4"), std::string::npos) << r.errors;
  // Nothing ran: the settings file the modeller would create is absent.
  EXPECT_FALSE(fs::exists(dir / "QELVAR.INI"));

  RunResult piped = Start("-", "key q\nfly away\n");
  EXPECT_EQ(piped.status, 2);
  EXPECT_NE(piped.errors.find("line 2"), std::string::npos) << piped.errors;
}

TEST_F(ReplayRunner, HomeHoldsTheSettingsFile) {
  fs::create_directories(dir / "home");
  Write("s.script", "idle\ntext grid.txt\n");
  RunResult r = Start("--home home s.script");
  EXPECT_EQ(r.status, 0) << r.errors;
  EXPECT_TRUE(fs::exists(dir / "home" / "QELVAR.INI"));
  EXPECT_FALSE(fs::exists(dir / "QELVAR.INI"));
  // The default mode 19 has a grid of 100 x 37 cells.
  EXPECT_EQ(fs::file_size(dir / "grid.txt"), 37u * 101u);
}

TEST_F(ReplayRunner, OutputThatCannotBeWrittenFailsTheRun) {
  Write("s.script", "idle\nshot no/such/dir/x.bmp\nidle\n");
  RunResult r = Start("s.script");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.errors.find("line 2: cannot write"), std::string::npos) << r.errors;
}

}  // namespace
