// The SDL2 window: presentation of the screen scaled to the window's size,
// keyboard to key-buffer codes, mouse in mode pixels, sleeping that keeps the
// window answering.
#include "platform/sdl_platform.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/command_line.h"
#include "platform/cp437.h"
#include "platform/screen_modes.h"
#include "platform/sdl_x11_errors.h"
#include "platform/window_fit.h"

namespace qelvar {
namespace {

// A key buffer that nobody empties stops growing here, as a keyboard's would.
constexpr size_t kKeyBufferLimit = 64;

struct KeyMap {
  SDL_Keycode sym;
  int scanCode;
};
constexpr KeyMap kExtendedKeys[] = {
    {SDLK_F1, kScanF1},         {SDLK_F2, kScanF2},
    {SDLK_F3, kScanF3},         {SDLK_F4, kScanF4},
    {SDLK_F5, kScanF5},         {SDLK_F6, kScanF6},
    {SDLK_F7, kScanF7},         {SDLK_F8, kScanF8},
    {SDLK_F9, kScanF9},         {SDLK_F10, kScanF10},
    {SDLK_F11, kScanF11},       {SDLK_F12, kScanF12},
    {SDLK_HOME, kScanHome},     {SDLK_UP, kScanUp},
    {SDLK_PAGEUP, kScanPageUp}, {SDLK_LEFT, kScanLeft},
    {SDLK_RIGHT, kScanRight},   {SDLK_END, kScanEnd},
    {SDLK_DOWN, kScanDown},     {SDLK_PAGEDOWN, kScanPageDown},
    {SDLK_INSERT, kScanInsert}, {SDLK_DELETE, kScanDelete},
};
// The keypad's navigation keys while Num Lock is off.
constexpr KeyMap kKeypadKeys[] = {
    {SDLK_KP_7, kScanHome},        {SDLK_KP_8, kScanUp},       {SDLK_KP_9, kScanPageUp},
    {SDLK_KP_4, kScanLeft},        {SDLK_KP_6, kScanRight},    {SDLK_KP_1, kScanEnd},
    {SDLK_KP_2, kScanDown},        {SDLK_KP_3, kScanPageDown}, {SDLK_KP_0, kScanInsert},
    {SDLK_KP_PERIOD, kScanDelete},
};

std::string DirectoryOfExecutable(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec && argv0) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path().string();
}

// Decodes the next UTF-8 code point of s, advancing it; malformed bytes give 0xFFFD.
uint32_t NextCodePoint(const char*& s) {
  auto b = static_cast<unsigned char>(*s++);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  if (b >= 0x80 && extra == 0) return 0xFFFD;
  uint32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
  for (int i = 0; i < extra; ++i) {
    auto c = static_cast<unsigned char>(*s);
    if ((c & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (c & 0x3F);
    ++s;
  }
  return cp;
}

}  // namespace

SdlPlatform::SdlPlatform(int argc, char** argv) {
  commandLine_ = JoinArguments(argc, argv, 1);
  programDirectory_ = DirectoryOfExecutable(argc > 0 ? argv[0] : nullptr);
  KeepRunningOnXErrors();  // before SDL's X11 driver saves the handler it finds
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    error_ = SDL_GetError();
    return;
  }
  // Without a display SDL falls back to drivers that show nothing; a window
  // nobody can see or close must not start unless asked for by name.
  const std::string driver = SDL_GetCurrentVideoDriver();
  if ((driver == "offscreen" || driver == "dummy") && !std::getenv("SDL_VIDEODRIVER")) {
    error_ = "no display (only the " + driver + " video driver is available)";
    SDL_Quit();
    return;
  }
  clockStart_ = SDL_GetPerformanceCounter();
  ready_ = true;
}

SdlPlatform::~SdlPlatform() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  if (ready_) SDL_Quit();
}

bool SdlPlatform::OpenMode(int mode, int depth) {
  Screen previous = screen_;
  if (!ConfigureNumberedMode(screen_, mode, depth)) return false;
  if (ShowScreen()) return true;
  screen_ = std::move(previous);
  return false;
}

bool SdlPlatform::OpenWindow(int width, int height, int depth) {
  Screen previous = screen_;
  if (!ConfigureWindowSize(screen_, width, height, depth)) return false;
  if (ShowScreen()) return true;
  screen_ = std::move(previous);
  return false;
}

