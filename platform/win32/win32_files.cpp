#include <algorithm>

#include "platform/win32/system_function.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {
namespace {

constexpr DWORD kMaxPath = MAX_PATH;

Win32Result LastError() { return Win32Result::Failed(GetLastError()); }

// The size of an open file. GetFileSizeEx would be simpler, but Windows 98/Me lack it and
// the installer must load there. GetFileSize answers in two halves; a low half of
// INVALID_FILE_SIZE is also the low half of a real size (0xFFFFFFFF bytes, or larger files
// whose low half happens to be that), so only the last error tells a failure from it. The
// error is cleared first because success need not clear it.
Win32Value<std::uint64_t> SizeOfOpenFile(HANDLE file) {
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE) {
        const DWORD error = GetLastError();
        if (error != NO_ERROR) return Win32Value<std::uint64_t>::Failed(error);
    }
    return Win32Value<std::uint64_t>::Ok((static_cast<std::uint64_t>(high) << 32) | low);
}

// Creates the file as `disposition` says, writes all the bytes and closes it.
Win32Result WriteFileCreated(const std::string& path, const std::vector<std::uint8_t>& bytes, DWORD disposition) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return LastError();
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return LastError();
    if (written != bytes.size()) return Win32Result::Failed(ERROR_WRITE_FAULT);
    return {};
}

class Win32MappedView : public MappedView {
public:
    Win32MappedView(UniqueHandle mapping, UniqueView view, std::size_t size)
        : mapping_(std::move(mapping)), view_(std::move(view)), size_(size) {}
    std::uint8_t* Bytes() override { return static_cast<std::uint8_t*>(view_.get()); }
    std::size_t Size() const override { return size_; }

private:
    UniqueHandle mapping_;
    UniqueView view_;  // unmapped before the mapping closes
    std::size_t size_;
};

class Win32UpdatableFile : public UpdatableFile {
public:
    explicit Win32UpdatableFile(UniqueFile file) : file_(std::move(file)) {}

    Win32Value<std::uint64_t> GetSize() override { return SizeOfOpenFile(file_.get()); }

    MappedFileView Map(std::uint64_t size) override {
        const auto high = static_cast<DWORD>(size >> 32);
        const auto low = static_cast<DWORD>(size & 0xFFFFFFFFu);
        UniqueHandle mapping(CreateFileMappingA(file_.get(), nullptr, PAGE_READWRITE, high, low, nullptr));
        if (!mapping) return {nullptr, GetLastError()};
        UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
        if (!view) return {nullptr, GetLastError()};
        return {std::make_unique<Win32MappedView>(std::move(mapping), std::move(view), static_cast<std::size_t>(size)),
                kErrorSuccess};
    }

    Win32Result SetEnd(std::uint64_t size) override {
        LONG high = static_cast<LONG>(size >> 32);
        SetLastError(NO_ERROR);
        const DWORD low = SetFilePointer(file_.get(), static_cast<LONG>(size & 0xFFFFFFFFu), &high, FILE_BEGIN);
        if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return LastError();
        if (!SetEndOfFile(file_.get())) return LastError();
        return {};
    }

private:
    UniqueFile file_;
};

FindData ToFindData(const WIN32_FIND_DATAA& found) {
    return FindData{found.cFileName, found.dwFileAttributes,
                    (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow};
}

class Win32FileSearch : public FileSearch {
public:
    Win32FileSearch(UniqueFindHandle handle, const WIN32_FIND_DATAA& first)
        : handle_(std::move(handle)), current_(ToFindData(first)) {}

    const FindData& Current() const override { return current_; }

    Win32Result FindNext() override {
        WIN32_FIND_DATAA found{};
        if (!FindNextFileA(handle_.get(), &found)) return LastError();
        current_ = ToFindData(found);
        return {};
    }

private:
    UniqueFindHandle handle_;
    FindData current_;
};

}  // namespace

Win32Value<std::uint32_t> Win32FileSystem::GetFileAttributes(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Win32Value<std::uint32_t>::Failed(GetLastError());
    return Win32Value<std::uint32_t>::Ok(attributes);
}

Win32Result Win32FileSystem::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    if (!SetFileAttributesA(path.c_str(), attributes)) return LastError();
    return {};
}

Win32Value<std::string> Win32FileSystem::GetCurrentDirectory() {
    char buffer[kMaxPath] = {};
    const DWORD length = GetCurrentDirectoryA(kMaxPath, buffer);
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= kMaxPath) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    return Win32Value<std::string>::Ok(std::string(buffer, length));
}

Win32Value<std::string> Win32FileSystem::GetLongPathName(const std::string& path) {
    // Asked once for the length, once for the text: a long form may be longer than MAX_PATH.
    const DWORD needed = GetLongPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0) return Win32Value<std::string>::Failed(GetLastError());
    std::string buffer(needed, '\0');
    const DWORD length = GetLongPathNameA(path.c_str(), buffer.data(), needed);
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= needed) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    buffer.resize(length);
    return Win32Value<std::string>::Ok(buffer);
}

