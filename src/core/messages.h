// Numbers of the one-shot status messages printed at row 23.
#pragma once

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

}  // namespace qelvar
