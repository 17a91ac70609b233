#pragma once

#include <windows.h>

#include <filesystem>
#include <thread>

namespace win32 {

// Follows one file while it is shown: its folder's change notifications are read on a thread of
// their own, which posts `message` to the window for every change that names the file. Image
// editors often save by renaming a new file over the old one, so a rename counts as well.
class TextureWatch {
public:
    TextureWatch(HWND window, UINT message) : window_(window), message_(message) {}
    ~TextureWatch() { Stop(); }
    TextureWatch(const TextureWatch&) = delete;
    TextureWatch& operator=(const TextureWatch&) = delete;

    void Watch(const std::filesystem::path& file);
    // No message is posted for the file afterwards.
    void Stop();

private:
    HWND window_;
    UINT message_;
    HANDLE stop_ = nullptr;
    std::thread thread_;
};

}  // namespace win32