Win32Value<std::string> Win32FileSystem::SearchPath(const std::string& searchPath, const std::string& fileName,
                                                    std::size_t capacity) {
    std::string buffer(capacity, '\0');
    const DWORD length = SearchPathA(searchPath.c_str(), fileName.c_str(), nullptr,
                                     static_cast<DWORD>(capacity), buffer.data(), nullptr);
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= capacity) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    buffer.resize(length);
    return Win32Value<std::string>::Ok(buffer);
}

Win32Result Win32FileSystem::CreateDirectory(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr)) return LastError();
    return {};
}

Win32Result Win32FileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    if (!CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE)) return LastError();
    return {};
}

Win32Result Win32FileSystem::DeleteFile(const std::string& path) {
    if (!DeleteFileA(path.c_str())) return LastError();
    return {};
}

Win32Result Win32FileSystem::RemoveDirectory(const std::string& path) {
    if (!RemoveDirectoryA(path.c_str())) return LastError();
    return {};
}

Win32Result Win32FileSystem::MoveFileAtRestart(const std::string& path, const std::optional<std::string>& newName) {
    // Windows 98/Me have no MoveFileExA: it is looked up, not imported, so that Setup,
    // which shares this code, still loads there. Without it the caller's fallback runs.
    using MoveFileExAFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    static const auto moveFileEx = FindSystemFunction<MoveFileExAFunction>("kernel32", "MoveFileExA");
    if (moveFileEx == nullptr) return Win32Result::Failed(ERROR_CALL_NOT_IMPLEMENTED);
    if (!moveFileEx(path.c_str(), newName ? newName->c_str() : nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        return LastError();
    }
    return {};
}

Win32Result Win32FileSystem::WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteFileCreated(path, bytes, CREATE_ALWAYS);
}

Win32Result Win32FileSystem::WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteFileCreated(path, bytes, CREATE_NEW);
}

OpenedFile Win32FileSystem::OpenFileForUpdate(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return {nullptr, GetLastError()};
    return {std::make_unique<Win32UpdatableFile>(std::move(file)), kErrorSuccess};
}

Win32Value<std::string> Win32FileSystem::GetTempPath(std::size_t capacity) {
    std::string buffer(capacity, '\0');
    const DWORD length = GetTempPathA(static_cast<DWORD>(capacity), buffer.data());
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= capacity) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    buffer.resize(length);
    return Win32Value<std::string>::Ok(buffer);
}

Win32Value<std::string> Win32FileSystem::GetShortPathName(const std::string& path) {
    char name[MAX_PATH] = {};
    const DWORD length = ::GetShortPathNameA(path.c_str(), name, MAX_PATH);
    if (length == 0) return Win32Value<std::string>::Failed(GetLastError());
    if (length >= MAX_PATH) return Win32Value<std::string>::Failed(kErrorInsufficientBuffer);
    return Win32Value<std::string>::Ok(std::string(name, length));
}

Win32Value<std::string> Win32FileSystem::GetTempFileName(const std::string& folder, const std::string& prefix) {
    // Windows documents that the call fails for a longer folder; Wine reports success
    // and may leave the buffer without its NUL.
    if (folder.size() > kLongestTempFileFolder) return Win32Value<std::string>::Failed(kErrorFilenameExceedsRange);
    char name[MAX_PATH] = {};
    if (GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, name) == 0) {
        return Win32Value<std::string>::Failed(GetLastError());
    }
    const char* const end = std::find(name, name + MAX_PATH, '\0');
    if (end == name + MAX_PATH) return Win32Value<std::string>::Failed(kErrorFilenameExceedsRange);
    return Win32Value<std::string>::Ok(std::string(static_cast<const char*>(name), end));
}

Win32Value<std::vector<std::uint8_t>> Win32FileSystem::ReadWholeFile(const std::string& path) {
    using Bytes = Win32Value<std::vector<std::uint8_t>>;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Bytes::Failed(GetLastError());
    const auto size = SizeOfOpenFile(file.get());
    if (!size) return Bytes::Failed(size.error);
    // Nothing the programs read comes near this; a larger file is not ours.
    constexpr std::uint64_t kLargestFile = 64ULL * 1024 * 1024;
    if (size.value() > kLargestFile) return Bytes::Failed(kErrorInvalidData);

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.value()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(bytes.size() - done);
        if (!ReadFile(file.get(), bytes.data() + done, want, &read, nullptr)) return Bytes::Failed(GetLastError());
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return Bytes::Ok(std::move(bytes));
}

Win32Result Win32FileSystem::AppendToFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        return LastError();
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        return LastError();
    }
    return {};
}

StartedSearch Win32FileSystem::FindFirstFile(const std::string& pattern) {
    WIN32_FIND_DATAA found{};
    UniqueFindHandle handle(FindFirstFileA(pattern.c_str(), &found));
    if (!handle) return {nullptr, GetLastError()};
    return {std::make_unique<Win32FileSearch>(std::move(handle), found), kErrorSuccess};
}

Win32Value<std::uint64_t> Win32FileSystem::GetFileSize(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Win32Value<std::uint64_t>::Failed(GetLastError());
    return SizeOfOpenFile(file.get());
}

}  // namespace platform::win32
