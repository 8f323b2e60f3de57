// The fake machine's record of every call, in order.
#pragma once

#include <string>
#include <vector>

namespace fake {

class Journal {
public:
    void Add(const std::string& entry) { entries_.push_back(entry); }
    const std::vector<std::string>& Entries() const { return entries_; }
    // Position of the first entry starting with `prefix`, or -1.
    int IndexOf(const std::string& prefix) const;
    bool Contains(const std::string& prefix) const { return IndexOf(prefix) >= 0; }
    void Clear() { entries_.clear(); }

private:
    std::vector<std::string> entries_;
};

}  // namespace fake
