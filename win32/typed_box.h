#pragma once

#include <windows.h>

namespace win32 {

// An edit box's own undo holds one step, and EM_UNDO toggles it: a second Ctrl+Z would put the
// typing back. In the boxes that take typing, Ctrl+Z takes the last step back once and Ctrl+Y
// (or Ctrl+Shift+Z) makes it again, until the next typing.
void KeepUndoAndRedoApart(HWND box);

}  // namespace win32
