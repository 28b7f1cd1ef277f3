// The numbers of the menus and of the commands that menu rows run. The item
// and menu tables, command dispatch, the function keys and the tools that act
// on "the menu a row was chosen in" all name them from here.
#pragma once

#include <cstdint>

namespace qelvar {

enum class Menu : uint8_t {
  kBar = 0,
  kFile = 1,
  kEdit = 2,
  kView = 3,
  kCamera = 4,
  kNewVertex = 5,
  kNewLine = 6,
  kNewTriangle = 7,
  kNewQuad = 8,
  kNewCube = 9,
  kSelection = 10,
  kMove = 11,
  kDuplicate = 12,
  kRotate = 13,
  kScale = 14,
  kCreatePrimitive = 15,
  kNewDisc = 16,
  kNewCylinder = 17,
  kNewCone = 18,
  kPartNames = 19,
  kByPartGroup = 20,
  kDeleteSelection = 21,
  kActions = 22,
  kMiscTools = 23,
  kDrillPress = 24,
  kVertEdit = 25,
  kGuillotine = 26,
  kChangeColour = 27,
  kDefaultColour = 28,
  kNewRing = 29,
  kOpen = 30,
  kLightSource = 31,
};

enum class Command : uint8_t {
  kQuit = 0,
  kFilenameEntry = 1,
  kSave = 2,
  kSaveAs = 3,
  kClose = 4,
  kFrontView = 5,
  kBackView = 6,
  kTopView = 7,
  kBottomView = 8,
  kLeftSideView = 9,
  kRightSideView = 10,
  kExportStl = 11,
  kCreate = 12,
  kDeleteLastVert = 13,
  kSelectAll = 14,
  kClearSelection = 15,
  kFlipX = 16,
  kConfirm = 17,
  kNew = 18,
  kPartGroupStep = 19,
  kReassign = 20,
  kSelectionCentre = 21,
  kFlipY = 22,
  kFlipZ = 23,
  kDeleteLastTriangle = 24,
  kDeleteLastLine = 25,
  kDeleteVert = 26,
  kManualTriangle = 27,
  kAutoTriangle = 28,
  kSliceXY = 29,
  kChisel = 30,
  kLoadPart = 31,
  kSavePart = 32,
  kBenchmark = 33,
  kReverseFaces = 34,
  kMoveToAbsolute = 35,
  kSliceYZ = 36,
  kSliceXZ = 37,
  kScreenshot = 38,
  kRainbow = 39,
  kVertCleanup = 40,
  kManualFan = 41,
  kFileListPage = 42,
  kCurrentPath = 43,
  kLoadBackdrop = 44,
  kMouseLight = 45,
  kCreateAtOffset = 46,
  kMoveToOffset = 47,
};

constexpr int MenuNumber(Menu m) { return static_cast<int>(m); }
constexpr int CommandNumber(Command c) { return static_cast<int>(c); }

static_assert(MenuNumber(Menu::kLightSource) == 31, "31 menus after the bar");
static_assert(CommandNumber(Command::kMoveToOffset) == 47, "48 commands");

}  // namespace qelvar
