// The platform of the headless runner: an in-memory screen of any mode and
// depth, and keyboard and mouse driven by a parsed script, one step each time
// the program polls the mouse or waits for a key.
#pragma once

#include <chrono>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/replay_script.h"

namespace qelvar {

class HeadlessPlatform : public Platform {
 public:
  // Relative shot and text files are placed in outputDirectory ("" = as given).
  HeadlessPlatform(std::vector<ScriptCommand> script, std::string programDirectory,
                   std::string commandLine, std::string outputDirectory = "");

  bool OpenMode(int mode, int depth) override;
  bool OpenWindow(int width, int height, int depth) override;
  void Unlock() override {}

  std::string TakeKey() override;
  std::string WaitKey() override;
  bool KeyHeld(int scanCode) override { return held_.count(scanCode) != 0; }
  bool ReadMouse(MouseReading& out) override;

  void Sleep(int) override {}  // sleeping costs no time
  double Clock() override;

  std::string ProgramDirectory() override { return programDirectory_; }
  std::string CommandLine() override { return commandLine_; }
  // Exits 0, or 1 when a shot or text file could not be written.
  [[noreturn]] void EndProgram() override;

  bool scriptFinished() const { return finished_; }
  bool outputFailed() const { return outputFailed_; }
  size_t keysWaiting() const { return keys_.size(); }

 private:
  // Applies the next step once the key buffer is empty; at the end of the
  // script puts the close request into the buffer instead.
  void Advance();
  bool ApplyStep();
  void Apply(const ScriptCommand& c);
  void RunOutputs();
  void WriteOutput(const ScriptCommand& c);
  void DeliverClose();

  std::vector<ScriptCommand> script_;
  size_t next_ = 0;   // the script command the player reaches next
  int idleLeft_ = 0;  // steps still owed by the current "idle N"
  bool finished_ = false;
  int pollsAfterClose_ = 0;
  bool outputFailed_ = false;
  std::deque<std::string> keys_;
  std::set<int> held_;
  MouseReading mouse_;
  std::string programDirectory_, commandLine_, outputDirectory_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace qelvar
