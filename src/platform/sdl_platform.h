// The windowed platform: a resizable SDL2 window showing the screen (opened
// scaled up by a whole factor when the mode is small for the desktop, then
// fitted to whatever size the window is given), its keyboard turned into
// key-buffer codes, its mouse in mode pixels, and the real clock.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace qelvar {

class SdlPlatform : public Platform {
 public:
  SdlPlatform(int argc, char** argv);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // False when the video system could not start (no display); error() says why.
  bool ready() const { return ready_; }
  const std::string& error() const { return error_; }

  bool OpenMode(int mode, int depth) override;
  bool OpenWindow(int width, int height, int depth) override;
  bool ModeFitsDisplay(int width, int height) override;
  void SetTitle(const std::string& title) override;
  void Unlock() override;

  std::string TakeKey() override;
  std::string WaitKey() override;
  bool KeyHeld(int scanCode) override;
  bool ReadMouse(MouseReading& out) override;

  void Sleep(int milliseconds) override;
  double Clock() override;
  std::string ProgramDirectory() override { return programDirectory_; }
  std::string CommandLine() override { return commandLine_; }
  [[noreturn]] void EndProgram() override;

 private:
  // Which of the three queried keys a scan code is, or -1.
  static int HeldIndex(int scanCode);

  bool ShowScreen();
  void Present();
  void PumpEvents();
  void WaitEvents(int milliseconds);
  void HandleEvent(const SDL_Event& e);
  void HandleKeyDown(const SDL_Event& e);
  void HandleText(const char* utf8);
  void PushKey(std::string key);
  void MoveMouse(int windowX, int windowY);

  bool ready_ = false;
  std::string error_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  int scale_ = 1;  // window pixels per screen pixel when the window opens
  std::string title_ = "qelvar";
  struct BufferedKey {
    std::string code;
    bool shift[2];  // left and right Shift when the key went down
  };
  std::deque<BufferedKey> keys_;
  // Index 0 Alt, 1 left Shift, 2 right Shift: down now. A tap of Alt between
  // two polls is remembered until the next query; Shift also counts as held
  // while the key taken last was pressed with it, so a quick Shift+arrow is
  // handled as such even when Shift is up again by the time it is taken.
  bool held_[3] = {};
  bool altPressedSinceQuery_ = false;
  bool shiftOfTakenKey_[2] = {};
  MouseReading mouse_;
  // Buttons pressed since the last reading: a click shorter than one pass of
  // the program is still seen as one pass with the button down.
  int pressedSinceRead_ = 0;
  uint64_t clockStart_ = 0;
  std::string programDirectory_, commandLine_;
};

}  // namespace qelvar
