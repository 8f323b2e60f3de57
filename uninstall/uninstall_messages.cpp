#include "uninstall/uninstall_messages.h"

#include "common/text/text.h"
#include "resources/uninstall/uninstall_strings.h"

namespace uninstall {
namespace {

constexpr std::size_t kFailureCapacity = 256;

}  // namespace

platform::MessageBoxAnswer ShowBox(UninstallContext& context, int step, const std::string& text,
                                   const std::string& caption, platform::MessageBoxButtons buttons) {
    // A silent run on a window station nobody sees (a service's, a deployment tool's
    // SYSTEM session) would wait for good; a station whose flags cannot be read is
    // taken as visible.
    if (context.silent) {
        const auto visible = context.os.ui.IsWindowStationVisible();
        if (visible && !visible.value()) {
            context.runLog.Step(step, "box not shown, no visible window station", text);
            return platform::MessageBoxAnswer::Ok;
        }
    }
    return context.os.ui.MessageBox(text, caption, buttons);
}

platform::MessageBoxAnswer ShowProductMessage(UninstallContext& context, std::uint32_t id, std::size_t capacity,
                                              platform::MessageBoxButtons buttons) {
    const std::string text = text::FormatPlaceholders(context.os.ui.LoadString(id, capacity), {context.productName});
    return context.os.ui.MessageBox(text, context.productName, buttons);
}

void ShowUninstallFailure(UninstallContext& context, std::uint32_t error) {
    if (context.silent) return;
    std::string message = text::FormatPlaceholders(context.os.ui.LoadString(IDS_UNINSTALL_FAILED, kFailureCapacity),
                                                   {context.productName});
    if (error != 0) {
        const std::string systemText = context.os.system.FormatSystemMessage(error);
        if (!systemText.empty()) message += "\n" + systemText;
    }
    (void)context.os.ui.MessageBox(message, context.productName, platform::MessageBoxButtons::Ok);
}

}  // namespace uninstall
