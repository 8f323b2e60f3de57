#include "setup/ui/error_report.h"

#include "common/text/text.h"
#include "resources/setup/setup_strings.h"
#include "setup/setup_context.h"

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

int ReportSetupError(SetupContext& context, std::uint32_t /*messageId*/, std::uint32_t lastError) {
    if (context.state.silent) return 0;
    const std::string message = ComposeSetupErrorMessage(context.os, context.state, lastError);
    (void)context.os.ui.MessageBox(message, SetupCaption(context.state),
                                   platform::MessageBoxButtons::Ok);
    return 0;
}

void AppendToErrorLog(platform::FileSystem& files, const std::string& errorLogPath,
                      std::string line) {
    if (errorLogPath.empty()) return;
    line += "\r\n";
    // A log that cannot be written must never stop the installation.
    (void)files.AppendToFile(errorLogPath, std::vector<std::uint8_t>(line.begin(), line.end()));
}

void ReportComposedFailure(SetupContext& context, const std::string& text) {
    if (context.state.silent) {
        AppendToErrorLog(context.os.files, context.errorLogPath, text);
    } else {
        (void)context.os.ui.ApplicationMessageBox(text);
    }
}

}  // namespace setup
