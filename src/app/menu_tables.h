// The menu items, the menu definitions and the command numbers, fixed at build
// time. Labels are kept without their trailing blanks; a row always shows
// exactly its width in cells, padded with blanks.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

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
constexpr MenuItem L(std::string_view s) { return {s, kKindLabel, 0, ' ', 16}; }
constexpr MenuItem M(std::string_view s, int menu, char key) {
  return {s, kKindOpensMenu, static_cast<uint8_t>(menu), key, 16};
}
constexpr MenuItem C(std::string_view s, int bit, char key) {
  return {s, kKindCheckBox, static_cast<uint8_t>(bit), key, 16};
}
constexpr MenuItem K(std::string_view s, int command, char key) {
  return {s, kKindCommand, static_cast<uint8_t>(command), key, 16};
}
constexpr MenuItem D(std::string_view s, int cell) {
  return {s, kKindDisplay, static_cast<uint8_t>(cell), ' ', 16};
}
constexpr MenuItem V(std::string_view s, int cell, char key) {
  return {s, kKindValue, static_cast<uint8_t>(cell), key, 16};
}
constexpr MenuItem Bar(std::string_view s, int menu, char key) {
  return {s, kKindOpensMenu, static_cast<uint8_t>(menu), key, 8};
}
}  // namespace detail

