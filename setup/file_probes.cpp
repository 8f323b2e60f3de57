#include "setup/file_probes.h"

namespace setup {
namespace {

constexpr std::size_t kMaxPath = 260;

}  // namespace

int ClearReadOnlyAttribute(platform::FileSystem& files, std::string path) {
    const auto attributes = files.GetFileAttributes(path);
    if (!attributes) return 0;
    if ((attributes.value() & platform::kFileAttributeReadOnly) != 0) {
        (void)files.SetFileAttributes(path, platform::kFileAttributeNormal);
    }
    return 1;
}

bool FileExists(platform::FileSystem& files, const std::string& path) {
    return static_cast<bool>(files.GetFileAttributes(path));
}

int DirectoryExists(platform::FileSystem& files, const std::string& path) {
    const auto current = files.GetCurrentDirectory();
    if (!current) return 0;
    if (!files.SearchPath(current.value(), path, kMaxPath)) return 0;
    const auto attributes = files.GetFileAttributes(path);
    return attributes && (attributes.value() & platform::kFileAttributeDirectory) != 0 ? 1 : 0;
}

int IsFileEntry(std::uint32_t entryAttributes) {
    return (entryAttributes & platform::kFileAttributeDirectory) == 0 ? 1 : 0;
}


}  // namespace setup
