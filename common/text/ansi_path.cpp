#include "common/text/ansi_path.h"

namespace text {

LeadBytes::LeadBytes(const std::vector<ByteRange>& ranges) {
    for (const ByteRange& range : ranges) {
        for (unsigned byte = range.first; byte <= range.second; ++byte) lead_[byte] = true;
    }
}

std::vector<std::size_t> BackslashPositions(const std::string& path, const LeadBytes& leadBytes) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (leadBytes.IsLead(path[i])) {
            ++i;  // the trail byte belongs to this character, whatever its value
        } else if (path[i] == '\\') {
            positions.push_back(i);
        }
    }
    return positions;
}

std::size_t FindLastBackslash(const std::string& path, const LeadBytes& leadBytes) {
    const std::vector<std::size_t> positions = BackslashPositions(path, leadBytes);
    return positions.empty() ? std::string::npos : positions.back();
}

std::string FolderOf(const std::string& path, const LeadBytes& leadBytes) {
    const std::size_t slash = FindLastBackslash(path, leadBytes);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithoutTrailingBackslash(const std::string& path, const LeadBytes& leadBytes) {
    const std::size_t slash = FindLastBackslash(path, leadBytes);
    if (slash == std::string::npos || slash + 1 != path.size()) return path;
    return path.substr(0, slash);
}

bool EndsInsideCharacter(const std::string& text, const LeadBytes& leadBytes) {
    std::size_t next = 0;  // where the next character starts
    while (next < text.size()) next += leadBytes.IsLead(text[next]) ? 2u : 1u;
    return next > text.size();
}

}  // namespace text