// Creates (or resizes) the window for the configured screen.
bool SdlPlatform::ShowScreen() {
  if (!ready_) return false;
  const int w = screen_.width(), h = screen_.height();
  SDL_Rect desktop{0, 0, w, h};
  if (SDL_GetDisplayUsableBounds(0, &desktop) != 0) SDL_GetDisplayBounds(0, &desktop);
  scale_ = std::max(1, std::min(desktop.w / w, desktop.h / h));
  if (!window_) {
    window_ = SDL_CreateWindow(title_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               w * scale_, h * scale_, SDL_WINDOW_RESIZABLE);
    if (!window_) return error_ = SDL_GetError(), false;
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return error_ = SDL_GetError(), false;
    SDL_StartTextInput();
  } else {
    SDL_SetWindowSize(window_, w * scale_, h * scale_);
  }
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
  if (!texture_) return error_ = SDL_GetError(), false;
  Unlock();
  return true;
}

void SdlPlatform::Unlock() {
  if (!texture_) return;
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
    auto* base = static_cast<uint8_t*>(pixels);
    for (int y = 0; y < screen_.height(); ++y) {
      screen_.RowRgb(y, reinterpret_cast<uint32_t*>(base + static_cast<size_t>(y) * pitch));
    }
    SDL_UnlockTexture(texture_);
  }
  Present();
  PumpEvents();
}

// The picture in whatever size the window has now, centred on black.
void SdlPlatform::Present() {
  if (!renderer_ || !texture_) return;
  int width = 0, height = 0;
  if (SDL_GetRendererOutputSize(renderer_, &width, &height) != 0) return;
  const PictureRect r = FitPicture(width, height, screen_.width(), screen_.height());
  const SDL_Rect target{r.x, r.y, r.width, r.height};
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  SDL_RenderPresent(renderer_);
}

bool SdlPlatform::ModeFitsDisplay(int width, int height) {
  if (!ready_) return true;  // opening fails anyway, and says why
  SDL_Rect desktop{0, 0, width, height};
  if (SDL_GetDisplayUsableBounds(0, &desktop) != 0 && SDL_GetDisplayBounds(0, &desktop) != 0)
    return true;
  return width <= desktop.w && height <= desktop.h;
}

void SdlPlatform::SetTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  if (window_) SDL_SetWindowTitle(window_, title_.c_str());
}

std::string SdlPlatform::TakeKey() {
  PumpEvents();
  if (keys_.empty()) return {};
  std::string key = std::move(keys_.front().code);
  shiftOfTakenKey_[0] = keys_.front().shift[0];
  shiftOfTakenKey_[1] = keys_.front().shift[1];
  keys_.pop_front();
  return key;
}

std::string SdlPlatform::WaitKey() {
  PumpEvents();
  while (keys_.empty()) WaitEvents(100);
  return TakeKey();
}

int SdlPlatform::HeldIndex(int scanCode) {
  switch (scanCode) {
    case kScanAlt:
      return 0;
    case kScanLeftShift:
      return 1;
    case kScanRightShift:
      return 2;
    default:
      return -1;
  }
}

bool SdlPlatform::KeyHeld(int scanCode) {
  PumpEvents();
  const int i = HeldIndex(scanCode);
  if (i < 0) return false;
  if (i == 0) {
    const bool result = held_[0] || altPressedSinceQuery_;
    altPressedSinceQuery_ = false;
    return result;
  }
  return held_[i] || shiftOfTakenKey_[i - 1];
}

bool SdlPlatform::ReadMouse(MouseReading& out) {
  PumpEvents();
  if (!window_) return false;
  out = mouse_;
  out.buttons |= pressedSinceRead_;
  pressedSinceRead_ = 0;
  return true;
}

void SdlPlatform::Sleep(int milliseconds) {
  const uint64_t end = SDL_GetTicks64() + static_cast<uint64_t>(std::max(0, milliseconds));
  PumpEvents();
  for (uint64_t now = SDL_GetTicks64(); now < end; now = SDL_GetTicks64()) {
    WaitEvents(static_cast<int>(end - now));
  }
}

double SdlPlatform::Clock() {
  return static_cast<double>(SDL_GetPerformanceCounter() - clockStart_) /
         static_cast<double>(SDL_GetPerformanceFrequency());
}

