// The one interface between the modeller and its surroundings: the framebuffer
// window, keyboard, mouse and time. Files and directories go through files.h,
// which both platforms share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/screen.h"

namespace qelvar {

// Scan codes of extended keys (the key buffer gives 255 followed by one of these).
enum ScanCode : uint8_t {
  kScanF1 = 59,
  kScanF2 = 60,
  kScanF3 = 61,
  kScanF4 = 62,
  kScanF5 = 63,
  kScanF6 = 64,
  kScanF7 = 65,
  kScanF8 = 66,
  kScanF9 = 67,
  kScanF10 = 68,
  kScanF11 = 87,
  kScanF12 = 88,
  kScanHome = 71,
  kScanUp = 72,
  kScanPageUp = 73,
  kScanLeft = 75,
  kScanRight = 77,
  kScanEnd = 79,
  kScanDown = 80,
  kScanPageDown = 81,
  kScanInsert = 82,
  kScanDelete = 83,
  kScanClose = 107,
  // Held-key queries.
  kScanAlt = 56,
  kScanLeftShift = 42,
  kScanRightShift = 54,
};

// The key-buffer code of an extended key: 255 followed by its scan code.
inline std::string ExtendedKey(int scanCode) {
  return std::string{static_cast<char>(255), static_cast<char>(scanCode)};
}
inline bool IsExtendedKey(const std::string& key, int scanCode) {
  return key.size() == 2 && static_cast<uint8_t>(key[0]) == 255 &&
         static_cast<uint8_t>(key[1]) == scanCode;
}
// The window's close request arrives in the key buffer as this extended key.
inline bool IsCloseRequest(const std::string& key) { return IsExtendedKey(key, kScanClose); }

// The accumulated wheel stays within this many notches either way, so that
// the difference of two readings fits an int with room to spare.
constexpr int kWheelLimit = 1 << 28;
inline int AddToWheel(int wheel, int64_t notches) {
  return static_cast<int>(std::clamp<int64_t>(wheel + notches, -kWheelLimit, kWheelLimit));
}

struct MouseReading {
  int x = 0, y = 0;  // screen pixels
  int wheel = 0;     // accumulated; positive is away from the user
  int buttons = 0;   // bit 0 left, bit 1 right
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Screen. OpenMode takes a numbered mode 13..21; OpenWindow a custom size.
  // Both return false when the mode, size or depth cannot be given.
  virtual bool OpenMode(int mode, int depth) = 0;
  virtual bool OpenWindow(int width, int height, int depth) = 0;
  Screen& screen() { return screen_; }
  const Screen& screen() const { return screen_; }
  // False when a screen of this size would not fit the usable desktop (its
  // menu bar could end up off the display).
  virtual bool ModeFitsDisplay(int /*width*/, int /*height*/) { return true; }
  // The window title; platforms without one ignore it.
  virtual void SetTitle(const std::string& /*title*/) {}
  virtual void Lock() {}
  // Shows the screen's pixels (the windowed platform copies them to the window).
  virtual void Unlock() = 0;

  // Keys: "" when the buffer is empty, one character, or 255 + scan code.
  virtual std::string TakeKey() = 0;
  // Blocks until a key is in the buffer and takes it.
  virtual std::string WaitKey() = 0;
  virtual bool KeyHeld(int scanCode) = 0;

  // False when no reading is available (the caller keeps its previous values).
  virtual bool ReadMouse(MouseReading& out) = 0;

  virtual void Sleep(int milliseconds) = 0;
  virtual double Clock() = 0;  // seconds, sub-millisecond resolution

  // The directory that holds the program (settings file lives there).
  virtual std::string ProgramDirectory() = 0;
  // All command-line arguments joined by single blanks.
  virtual std::string CommandLine() = 0;

  // Ends the process at once (close request, " Quit").
  [[noreturn]] virtual void EndProgram() = 0;

 protected:
  Screen screen_;
};

}  // namespace qelvar
