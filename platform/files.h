// The file system as the programs use it: attributes, folders, copies, whole-file
// reads and appends. Paths are narrow ANSI text; names compare without regard to case.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

// The longest folder GetTempFileNameA takes: MAX_PATH less the prefix, the number, ".tmp",
// the backslash and the NUL of the name it writes into a MAX_PATH buffer.
inline constexpr std::size_t kLongestTempFileFolder = 260 - 14;

// One entry of a folder listing (WIN32_FIND_DATAA): its name and attribute word. The
// listing of a folder other than a drive root includes "." and "..".
struct FindData {
    std::string fileName;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;  // of a file, in bytes
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

// A view of a file mapped into memory for reading and writing; unmapped (and the
// mapping closed) when it goes away.
class MappedView {
public:
    virtual ~MappedView() = default;
    virtual std::uint8_t* Bytes() = 0;
    virtual std::size_t Size() const = 0;
};

struct [[nodiscard]] MappedFileView {
    std::unique_ptr<MappedView> view;
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return view != nullptr; }
};

// A file open for reading and writing, edited in place; closed when it goes away.
class UpdatableFile {
public:
    virtual ~UpdatableFile() = default;
    // GetFileSize.
    virtual Win32Value<std::uint64_t> GetSize() = 0;
    // CreateFileMappingA (read and write) of `size` bytes and MapViewOfFile of all of
    // them. A size beyond the file's end grows the file; the added bytes are zero.
    virtual MappedFileView Map(std::uint64_t size) = 0;
    // SetFilePointer to `size` and SetEndOfFile: the file ends there.
    virtual Win32Result SetEnd(std::uint64_t size) = 0;
};

struct [[nodiscard]] OpenedFile {
    std::unique_ptr<UpdatableFile> file;
    std::uint32_t error = kErrorSuccess;
    explicit operator bool() const { return file != nullptr; }
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
    // GetLongPathNameA: an existing path with every short (8.3) name in its long form.
    virtual Win32Value<std::string> GetLongPathName(const std::string& path) = 0;
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
    // RemoveDirectoryA: only an empty folder goes.
    virtual Win32Result RemoveDirectory(const std::string& path) = 0;
    // MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT: at the next restart the file or
    // folder is renamed to `newName`, or deleted when there is none.
    virtual Win32Result MoveFileAtRestart(const std::string& path, const std::optional<std::string>& newName) = 0;
    // Creates the file anew (replacing one that is there), writes the bytes and closes it.
    virtual Win32Result WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // Creates the file only when no file of that name exists (CREATE_NEW; otherwise
    // ERROR_FILE_EXISTS), writes the bytes and closes it.
    virtual Win32Result WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // CreateFileA for reading and writing, opening the file or creating it when missing,
    // with no sharing and the sequential-access hint.
    virtual OpenedFile OpenFileForUpdate(const std::string& path) = 0;
    // GetShortPathNameA of an existing file or folder (MAX_PATH characters): its 8.3 name,
    // or its long one where the volume makes none.
    virtual Win32Value<std::string> GetShortPathName(const std::string& path) = 0;
    // GetTempPathA into `capacity` characters: the temporary folder, with its trailing
    // backslash.
    virtual Win32Value<std::string> GetTempPath(std::size_t capacity) = 0;
    // GetTempFileNameA with an automatic number: creates a new empty file named by the
    // prefix in `folder` and gives its full path. A folder longer than
    // kLongestTempFileFolder is refused with ERROR_FILENAME_EXCED_RANGE: the name would not
    // fit the call's MAX_PATH buffer.
    virtual Win32Value<std::string> GetTempFileName(const std::string& folder, const std::string& prefix) = 0;
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
