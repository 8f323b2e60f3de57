#include "common/product/program_group.h"

#include "common/text/resolved_path.h"

namespace product {

std::string ShortcutGroup(const std::string& programGroup, const std::string& productName) {
    return programGroup.empty() ? productName : programGroup;
}

bool IsGroupInsidePrograms(const std::string& group, const text::LeadBytes& leadBytes) {
    const auto folders = text::ResolveRelativePath(group, leadBytes);
    return folders && !folders->empty();
}

}  // namespace product
