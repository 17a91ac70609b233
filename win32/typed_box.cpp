#include "win32/typed_box.h"

#include <commctrl.h>

namespace win32 {
namespace {

constexpr UINT_PTR kTypedBoxSubclass = 2;
// The characters Ctrl+Z and Ctrl+Y type; an edit box undoes on the first and ignores the second.
constexpr WPARAM kCtrlZ = 0x1A;
constexpr WPARAM kCtrlY = 0x19;

// The subclass's data says whether the box's step was taken back by Ctrl+Z.
LRESULT CALLBACK TypedBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR undone) {
    if (message == WM_CHAR && (wParam == kCtrlZ || wParam == kCtrlY)) {
        const bool redo = wParam == kCtrlY || GetKeyState(VK_SHIFT) < 0;
        // Typing after the undo is a step of its own (the box marks itself modified): nothing to redo.
        const bool stepUndone = undone && !SendMessageW(box, EM_GETMODIFY, 0, 0);
        if (redo == stepUndone && SendMessageW(box, EM_CANUNDO, 0, 0)) {
            SendMessageW(box, EM_UNDO, 0, 0);
            SendMessageW(box, EM_SETMODIFY, FALSE, 0);
            SetWindowSubclass(box, TypedBoxProc, id, redo ? 0 : 1);
        }
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, TypedBoxProc, id);
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void KeepUndoAndRedoApart(HWND box) { SetWindowSubclass(box, TypedBoxProc, kTypedBoxSubclass, 0); }

}  // namespace win32
