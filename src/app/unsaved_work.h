// Whether the model holds work that no file has, and the yes/no questions
// asked before a command would drop it or write over another file.
#pragma once

#include <string>
#include <string_view>

#include "app/modeller.h"

namespace qelvar {

inline constexpr std::string_view kQuitQuestion = "Model not saved. Quit anyway? (y/n)";
inline constexpr std::string_view kNewQuestion = "Model not saved. New anyway? (y/n)";
inline constexpr std::string_view kOpenQuestion = "Model not saved. Open anyway? (y/n)";
inline constexpr std::string_view kOverwriteQuestion = "File exists. Overwrite? (y/n)";

// True when the model changed since it was last loaded, saved or started.
bool ModelModified(const Modeller& m);

// The model now matches its file (load, save, New, start-up). Normals are
// brought up to date here, so the main loop does not take them for an edit.
void MarkModelSaved(Modeller& m);

// Asks the question through the text prompt; only "y" or "Y" answers yes.
// Any other answer reports "Canceled.".
bool AskYes(Modeller& m, std::string_view question);

// True when the command may go on: the model holds no unsaved work, or the
// user answered yes to the question.
bool ConfirmDropWork(Modeller& m, std::string_view question);

// True when saving to `path` may go on: nothing is there, it is the file the
// model was loaded from or last saved to, or the user agreed to overwrite it.
bool ConfirmOverwrite(Modeller& m, const std::string& path);

// The window's close request (or " Quit"): ends the program at once when
// nothing is unsaved, else asks first. A close request while that question
// is shown ends the program. Returns only when the user kept the program.
void RequestQuit(Modeller& m);

// "qelvar - NAME", with a "*" before the name while the model is modified.
std::string WindowTitle(const Modeller& m);

}  // namespace qelvar
