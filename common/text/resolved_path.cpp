#include "common/text/resolved_path.h"

#include "common/text/text.h"

namespace text {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The names between separators that are characters of their own; empty names (doubled
// separators) are dropped.
std::vector<std::string> SplitNames(const std::string& path, const LeadBytes& leadBytes) {
    std::vector<std::string> names;
    std::string current;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (leadBytes.IsLead(c) && i + 1 < path.size()) {
            current += c;
            current += path[++i];
        } else if (IsSeparator(c)) {
            if (!current.empty()) names.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) names.push_back(current);
    return names;
}

// Windows ignores dots and blanks at the end of a name ("Windows." is "Windows"); "."
// and ".." are kept for the caller to apply.
std::string AsWindowsReadsIt(std::string name, const LeadBytes& leadBytes) {
    if (name == "." || name == "..") return name;
    // Only a trailing byte that is a character of its own can be dropped.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (leadBytes.IsLead(name[i]) && i + 1 < name.size()) {
            keep = ++i + 1;
        } else if (name[i] != '.' && name[i] != ' ') {
            keep = i + 1;
        }
    }
    name.resize(keep);
    return name;
}

// Applies "." and ".." to `names`. False when ".." climbs above the start and
// `mayClimbOut` is false; with it true, ".." at the start stays there (as at a root).
bool ApplyDots(const std::vector<std::string>& names, bool mayClimbOut, const LeadBytes& leadBytes,
               std::vector<std::string>& folders) {
    for (const std::string& raw : names) {
        const std::string name = AsWindowsReadsIt(raw, leadBytes);
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (folders.empty()) {
                if (!mayClimbOut) return false;
                continue;
            }
            folders.pop_back();
            continue;
        }
        folders.push_back(name);
    }
    return true;
}

bool SameName(const std::string& a, const std::string& b, const LeadBytes& leadBytes) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (leadBytes.IsLead(a[i]) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool HasEnvironmentReference(const std::string& path) { return path.find('%') != std::string::npos; }

}  // namespace

std::optional<ResolvedPath> ResolveAbsolutePath(const std::string& path, const LeadBytes& leadBytes) {
    if (HasEnvironmentReference(path) || EndsInsideCharacter(path, leadBytes)) return std::nullopt;
    ResolvedPath resolved;
    std::vector<std::string> names;
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && IsSeparator(path[2])) {
        resolved.root = path.substr(0, 2);
        names = SplitNames(path.substr(3), leadBytes);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        names = SplitNames(path.substr(2), leadBytes);
        // "\\server\share" is the root; "\\?\" and "\\.\" lead to devices, not shares.
        if (names.size() < 2 || names[0] == "?" || names[0] == ".") return std::nullopt;
        resolved.root = "\\\\" + names[0] + "\\" + names[1];
        names.erase(names.begin(), names.begin() + 2);
    } else {
        return std::nullopt;
    }
    (void)ApplyDots(names, true, leadBytes, resolved.folders);
    return resolved;
}

std::optional<std::vector<std::string>> ResolveRelativePath(const std::string& path, const LeadBytes& leadBytes) {
    if (path.empty()) return std::vector<std::string>{};
    const bool rooted = IsSeparator(path[0]);
    const bool namesDrive = path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
    if (rooted || namesDrive || EndsInsideCharacter(path, leadBytes)) return std::nullopt;
    std::vector<std::string> folders;
    if (!ApplyDots(SplitNames(path, leadBytes), false, leadBytes, folders)) return std::nullopt;
    return folders;
}

bool SamePath(const ResolvedPath& a, const ResolvedPath& b, const LeadBytes& leadBytes) {
    return a.folders.size() == b.folders.size() && IsSameOrInside(a, b, leadBytes);
}

bool IsSameOrInside(const ResolvedPath& inner, const ResolvedPath& outer, const LeadBytes& leadBytes) {
    if (!SameName(inner.root, outer.root, leadBytes)) return false;
    if (inner.folders.size() < outer.folders.size()) return false;
    for (std::size_t i = 0; i < outer.folders.size(); ++i) {
        if (!SameName(inner.folders[i], outer.folders[i], leadBytes)) return false;
    }
    return true;
}

}  // namespace text
