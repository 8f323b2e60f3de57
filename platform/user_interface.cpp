#include "platform/user_interface.h"

namespace platform {

std::string ApplicationTitle(const std::string& modulePath) {
    std::string title = modulePath;
    const std::size_t slash = title.find_last_of("\\/");
    if (slash != std::string::npos) title.erase(0, slash + 1);
    const std::size_t dot = title.find_last_of('.');
    if (dot != std::string::npos) title.erase(dot);
    return title;
}

}  // namespace platform
