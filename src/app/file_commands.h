// The File, Edit, Actions and View menu commands that read and write files,
// and the rows of the " Open" file list.
#pragma once

#include <string>

#include "app/menu_state.h"
#include "app/modeller.h"

namespace qelvar {

// Loads a model (or imports an STL file) as the file list does: the outcome
// goes to the status line, normals and view are renewed. A model that was
// replaced remembers where its file is and counts as unmodified.
void LoadModelFile(Modeller& m, const std::string& name);
// The same after asking whether unsaved work may go, when the file exists.
void OpenFileChecked(Modeller& m, const std::string& name);

void OpenByName(Modeller& m);               // "filename Entry"
void SaveModel(Modeller& m);                // " Save"
void SaveAs(Modeller& m);                   // " save As"
void NewModel(Modeller& m);                 // " New"
void ExportStlCommand(Modeller& m);         // " exPort stl"
void LoadPart(Modeller& m);                 // "Load part from"
void SavePart(Modeller& m);                 // "save To file"
void SaveScreenshotCommand(Modeller& m);    // "save scReenshot"
void LoadBackdropCommand(Modeller& m);      // "lOad backdrop"
void StepFileListPageCommand(Modeller& m);  // "<prev page next>"
void ChangeFileListPath(Modeller& m);       // " (current path) "

// A file-list row drawn by the menus: lists the directory when needed, prints
// the row and notes its row number (plus 128 past the end) in the area.
void DrawFileListRow(Modeller& m, MenuArea& area, int foreground, int background);
// A file-list row chosen: scroll bar, directory or file.
void ChooseFileListRow(Modeller& m, const MenuArea& area);

}  // namespace qelvar
