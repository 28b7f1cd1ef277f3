// The menu system's steps of a main-loop pass: Alt, the wheel, the menu keys
// and the mouse on menus.
#include <algorithm>

#include "app/menu_actions.h"
#include "app/menu_hooks.h"
#include "app/menu_tables.h"
#include "app/menus.h"
#include "core/menu_ids.h"
#include "model/file_browser.h"

namespace qelvar {
namespace {

constexpr int kKeyTab = 9, kKeyEnter = 13;

// Moves the highlight through the whole table, wrapping, until it lands on an
// area of the focused menu.
void StepHighlight(MenuState& menus, int direction) {
  const int n = menus.areaCount;
  if (n == 0) return;
  int i = menus.highlight;
  if (i < 0 || i >= n) i = direction > 0 ? -1 : n;
  for (int tries = 0; tries < n; ++tries) {
    i = ((i + direction) % n + n) % n;
    if (menus.areas[i].menu == menus.focus) {
      menus.highlight = i;
      return;
    }
  }
}

// Tab: the open menu with the next higher number gets the focus, or nobody.
void PassFocus(MenuState& menus) {
  const int from = menus.focus < 0 ? 0 : menus.focus;
  int next = -1;
  for (int i = 0; i < menus.areaCount; ++i) {
    const int menu = menus.areas[i].menu;
    if (menu > from && (next == -1 || menu < next)) next = menu;
  }
  menus.focus = next;
  menus.highlight = -1;
}

// Arrows and Tab; true when they changed the menus.
bool NavigationKeys(Modeller& m, const std::string& key) {
  MenuState& menus = m.menus;
  if (menus.focus == 0) {
    if (IsExtendedKey(key, kScanDown)) {
      if (menus.highlight >= 0) ActivateArea(m, menus.highlight);
      return true;
    }
    if (IsExtendedKey(key, kScanLeft) || IsExtendedKey(key, kScanRight)) {
      const int step = IsExtendedKey(key, kScanLeft) ? -1 : 1;
      menus.highlight = ((menus.highlight + step) % 4 + 4) % 4;
      m.flags.screenDirty = 2;
      return true;
    }
  } else if (menus.focus >= 1) {
    if (IsExtendedKey(key, kScanLeft)) menus.itemDirection = -1;
    if (IsExtendedKey(key, kScanRight)) menus.itemDirection = 1;
    if (IsExtendedKey(key, kScanUp) || IsExtendedKey(key, kScanDown)) {
      StepHighlight(menus, IsExtendedKey(key, kScanUp) ? -1 : 1);
      m.flags.screenDirty = 2;
      return true;
    }
  }
  if (key.size() == 1 && key[0] == kKeyTab && menus.focus != 0) {
    PassFocus(menus);
    m.flags.screenDirty = 2;
    return true;
  }
  return false;
}

// The first area of the focused menu (or the bar) whose hotkey is the key.
int HotkeyArea(const MenuState& menus, char key) {
  if (menus.focus < 0 || key == ' ') return -1;
  for (int i = 0; i < menus.areaCount; ++i) {
    const MenuArea& a = menus.areas[i];
    if (a.menu == menus.focus && kMenuItems[a.item].hotkey == key) return i;
  }
  return -1;
}

bool LeftHeld(const MouseState& mouse) { return (mouse.buttons & 1) != 0; }
bool RightHeld(const MouseState& mouse) { return (mouse.buttons & 2) != 0; }

// The scroll-bar thumb of the file list follows the mouse by whole text rows.
PassFlow FileListThumb(Modeller& m) {
  FileListState& list = m.menus.fileList;
  MouseState& mouse = m.mouse;
  if (!LeftHeld(mouse)) {
    list.thumbDrag = false;
    return PassFlow::kContinue;
  }
  if (list.thumbDrag) {
    const int rows = (mouse.mouseY - mouse.pressY) / m.geometry.cellHeight;
    if (rows != 0) {
      DragFileListThumb(list, rows);
      mouse.pressY += m.geometry.cellHeight * rows;
      m.flags.screenDirty = 2;
    }
    return PassFlow::kEndPassNoBookkeeping;
  }
  if (!mouse.leftClick) return PassFlow::kContinue;
  const int hit =
      HitTestArea(m.menus, m.geometry.cellHeight, mouse.screenMouseX, mouse.screenMouseY);
  if (hit < 0) return PassFlow::kContinue;
  const MenuArea& a = m.menus.areas[hit];
  if (kMenuItems[a.item].kind != kKindFileRow || !m.menus.scrollColumn ||
      (a.extra & 127) != list.thumbRow)
    return PassFlow::kContinue;
  list.thumbDrag = true;
  return PassFlow::kEndPass;
}

// Right button: a click on a menu row picks the menu up, holding drags it.
PassFlow RightDrag(Modeller& m) {
  MenuState& menus = m.menus;
  if (!RightHeld(m.mouse)) {
    menus.draggedMenu = 0;
    return PassFlow::kContinue;
  }
  if (menus.draggedMenu != 0) {
    if (DragMenu(menus, m.mouse, m.geometry)) m.flags.screenDirty = 1;
    return PassFlow::kEndPassNoBookkeeping;
  }
  if (!m.mouse.rightClick) return PassFlow::kContinue;
  const int hit =
      HitTestArea(menus, m.geometry.cellHeight, m.mouse.screenMouseX, m.mouse.screenMouseY);
  if (hit < 0 || menus.areas[hit].menu == MenuNumber(Menu::kBar)) return PassFlow::kContinue;
  menus.draggedMenu = menus.areas[hit].menu;
  return PassFlow::kEndPass;
}

}  // namespace

void InitMenus(Modeller& m) { InitMenus(m.menus); }

void OpenMenu(Modeller& m, int menu) {
  OpenMenu(m.menus, menu);
  m.flags.screenDirty = 1;
}

bool MenuHasKeyboardFocus(const Modeller& m) { return m.menus.focus >= 1; }

void ToggleMenuBarFocus(Modeller& m) {
  MenuState& menus = m.menus;
  menus.highlight = -1;
  menus.focus = menus.focus == 0 ? -1 : 0;
  m.flags.screenDirty = 2;
}

PassFlow MenuWheelStep(Modeller& m) {
  MouseState& mouse = m.mouse;
  if (mouse.wheel == mouse.previousWheel) return PassFlow::kContinue;
  const int hit =
      HitTestArea(m.menus, m.geometry.cellHeight, mouse.screenMouseX, mouse.screenMouseY);
  if (hit < 0) return PassFlow::kContinue;
  const MenuArea& a = m.menus.areas[hit];
  const int change = mouse.previousWheel - mouse.wheel;
  const int kind = kMenuItems[a.item].kind;
  if (kind == kKindFileRow) {
    FileListState& list = m.menus.fileList;
    ScrollFileList(list, int64_t{change} * kFileWheelStep);
  } else if (kind == kKindNameRow) {
    m.menus.partGroup[a.menu] = StepPartGroup(m.menus.partGroup[a.menu], change);
  }
  m.flags.screenDirty |= 2;
  return PassFlow::kToolStep;
}

PassFlow MenuKeyStep(Modeller& m) {
  const std::string& key = m.flags.lastKey;
  if (key.empty()) return PassFlow::kContinue;
  if (NavigationKeys(m, key)) return PassFlow::kEndPass;
  MenuState& menus = m.menus;
  // A row chosen from the keyboard is not chosen in the scroll bar of the file
  // list, wherever the last mouse click was.
  menus.scrollColumn = false;
  if (key.size() == 1 && key[0] == kKeyEnter) {
    if (menus.highlight < 0) return PassFlow::kContinue;
    ActivateArea(m, menus.highlight);
    return PassFlow::kEndPass;
  }
  if (key.size() != 1) return PassFlow::kContinue;
  const int area = HotkeyArea(menus, key[0]);
  if (area < 0) return PassFlow::kContinue;
  ActivateArea(m, area);
  return PassFlow::kEndPass;
}

PassFlow MenuMouseStep(Modeller& m) {
  PassFlow flow = FileListThumb(m);
  if (flow != PassFlow::kContinue) return flow;
  flow = RightDrag(m);
  if (flow != PassFlow::kContinue) return flow;
  if (!m.mouse.leftClick) return PassFlow::kContinue;
  const int hit =
      HitTestArea(m.menus, m.geometry.cellHeight, m.mouse.screenMouseX, m.mouse.screenMouseY);
  if (hit < 0) return PassFlow::kContinue;
  m.flags.menuItemClicked = true;
  ActivateArea(m, hit);
  return PassFlow::kEndPass;
}

}  // namespace qelvar
