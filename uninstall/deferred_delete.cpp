#include "uninstall/deferred_delete.h"

#include <algorithm>
#include <cstring>

namespace uninstall {
namespace {

constexpr char kRenameHeader[] = "[Rename]\r\n";
constexpr std::size_t kHeaderLength = sizeof(kRenameHeader) - 1;
constexpr std::size_t kWindowsFolderCapacity = 261;

// Where the header starts in the first `size` bytes, or nothing.
std::optional<std::size_t> FindHeader(const std::uint8_t* bytes, std::size_t size) {
    const auto* begin = reinterpret_cast<const char*>(bytes);
    const char* found = std::search(begin, begin + size, kRenameHeader, kRenameHeader + kHeaderLength);
    if (found == begin + size) return std::nullopt;
    return static_cast<std::size_t>(found - begin);
}

// The mapped file grows by the line and, at most, a header; it is cut back to the text
// afterwards.
bool InsertThroughMapping(platform::UpdatableFile& file, const std::string& line) {
    const auto size = file.GetSize();
    if (!size) return false;
    const std::uint64_t oldSize = size.value();
    std::uint64_t newSize = oldSize;
    {
        const platform::MappedFileView mapped = file.Map(oldSize + line.size() + kHeaderLength);
        if (!mapped) {
            // The mapping may already have grown the file: it goes back to its old size.
            (void)file.SetEnd(oldSize);
            return false;
        }
        newSize = InsertRenameLine(mapped.view->Bytes(), static_cast<std::size_t>(oldSize), line);
    }  // the view is released before the file is cut
    return static_cast<bool>(file.SetEnd(newSize));
}

}  // namespace

std::string RenameLine(const std::string& path, const std::optional<std::string>& newName) {
    return newName.value_or("NUL") + "=" + path + "\r\n";
}

std::size_t InsertRenameLine(std::uint8_t* bytes, std::size_t size, const std::string& line) {
    std::size_t insertAt = 0;
    if (const auto header = FindHeader(bytes, size)) {
        // Directly after the header's line feed; the lines already there move down.
        insertAt = *header + kHeaderLength;
        std::memmove(bytes + insertAt + line.size(), bytes + insertAt, size - insertAt);
    } else {
        std::memcpy(bytes + size, kRenameHeader, kHeaderLength);
        size += kHeaderLength;
        insertAt = size;
    }
    std::memcpy(bytes + insertAt, line.data(), line.size());
    return size + line.size();
}

bool DeleteAtRestart(platform::Platform& os, const std::string& path, const std::optional<std::string>& newName) {
    if (os.files.MoveFileAtRestart(path, newName)) return true;
    const auto windowsFolder = os.system.GetWindowsDirectory(kWindowsFolderCapacity);
    if (!windowsFolder) return false;
    const platform::OpenedFile opened = os.files.OpenFileForUpdate(windowsFolder.value() + "\\WinInit.Ini");
    if (!opened) return false;
    return InsertThroughMapping(*opened.file, RenameLine(path, newName));
}

}  // namespace uninstall
