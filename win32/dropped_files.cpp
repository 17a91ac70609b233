#include "win32/dropped_files.h"

#include <string>

namespace win32 {
namespace {

using DragQueryFileFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
using DragFinishFunction = void(WINAPI*)(HDROP);

struct Shell {
    DragQueryFileFunction queryFile = nullptr;
    DragFinishFunction finish = nullptr;
};

// Loaded once and kept until the program ends.
const Shell& LoadShell() {
    static const Shell shell = [] {
        Shell loaded;
        if (const HMODULE library = LoadLibraryW(L"shell32.dll")) {
            loaded.queryFile = reinterpret_cast<DragQueryFileFunction>(
                reinterpret_cast<void*>(GetProcAddress(library, "DragQueryFileW")));
            loaded.finish =
                reinterpret_cast<DragFinishFunction>(reinterpret_cast<void*>(GetProcAddress(library, "DragFinish")));
        }
        return loaded;
    }();
    return shell;
}

}  // namespace

std::vector<std::filesystem::path> DroppedFiles(HDROP drop) {
    const Shell& shell = LoadShell();
    std::vector<std::filesystem::path> files;
    if (!shell.queryFile || !shell.finish) return files;
    constexpr UINT kCount = 0xFFFFFFFF;
    const UINT count = shell.queryFile(drop, kCount, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(shell.queryFile(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(shell.queryFile(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.emplace_back(name);
    }
    shell.finish(drop);
    return files;
}

}  // namespace win32
