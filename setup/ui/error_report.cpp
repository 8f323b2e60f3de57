#include "setup/ui/error_report.h"

#include "common/text/text.h"
#include "resources/setup/setup_strings.h"

namespace setup {
namespace {

constexpr std::size_t kFormatCapacity = 256;   // the loaded format: 255 characters
constexpr std::size_t kMessageCapacity = 256;  // the composed message: 255 characters

}  // namespace

std::string LoadMessage(platform::UserInterface& ui, std::uint32_t id, std::size_t capacity,
                        const std::string& productName) {
    const std::string format = ui.LoadString(id, capacity);
    return text::FormatPlaceholders(format, {productName, productName});
}

std::string ComposeSetupErrorMessage(platform::Platform& os, const InstallState& state,
                                     std::uint32_t lastError) {
    std::string message = text::FitToCapacity(
        LoadMessage(os.ui, IDS_INSTALL_FAILED, kFormatCapacity, state.productName),
        kMessageCapacity);
    if (lastError != 0) {
        const std::string systemText = os.system.FormatSystemMessage(lastError);
        if (!systemText.empty()) message += "\n" + systemText;
    }
    return text::FitToCapacity(message, kMessageCapacity);
}

void AppendToErrorLog(platform::FileSystem& files, const std::string& errorLogPath,
                      std::string line) {
    if (errorLogPath.empty()) return;
    line += "\r\n";
    // A log that cannot be written must never stop the installation.
    (void)files.AppendToFile(errorLogPath, std::vector<std::uint8_t>(line.begin(), line.end()));
}

}  // namespace setup
