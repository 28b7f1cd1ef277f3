// The menu items, the menu definitions and the command numbers, fixed at build
// time. Labels are kept without their trailing blanks; a row always shows
// exactly its width in cells, padded with blanks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/menu_ids.h"
#include "core/option_flags.h"
#include "core/value_cells.h"

namespace qelvar {

enum ItemKind : uint8_t {
  kKindLabel = 0,
  kKindOpensMenu = 1,  // parameter: menu number
  kKindCheckBox = 2,   // parameter: bit of the option word
  kKindCommand = 3,    // parameter: command number
  kKindDisplay = 4,    // parameter: integer value cell
  kKindValue = 5,      // parameter: value cell (below 50 integer)
  kKindGroupRow = 6,   // shows one part group
  kKindNameRow = 7,    // shows and renames one part group
  kKindFileRow = 9,    // one row of the file list
};

struct MenuItem {
  std::string_view label;  // without trailing blanks, at most `width` characters
  ItemKind kind;
  uint8_t parameter;
  char hotkey;  // ' ' for none
  uint8_t width;
};

constexpr int kItemCount = 161;
constexpr int kMenuCount = 31;  // menus 1..31; 0 is the menu bar
constexpr int kCommandCount = 48;
constexpr int kMenuWidth = 16;
constexpr int kCloseItem = 14;
constexpr int kVertSelectorItem = 117;
constexpr int kCurrentPathItem = 145;

namespace detail {
// The helpers take the typed names, so a bare number cannot stand for a menu,
// a command, an option bit or a value cell.
constexpr MenuItem L(std::string_view s) { return {s, kKindLabel, 0, ' ', 16}; }
constexpr MenuItem M(std::string_view s, Menu menu, char key) {
  return {s, kKindOpensMenu, static_cast<uint8_t>(menu), key, 16};
}
constexpr MenuItem C(std::string_view s, OptionBit bit, char key) {
  return {s, kKindCheckBox, static_cast<uint8_t>(bit), key, 16};
}
constexpr MenuItem K(std::string_view s, Command command, char key) {
  return {s, kKindCommand, static_cast<uint8_t>(command), key, 16};
}
constexpr MenuItem D(std::string_view s, ValueCell cell) {
  return {s, kKindDisplay, static_cast<uint8_t>(cell), ' ', 16};
}
constexpr MenuItem V(std::string_view s, ValueCell cell, char key) {
  return {s, kKindValue, static_cast<uint8_t>(cell), key, 16};
}
constexpr MenuItem Bar(std::string_view s, Menu menu, char key) {
  return {s, kKindOpensMenu, static_cast<uint8_t>(menu), key, 8};
}
}  // namespace detail

inline constexpr std::array<MenuItem, kItemCount> kMenuItems = [] {
  using namespace detail;
  return std::array<MenuItem, kItemCount>{{
      L(""),                                                                             // 0
      Bar("  File", Menu::kFile, 'f'),                                                   // 1
      Bar("  Edit", Menu::kEdit, 'e'),                                                   // 2
      Bar("  View", Menu::kView, 'v'),                                                   // 3
      Bar(" Camera", Menu::kCamera, 'c'),                                                // 4
      K(" Quit", Command::kQuit, 'q'),                                                   // 5
      M(" Open", Menu::kOpen, 'o'),                                                      // 6
      K(" Save", Command::kSave, 's'),                                                   // 7
      K(" save As", Command::kSaveAs, 'a'),                                              // 8
      L("current totals"),                                                               // 9
      D("verteces", kCellVertexCount),                                                   // 10
      D("triangles", kCellTriangleCount),                                                // 11
      D("lines", kCellLineCount),                                                        // 12
      K(" exPort stl", Command::kExportStl, 'p'),                                        // 13
      K("---- close -----", Command::kClose, '-'),                                       // 14
      C("[_] show veRts", kOptShowVerts, 'r'),                                           // 15
      C("[_] show Tris", kOptShowTris, 't'),                                             // 16
      C("[_] show Lines", kOptShowLines, 'l'),                                           // 17
      {"", kKindGroupRow, 0, ' ', 16},                                                   // 18
      C("[_] Backface", kOptBackface, 'b'),                                              // 19
      L("    culling"),                                                                  // 20
      D("CXY", kCellCXY),                                                                // 21
      D("CXZ", kCellCXZ),                                                                // 22
      D("CYZ", kCellCYZ),                                                                // 23
      D("distance", kCellDistance),                                                      // 24
      D("scaling", kCellScaling),                                                        // 25
      C("[_] show Grid", kOptShowGrid, 'g'),                                             // 26
      K("froNt view", Command::kFrontView, 'n'),                                         // 27
      K("Back view", Command::kBackView, 'b'),                                           // 28
      K("Top view", Command::kTopView, 't'),                                             // 29
      K("bOttom view", Command::kBottomView, 'o'),                                       // 30
      K("Left side view", Command::kLeftSideView, 'l'),                                  // 31
      K("Right side view", Command::kRightSideView, 'r'),                                // 32
      M("new verteX", Menu::kNewVertex, 'x'),                                            // 33
      M("new Line", Menu::kNewLine, 'l'),                                                // 34
      M("new Triangle", Menu::kNewTriangle, 't'),                                        // 35
      M("new quAd", Menu::kNewQuad, 'a'),                                                // 36
      M("new cUbe", Menu::kNewCube, 'u'),                                                // 37
      D("h offset", kCellHOffset),                                                       // 38
      D("v offset", kCellVOffset),                                                       // 39
      C("[_] Wireframe", kOptWireframe, 'w'),                                            // 40
      C("[_] locK view", kOptLockView, 'k'),                                             // 41
      V("X1", kCellX1, '1'),                                                             // 42
      V("Y1", kCellY1, ' '),                                                             // 43
      V("Z1", kCellZ1, ' '),                                                             // 44
      V("X2", kCellX2, '2'),                                                             // 45
      V("Y2", kCellY2, ' '),                                                             // 46
      V("Z2", kCellZ2, ' '),                                                             // 47
      V("X3", kCellX3, '3'),                                                             // 48
      V("Y3", kCellY3, ' '),                                                             // 49
      V("Z3", kCellZ3, ' '),                                                             // 50
      V("X4", kCellX4, '4'),                                                             // 51
      V("Y4", kCellY4, ' '),                                                             // 52
      V("Z4", kCellZ4, ' '),                                                             // 53
      K(".... create ....", Command::kCreate, '.'),                                      // 54
      V("siZe", kCellSize, 'z'),                                                         // 55
      M("Selection...", Menu::kSelection, 's'),                                          // 56
      K("Delete last vert", Command::kDeleteLastVert, 'd'),                              // 57
      C("[_] Mouse plot", kOptMousePlot, 'm'),                                           // 58
      K("sl. eNtire model", Command::kSelectAll, 'n'),                                   // 59
      K("cLear selection", Command::kClearSelection, 'l'),                               // 60
      C("[_] Only select", kOptOnlyVisible, 'o'),                                        // 61
      L("   visible parts"),                                                             // 62
      M("Move selection", Menu::kMove, 'm'),                                             // 63
      M("dUplicate", Menu::kDuplicate, 'u'),                                             // 64
      M("Rotate selection", Menu::kRotate, 'r'),                                         // 65
      M("Delete selection", Menu::kDeleteSelection, 'd'),                                // 66
      L("selection total:"),                                                             // 67
      D("triangles", kCellSelectedCount),                                                // 68
      V("XY angle", kCellXYAngle, '2'),                                                  // 69
      V("XZ angle", kCellXZAngle, ' '),                                                  // 70
      V("YZ angle", kCellYZAngle, ' '),                                                  // 71
      K("....confirm.....", Command::kConfirm, '.'),                                     // 72
      M("scaLe selection", Menu::kScale, 'l'),                                           // 73
      C("[_] select Tool", kOptSelectTool, 't'),                                         // 74
      V("drawdepth", kCellDrawDepth, 'd'),                                               // 75
      V("X scale", kCellXScale, '2'),                                                    // 76
      V("Y scale", kCellYScale, ' '),                                                    // 77
      V("Z scale", kCellZScale, ' '),                                                    // 78
      C("[_] Unselect", kOptUnselect, 'u'),                                              // 79
      K(" New", Command::kNew, 'n'),                                                     // 80
      M("create Primitive", Menu::kCreatePrimitive, 'p'),                                // 81
      M("new Disc", Menu::kNewDisc, 'd'),                                                // 82
      M("new cYlinder", Menu::kNewCylinder, 'y'),                                        // 83
      M("new cOne", Menu::kNewCone, 'o'),                                                // 84
      V("Radius1", kCellRadius1, 'r'),                                                   // 85
      V("Height", kCellHeight, 'h'),                                                     // 86
      V("sIdes", kCellSides, 'i'),                                                       // 87
      K("<- part group ->", Command::kPartGroupStep, ' '),                               // 88
      M("part Names", Menu::kPartNames, 'n'),                                            // 89
      {"", kKindNameRow, 0, ' ', 16},                                                    // 90
      M("By part group", Menu::kByPartGroup, 'b'),                                       // 91
      K("reassigN to", Command::kReassign, 'n'),                                         // 92
      K("selection center", Command::kSelectionCentre, ' '),                             // 93
      C("[_] absolute co.", kOptAbsolute, ' '),                                          // 94
      C("[_] remove verts", kOptRemoveVerts, ' '),                                       // 95
      M("Actions", Menu::kActions, 'a'),                                                 // 96
      K("flip X", Command::kFlipX, 'x'),                                                 // 97
      K("flip Y", Command::kFlipY, 'y'),                                                 // 98
      K("flip Z", Command::kFlipZ, 'z'),                                                 // 99
      M("Misc tools", Menu::kMiscTools, 'm'),                                            // 100
      K("delete last Tri", Command::kDeleteLastTriangle, 't'),                           // 101
      K("deLete last line", Command::kDeleteLastLine, 'l'),                              // 102
      M("vert edIt", Menu::kVertEdit, 'i'),                                              // 103
      K("Manual triangle", Command::kManualTriangle, 'm'),                               // 104
      K("Auto triangle", Command::kAutoTriangle, 'a'),                                   // 105
      M("Guillotine", Menu::kGuillotine, 'g'),                                           // 106
      M("dRill press", Menu::kDrillPress, 'r'),                                          // 107
      V("screenX", kCellScreenX, ' '),                                                   // 108
      V("screenY", kCellScreenY, ' '),                                                   // 109
      K("cHizel", Command::kChisel, 'h'),                                                // 110
      K("Load part from", Command::kLoadPart, 'l'),                                      // 111
      K("save To file", Command::kSavePart, 't'),                                        // 112
      K("Benchmark", Command::kBenchmark, 'b'),                                          // 113
      K("reverse fAces", Command::kReverseFaces, 'a'),                                   // 114
      K("Move to absolute", Command::kMoveToAbsolute, 'm'),                              // 115
      K("Delete vert", Command::kDeleteVert, 'd'),                                       // 116
      C("[_] vert Selectr", kOptVertSelector, 's'),                                      // 117
      K("Slice xy plane", Command::kSliceXY, 's'),                                       // 118
      K("sLice yz plane", Command::kSliceYZ, 'l'),                                       // 119
      K("slIce xz plane", Command::kSliceXZ, 'i'),                                       // 120
      C("[_] model Colors", kOptModelColours, 'c'),                                      // 121
      M("Change color", Menu::kChangeColour, 'c'),                                       // 122
      L(" (range is 0-31)"),                                                             // 123
      V("Red", kCellChangeRed, 'r'),                                                     // 124
      V("Green", kCellChangeGreen, 'g'),                                                 // 125
      V("Blue", kCellChangeBlue, 'b'),                                                   // 126
      K("save scReenshot", Command::kScreenshot, 'r'),                                   // 127
      V("Red", kCellDefaultRed, 'r'),                                                    // 128
      V("Green", kCellDefaultGreen, 'g'),                                                // 129
      V("Blue", kCellDefaultBlue, 'b'),                                                  // 130
      M("deFault color", Menu::kDefaultColour, 'f'),                                     // 131
      C("[_]Connect edges", kOptConnectEdges, 'c'),                                      // 132
      C("[_]Unselect dupe", kOptUnselectDupe, 'u'),                                      // 133
      K("rainbOw", Command::kRainbow, 'o'),                                              // 134
      V("slice siZe", kCellSliceSize, 'z'),                                              // 135
      K("vert Cleanup", Command::kVertCleanup, 'c'),                                     // 136
      M("new Ring", Menu::kNewRing, 'r'),                                                // 137
      V("rAdius2", kCellRadius2, 'a'),                                                   // 138
      K("manual Fan", Command::kManualFan, 'f'),                                         // 139
      C("[_]Hide selected", kOptHideSelected, 'h'),                                      // 140
      {"", kKindFileRow, 0, ' ', 36},                                                    // 141
      K("filename Entry", Command::kFilenameEntry, 'e'),                                 // 142
      K("<prev page next>", Command::kFileListPage, ' '),                                // 143
      C("[_] All files", kOptAllFiles, 'a'),                                             // 144
      {" (current path)", kKindCommand, CommandNumber(Command::kCurrentPath), ' ', 32},  // 145
      K("lOad backdrop", Command::kLoadBackdrop, 'o'),                                   // 146
      C("[_] plot Chain", kOptPlotChain, 'c'),                                           // 147
      C("[_] Stereo view", kOptStereo, 's'),                                             // 148
      V("seParatin", kCellSeparation, 'p'),                                              // 149
      V("coNtrast", kCellContrast, 'n'),                                                 // 150
      C("[_] Quick render", kOptQuickRender, 'q'),                                       // 151
      M("light Source", Menu::kLightSource, 's'),                                        // 152
      V("LXY", kCellLightXY, ' '),                                                       // 153
      V("LYZ", kCellLightYZ, ' '),                                                       // 154
      K("Mouse light", Command::kMouseLight, 'm'),                                       // 155
      K("Create at offset", Command::kCreateAtOffset, 'c'),                              // 156
      V("X5", kCellX5, '5'),                                                             // 157
      V("Y5", kCellY5, ' '),                                                             // 158
      V("Z5", kCellZ5, ' '),                                                             // 159
      K("mOve to offset", Command::kMoveToOffset, 'o'),                                  // 160
  }};
}();

struct MenuDefinition {
  uint8_t column, row;           // origin: 1-based text cell of the first row
  std::array<uint8_t, 19> rows;  // item numbers, top row first
  uint8_t rowCount;
};

namespace detail {
template <typename... Items>
constexpr MenuDefinition Rows(int column, int row, Items... items) {
  static_assert(sizeof...(items) <= 19);
  return {static_cast<uint8_t>(column),
          static_cast<uint8_t>(row),
          {static_cast<uint8_t>(items)...},
          static_cast<uint8_t>(sizeof...(items))};
}
}  // namespace detail

// Indexed by menu number; index 0 (the bar) stays empty. Each definition is
// the origin column and row, then the item numbers of its rows, top first.
inline constexpr std::array<MenuDefinition, kMenuCount + 1> kMenus = [] {
  using detail::Rows;
  std::array<MenuDefinition, kMenuCount + 1> menus{};
  auto set = [&menus](Menu menu, MenuDefinition rows) { menus[MenuNumber(menu)] = rows; };
  set(Menu::kFile, Rows(2, 4, 14, 80, 6, 7, 8, 5, 13, 127, 0, 9, 10, 11, 12));
  set(Menu::kEdit, Rows(2, 4, 14, 81, 89, 56, 100, 131, 0, 88, 18, 111));
  set(Menu::kView, Rows(2, 4, 14, 15, 16, 17, 0, 26, 19, 20, 40, 140, 121, 75, 150, 146, 151, 152));
  set(Menu::kCamera,
      Rows(2, 4, 14, 21, 22, 23, 24, 25, 38, 39, 27, 28, 29, 30, 31, 32, 41, 148, 149));
  set(Menu::kNewVertex, Rows(19, 4, 14, 58, 42, 43, 44, 54));
  set(Menu::kNewLine, Rows(19, 4, 14, 58, 42, 43, 44, 45, 46, 47, 147, 54));
  set(Menu::kNewTriangle, Rows(19, 4, 14, 58, 42, 43, 44, 45, 46, 47, 48, 49, 50, 54));
  set(Menu::kNewQuad, Rows(19, 4, 14, 58, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54));
  set(Menu::kNewCube, Rows(19, 4, 14, 58, 42, 43, 44, 55, 54));
  set(Menu::kSelection, Rows(2, 4, 14, 59, 60, 91, 74, 79, 61, 62, 96, 0, 67, 68));
  set(Menu::kMove, Rows(19, 4, 14, 58, 94, 157, 158, 159, 72));
  set(Menu::kDuplicate, Rows(19, 4, 14, 132, 133, 58, 94, 157, 158, 159, 72));
  set(Menu::kRotate, Rows(19, 4, 14, 58, 93, 42, 43, 44, 69, 70, 71, 72));
  set(Menu::kScale, Rows(19, 4, 14, 58, 93, 42, 43, 44, 76, 77, 78, 72));
  set(Menu::kCreatePrimitive, Rows(2, 4, 14, 88, 18, 33, 34, 35, 36, 37, 82, 83, 84, 137));
  set(Menu::kNewDisc, Rows(19, 4, 14, 58, 42, 43, 44, 85, 87, 54));
  set(Menu::kNewCylinder, Rows(19, 4, 14, 58, 42, 43, 44, 85, 86, 87, 54));
  set(Menu::kNewCone, Rows(19, 4, 14, 58, 42, 43, 44, 85, 86, 87, 54));
  set(Menu::kPartNames, Rows(19, 4, 14, 88, 90, 90, 90, 90, 90, 90, 90, 90));
  set(Menu::kByPartGroup, Rows(19, 4, 14, 88, 18, 18, 18, 18, 18, 18, 18, 18));
  set(Menu::kDeleteSelection, Rows(19, 4, 14, 95, 72));
  set(Menu::kActions, Rows(2, 4, 14, 63, 64, 65, 73, 66, 97, 98, 99, 112, 114, 122, 92, 88, 18));
  set(Menu::kMiscTools, Rows(2, 4, 14, 57, 101, 102, 103, 104, 139, 105, 106, 107, 136, 113));
  set(Menu::kDrillPress, Rows(19, 4, 14, 58, 42, 43, 85, 135, 72));
  set(Menu::kVertEdit, Rows(19, 4, 14, 58, 117, 42, 43, 44, 115, 116, 156, 160, 157, 158, 159));
  set(Menu::kGuillotine, Rows(19, 4, 14, 58, 42, 43, 44, 118, 119, 120));
  set(Menu::kChangeColour, Rows(19, 4, 14, 123, 124, 125, 126, 134, 72));
  set(Menu::kDefaultColour, Rows(19, 4, 14, 123, 128, 129, 130));
  set(Menu::kNewRing, Rows(19, 4, 14, 58, 42, 43, 44, 85, 138, 87, 54));
  set(Menu::kOpen, Rows(2, 4, 14, 142, 144, 143, 141, 141, 141, 141, 141, 141, 141, 141, 141, 141,
                        141, 141, 141, 141, 145));
  set(Menu::kLightSource, Rows(19, 4, 14, 153, 154, 155));
  return menus;
}();

// The menu bar: items 1..4 at row 2, columns 2, 12, 22 and 32.
inline constexpr std::array<uint8_t, 4> kBarColumns = {2, 12, 22, 32};
constexpr int kBarRow = 2;

namespace detail {
constexpr bool TablesAreSound() {
  for (int i = 0; i < kItemCount; ++i) {
    const MenuItem& it = kMenuItems[i];
    if (it.label.size() > it.width) return false;
    if (it.kind == kKindOpensMenu && (it.parameter < 1 || it.parameter > kMenuCount)) return false;
    if (it.kind == kKindCommand && it.parameter >= kCommandCount) return false;
    if (it.kind == kKindCheckBox && it.parameter > 31) return false;
  }
  for (int m = 1; m <= kMenuCount; ++m) {
    const MenuDefinition& d = kMenus[m];
    if (d.rowCount == 0 || d.rows[0] != kCloseItem) return false;
    for (int r = 0; r < d.rowCount; ++r)
      if (d.rows[r] >= kItemCount) return false;
  }
  return true;
}
// Every command number 0..47 is reached by some item.
constexpr bool CommandsAreCovered() {
  for (int c = 0; c < kCommandCount; ++c) {
    bool found = false;
    for (const MenuItem& it : kMenuItems) found |= it.kind == kKindCommand && it.parameter == c;
    if (!found) return false;
  }
  return true;
}
}  // namespace detail

static_assert(kMenuItems.size() == 161);
static_assert(kMenus.size() == 31 + 1);
static_assert(kCommandCount == 48);
static_assert(detail::TablesAreSound(), "an item or menu definition is malformed");
static_assert(detail::CommandsAreCovered(), "every command number has an item");

}  // namespace qelvar
