// Windows paths taken apart the way Windows itself reads them: a root (a drive or a
// network share), then folders, with "." and ".." applied and the trailing dots and
// blanks that Windows ignores in a name dropped. Used to judge a path before anything
// is created or deleted by it, never to build the paths the programs use.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/text/ansi_path.h"

namespace text {

struct ResolvedPath {
    std::string root;                  // "C:" or "\\server\share", as written
    std::vector<std::string> folders;  // below the root, after "." and ".."
};

// An absolute path: a drive letter, a colon and a separator ("C:\..."), or a share
// ("\\server\share\..."). Anything else gives nothing: a relative path, a path relative
// to the current drive ("\Programs", "C:Programs"), a device path ("\\?\", "\\.\"), or
// one that names an environment variable ("%ProgramFiles%\..."), or one that ends inside
// a double-byte character (see EndsInsideCharacter). Backslashes and forward slashes
// both separate, as they do for Windows; ".." at the root stays there.
std::optional<ResolvedPath> ResolveAbsolutePath(const std::string& path, const LeadBytes& leadBytes);

// A path relative to some folder: its folders after "." and "..", or nothing when it is
// absolute or rooted (starts with a separator or names a drive), when ".." climbs out
// of the folder it is relative to, or when it ends inside a double-byte character.
std::optional<std::vector<std::string>> ResolveRelativePath(const std::string& path, const LeadBytes& leadBytes);

// The same place, compared as Windows compares names (ASCII letters without regard to
// case; the bytes of double-byte characters as they are).
bool SamePath(const ResolvedPath& a, const ResolvedPath& b, const LeadBytes& leadBytes);

// `inner` is `outer` or lies below it.
bool IsSameOrInside(const ResolvedPath& inner, const ResolvedPath& outer, const LeadBytes& leadBytes);

}  // namespace text
