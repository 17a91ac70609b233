#pragma once

#include <windows.h>
#include <shellapi.h>  // HDROP only: its functions are loaded at the first drop

#include <filesystem>
#include <vector>

// The files of a WM_DROPFILES, in the order the shell gives them. The shell's library is
// loaded when the first drop arrives, so that a window that never takes one starts without it.
namespace win32 {

// Frees the drop; nothing when the shell cannot be loaded.
std::vector<std::filesystem::path> DroppedFiles(HDROP drop);

}  // namespace win32