inline constexpr std::array<MenuItem, kItemCount> kMenuItems = [] {
  using namespace detail;
  return std::array<MenuItem, kItemCount>{{
      L(""),                                           // 0
      Bar("  File", 1, 'f'),                           // 1
      Bar("  Edit", 2, 'e'),                           // 2
      Bar("  View", 3, 'v'),                           // 3
      Bar(" Camera", 4, 'c'),                          // 4
      K(" Quit", 0, 'q'),                              // 5
      M(" Open", 30, 'o'),                             // 6
      K(" Save", 2, 's'),                              // 7
      K(" save As", 3, 'a'),                           // 8
      L("current totals"),                             // 9
      D("verteces", 0),                                // 10
      D("triangles", 1),                               // 11
      D("lines", 2),                                   // 12
      K(" exPort stl", 11, 'p'),                       // 13
      K("---- close -----", 4, '-'),                   // 14
      C("[_] show veRts", 0, 'r'),                     // 15
      C("[_] show Tris", 1, 't'),                      // 16
      C("[_] show Lines", 2, 'l'),                     // 17
      {"", kKindGroupRow, 0, ' ', 16},                 // 18
      C("[_] Backface", 4, 'b'),                       // 19
      L("    culling"),                                // 20
      D("CXY", 4),                                     // 21
      D("CXZ", 5),                                     // 22
      D("CYZ", 6),                                     // 23
      D("distance", 7),                                // 24
      D("scaling", 8),                                 // 25
      C("[_] show Grid", 5, 'g'),                      // 26
      K("froNt view", 5, 'n'),                         // 27
      K("Back view", 6, 'b'),                          // 28
      K("Top view", 7, 't'),                           // 29
      K("bOttom view", 8, 'o'),                        // 30
      K("Left side view", 9, 'l'),                     // 31
      K("Right side view", 10, 'r'),                   // 32
      M("new verteX", 5, 'x'),                         // 33
      M("new Line", 6, 'l'),                           // 34
      M("new Triangle", 7, 't'),                       // 35
      M("new quAd", 8, 'a'),                           // 36
      M("new cUbe", 9, 'u'),                           // 37
      D("h offset", 9),                                // 38
      D("v offset", 10),                               // 39
      C("[_] Wireframe", 6, 'w'),                      // 40
      C("[_] locK view", 3, 'k'),                      // 41
      V("X1", 50, '1'),                                // 42
      V("Y1", 51, ' '),                                // 43
      V("Z1", 52, ' '),                                // 44
      V("X2", 53, '2'),                                // 45
      V("Y2", 54, ' '),                                // 46
      V("Z2", 55, ' '),                                // 47
      V("X3", 56, '3'),                                // 48
      V("Y3", 57, ' '),                                // 49
      V("Z3", 58, ' '),                                // 50
      V("X4", 59, '4'),                                // 51
      V("Y4", 60, ' '),                                // 52
      V("Z4", 61, ' '),                                // 53
      K(".... create ....", 12, '.'),                  // 54
      V("siZe", 62, 'z'),                              // 55
      M("Selection...", 10, 's'),                      // 56
      K("Delete last vert", 13, 'd'),                  // 57
      C("[_] Mouse plot", 7, 'm'),                     // 58
      K("sl. eNtire model", 14, 'n'),                  // 59
      K("cLear selection", 15, 'l'),                   // 60
      C("[_] Only select", 8, 'o'),                    // 61
      L("   visible parts"),                           // 62
      M("Move selection", 11, 'm'),                    // 63
      M("dUplicate", 12, 'u'),                         // 64
      M("Rotate selection", 13, 'r'),                  // 65
      M("Delete selection", 21, 'd'),                  // 66
      L("selection total:"),                           // 67
      D("triangles", 11),                              // 68
      V("XY angle", 63, '2'),                          // 69
      V("XZ angle", 64, ' '),                          // 70
      V("YZ angle", 65, ' '),                          // 71
      K("....confirm.....", 17, '.'),                  // 72
      M("scaLe selection", 14, 'l'),                   // 73
      C("[_] select Tool", 9, 't'),                    // 74
      V("drawdepth", 66, 'd'),                         // 75
      V("X scale", 67, '2'),                           // 76
      V("Y scale", 68, ' '),                           // 77
      V("Z scale", 69, ' '),                           // 78
      C("[_] Unselect", 10, 'u'),                      // 79
      K(" New", 18, 'n'),                              // 80
      M("create Primitive", 15, 'p'),                  // 81
      M("new Disc", 16, 'd'),                          // 82
      M("new cYlinder", 17, 'y'),                      // 83
      M("new cOne", 18, 'o'),                          // 84
      V("Radius1", 82, 'r'),                           // 85
      V("Height", 83, 'h'),                            // 86
      V("sIdes", 12, 'i'),                             // 87
      K("<- part group ->", 19, ' '),                  // 88
      M("part Names", 19, 'n'),                        // 89
      {"", kKindNameRow, 0, ' ', 16},                  // 90
      M("By part group", 20, 'b'),                     // 91
      K("reassigN to", 20, 'n'),                       // 92
      K("selection center", 21, ' '),                  // 93
      C("[_] absolute co.", 11, ' '),                  // 94
      C("[_] remove verts", 12, ' '),                  // 95
      M("Actions", 22, 'a'),                           // 96
      K("flip X", 16, 'x'),                            // 97
      K("flip Y", 22, 'y'),                            // 98
      K("flip Z", 23, 'z'),                            // 99
      M("Misc tools", 23, 'm'),                        // 100
      K("delete last Tri", 24, 't'),                   // 101
      K("deLete last line", 25, 'l'),                  // 102
      M("vert edIt", 25, 'i'),                         // 103
      K("Manual triangle", 27, 'm'),                   // 104
      K("Auto triangle", 28, 'a'),                     // 105
      M("Guillotine", 26, 'g'),                        // 106
      M("dRill press", 24, 'r'),                       // 107
      V("screenX", 13, ' '),                           // 108
      V("screenY", 14, ' '),                           // 109
      K("cHizel", 30, 'h'),                            // 110
      K("Load part from", 31, 'l'),                    // 111
      K("save To file", 32, 't'),                      // 112
      K("Benchmark", 33, 'b'),                         // 113
      K("reverse fAces", 34, 'a'),                     // 114
      K("Move to absolute", 35, 'm'),                  // 115
      K("Delete vert", 26, 'd'),                       // 116
      C("[_] vert Selectr", 13, 's'),                  // 117
      K("Slice xy plane", 29, 's'),                    // 118
      K("sLice yz plane", 36, 'l'),                    // 119
      K("slIce xz plane", 37, 'i'),                    // 120
      C("[_] model Colors", 14, 'c'),                  // 121
      M("Change color", 27, 'c'),                      // 122
      L(" (range is 0-31)"),                           // 123
      V("Red", 15, 'r'),                               // 124
      V("Green", 16, 'g'),                             // 125
      V("Blue", 17, 'b'),                              // 126
      K("save scReenshot", 38, 'r'),                   // 127
      V("Red", 18, 'r'),                               // 128
      V("Green", 19, 'g'),                             // 129
      V("Blue", 20, 'b'),                              // 130
      M("deFault color", 28, 'f'),                     // 131
      C("[_]Connect edges", 15, 'c'),                  // 132
      C("[_]Unselect dupe", 16, 'u'),                  // 133
      K("rainbOw", 39, 'o'),                           // 134
      V("slice siZe", 84, 'z'),                        // 135
      K("vert Cleanup", 40, 'c'),                      // 136
      M("new Ring", 29, 'r'),                          // 137
      V("rAdius2", 85, 'a'),                           // 138
      K("manual Fan", 41, 'f'),                        // 139
      C("[_]Hide selected", 17, 'h'),                  // 140
      {"", kKindFileRow, 0, ' ', 36},                  // 141
      K("filename Entry", 1, 'e'),                     // 142
      K("<prev page next>", 42, ' '),                  // 143
      C("[_] All files", 18, 'a'),                     // 144
      {" (current path)", kKindCommand, 43, ' ', 32},  // 145
      K("lOad backdrop", 44, 'o'),                     // 146
      C("[_] plot Chain", 19, 'c'),                    // 147
      C("[_] Stereo view", 20, 's'),                   // 148
      V("seParatin", 25, 'p'),                         // 149
      V("coNtrast", 26, 'n'),                          // 150
      C("[_] Quick render", 21, 'q'),                  // 151
      M("light Source", 31, 's'),                      // 152
      V("LXY", 86, ' '),                               // 153
      V("LYZ", 87, ' '),                               // 154
      K("Mouse light", 45, 'm'),                       // 155
      K("Create at offset", 46, 'c'),                  // 156
      V("X5", 90, '5'),                                // 157
      V("Y5", 91, ' '),                                // 158
      V("Z5", 92, ' '),                                // 159
      K("mOve to offset", 47, 'o'),                    // 160
  }};
}();

