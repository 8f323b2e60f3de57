#include "uninstall/copy_mode.h"

#include <string>

#include "common/product/platform_rows.h"
#include "common/text/ansi_path.h"

namespace uninstall {
namespace {

constexpr std::size_t kPathCapacity = 512;

}  // namespace

int RunCopyMode(platform::Platform& os) {
    // Without its own folder the helper would copy a "nimbmon64.dll" from wherever it was
    // started into the system directory; it copies nothing instead.
    const auto ownPath = os.system.GetModuleFileName(kPathCapacity);
    if (!ownPath) return static_cast<int>(ownPath.error);
    const text::LeadBytes leadBytes(os.system.GetAnsiLeadByteRanges().ValueOr({}));
    const std::string folder = text::FolderOf(ownPath.value(), leadBytes);
    if (folder.empty()) return static_cast<int>(platform::kErrorBadPathname);

    const auto systemDirectory = os.system.GetSystemDirectory(kPathCapacity);
    if (!systemDirectory) {
        (void)os.ui.ApplicationMessageBox("Install Quillet Writer failed. (Err64-103)");
        return static_cast<int>(systemDirectory.error);
    }
    const std::string dll = product::kUninstallerRow.monitorDll;
    const std::string copy = systemDirectory.value() + "\\" + dll;
    const auto copied = os.files.CopyFile(folder + dll, copy, false);
    // A copy from a CD or an image keeps its read-only attribute, and the uninstaller could
    // then not delete it.
    if (copied) {
        const auto attributes = os.files.GetFileAttributes(copy);
        if (attributes && (attributes.value() & platform::kFileAttributeReadOnly) != 0) {
            (void)os.files.SetFileAttributes(copy, platform::kFileAttributeNormal);
        }
    }
    return static_cast<int>(copied.error);
}

}  // namespace uninstall
