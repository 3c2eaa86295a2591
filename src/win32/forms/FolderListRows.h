#pragma once

#include "controls/Control.h"
#include "win32/base/Windows.h"

namespace glimra::win32 {

// The rows of the drive list and the folder list, drawn by the program: each with the shell's
// small icon of its drive or folder, the folder list's rows indented by their level.

// The height of a row at a resolution: the small icon with a pixel above and below, and
// never less than the lists' design row.
int FolderRowHeight(int dpi);

// Draws one row (WM_DRAWITEM) of the drive list or the folder list.
void DrawFolderRow(const DRAWITEMSTRUCT& item, const Control& list, int dpi);

}  // namespace glimra::win32
