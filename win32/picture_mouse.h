#pragma once

#include <windows.h>

#include "editor/editor.h"

namespace win32 {

// The left button and the mouse on a picture of the texture, for the editor: the mouse is
// captured from press to release, and a capture taken away is the surface's mouse lost.
// at is the point in the surface's own pixels. True when the message was one of these.
bool ForwardPictureMouse(editor::Editor& editor, editor::Surface surface, HWND window, UINT message, POINT at);

// The system's pointer for the editor's cursor.
HCURSOR SystemCursor(editor::Cursor cursor);

}  // namespace win32
