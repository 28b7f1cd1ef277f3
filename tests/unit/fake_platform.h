// A scripted platform for in-process tests of the text interface: keys and
// mouse readings are queued by the test, the screen is a real Screen, and
// ending the program throws so a test can see it.
#pragma once

#include <deque>
#include <set>
#include <string>

#include "app/menus.h"
#include "app/modeller.h"
#include "core/screen_geometry.h"
#include "platform/platform.h"

namespace qelvar {

struct ProgramEnded {};

class FakePlatform : public Platform {
 public:
  FakePlatform() { screen_.Configure(800, 600, 32, 100, 37); }

  bool OpenMode(int, int) override { return true; }
  void SetTitle(const std::string& t) override { title = t; }
  bool OpenWindow(int, int, int) override { return true; }
  void Unlock() override { ++unlocks; }
  std::string TakeKey() override {
    if (keys.empty()) return "";
    std::string k = keys.front();
    keys.pop_front();
    return k;
  }
  std::string WaitKey() override {
    if (keys.empty()) return std::string{static_cast<char>(255), static_cast<char>(107)};
    return TakeKey();
  }
  bool KeyHeld(int scanCode) override { return held.count(scanCode) != 0; }
  bool ReadMouse(MouseReading& out) override {
    ++mousePolls;
    if (mouseFails) return false;
    if (!mouseQueue.empty()) {
      mouse = mouseQueue.front();
      mouseQueue.pop_front();
    }
    out = mouse;
    return true;
  }
  void Sleep(int milliseconds) override {
    sleptMs += milliseconds;
    // An editor waiting with nothing left to read would wait for ever.
    if (keys.empty() && mouseQueue.empty() && ++idleSleeps > 1000) throw ProgramEnded{};
  }
  double Clock() override { return clock; }
  std::string ProgramDirectory() override { return "."; }
  std::string CommandLine() override { return ""; }
  [[noreturn]] void EndProgram() override { throw ProgramEnded{}; }

  void Type(const std::string& text) {
    for (char c : text) keys.push_back(std::string(1, c));
  }
  void Key(const std::string& k) { keys.push_back(k); }

  std::deque<std::string> keys;
  std::deque<MouseReading> mouseQueue;
  MouseReading mouse;
  std::set<int> held;       // scan codes reported as held
  bool mouseFails = false;  // the mouse query gives no reading
  int mousePolls = 0, unlocks = 0, idleSleeps = 0, sleptMs = 0;
  double clock = 0.0;
  std::string title;  // the last window title set
};

// A Modeller in its start state on an 800 x 600 screen with 100 x 37 cells.
inline void SetUpModeller(Modeller& m) {
  m.geometry.screenWidth = 800;
  m.geometry.screenHeight = 600;
  m.geometry.textColumns = 100;
  m.geometry.textRows = 37;
  m.geometry.cellHeight = 16;
  for (int i = 0; i < 16; ++i) m.colours.interfaceColours[i] = 0x010101u * (i + 1);
  InitModelStore(m.model);
  InitValueCells(m.cells);
  InitMenus(m.menus);
  m.savedRevision = m.model.revision;  // the model starts unmodified
}

// What the text grid shows at (row, column) for count cells.
inline std::string TextAt(const Screen& s, int row, int column, int count) {
  std::string t;
  for (int i = 0; i < count; ++i) t += static_cast<char>(s.TextCell(row, column + i));
  return t;
}

}  // namespace qelvar
