// The file system as the programs use it: attributes, folders, copies, whole-file
// reads and appends. Paths are narrow ANSI text; names compare without regard to case.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kFileAttributeHidden = 0x2;
inline constexpr std::uint32_t kFileAttributeSystem = 0x4;
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;

inline constexpr std::uint32_t kErrorNoMoreFiles = 18;

// One entry of a folder listing (WIN32_FIND_DATAA): its name and attribute word. The
// listing of a folder other than a drive root includes "." and "..".
struct FindData {
    std::string fileName;
    std::uint32_t attributes = 0;
};

// A running folder search. The search handle is closed (FindClose) when it goes away.
class FileSearch {
public:
    virtual ~FileSearch() = default;
    // The entry found last.
    virtual const FindData& Current() const = 0;
    // FindNextFileA: ERROR_NO_MORE_FILES after the last entry.
    virtual Win32Result FindNext() = 0;
};

struct [[nodiscard]] StartedSearch {
    std::unique_ptr<FileSearch> search;  // holds the first entry
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return search != nullptr; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // GetFileAttributesA; fails where Windows answers INVALID_FILE_ATTRIBUTES.
    virtual Win32Value<std::uint32_t> GetFileAttributes(const std::string& path) = 0;
    // SetFileAttributesA.
    virtual Win32Result SetFileAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // GetCurrentDirectoryA, no trailing backslash unless at a drive root.
    virtual Win32Value<std::string> GetCurrentDirectory() = 0;
    // SearchPathA with `searchPath` as the only folder searched, no default extension,
    // `capacity` characters of result. Gives the full path found.
    virtual Win32Value<std::string> SearchPath(const std::string& searchPath,
                                               const std::string& fileName,
                                               std::size_t capacity) = 0;
    // CreateDirectoryA with default security.
    virtual Win32Result CreateDirectory(const std::string& path) = 0;
    // CopyFileA.
    virtual Win32Result CopyFile(const std::string& from, const std::string& to,
                                 bool failIfExists) = 0;
    // DeleteFileA.
    virtual Win32Result DeleteFile(const std::string& path) = 0;
    // Opens the file for reading, reads it whole as raw bytes and closes it.
    virtual Win32Value<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) = 0;
    // Opens the file for writing (creating it, keeping its contents), writes the bytes
    // at its end and closes it.
    virtual Win32Result AppendToFile(const std::string& path,
                                     const std::vector<std::uint8_t>& bytes) = 0;
    // FindFirstFileA for a folder path followed by a pattern, such as C:\Medium\GNUGS\*.*
    virtual StartedSearch FindFirstFile(const std::string& pattern) = 0;
    // Opens the file for reading with shared read access, takes its size (GetFileSize)
    // and closes it.
    virtual Win32Value<std::uint64_t> GetFileSize(const std::string& path) = 0;
    // GetPrivateProfileStringA with the empty default: the value of `key` in `section` of
    // the file at the full `path`, cut to capacity - 1 characters. A missing or unreadable
    // file, section or key reads as empty; the call has no failure of its own.
    virtual std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                                std::size_t capacity, const std::string& path) = 0;
};

}  // namespace platform
