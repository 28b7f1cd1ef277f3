// The prompt box, its line entry and the answer taken from the typed line.
#include "app/text_prompt.h"

#include <algorithm>

#include "app/line_entry.h"
#include "app/text_drawing.h"
#include "app/unsaved_work.h"

namespace qelvar {
namespace {

constexpr int kEntryRow = 8;
constexpr int kEntryColumn = 8;  // after the "? " that opens the entry

// The box is 30 cells wide inside; a longer title (a question) widens it as
// far as the screen allows.
void DrawBox(Modeller& m, std::string_view title) {
  const int columns = m.geometry.textColumns > 0 ? m.geometry.textColumns : 80;
  const size_t width = std::clamp<size_t>(title.size(), 30, size_t(std::max(30, columns - 5)));
  const int inside = static_cast<int>(width);
  std::string t(title.substr(0, width));
  t.resize(width, ' ');
  PrintAt(m, 7, 5, t, kColourText, kColourPlainRow);
  PrintAt(m, 8, 5, std::string(width, ' '), kColourText, kColourPlainRow);
  PrintAt(m, 9, 5, std::string(width, ' '), kColourText, kColourPlainRow);
  PrintAt(m, 6, 4, std::string(width + 2, ' '), kColourText, kColourFrame);
  for (int row = 7; row <= 9; ++row) {
    PrintAt(m, row, 4, " ", kColourText, kColourFrame);
    PrintAt(m, row, 5 + inside, " ", kColourText, kColourFrame);
  }
  PrintAt(m, 10, 4, std::string(width + 2, ' '), kColourText, kColourFrame);
  PrintAt(m, kEntryRow, 6, std::string(28, ' '), kColourDigits, kColourValueBack);
  PrintAt(m, kEntryRow, 6, "? ", kColourDigits, kColourValueBack);
}

// Prints the entered text from the entry start, running on past the field and
// wrapping at the right edge of the screen; the cell under the cursor is shown
// in swapped colours. Cells drawn before and now past the end are blanked, so
// deleted text disappears. Returns the number of cells drawn.
size_t DrawLine(Modeller& m, const LineEntry& e, size_t drawnBefore) {
  const int columns = m.geometry.textColumns > 0 ? m.geometry.textColumns : 80;
  const int rows = m.geometry.textRows > 0 ? m.geometry.textRows : 25;
  std::string shown = e.text + ' ';
  if (shown.size() < drawnBefore) shown.resize(drawnBefore, ' ');
  for (size_t i = 0; i < shown.size(); ++i) {
    const size_t cell = static_cast<size_t>(kEntryColumn - 1) + i;
    const int row = kEntryRow + static_cast<int>(cell / columns);
    if (row > rows) break;
    const int column = static_cast<int>(cell % columns) + 1;
    const bool atCursor = i == e.cursor;
    PrintAt(m, row, column, std::string_view(&shown[i], 1),
            atCursor ? kColourValueBack : kColourDigits,
            atCursor ? kColourDigits : kColourValueBack);
  }
  return e.text.size() + 1;
}

}  // namespace

std::string AskText(Modeller& m, std::string_view title) {
  DrawBox(m, title);
  LineEntry entry;
  entry.screenColumns = m.geometry.textColumns;
  size_t drawn = 0;
  for (;;) {
    drawn = DrawLine(m, entry, drawn);
    ShowDrawing(m);
    const std::string key = m.platform.WaitKey();
    if (IsCloseRequest(key)) {
      RequestQuit(m);  // the user kept the program: the box comes back
      DrawBox(m, title);
      drawn = 0;
      continue;
    }
    if (ApplyLineKey(entry, key)) break;
  }
  return ExtractAnswer(entry.text);
}

}  // namespace qelvar
