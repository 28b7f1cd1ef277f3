// Start-up runs once: settings, screen, colours, buffers, start values, and
// the model named on the command line.
#include "app/startup.h"

#include "app/colour_tables.h"
#include "app/file_commands.h"
#include "app/main_loop.h"
#include "app/menu_hooks.h"
#include "app/unsaved_work.h"
#include "core/messages.h"
#include "core/value_cells.h"
#include "platform/screen_modes.h"
#include "render/rasteriser.h"
#include "render/view.h"

namespace qelvar {
namespace {

constexpr int kFallbackMode = 19;
constexpr int kFallbackDepth = 32;

// The pixel size of a configured mode; 0 x 0 for a number that names none.
void ModeSize(int mode, int& width, int& height) {
  width = height = 0;
  if (mode > 21) {
    width = mode / 10000;
    height = mode - 10000 * width;
  } else if (const ScreenMode* numbered = FindScreenMode(mode)) {
    width = numbered->width;
    height = numbered->height;
  }
}

// Opens the configured mode, or mode 19 at 32 bits when the platform refuses
// it or it does not fit the display; ends the program when even that fails.
void OpenScreen(Modeller& m) {
  Platform& p = m.platform;
  const Settings& s = m.settings;
  bool opened = false;
  int width = 0, height = 0;
  ModeSize(s.mode, width, height);
  if (width > 0 && height > 0 && !p.ModeFitsDisplay(width, height)) {
    m.flags.statusMessage = kMsgModeTooLarge;
  } else if (s.mode > 21) {
    opened = p.OpenWindow(width, height, s.cdep);
    if (opened && height > 400) p.screen().SetTextGrid(width / 8, height / 16);
  } else {
    opened = p.OpenMode(s.mode, s.cdep);
  }
  if (!opened) {
    m.settings.mode = kFallbackMode;
    m.settings.cdep = kFallbackDepth;
    // With no screen at all the program could be neither seen nor closed.
    if (!p.OpenMode(kFallbackMode, kFallbackDepth)) p.EndProgram();
  }
}

void DeriveGeometry(Modeller& m) {
  const Screen& screen = m.platform.screen();
  m.geometry = DeriveScreenGeometry(screen.width(), screen.height(),
                                    m.settings.cdep == 4 ? 4 : screen.depth(), screen.textColumns(),
                                    screen.textRows(), m.settings.rdet);
}

void PrepareColours(Modeller& m) {
  if (m.geometry.colourDepth == 8) {
    Screen& screen = m.platform.screen();
    for (int i = 0; i < 256; ++i) screen.SetPalette(i, i & 192, (i & 60) << 2, (i & 3) << 6);
  }
  m.colours.interfaceColours = InterfaceColoursForDepth(m.geometry.colourDepth);
}

void SetStartValues(Modeller& m) {
  InitValueCells(m.cells);
  InitView(m.view, m.geometry);
  m.model.normalsDirty = true;
  m.options = kStartOptions;
  m.tools = ToolState{};
  m.backdrop = Backdrop{};
}

std::string SettingsPath(const std::string& directory) {
  if (directory.empty()) return "QELVAR.INI";
  return directory.back() == '/' ? directory + "QELVAR.INI" : directory + "/QELVAR.INI";
}

}  // namespace

void Startup(Modeller& m) {
  m.colours.ditherPairs = ComputeDitherPairs();
  InitMenus(m);
  m.settings = ReadSettings(SettingsPath(m.platform.ProgramDirectory()));
  if (m.settings.cdep == 4) m.settings.rdet = 0;
  OpenScreen(m);
  DeriveGeometry(m);
  PrepareColours(m);
  InitRenderBuffers(m.buffers, m.geometry);
  InitModelStore(m.model);
  SetStartValues(m);
  m.modelFileName = "default.qv";
  // The model named on the command line, loaded as " Open" loads a chosen
  // file; its message shows with the first frame, unless the mode's does.
  const int modeMessage = m.flags.statusMessage;
  const std::string argument = m.platform.CommandLine();
  if (!argument.empty()) LoadModelFile(m, argument);
  if (modeMessage != kMsgNone) m.flags.statusMessage = modeMessage;
  MarkModelSaved(m);
}

void RunStartup(Platform& platform) {
  // One program-wide state for the whole run; it never goes out of scope.
  static Modeller* modeller = new Modeller(platform);
  Startup(*modeller);
  MainLoop(*modeller);
}

}  // namespace qelvar
