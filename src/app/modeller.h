// The whole program state, created once by start-up. Parts are grouped by
// lifetime: what start-up fixes, the model a file load replaces, and what the
// user changes by the minute.
#pragma once

#include <cstdint>
#include <string>

#include "app/loop_state.h"
#include "app/menu_state.h"
#include "app/settings.h"
#include "core/option_flags.h"
#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "platform/platform.h"
#include "render/render_buffers.h"
#include "render/view_state.h"
#include "tools/tool_state.h"

namespace qelvar {

struct Modeller {
  explicit Modeller(Platform& p) : platform(p) {}

  Platform& platform;
  // Fixed at start-up.
  Settings settings;
  ScreenGeometry geometry;
  ColourTables colours;
  // The model and its file.
  ModelStore model;
  std::string modelFileName = "default.qv";  // as the status line shows it
  // Where " Save" writes (absolute); empty while the model has no file of its
  // own, when it writes modelFileName in the current directory.
  std::string modelFilePath;
  std::string ownFilePath;     // the file last loaded or saved (absolute), or ""
  uint64_t savedRevision = 0;  // model.revision at that load or save
  // Changed by the user.
  ViewState view;
  RenderBuffers buffers;
  Backdrop backdrop;
  int32_t screenshotCounter = 0;  // numbers the next "imageXXX.bmp"
  MenuState menus;
  ValueCells cells;
  uint32_t options = kStartOptions;
  ToolState tools;
  LoopFlags flags;
  MouseState mouse;
};

}  // namespace qelvar
