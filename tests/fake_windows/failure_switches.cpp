#include "tests/fake_windows/failure_switches.h"

#include "common/text/text.h"

namespace fake {

std::string Normalize(const std::string& path) {
    std::string result;
    result.reserve(path.size());
    for (char c : path) result += c == '/' ? '\\' : text::ToLowerAscii(c);
    return result;
}

void FailureSwitches::Fail(const std::string& operation, std::uint32_t error,
                           const std::string& subjectPart, int times) {
    switches_.push_back({operation, error, Normalize(subjectPart), times});
}

std::optional<std::uint32_t> FailureSwitches::Check(const std::string& operation,
                                                    const std::string& subject) {
    const std::string normalized = Normalize(subject);
    for (auto it = switches_.begin(); it != switches_.end(); ++it) {
        if (it->operation != operation) continue;
        if (!it->subjectPart.empty() && normalized.find(it->subjectPart) == std::string::npos) continue;
        const std::uint32_t error = it->error;
        if (it->remaining > 0 && --it->remaining == 0) switches_.erase(it);
        return error;
    }
    return std::nullopt;
}

}  // namespace fake
