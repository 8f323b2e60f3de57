// Another edition of the product on the same machine: editions share the product key,
// the port monitor and the printer driver, so a medium whose printer or port is already
// another edition's would take them over, and its uninstaller would remove them.
#pragma once

#include <optional>
#include <string>

#include "common/product/platform_rows.h"
#include "platform/platform.h"
#include "setup/install_state.h"

namespace setup {

struct ForeignOwner {
    std::string productName;  // the edition that owns it
    std::string what;         // "the port \"QLW1:\"" or "the printer \"Quillet Writer\""
};

// The other edition that owns the install log's port, or the port of a printer of the
// install log's printer name: the port key names the owner's install folder, whose
// install log names the owner. Nothing when no installation, or this product, owns them
// (a port key whose folder or install log is gone owns nothing).
std::optional<ForeignOwner> FindForeignOwner(platform::Registry& registry, platform::FileSystem& files,
                                             platform::Spooler& spooler, const product::PlatformRow& row,
                                             const InstallState& state);

// The refusal's text.
std::string ForeignOwnerText(const std::string& productName, const ForeignOwner& owner);

}  // namespace setup
