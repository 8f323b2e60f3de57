#include "tests/fake_windows/journal.h"

namespace fake {

int Journal::IndexOf(const std::string& prefix) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace fake
