// A buffer inside another process, for messages whose parameters are pointers.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace e2e {

class RemoteMemory {
public:
    // Memory of `size` bytes in the process that owns window.
    RemoteMemory(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }

    bool Ok() const { return address_ != nullptr; }
    void* Address(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    LPARAM Param(size_t offset = 0) const { return reinterpret_cast<LPARAM>(Address(offset)); }

    bool Write(const void* data, size_t bytes, size_t offset = 0) const {
        SIZE_T done = 0;
        return offset + bytes <= size_ && WriteProcessMemory(process_, Address(offset), data, bytes, &done) &&
               done == bytes;
    }
    bool Read(void* data, size_t bytes, size_t offset = 0) const {
        SIZE_T done = 0;
        return offset + bytes <= size_ && ReadProcessMemory(process_, Address(offset), data, bytes, &done) &&
               done == bytes;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    size_t size_;
};

} // namespace e2e
