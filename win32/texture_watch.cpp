#include "win32/texture_watch.h"

#include <array>
#include <string>

namespace win32 {
namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

bool NamesFile(const std::byte* records, DWORD size, const std::wstring& name) {
    for (DWORD offset = 0; offset < size;) {
        const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(records + offset);
        const int length = static_cast<int>(record->FileNameLength / sizeof(WCHAR));
        if (CompareStringOrdinal(record->FileName, length, name.c_str(), static_cast<int>(name.size()), TRUE) ==
            CSTR_EQUAL) {
            return true;
        }
        if (record->NextEntryOffset == 0) break;
        offset += record->NextEntryOffset;
    }
    return false;
}

void Follow(const std::filesystem::path& file, HANDLE stop, HWND window, UINT message) {
    const std::wstring name = file.filename().wstring();
    const Handle folder(CreateFileW(file.parent_path().c_str(), FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    const Handle changed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!folder.valid() || !changed.valid()) {
        PostMessageW(window, message, 0, 0);  // the editor looks and tells what it finds
        return;
    }
    alignas(DWORD) std::array<std::byte, 16384> records{};
    constexpr DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                            FILE_NOTIFY_CHANGE_CREATION;
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = changed.get();
        ResetEvent(changed.get());
        if (!ReadDirectoryChangesW(folder.get(), records.data(), static_cast<DWORD>(records.size()), FALSE, kWhat,
                                   nullptr, &overlapped, nullptr)) {
            PostMessageW(window, message, 0, 0);  // the folder went away
            return;
        }
        const HANDLE waits[] = {stop, changed.get()};
        DWORD size = 0;
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            CancelIo(folder.get());
            GetOverlappedResult(folder.get(), &overlapped, &size, TRUE);
            return;
        }
        if (!GetOverlappedResult(folder.get(), &overlapped, &size, FALSE)) {
            PostMessageW(window, message, 0, 0);
            return;
        }
        // No records means more changes than the buffer holds: one of them may be the file's.
        if (size == 0 || NamesFile(records.data(), size, name)) PostMessageW(window, message, 0, 0);
    }
}

}  // namespace

void TextureWatch::Watch(const std::filesystem::path& file) {
    Stop();
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::error_code unknown;
    std::filesystem::path full = std::filesystem::absolute(file, unknown);
    if (unknown) full = file;
    thread_ = std::thread(Follow, full, stop_, window_, message_);
}

void TextureWatch::Stop() {
    if (!thread_.joinable()) return;
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
    stop_ = nullptr;
    // A notification posted before the stop is still queued: the window drops it.
    MSG dropped;
    while (PeekMessageW(&dropped, window_, message_, message_, PM_REMOVE)) {
    }
}

}  // namespace win32
