// Small questions about files and folders that many installer steps ask.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace setup {

// Makes a read-only file writable (its attributes become "normal"). 0 when the file
// does not exist, else 1.
int ClearReadOnlyAttribute(platform::FileSystem& files, std::string path);

// A plain existence test: the path names a file or a folder.
bool FileExists(platform::FileSystem& files, const std::string& path);

// 1 when the path exists and is a folder. A relative path is looked up in the current
// folder only.
int DirectoryExists(platform::FileSystem& files, const std::string& path);

// 1 for a directory-listing entry that is not a folder.
int IsFileEntry(std::uint32_t entryAttributes);

}  // namespace setup