void SdlPlatform::EndProgram() {
  std::fflush(nullptr);
  if (window_) SDL_DestroyWindow(window_);
  SDL_Quit();
  std::exit(0);
}

void SdlPlatform::PumpEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) HandleEvent(e);
}

void SdlPlatform::WaitEvents(int milliseconds) {
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, milliseconds)) {
    HandleEvent(e);
    PumpEvents();
  }
}

void SdlPlatform::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      PushKey(ExtendedKey(kScanClose));
      break;
    case SDL_KEYDOWN:
      HandleKeyDown(e);
      break;
    case SDL_KEYUP: {
      const SDL_Scancode sc = e.key.keysym.scancode;
      if (sc == SDL_SCANCODE_LALT || sc == SDL_SCANCODE_RALT) held_[0] = false;
      if (sc == SDL_SCANCODE_LSHIFT) held_[1] = false;
      if (sc == SDL_SCANCODE_RSHIFT) held_[2] = false;
      break;
    }
    case SDL_TEXTINPUT:
      HandleText(e.text.text);
      break;
    case SDL_MOUSEMOTION:
      MoveMouse(e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const int bit = e.button.button == SDL_BUTTON_LEFT    ? 1
                      : e.button.button == SDL_BUTTON_RIGHT ? 2
                                                            : 0;
      if (e.type == SDL_MOUSEBUTTONDOWN) {
        mouse_.buttons |= bit;
        pressedSinceRead_ |= bit;
      } else {
        mouse_.buttons &= ~bit;
      }
      MoveMouse(e.button.x, e.button.y);
      break;
    }
    case SDL_MOUSEWHEEL:
      mouse_.wheel = AddToWheel(mouse_.wheel, e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED
                                                  ? -int64_t{e.wheel.y}
                                                  : int64_t{e.wheel.y});
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
          e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        Present();
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        std::fill(std::begin(held_), std::end(held_), false);
        mouse_.buttons = 0;
      }
      break;
    default:
      break;
  }
}

void SdlPlatform::HandleKeyDown(const SDL_Event& e) {
  const SDL_Keysym& k = e.key.keysym;
  if (k.scancode == SDL_SCANCODE_LALT || k.scancode == SDL_SCANCODE_RALT) {
    held_[0] = altPressedSinceQuery_ = true;
  } else if (k.scancode == SDL_SCANCODE_LSHIFT) {
    held_[1] = true;
  } else if (k.scancode == SDL_SCANCODE_RSHIFT) {
    held_[2] = true;
  }
  switch (k.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      PushKey("\r");
      return;
    case SDLK_TAB:
      PushKey("\t");
      return;
    case SDLK_ESCAPE:
      PushKey("\x1b");
      return;
    case SDLK_BACKSPACE:
      PushKey("\b");
      return;
    default:
      break;
  }
  for (const KeyMap& m : kExtendedKeys) {
    if (m.sym == k.sym) return PushKey(ExtendedKey(m.scanCode));
  }
  if (!(k.mod & KMOD_NUM)) {
    for (const KeyMap& m : kKeypadKeys) {
      if (m.sym == k.sym) return PushKey(ExtendedKey(m.scanCode));
    }
  }
}

// Typed text arrives with Shift applied ('}' and 'W'); each character that
// code page 437 has becomes one key.
void SdlPlatform::HandleText(const char* utf8) {
  while (*utf8) {
    const int code = Cp437FromCodePoint(NextCodePoint(utf8));
    if (code > 0 && code < 255) PushKey(std::string(1, static_cast<char>(code)));
  }
}

void SdlPlatform::PushKey(std::string key) {
  const bool close = key == ExtendedKey(kScanClose);
  if (keys_.size() < kKeyBufferLimit || close) {
    keys_.push_back(BufferedKey{std::move(key), {held_[1], held_[2]}});
  }
}

// Mouse events come in window coordinates, which may differ from the
// renderer's pixels on a high-density display; the picture sits alike in both.
void SdlPlatform::MoveMouse(int windowX, int windowY) {
  int width = 0, height = 0;
  if (window_) SDL_GetWindowSize(window_, &width, &height);
  const PictureRect r = FitPicture(width, height, screen_.width(), screen_.height());
  WindowToPicture(r, screen_.width(), screen_.height(), windowX, windowY, mouse_.x, mouse_.y);
}

}  // namespace qelvar