struct MenuDefinition {
  uint8_t column, row;           // origin: 1-based text cell of the first row
  std::array<uint8_t, 19> rows;  // item numbers, top row first
  uint8_t rowCount;
};

namespace detail {
template <typename... Items>
constexpr MenuDefinition Menu(int column, int row, Items... items) {
  static_assert(sizeof...(items) <= 19);
  return {static_cast<uint8_t>(column),
          static_cast<uint8_t>(row),
          {static_cast<uint8_t>(items)...},
          static_cast<uint8_t>(sizeof...(items))};
}
}  // namespace detail

// Index 0 is unused (menu number 0 is the bar); menus are 1..31.
inline constexpr std::array<MenuDefinition, kMenuCount + 1> kMenus = [] {
  using detail::Menu;
  return std::array<MenuDefinition, kMenuCount + 1>{{
      Menu(0, 0),
      Menu(2, 4, 14, 80, 6, 7, 8, 5, 13, 127, 0, 9, 10, 11, 12),             // 1 File
      Menu(2, 4, 14, 81, 89, 56, 100, 131, 0, 88, 18, 111),                  // 2 Edit
      Menu(2, 4, 14, 15, 16, 17, 0, 26, 19, 20, 40, 140, 121, 75, 150, 146,  // 3 View
           151, 152),
      Menu(2, 4, 14, 21, 22, 23, 24, 25, 38, 39, 27, 28, 29, 30, 31, 32, 41,  // 4 Camera
           148, 149),
      Menu(19, 4, 14, 58, 42, 43, 44, 54),                                      // 5 new verteX
      Menu(19, 4, 14, 58, 42, 43, 44, 45, 46, 47, 147, 54),                     // 6 new Line
      Menu(19, 4, 14, 58, 42, 43, 44, 45, 46, 47, 48, 49, 50, 54),              // 7 new Triangle
      Menu(19, 4, 14, 58, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54),  // 8 new quAd
      Menu(19, 4, 14, 58, 42, 43, 44, 55, 54),                                  // 9 new cUbe
      Menu(2, 4, 14, 59, 60, 91, 74, 79, 61, 62, 96, 0, 67, 68),                // 10 Selection
      Menu(19, 4, 14, 58, 94, 157, 158, 159, 72),                               // 11 Move
      Menu(19, 4, 14, 132, 133, 58, 94, 157, 158, 159, 72),                     // 12 dUplicate
      Menu(19, 4, 14, 58, 93, 42, 43, 44, 69, 70, 71, 72),                      // 13 Rotate
      Menu(19, 4, 14, 58, 93, 42, 43, 44, 76, 77, 78, 72),                      // 14 scaLe
      Menu(2, 4, 14, 88, 18, 33, 34, 35, 36, 37, 82, 83, 84, 137),  // 15 create Primitive
      Menu(19, 4, 14, 58, 42, 43, 44, 85, 87, 54),                  // 16 new Disc
      Menu(19, 4, 14, 58, 42, 43, 44, 85, 86, 87, 54),              // 17 new cYlinder
      Menu(19, 4, 14, 58, 42, 43, 44, 85, 86, 87, 54),              // 18 new cOne
      Menu(19, 4, 14, 88, 90, 90, 90, 90, 90, 90, 90, 90),          // 19 part Names
      Menu(19, 4, 14, 88, 18, 18, 18, 18, 18, 18, 18, 18),          // 20 By part group
      Menu(19, 4, 14, 95, 72),                                      // 21 Delete selection
      Menu(2, 4, 14, 63, 64, 65, 73, 66, 97, 98, 99, 112, 114, 122, 92, 88, 18),  // 22 Actions
      Menu(2, 4, 14, 57, 101, 102, 103, 104, 139, 105, 106, 107, 136, 113),       // 23 Misc tools
      Menu(19, 4, 14, 58, 42, 43, 85, 135, 72),                                   // 24 dRill press
      Menu(19, 4, 14, 58, 117, 42, 43, 44, 115, 116, 156, 160, 157, 158, 159),    // 25 vert edIt
      Menu(19, 4, 14, 58, 42, 43, 44, 118, 119, 120),                             // 26 Guillotine
      Menu(19, 4, 14, 123, 124, 125, 126, 134, 72),                               // 27 Change color
      Menu(19, 4, 14, 123, 128, 129, 130),                                   // 28 deFault color
      Menu(19, 4, 14, 58, 42, 43, 44, 85, 138, 87, 54),                      // 29 new Ring
      Menu(2, 4, 14, 142, 144, 143, 141, 141, 141, 141, 141, 141, 141, 141,  // 30 Open
           141, 141, 141, 141, 141, 141, 145),
      Menu(19, 4, 14, 153, 154, 155),  // 31 light Source
  }};
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
