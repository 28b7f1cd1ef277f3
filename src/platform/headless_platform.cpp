// The script player: steps wait until every key of the previous step has been
// taken; shot and text run as soon as the player reaches them; the end of the
// script is the window's close request.
#include "platform/headless_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/screen_dump.h"
#include "platform/screen_modes.h"

namespace qelvar {
namespace {

// A program that keeps polling this long after the close request was given to
// it would otherwise never end; the runner stops it and says so.
constexpr int kPollsAllowedAfterClose = 100000;

}  // namespace

HeadlessPlatform::HeadlessPlatform(std::vector<ScriptCommand> script, std::string programDirectory,
                                   std::string commandLine, std::string outputDirectory)
    : script_(std::move(script)),
      programDirectory_(std::move(programDirectory)),
      commandLine_(std::move(commandLine)),
      outputDirectory_(std::move(outputDirectory)) {}

bool HeadlessPlatform::OpenMode(int mode, int depth) {
  return ConfigureNumberedMode(screen_, mode, depth);
}

bool HeadlessPlatform::OpenWindow(int width, int height, int depth) {
  return ConfigureWindowSize(screen_, width, height, depth);
}

std::string HeadlessPlatform::TakeKey() {
  if (keys_.empty()) return {};
  std::string key = std::move(keys_.front());
  keys_.pop_front();
  return key;
}

std::string HeadlessPlatform::WaitKey() {
  while (keys_.empty()) Advance();
  return TakeKey();
}

bool HeadlessPlatform::ReadMouse(MouseReading& out) {
  if (keys_.empty()) Advance();
  out = mouse_;
  // Like a real pointer, the reading never leaves the screen.
  if (screen_.width() > 0) {
    out.x = std::clamp(out.x, 0, screen_.width() - 1);
    out.y = std::clamp(out.y, 0, screen_.height() - 1);
  }
  return true;
}

double HeadlessPlatform::Clock() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void HeadlessPlatform::EndProgram() {
  std::fflush(nullptr);
  std::exit(outputFailed_ ? 1 : 0);
}

void HeadlessPlatform::Advance() {
  if (!ApplyStep()) DeliverClose();
}

bool HeadlessPlatform::ApplyStep() {
  if (idleLeft_ > 0) {
    --idleLeft_;
  } else {
    for (;;) {
      RunOutputs();
      if (next_ == script_.size()) return false;
      const ScriptCommand& c = script_[next_++];
      if (c.op != ScriptOp::kIdle) {
        Apply(c);
        break;
      }
      if (c.value > 0) {
        idleLeft_ = c.value - 1;
        break;
      }
    }
  }
  if (idleLeft_ == 0) RunOutputs();
  return true;
}

void HeadlessPlatform::Apply(const ScriptCommand& c) {
  switch (c.op) {
    case ScriptOp::kKeys:
      keys_.insert(keys_.end(), c.keys.begin(), c.keys.end());
      break;
    case ScriptOp::kKeyDown:
      held_.insert(c.value);
      break;
    case ScriptOp::kKeyUp:
      held_.erase(c.value);
      break;
    case ScriptOp::kMouse:
      mouse_.x = c.x, mouse_.y = c.y;
      break;
    case ScriptOp::kMouseDown:
      mouse_.buttons |= c.value;
      break;
    case ScriptOp::kMouseUp:
      mouse_.buttons &= ~c.value;
      break;
    case ScriptOp::kWheel:
      mouse_.wheel = AddToWheel(mouse_.wheel, c.value);
      break;
    case ScriptOp::kIdle:
    case ScriptOp::kShot:
    case ScriptOp::kText:
      break;
  }
}

void HeadlessPlatform::RunOutputs() {
  while (next_ < script_.size() &&
         (script_[next_].op == ScriptOp::kShot || script_[next_].op == ScriptOp::kText)) {
    WriteOutput(script_[next_++]);
  }
}

void HeadlessPlatform::WriteOutput(const ScriptCommand& c) {
  std::string path = c.file;
  if (!outputDirectory_.empty() && path.front() != '/') path = outputDirectory_ + "/" + path;
  bool ok;
  if (c.op == ScriptOp::kShot) {
    std::vector<uint8_t> bmp = EncodeScreenBmp(screen_);
    ok = WriteFileBytes(path, bmp.data(), bmp.size());
  } else {
    std::string text = TextGridDump(screen_);
    ok = WriteFileBytes(path, text.data(), text.size());
  }
  if (!ok) {
    std::fprintf(stderr, "qelvar-replay: script line %d: cannot write %s\n", c.line, path.c_str());
    outputFailed_ = true;
  }
}

void HeadlessPlatform::DeliverClose() {
  finished_ = true;
  if (++pollsAfterClose_ > kPollsAllowedAfterClose) {
    std::fprintf(stderr, "qelvar-replay: the program did not end on the close request\n");
    std::fflush(nullptr);
    std::exit(1);
  }
  keys_.push_back(ExtendedKey(kScanClose));
}

}  // namespace qelvar
