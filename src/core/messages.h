// The one-shot status messages printed at row 23: their numbers and texts.
#pragma once

#include <array>
#include <string_view>

namespace qelvar {

enum Message : int {
  kMsgNone = 0,
  kMsgCanceled = 1,
  kMsgNotQvFile = 2,
  kMsgInvalidFile = 3,
  kMsgFileSaved = 5,
  kMsgFileLoaded = 6,
  kMsgModelCleared = 8,
  kMsgDeleted = 9,
  kMsgNotImplemented = 10,
  kMsgNothingSelected = 11,
  kMsgScreenshotSaved = 12,
  kMsgCantOpenFile = 13,
  kMsgVertsCleaned = 14,
  kMsgModeTooLarge = 15,
};

constexpr int kMessageCount = kMsgModeTooLarge + 1;
constexpr int kMessageWidth = 25;

// Indexed by message number. Each text is blank-padded to kMessageWidth so a
// short message covers a long one (only the start-up message about the mode
// is longer); numbers without a message print blanks.
inline constexpr std::array<std::string_view, kMessageCount> kMessageTexts = [] {
  std::array<std::string_view, kMessageCount> t{};
  t.fill("                         ");
  t[kMsgCanceled] = "Canceled.                ";
  t[kMsgNotQvFile] = "Error: not an QV file    ";
  t[kMsgInvalidFile] = "Error: invalid file      ";
  t[kMsgFileSaved] = "File saved.              ";
  t[kMsgFileLoaded] = "File loaded.             ";
  t[kMsgModelCleared] = "Model cleared!           ";
  t[kMsgDeleted] = "Deleted!                 ";
  t[kMsgNotImplemented] = "function not implemented ";
  t[kMsgNothingSelected] = "Nothing selected!        ";
  t[kMsgScreenshotSaved] = "Screenshot saved.        ";
  t[kMsgCantOpenFile] = "Error: can't open file   ";
  t[kMsgVertsCleaned] = "verts cleaned.           ";
  t[kMsgModeTooLarge] = "Mode too large for this display";  // once, at start-up
  return t;
}();

static_assert(kMessageTexts.size() == 16, "message numbers 0..15");
static_assert(
    [] {
      for (std::string_view text : kMessageTexts)
        if (text.size() < kMessageWidth) return false;
      return true;
    }(),
    "every message text covers at least kMessageWidth characters");

// The text of a message number, blanks for a number without a message.
constexpr std::string_view StatusMessageText(int number) {
  return number >= 0 && number < kMessageCount ? kMessageTexts[number] : kMessageTexts[kMsgNone];
}

}  // namespace qelvar
