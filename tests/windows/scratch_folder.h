// A fresh folder for one test on the real file system, removed with its files after.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>
#include <vector>

namespace wintest {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
        Remove();
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    void WriteFile(const std::string& name, const std::string& content) const {
        const HANDLE file = CreateFileA((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }

    // A file of `size` bytes made by moving its end, so that the file system may keep it
    // sparse: sizes past 4 GiB cost no disk space.
    bool WriteSizedFile(const std::string& name, unsigned long long size) const {
        const HANDLE file = CreateFileA((*this / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        LONG high = static_cast<LONG>(size >> 32);
        SetLastError(NO_ERROR);
        const DWORD low = SetFilePointer(file, static_cast<LONG>(size & 0xFFFFFFFFULL), &high, FILE_BEGIN);
        const bool moved = low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
        const bool ended = moved && SetEndOfFile(file);
        CloseHandle(file);
        return ended;
    }

private:
    void Remove() const { RemoveTree(path_); }

    // The folder with everything in it, subfolders included, so that nothing a failed run
    // left behind reaches the next one.
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = folder + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                    RemoveTree(full);
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};

}  // namespace wintest
