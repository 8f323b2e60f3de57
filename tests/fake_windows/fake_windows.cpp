#include "tests/fake_windows/fake_windows.h"

#include <algorithm>
#include <cstdio>

#include "common/text/text.h"
#include "resources/setup/setup_strings.h"
#include "resources/uninstall/uninstall_strings.h"

namespace fake {
namespace {

using platform::Win32Result;
using platform::Win32Value;

std::string ParentOf(const std::string& normalizedPath) {
    const std::size_t slash = normalizedPath.find_last_of('\\');
    return slash == std::string::npos ? std::string() : normalizedPath.substr(0, slash);
}

bool IsDriveRoot(const std::string& normalizedPath) {
    return normalizedPath.size() == 2 && normalizedPath[1] == ':';
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string StripTrailingBackslash(std::string path) {
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

// A name inside a folder; a drive root such as "C:\" already ends in its backslash.
std::string InFolder(const std::string& folder, const std::string& name) {
    const std::string base = StripTrailingBackslash(folder);
    return !base.empty() && base.back() == '\\' ? base + name : base + "\\" + name;
}

}  // namespace

// ---- files ---------------------------------------------------------------------------

namespace {

// Windows reads doubled separators inside a path as one ("C:\\A\\\\b" is "C:\\A\\b").
std::string CollapseSeparators(const std::string& normalizedPath) {
    std::string collapsed;
    for (std::size_t i = 0; i < normalizedPath.size(); ++i) {
        const bool doubled = i > 1 && normalizedPath[i] == '\\' && collapsed.back() == '\\';
        if (!doubled) collapsed += normalizedPath[i];
    }
    return collapsed;
}

// Windows applies "." and ".." inside a path ("C:\\A\\..\\B" is "C:\\B"); ".." at the root
// stays there.
std::string ApplyDots(const std::string& normalizedPath) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= normalizedPath.size()) {
        const std::size_t end = std::min(normalizedPath.find('\\', start), normalizedPath.size());
        names.push_back(normalizedPath.substr(start, end - start));
        start = end + 1;
    }
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool root = i == 0;
        if (!root && names[i] == ".") continue;
        if (!root && names[i] == "..") {
            if (kept.size() > 1) kept.pop_back();
            continue;
        }
        kept.push_back(names[i]);
    }
    std::string path;
    for (std::size_t i = 0; i < kept.size(); ++i) path += (i == 0 ? "" : "\\") + kept[i];
    return path;
}

}  // namespace

std::string FakeFileSystem::Key(const std::string& path) const {
    const std::string full = IsAbsolute(path) ? path : InFolder(currentDirectory, path);
    std::string key = ApplyDots(CollapseSeparators(Normalize(StripTrailingBackslash(full))));
    if (key.size() == 3 && key[1] == ':' && key[2] == '\\') key.pop_back();  // "C:\" and "C:" alike
    return key;
}

// A drive ("C:" or "C:\") is always there, as a folder.
std::optional<FakeFile> FakeFileSystem::Entry(const std::string& path) const {
    const std::string key = Key(path);
    if (IsDriveRoot(key)) return FakeFile{key, platform::kFileAttributeDirectory, {}};
    const auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

void FakeFileSystem::AddFolder(const std::string& path) {
    const std::string normalized = Key(path);
    if (normalized.empty() || IsDriveRoot(normalized)) return;
    AddFolder(ParentOf(normalized));
    if (!entries_.count(normalized)) {
        entries_[normalized] = FakeFile{StripTrailingBackslash(path), platform::kFileAttributeDirectory, {}};
    }
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& content, std::uint32_t attributes) {
    AddFile(path, std::vector<std::uint8_t>(content.begin(), content.end()), attributes);
}

void FakeFileSystem::AddFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                             std::uint32_t attributes) {
    const std::string normalized = Key(path);
    AddFolder(ParentOf(normalized));
    entries_[normalized] = FakeFile{path, attributes, bytes};
}

bool FakeFileSystem::Exists(const std::string& path) const {
    return Entry(path).has_value();
}

bool FakeFileSystem::IsFolder(const std::string& path) const {
    const auto entry = Entry(path);
    return entry && (entry->attributes & platform::kFileAttributeDirectory) != 0;
}

std::optional<std::string> FakeFileSystem::Content(const std::string& path) const {
    const auto it = entries_.find(Key(path));
    if (it == entries_.end()) return std::nullopt;
    return std::string(it->second.bytes.begin(), it->second.bytes.end());
}

std::uint32_t FakeFileSystem::Attributes(const std::string& path) const {
    const auto it = entries_.find(Key(path));
    return it == entries_.end() ? 0xFFFFFFFFu : it->second.attributes;
}

std::vector<std::string> FakeFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : entries_) paths.push_back(entry.second.path);
    return paths;
}

bool FakeFileSystem::ParentExists(const std::string& normalizedPath) const {
    const std::string parent = ParentOf(normalizedPath);
    if (IsDriveRoot(parent)) return true;
    const auto it = entries_.find(parent);
    return it != entries_.end() && (it->second.attributes & platform::kFileAttributeDirectory) != 0;
}

Win32Value<std::uint32_t> FakeFileSystem::GetFileAttributes(const std::string& path) {
    journal_.Add("GetFileAttributes " + path);
    if (auto error = failures_.Check(Op::GetFileAttributes, path)) return Win32Value<std::uint32_t>::Failed(*error);
    const auto entry = Entry(path);
    if (!entry) return Win32Value<std::uint32_t>::Failed(platform::kErrorFileNotFound);
    return Win32Value<std::uint32_t>::Ok(entry->attributes);
}

Win32Result FakeFileSystem::SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    journal_.Add("SetFileAttributes " + path);
    if (auto error = failures_.Check(Op::SetFileAttributes, path)) return Win32Result::Failed(*error);
    const auto it = entries_.find(Key(path));
    if (it == entries_.end()) return Win32Result::Failed(platform::kErrorFileNotFound);
    const std::uint32_t folderBit = it->second.attributes & platform::kFileAttributeDirectory;
    it->second.attributes = attributes | folderBit;
    return {};
}

Win32Value<std::string> FakeFileSystem::GetCurrentDirectory() {
    if (auto error = failures_.Check(Op::GetCurrentDirectory)) return Win32Value<std::string>::Failed(*error);
    return Win32Value<std::string>::Ok(currentDirectory);
}

Win32Value<std::string> FakeFileSystem::GetLongPathName(const std::string& path) {
    journal_.Add("GetLongPathName " + path);
    std::string longPath = path;
    for (const auto& [shortName, longName] : shortNames) {
        const bool prefix = longPath.size() >= shortName.size() &&
                            text::EqualsNoCase(longPath.substr(0, shortName.size()), shortName) &&
                            (longPath.size() == shortName.size() || longPath[shortName.size()] == '\\');
        if (prefix) longPath = longName + longPath.substr(shortName.size());
    }
    if (!Exists(longPath)) return Win32Value<std::string>::Failed(platform::kErrorFileNotFound);
    return Win32Value<std::string>::Ok(longPath);
}

Win32Value<std::string> FakeFileSystem::SearchPath(const std::string& searchPath, const std::string& fileName,
                                                   std::size_t capacity) {
    journal_.Add("SearchPath " + fileName);
    if (auto error = failures_.Check(Op::SearchPath, fileName)) return Win32Value<std::string>::Failed(*error);
    std::string candidate = IsAbsolute(fileName) ? fileName : InFolder(searchPath, fileName);
    if (candidate.size() >= capacity) return Win32Value<std::string>::Failed(platform::kErrorInsufficientBuffer);
    if (!Exists(candidate)) return Win32Value<std::string>::Failed(platform::kErrorFileNotFound);
    return Win32Value<std::string>::Ok(candidate);
}

Win32Result FakeFileSystem::CreateDirectory(const std::string& path) {
    journal_.Add("CreateDirectory " + path);
    if (auto error = failures_.Check(Op::CreateDirectory, path)) return Win32Result::Failed(*error);
    const std::string normalized = Key(path);
    if (IsDriveRoot(normalized)) return Win32Result::Failed(platform::kErrorAccessDenied);
    if (entries_.count(normalized)) return Win32Result::Failed(platform::kErrorAlreadyExists);
    if (!ParentExists(normalized)) return Win32Result::Failed(platform::kErrorPathNotFound);
    entries_[normalized] = FakeFile{StripTrailingBackslash(path), platform::kFileAttributeDirectory, {}};
    return {};
}

Win32Result FakeFileSystem::CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    journal_.Add("CopyFile " + from + " -> " + to);
    if (auto error = failures_.Check(Op::CopyFile, from + " -> " + to)) return Win32Result::Failed(*error);
    const auto source = entries_.find(Key(from));
    if (source == entries_.end()) return Win32Result::Failed(platform::kErrorFileNotFound);
    if (IsFolder(from)) return Win32Result::Failed(platform::kErrorAccessDenied);
    const std::string target = Key(to);
    if (!ParentExists(target)) return Win32Result::Failed(platform::kErrorPathNotFound);
    const auto existing = entries_.find(target);
    if (existing != entries_.end()) {
        if (failIfExists) return Win32Result::Failed(80);  // ERROR_FILE_EXISTS
        // Windows will not overwrite a folder, nor a read-only or hidden file.
        constexpr std::uint32_t kProtected = platform::kFileAttributeDirectory | platform::kFileAttributeReadOnly |
                                             platform::kFileAttributeHidden;
        if ((existing->second.attributes & kProtected) != 0) return Win32Result::Failed(platform::kErrorAccessDenied);
    }
    // A copy keeps the source's attributes, read-only included, as Windows does.
    entries_[target] = FakeFile{to, source->second.attributes, source->second.bytes};
    return {};
}

Win32Result FakeFileSystem::DeleteFile(const std::string& path) {
    journal_.Add("DeleteFile " + path);
    if (auto error = failures_.Check(Op::DeleteFile, path)) return Win32Result::Failed(*error);
    const auto it = entries_.find(Key(path));
    if (it == entries_.end()) return Win32Result::Failed(ParentExists(Key(path)) ? platform::kErrorFileNotFound : platform::kErrorPathNotFound);
    // Windows deletes a hidden file but neither a read-only one nor a folder.
    if ((it->second.attributes & platform::kFileAttributeDirectory) != 0) return Win32Result::Failed(platform::kErrorAccessDenied);
    if ((it->second.attributes & platform::kFileAttributeReadOnly) != 0) return Win32Result::Failed(platform::kErrorAccessDenied);
    entries_.erase(it);
    return {};
}

Win32Result FakeFileSystem::RemoveDirectory(const std::string& path) {
    journal_.Add("RemoveDirectory " + path);
    if (auto error = failures_.Check(Op::RemoveDirectory, path)) return Win32Result::Failed(*error);
    const std::string key = Key(path);
    const auto it = entries_.find(key);
    if (it == entries_.end()) return Win32Result::Failed(ParentExists(key) ? platform::kErrorFileNotFound : platform::kErrorPathNotFound);
    if ((it->second.attributes & platform::kFileAttributeDirectory) == 0) return Win32Result::Failed(267);  // ERROR_DIRECTORY
    for (const auto& entry : entries_) {
        if (ParentOf(entry.first) == key) return Win32Result::Failed(platform::kErrorDirNotEmpty);
    }
    entries_.erase(it);
    return {};
}

Win32Result FakeFileSystem::MoveFileAtRestart(const std::string& path, const std::optional<std::string>& newName) {
    journal_.Add("MoveFileAtRestart " + path);
    if (auto error = failures_.Check(Op::MoveFileAtRestart, path)) return Win32Result::Failed(*error);
    if (!Exists(path)) return Win32Result::Failed(platform::kErrorFileNotFound);
    pendingAtRestart.emplace_back(path, newName.value_or(""));
    return {};
}

Win32Result FakeFileSystem::WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteCreatedFile(Op::WriteWholeFile, path, bytes, true);
}

Win32Result FakeFileSystem::WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteCreatedFile(Op::WriteNewFile, path, bytes, false);
}

Win32Result FakeFileSystem::WriteCreatedFile(Op operation, const std::string& path,
                                             const std::vector<std::uint8_t>& bytes, bool mayReplace) {
    journal_.Add(std::string(Name(operation)) + " " + path);
    if (auto error = failures_.Check(operation, path)) return Win32Result::Failed(*error);
    const std::string key = Key(path);
    if (!ParentExists(key)) return Win32Result::Failed(platform::kErrorPathNotFound);
    const auto it = entries_.find(key);
    if (it != entries_.end()) {
        if (!mayReplace) return Win32Result::Failed(platform::kErrorFileExists);
        if ((it->second.attributes & (platform::kFileAttributeReadOnly | platform::kFileAttributeDirectory)) != 0) {
            return Win32Result::Failed(platform::kErrorAccessDenied);
        }
    }
    entries_[key] = FakeFile{path, platform::kFileAttributeArchive, bytes};
    return {};
}

FakeFile* FakeFileSystem::FindFile(const std::string& path) {
    const auto it = entries_.find(Key(path));
    return it == entries_.end() ? nullptr : &it->second;
}

namespace {

class FakeMappedView : public platform::MappedView {
public:
    FakeMappedView(FakeFileSystem& files, std::string path, std::size_t size)
        : files_(files), path_(std::move(path)), bytes_(files_.FindFile(path_)->bytes) {
        bytes_.resize(size, 0);
    }
    // The view is written back when it is unmapped.
    ~FakeMappedView() override {
        if (FakeFile* file = files_.FindFile(path_)) file->bytes = bytes_;
    }
    FakeMappedView(const FakeMappedView&) = delete;
    FakeMappedView& operator=(const FakeMappedView&) = delete;
    std::uint8_t* Bytes() override { return bytes_.data(); }
    std::size_t Size() const override { return bytes_.size(); }

private:
    FakeFileSystem& files_;
    std::string path_;
    std::vector<std::uint8_t> bytes_;
};

class FakeUpdatableFile : public platform::UpdatableFile {
public:
    FakeUpdatableFile(FakeFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
    ~FakeUpdatableFile() override { files_.journal().Add("CloseFile " + path_); }
    FakeUpdatableFile(const FakeUpdatableFile&) = delete;
    FakeUpdatableFile& operator=(const FakeUpdatableFile&) = delete;

    Win32Value<std::uint64_t> GetSize() override {
        const FakeFile* file = files_.FindFile(path_);
        if (file == nullptr) return Win32Value<std::uint64_t>::Failed(platform::kErrorFileNotFound);
        return Win32Value<std::uint64_t>::Ok(file->bytes.size());
    }
    platform::MappedFileView Map(std::uint64_t size) override {
        files_.journal().Add("MapFile " + path_ + " " + std::to_string(size));
        if (auto error = files_.failures().Check(Op::MapFile, path_)) return {nullptr, *error};
        // Mapping beyond the end grows the file with zero bytes, as Windows does.
        FakeFile* file = files_.FindFile(path_);
        if (file->bytes.size() < size) file->bytes.resize(static_cast<std::size_t>(size), 0);
        return {std::make_unique<FakeMappedView>(files_, path_, static_cast<std::size_t>(size)),
                platform::kErrorSuccess};
    }
    Win32Result SetEnd(std::uint64_t size) override {
        files_.journal().Add("SetEndOfFile " + path_ + " " + std::to_string(size));
        if (auto error = files_.failures().Check(Op::SetEndOfFile, path_)) return Win32Result::Failed(*error);
        files_.FindFile(path_)->bytes.resize(static_cast<std::size_t>(size), 0);
        return {};
    }

private:
    FakeFileSystem& files_;
    std::string path_;
};

}  // namespace

platform::OpenedFile FakeFileSystem::OpenFileForUpdate(const std::string& path) {
    journal_.Add("OpenFileForUpdate " + path);
    if (auto error = failures_.Check(Op::OpenFileForUpdate, path)) return {nullptr, *error};
    const std::string key = Key(path);
    if (!ParentExists(key)) return {nullptr, platform::kErrorPathNotFound};
    const auto it = entries_.find(key);
    if (it == entries_.end()) {
        entries_[key] = FakeFile{path, platform::kFileAttributeArchive, {}};
    } else if ((it->second.attributes & (platform::kFileAttributeReadOnly | platform::kFileAttributeDirectory)) != 0) {
        return {nullptr, platform::kErrorAccessDenied};
    }
    return {std::make_unique<FakeUpdatableFile>(*this, path), platform::kErrorSuccess};
}

Win32Value<std::string> FakeFileSystem::GetTempPath(std::size_t capacity) {
    if (auto error = failures_.Check(Op::GetTempPath)) return Win32Value<std::string>::Failed(*error);
    if (tempPath.size() >= capacity) return Win32Value<std::string>::Failed(platform::kErrorInsufficientBuffer);
    return Win32Value<std::string>::Ok(tempPath);
}

Win32Value<std::string> FakeFileSystem::GetShortPathName(const std::string& path) {
    journal_.Add("GetShortPathName " + path);
    if (auto error = failures_.Check(Op::GetShortPathName, path)) return Win32Value<std::string>::Failed(*error);
    if (!Exists(path)) return Win32Value<std::string>::Failed(platform::kErrorFileNotFound);
    for (const auto& [shortPath, longPath] : shortNames) {
        if (Normalize(longPath) == Normalize(path)) return Win32Value<std::string>::Ok(shortPath);
    }
    return Win32Value<std::string>::Ok(path);
}

Win32Value<std::string> FakeFileSystem::GetTempFileName(const std::string& folder, const std::string& prefix) {
    journal_.Add("GetTempFileName " + folder + " " + prefix);
    if (auto error = failures_.Check(Op::GetTempFileName, folder)) return Win32Value<std::string>::Failed(*error);
    if (folder.size() > platform::kLongestTempFileFolder) {
        return Win32Value<std::string>::Failed(platform::kErrorFilenameExceedsRange);
    }
    if (!IsFolder(folder)) return Win32Value<std::string>::Failed(platform::kErrorPathNotFound);
    // A new file with the next free number, made empty, as Windows does.
    for (unsigned number = 1;; ++number) {
        char hex[8];
        std::snprintf(hex, sizeof(hex), "%X", number);
        const std::string name = InFolder(folder, prefix.substr(0, 3) + hex + ".tmp");
        if (!Exists(name)) {
            AddFile(name, std::string());
            return Win32Value<std::string>::Ok(name);
        }
    }
}

Win32Value<std::vector<std::uint8_t>> FakeFileSystem::ReadWholeFile(const std::string& path) {
    journal_.Add("ReadWholeFile " + path);
    using Bytes = Win32Value<std::vector<std::uint8_t>>;
    if (auto error = failures_.Check(Op::ReadWholeFile, path)) return Bytes::Failed(*error);
    const auto it = entries_.find(Key(path));
    if (it == entries_.end()) return Bytes::Failed(platform::kErrorFileNotFound);
    if ((it->second.attributes & platform::kFileAttributeDirectory) != 0) {
        return Bytes::Failed(platform::kErrorAccessDenied);
    }
    return Bytes::Ok(it->second.bytes);
}

Win32Result FakeFileSystem::AppendToFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    journal_.Add("AppendToFile " + path);
    if (auto error = failures_.Check(Op::AppendToFile, path)) return Win32Result::Failed(*error);
    const std::string normalized = Key(path);
    auto it = entries_.find(normalized);
    if (it == entries_.end()) {
        if (!ParentExists(normalized)) return Win32Result::Failed(platform::kErrorPathNotFound);
        it = entries_.emplace(normalized, FakeFile{path, platform::kFileAttributeArchive, {}}).first;
    } else if ((it->second.attributes & (platform::kFileAttributeReadOnly | platform::kFileAttributeDirectory)) != 0) {
        return Win32Result::Failed(platform::kErrorAccessDenied);
    }
    it->second.bytes.insert(it->second.bytes.end(), bytes.begin(), bytes.end());
    return {};
}

namespace {

class FakeFileSearch : public platform::FileSearch {
public:
    FakeFileSearch(FakeFileSystem& files, FailureSwitches& failures, Journal& journal, std::string pattern,
                   std::vector<platform::FindData> entries)
        : files_(files), failures_(failures), journal_(journal), pattern_(std::move(pattern)),
          entries_(std::move(entries)) {
        ++files_.openSearches;
    }
    ~FakeFileSearch() override {
        --files_.openSearches;
        journal_.Add("FindClose " + pattern_);
    }
    FakeFileSearch(const FakeFileSearch&) = delete;
    FakeFileSearch& operator=(const FakeFileSearch&) = delete;

    const platform::FindData& Current() const override { return entries_[index_]; }

    Win32Result FindNext() override {
        if (auto error = failures_.Check(Op::FindNextFile, pattern_)) return Win32Result::Failed(*error);
        if (index_ + 1 >= entries_.size()) return Win32Result::Failed(platform::kErrorNoMoreFiles);
        ++index_;
        return {};
    }

private:
    FakeFileSystem& files_;
    FailureSwitches& failures_;
    Journal& journal_;
    std::string pattern_;
    std::vector<platform::FindData> entries_;
    std::size_t index_ = 0;
};

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

platform::StartedSearch FakeFileSystem::FindFirstFile(const std::string& pattern) {
    journal_.Add("FindFirstFile " + pattern);
    if (auto error = failures_.Check(Op::FindFirstFile, pattern)) return {nullptr, *error};
    const std::size_t slash = pattern.find_last_of("\\/");
    const std::string folder = Key(slash == std::string::npos ? std::string(".") : pattern.substr(0, slash));
    const std::string mask = Normalize(slash == std::string::npos ? pattern : pattern.substr(slash + 1));
    const bool everything = mask == "*" || mask == "*.*";
    if (!IsDriveRoot(folder) && !IsFolder(folder)) return {nullptr, platform::kErrorPathNotFound};

    std::vector<platform::FindData> found;
    if (everything && !IsDriveRoot(folder)) {
        found.push_back({".", platform::kFileAttributeDirectory, 0});
        found.push_back({"..", platform::kFileAttributeDirectory, 0});
    }
    for (const auto& [key, entry] : entries_) {
        if (ParentOf(key) != folder) continue;
        if (everything || NameOf(key) == mask) {
            found.push_back({NameOf(entry.path), entry.attributes, entry.bytes.size()});
        }
    }
    if (found.empty()) return {nullptr, platform::kErrorFileNotFound};
    return {std::make_unique<FakeFileSearch>(*this, failures_, journal_, pattern, std::move(found)),
            platform::kErrorSuccess};
}

Win32Value<std::uint64_t> FakeFileSystem::GetFileSize(const std::string& path) {
    journal_.Add("GetFileSize " + path);
    if (auto error = failures_.Check(Op::GetFileSize, path)) return Win32Value<std::uint64_t>::Failed(*error);
    const auto it = entries_.find(Key(path));
    if (it == entries_.end()) {
        return Win32Value<std::uint64_t>::Failed(ParentExists(Key(path)) ? platform::kErrorFileNotFound
                                                                         : platform::kErrorPathNotFound);
    }
    if ((it->second.attributes & platform::kFileAttributeDirectory) != 0) {
        return Win32Value<std::uint64_t>::Failed(platform::kErrorAccessDenied);
    }
    return Win32Value<std::uint64_t>::Ok(it->second.bytes.size());
}

// ---- registry ------------------------------------------------------------------------

std::vector<std::uint8_t> BytesWithNul(const std::string& text) {
    return std::vector<std::uint8_t>(text.c_str(), text.c_str() + text.size() + 1);
}

namespace {

class FakeRegistryKey : public platform::RegistryKey {
public:
    FakeRegistryKey(FakeRegistry& registry, std::string fullKey, std::string path, bool writable)
        : registry_(registry), fullKey_(std::move(fullKey)), path_(std::move(path)), writable_(writable) {}

    Win32Result SetValue(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data) override {
        return Store(FakeValue{name, type, data, static_cast<std::uint32_t>(data.size())});
    }

    Win32Result SetTextValue(const std::string& name, const std::string& text, platform::TextCount count) override {
        const std::uint32_t given = platform::TextValueCount(text, count);
        return Store(FakeValue{name, platform::kRegSz, StoredAsOnNt(text.c_str(), given), given});
    }

    Win32Value<platform::RegistryValue> QueryValue(const std::string& name, std::size_t capacity) override {
        using Result = Win32Value<platform::RegistryValue>;
        if (auto error = registry_.failures().Check(Op::QueryValue, path_ + "\\" + name)) return Result::Failed(*error);
        FakeKey* key = registry_.Find(fullKey_);
        if (key == nullptr) return Result::Failed(1018);
        const auto it = key->values.find(Normalize(name));
        if (it == key->values.end()) return Result::Failed(platform::kErrorFileNotFound);
        if (it->second.data.size() > capacity) return Result::Failed(platform::kErrorMoreData);
        return Result::Ok(platform::RegistryValue{it->second.type, it->second.data});
    }

    Win32Result DeleteValue(const std::string& name) override {
        registry_.journal().Add("DeleteValue " + path_ + "\\" + name);
        if (auto error = registry_.failures().Check(Op::DeleteValue, path_ + "\\" + name)) return Win32Result::Failed(*error);
        if (!writable_) return Win32Result::Failed(platform::kErrorAccessDenied);
        FakeKey* key = registry_.Find(fullKey_);
        if (key == nullptr) return Win32Result::Failed(1018);
        if (key->values.erase(Normalize(name)) == 0) return Win32Result::Failed(platform::kErrorFileNotFound);
        return {};
    }

    Win32Value<std::string> EnumKey(std::uint32_t index, std::size_t capacity) override {
        registry_.journal().Add("EnumKey " + path_ + " " + std::to_string(index));
        if (auto error = registry_.failures().Check(Op::EnumKey, path_)) return Win32Value<std::string>::Failed(*error);
        const std::vector<std::string> names = registry_.SubkeyNames(fullKey_);
        if (index >= names.size()) return Win32Value<std::string>::Failed(platform::kErrorNoMoreItems);
        if (names[index].size() + 1 > capacity) return Win32Value<std::string>::Failed(platform::kErrorMoreData);
        return Win32Value<std::string>::Ok(names[index]);
    }

private:
    // What RegSetValueExA does with a string on Windows NT: it stores the counted bytes,
    // and one more when the count leaves out a terminating NUL that follows them.
    static std::vector<std::uint8_t> StoredAsOnNt(const char* buffer, std::uint32_t count) {
        std::uint32_t stored = count;
        if (count != 0 && buffer[count - 1] != '\0' && buffer[count] == '\0') ++stored;
        return std::vector<std::uint8_t>(buffer, buffer + stored);
    }

    Win32Result Store(FakeValue value) {
        const std::string subject = path_ + "\\" + value.name;
        registry_.journal().Add("SetValue " + subject);
        if (auto error = registry_.failures().Check(Op::SetValue, subject)) return Win32Result::Failed(*error);
        if (!writable_) return Win32Result::Failed(platform::kErrorAccessDenied);
        FakeKey* key = registry_.Find(fullKey_);
        if (key == nullptr) return Win32Result::Failed(1018);  // ERROR_KEY_DELETED
        key->values[Normalize(value.name)] = std::move(value);
        return {};
    }

    FakeRegistry& registry_;
    std::string fullKey_;
    std::string path_;
    bool writable_;
};

const char* RootName(platform::RegistryRoot root) {
    return root == platform::RegistryRoot::LocalMachine ? "HKLM" : "HKCU";
}

}  // namespace

std::string FakeRegistry::FullKey(platform::RegistryRoot root, const std::string& path,
                                  platform::RegistryView view) const {
    const bool native32 = nativeViewFollows ? nativeViewFollows() : nativeViewIs32Bit;
    const bool use32 = view == platform::RegistryView::Force32 || (view == platform::RegistryView::Native && native32);
    return std::string(use32 ? "32|" : "64|") + RootName(root) + "|" + Normalize(path);
}

std::vector<std::string> FakeRegistry::SubkeyNames(const std::string& fullKey) const {
    std::vector<std::string> names;
    const std::string childPrefix = fullKey + "\\";
    for (const auto& [key, entry] : keys_) {
        if (key.rfind(childPrefix, 0) != 0) continue;
        if (key.find('\\', childPrefix.size()) != std::string::npos) continue;  // deeper down
        names.push_back(entry.path.substr(entry.path.find_last_of('\\') + 1));
    }
    return names;
}

FakeKey* FakeRegistry::Find(const std::string& fullKey) {
    const auto it = keys_.find(fullKey);
    return it == keys_.end() ? nullptr : &it->second;
}

std::vector<std::string> FakeRegistry::AllKeys() const {
    std::vector<std::string> keys;
    for (const auto& entry : keys_) keys.push_back(entry.first);
    return keys;
}

bool FakeRegistry::KeyExists(platform::RegistryRoot root, const std::string& path, platform::RegistryView view) const {
    return keys_.count(FullKey(root, path, view)) != 0;
}

std::optional<FakeValue> FakeRegistry::Value(platform::RegistryRoot root, const std::string& path,
                                             const std::string& name, platform::RegistryView view) const {
    const auto key = keys_.find(FullKey(root, path, view));
    if (key == keys_.end()) return std::nullopt;
    const auto value = key->second.values.find(Normalize(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second;
}

std::vector<std::string> FakeRegistry::ValueNames(platform::RegistryRoot root, const std::string& path,
                                                  platform::RegistryView view) const {
    std::vector<std::string> names;
    const auto key = keys_.find(FullKey(root, path, view));
    if (key == keys_.end()) return names;
    for (const auto& value : key->second.values) names.push_back(value.second.name);
    return names;
}

void FakeRegistry::AddKey(platform::RegistryRoot root, const std::string& path, platform::RegistryView view) {
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find('\\', start);
        const std::string prefix = path.substr(0, slash);
        const std::string full = FullKey(root, prefix, view);
        if (!keys_.count(full)) keys_[full] = FakeKey{prefix, {}};
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
}

void FakeRegistry::AddStringValue(platform::RegistryRoot root, const std::string& path, const std::string& name,
                                  const std::string& value, platform::RegistryView view) {
    AddKey(root, path, view);
    keys_[FullKey(root, path, view)].values[Normalize(name)] =
        FakeValue{name, platform::kRegSz, BytesWithNul(value), static_cast<std::uint32_t>(value.size() + 1)};
}

void FakeRegistry::AddDwordValue(platform::RegistryRoot root, const std::string& path, const std::string& name,
                                 std::uint32_t value, platform::RegistryView view) {
    AddKey(root, path, view);
    keys_[FullKey(root, path, view)].values[Normalize(name)] =
        FakeValue{name, platform::kRegDword, platform::DwordBytes(value), 4};
}

platform::OpenedKey FakeRegistry::OpenKey(platform::RegistryRoot root, const std::string& path,
                                          platform::RegistryAccess access, platform::RegistryView view) {
    journal_.Add("OpenKey " + path);
    if (auto error = failures_.Check(Op::OpenKey, path)) return {nullptr, *error};
    const std::string full = FullKey(root, path, view);
    if (!keys_.count(full)) return {nullptr, platform::kErrorFileNotFound};
    return {std::make_unique<FakeRegistryKey>(*this, full, path, access == platform::RegistryAccess::AllAccess),
            platform::kErrorSuccess};
}

platform::OpenedKey FakeRegistry::CreateKey(platform::RegistryRoot root, const std::string& path,
                                            platform::RegistryView view) {
    journal_.Add("CreateKey " + path);
    if (auto error = failures_.Check(Op::CreateKey, path)) return {nullptr, *error};
    AddKey(root, path, view);
    return {std::make_unique<FakeRegistryKey>(*this, FullKey(root, path, view), path, true), platform::kErrorSuccess};
}

Win32Result FakeRegistry::DeleteKey(platform::RegistryRoot root, const std::string& path,
                                    platform::RegistryView view) {
    journal_.Add("DeleteKey " + path);
    if (auto error = failures_.Check(Op::DeleteKey, path)) return Win32Result::Failed(*error);
    const std::string full = FullKey(root, path, view);
    if (!keys_.count(full)) return Win32Result::Failed(platform::kErrorFileNotFound);
    const std::string childPrefix = full + "\\";
    for (const auto& key : keys_) {
        if (key.first.rfind(childPrefix, 0) == 0) return Win32Result::Failed(platform::kErrorAccessDenied);
    }
    keys_.erase(full);
    return {};
}

// ---- system --------------------------------------------------------------------------

Win32Value<platform::OsVersion> FakeSystemInfo::GetVersionEx() {
    journal_.Add("GetVersionEx");
    if (auto error = failures_.Check(Op::GetVersionEx)) return Win32Value<platform::OsVersion>::Failed(*error);
    return Win32Value<platform::OsVersion>::Ok(version);
}

Win32Value<platform::ProcessMachines> FakeSystemInfo::IsWow64Process2() {
    using Answer = Win32Value<platform::ProcessMachines>;
    if (nativeMachine == platform::kMachineUnknown) return Answer::Failed(120);  // ERROR_CALL_NOT_IMPLEMENTED
    journal_.Add("IsWow64Process2");
    if (auto error = failures_.Check(Op::IsWow64Process2)) return Answer::Failed(*error);
    // A 32-bit program on a 64-bit machine runs under WOW64 and is told so.
    const std::uint16_t process = isWow64 ? platform::kMachineI386 : platform::kMachineUnknown;
    return Answer::Ok(platform::ProcessMachines{process, nativeMachine});
}

Win32Value<bool> FakeSystemInfo::IsWow64Process() {
    ++isWow64ProcessCalls;
    journal_.Add("IsWow64Process");
    if (auto error = failures_.Check(Op::IsWow64Process)) return Win32Value<bool>::Failed(*error);
    return Win32Value<bool>::Ok(isWow64);
}

Win32Value<std::string> FakeSystemInfo::GetSystemDirectory(std::size_t capacity) {
    journal_.Add("GetSystemDirectory");
    if (auto error = failures_.Check(Op::GetSystemDirectory)) return Win32Value<std::string>::Failed(*error);
    if (systemDirectory.size() >= capacity) return Win32Value<std::string>::Failed(platform::kErrorInsufficientBuffer);
    return Win32Value<std::string>::Ok(systemDirectory);
}

Win32Value<std::string> FakeSystemInfo::GetWindowsDirectory(std::size_t capacity) {
    journal_.Add("GetWindowsDirectory");
    if (auto error = failures_.Check(Op::GetWindowsDirectory)) return Win32Value<std::string>::Failed(*error);
    if (windowsDirectory.size() >= capacity) return Win32Value<std::string>::Failed(platform::kErrorInsufficientBuffer);
    return Win32Value<std::string>::Ok(windowsDirectory);
}

Win32Value<std::vector<platform::LeadByteRange>> FakeSystemInfo::GetAnsiLeadByteRanges() {
    if (auto error = failures_.Check(Op::GetCPInfo)) return Win32Value<std::vector<platform::LeadByteRange>>::Failed(*error);
    return Win32Value<std::vector<platform::LeadByteRange>>::Ok(leadByteRanges);
}

Win32Value<std::string> FakeSystemInfo::GetModuleFileName(std::size_t capacity) {
    if (auto error = failures_.Check(Op::GetModuleFileName)) return Win32Value<std::string>::Failed(*error);
    if (moduleFileName.size() >= capacity) return Win32Value<std::string>::Failed(platform::kErrorInsufficientBuffer);
    return Win32Value<std::string>::Ok(moduleFileName);
}

std::string FakeSystemInfo::FormatSystemMessage(std::uint32_t error) {
    const auto it = systemMessages.find(error);
    return it == systemMessages.end() ? std::string() : it->second;
}

Win32Value<platform::ServiceState> FakeSystemInfo::QueryServiceState(const std::string& name) {
    journal_.Add("QueryServiceState " + name);
    if (auto error = failures_.Check(Op::QueryServiceState)) return Win32Value<platform::ServiceState>::Failed(*error);
    const auto found = services.find(name);
    if (found == services.end()) return Win32Value<platform::ServiceState>::Failed(platform::kErrorServiceDoesNotExist);
    return Win32Value<platform::ServiceState>::Ok(found->second);
}

Win32Value<std::string> FakeSystemInfo::AnsiToOem(const std::string& text) {
    if (auto error = failures_.Check(Op::AnsiToOem, text)) return Win32Value<std::string>::Failed(*error);
    std::string oem;
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80) {
            oem += c;
            continue;
        }
        const auto found = oemBytes.find(byte);
        if (found == oemBytes.end()) return Win32Value<std::string>::Failed(platform::kErrorNoUnicodeTranslation);
        oem += static_cast<char>(found->second);
    }
    return Win32Value<std::string>::Ok(oem);
}

Win32Result FakeSystemInfo::SetForegroundLockTimeout(std::uint32_t milliseconds) {
    journal_.Add("SetForegroundLockTimeout");
    if (auto error = failures_.Check(Op::SetForegroundLockTimeout)) return Win32Result::Failed(*error);
    foregroundLockTimeout = milliseconds;
    return {};
}

// ---- user interface --------------------------------------------------------------------

std::map<std::uint32_t, std::string> UninstallerStrings() {
    return {{IDS_CONFIRM_REMOVAL, TEXT_CONFIRM_REMOVAL},
            {IDS_REMOVED, TEXT_REMOVED},
            {IDS_NO_UNINSTALL_LOG, TEXT_NO_UNINSTALL_LOG},
            {IDS_UNINSTALL_FAILED, TEXT_UNINSTALL_FAILED}};
}

FakeUserInterface::FakeUserInterface(Journal& journal, const FakeSystemInfo& system)
    : strings{{IDS_WELCOME, TEXT_WELCOME},
              {IDS_ALREADY_INSTALLED, TEXT_ALREADY_INSTALLED},
              {IDS_ENUM_MONITORS_FAILED, TEXT_ENUM_MONITORS_FAILED},
              {IDS_NO_SYSTEM_DIRECTORY, TEXT_NO_SYSTEM_DIRECTORY},
              {IDS_COPY_DLL_FAILED, TEXT_COPY_DLL_FAILED},
              {IDS_COPY_HELP_FAILED, TEXT_COPY_HELP_FAILED},
              {IDS_COPY_UNINSTALLER_FAILED, TEXT_COPY_UNINSTALLER_FAILED},
              {IDS_ADD_FAILED, TEXT_ADD_FAILED},
              {IDS_FINISHED, TEXT_FINISHED},
              {IDS_NEED_ADMINISTRATOR, TEXT_NEED_ADMINISTRATOR},
              {IDS_NO_INSTALL_LOG, TEXT_NO_INSTALL_LOG},
              {IDS_PROGRESS_CAPTION, TEXT_PROGRESS_CAPTION},
              {IDS_INSTALL_FAILED, TEXT_INSTALL_FAILED},
              {IDS_COPY_FILES_FAILED, TEXT_COPY_FILES_FAILED},
              {IDS_CREATE_DESTINATION_FAILED, TEXT_CREATE_DESTINATION_FAILED}},
      journal_(journal),
      system_(system) {}

platform::MessageBoxAnswer FakeUserInterface::MessageBox(const std::string& text, const std::string& caption,
                                                         platform::MessageBoxButtons buttons) {
    journal_.Add("MessageBox " + text);
    shown.push_back(ShownBox{text, caption, buttons, false});
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == platform::MessageBoxButtons::YesNo ? platform::MessageBoxAnswer::Yes
                                                         : platform::MessageBoxAnswer::Ok;
}

platform::MessageBoxAnswer FakeUserInterface::ApplicationMessageBox(const std::string& text) {
    journal_.Add("ApplicationMessageBox " + text);
    shown.push_back(ShownBox{text, platform::ApplicationTitle(system_.moduleFileName), platform::MessageBoxButtons::Ok,
                             true});
    return platform::MessageBoxAnswer::Ok;
}

Win32Value<bool> FakeUserInterface::IsWindowStationVisible() {
    if (windowStationError != 0) return Win32Value<bool>::Failed(windowStationError);
    return Win32Value<bool>::Ok(windowStationVisible);
}

std::string FakeUserInterface::LoadString(std::uint32_t id, std::size_t capacity) {
    const auto it = strings.find(id);
    if (it == strings.end() || capacity == 0) return {};
    return it->second.substr(0, std::min(it->second.size(), capacity - 1));
}

// ---- shell ---------------------------------------------------------------------------

namespace {

class FakePersistFile : public platform::PersistFile {
public:
    FakePersistFile(FakeShell& shell, std::string content) : shell_(shell), content_(std::move(content)) {}

    platform::HResult Save(const std::wstring& path, bool /*remember*/) override {
        std::string narrow;
        for (wchar_t c : path) narrow += static_cast<char>(c);  // the tests use ASCII names
        shell_.journal().Add("SaveLink " + narrow);
        if (auto error = shell_.failures().Check(Op::SaveLink, narrow)) return platform::HResultFromWin32(*error);
        if (shell_.files().IsFolder(narrow)) return platform::HResultFromWin32(platform::kErrorAccessDenied);
        const std::size_t slash = narrow.find_last_of('\\');
        if (slash == std::string::npos || !shell_.files().IsFolder(narrow.substr(0, slash))) {
            return platform::HResultFromWin32(platform::kErrorPathNotFound);
        }
        shell_.files().AddFile(narrow, content_);
        return platform::kS_OK;
    }

private:
    FakeShell& shell_;
    std::string content_;
};

class FakeShellLink : public platform::ShellLink {
public:
    explicit FakeShellLink(FakeShell& shell) : shell_(shell) {}
    platform::HResult SetPath(const std::string& target) override { target_ = target; return platform::kS_OK; }
    platform::HResult SetDescription(const std::string& d) override { description_ = d; return platform::kS_OK; }
    platform::HResult SetArguments(const std::string& a) override { arguments_ = a; return platform::kS_OK; }
    platform::PersistFileResult QueryPersistFile() override {
        if (auto error = shell_.failures().Check(Op::QueryPersistFile)) {
            return {nullptr, platform::HResultFromWin32(*error)};
        }
        return {std::make_unique<FakePersistFile>(shell_, target_ + "|" + arguments_ + "|" + description_),
                platform::kS_OK};
    }

private:
    FakeShell& shell_;
    std::string target_, description_, arguments_;
};

}  // namespace

std::optional<std::string> FakeShell::GetSpecialFolderPath(platform::SpecialFolder folder, bool create) {
    journal_.Add("GetSpecialFolderPath");
    if (failures_.Check(Op::GetSpecialFolderPath)) return std::nullopt;
    const auto it = specialFolders.find(folder);
    if (it == specialFolders.end()) return std::nullopt;
    if (create) files_.AddFolder(it->second);
    return it->second;
}

platform::Win32Result FakeShell::OpenDocument(const std::string& path) {
    journal_.Add("OpenDocument " + path);
    if (auto error = failures_.Check(Op::OpenDocument, path)) return Win32Result::Failed(*error);
    openedDocuments.push_back(path);
    return {};
}

platform::HResult FakeShell::CoInitialize() {
    journal_.Add("CoInitialize");
    if (auto error = failures_.Check(Op::CoInitialize)) return platform::HResultFromWin32(*error);
    const bool already = comAlreadyInitialised || comInitCount > 0;
    ++comInitCount;
    return already ? platform::kS_FALSE : platform::kS_OK;
}

void FakeShell::CoUninitialize() {
    journal_.Add("CoUninitialize");
    --comInitCount;
}

platform::ShellLinkResult FakeShell::CreateShellLink() {
    if (auto error = failures_.Check(Op::CreateShellLink)) return {nullptr, platform::HResultFromWin32(*error)};
    return {std::make_unique<FakeShellLink>(*this), platform::kS_OK};
}

Win32Value<std::wstring> FakeShell::AnsiToWide(const std::string& text, std::size_t capacity) {
    if (text.size() + 1 > capacity) return Win32Value<std::wstring>::Failed(platform::kErrorInsufficientBuffer);
    std::wstring wide;
    for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return Win32Value<std::wstring>::Ok(wide);
}

// ---- processes -----------------------------------------------------------------------

namespace {

// A started program of the fake machine; what is done to it is written into its entry
// of FakeProcesses::started.
class FakeProcess : public platform::Process {
public:
    FakeProcess(FakeProcesses& owner, std::size_t index) : owner_(owner), index_(index) {}
    ~FakeProcess() override { owner_.journal().Add("CloseProcess " + Entry().commandLine); }
    FakeProcess(const FakeProcess&) = delete;
    FakeProcess& operator=(const FakeProcess&) = delete;

    std::uint32_t WaitUntilEnded() override {
        owner_.journal().Add("WaitForProcess");
        Entry().waits.push_back(0xFFFFFFFFu);
        return owner_.waitResult;
    }
    std::uint32_t WaitFor(std::uint32_t milliseconds) override {
        owner_.journal().Add("WaitForProcess " + std::to_string(milliseconds));
        Entry().waits.push_back(milliseconds);
        return owner_.waitResult;
    }
    Win32Result Terminate(std::uint32_t /*exitCode*/) override {
        ++owner_.terminated;
        return {};
    }
    Win32Value<std::uint32_t> GetExitCode() override { return Win32Value<std::uint32_t>::Ok(owner_.exitCode); }
    Win32Result SetMainThreadIdle() override {
        if (auto error = owner_.failures().Check(Op::SetThreadPriority, Entry().commandLine)) return Win32Result::Failed(*error);
        Entry().mainThreadIdle = true;
        return {};
    }
    Win32Result Resume() override {
        owner_.journal().Add("ResumeThread " + Entry().commandLine);
        if (auto error = owner_.failures().Check(Op::ResumeThread, Entry().commandLine)) return Win32Result::Failed(*error);
        Entry().resumed = true;
        return {};
    }

private:
    StartedCommand& Entry() { return owner_.started[index_]; }
    FakeProcesses& owner_;
    std::size_t index_;
};

}  // namespace

platform::StartedProcess FakeProcesses::CreateProcess(const std::string& commandLine,
                                                      const platform::ProcessStart& start) {
    journal_.Add("CreateProcess " + commandLine);
    if (auto error = failures_.Check(Op::CreateProcess, commandLine)) return {nullptr, *error};
    started.push_back({commandLine, start, false, false, {}});
    return {std::make_unique<FakeProcess>(*this, started.size() - 1), platform::kErrorSuccess};
}

Win32Result FakeProcesses::SetOwnThreadTimeCritical() {
    if (auto error = failures_.Check(Op::SetThreadPriority, "own")) return Win32Result::Failed(*error);
    ownThreadTimeCritical = true;
    return {};
}

namespace {

// Closing the handle takes the name off the machine once no handle is left.
class FakeNamedMutex : public platform::NamedMutex {
public:
    FakeNamedMutex(std::map<std::string, int>& open, std::string name) : open_(open), name_(std::move(name)) {
        ++open_[name_];
    }
    ~FakeNamedMutex() override {
        if (--open_[name_] == 0) open_.erase(name_);
    }
    FakeNamedMutex(const FakeNamedMutex&) = delete;
    FakeNamedMutex& operator=(const FakeNamedMutex&) = delete;

private:
    std::map<std::string, int>& open_;
    std::string name_;
};

}  // namespace

platform::CreatedMutex FakeProcesses::CreateNamedMutex(const std::string& name) {
    journal_.Add("CreateMutex " + name);
    if (auto error = failures_.Check(Op::CreateMutex, name)) return {nullptr, false, *error};
    const bool existed = openMutexes.count(name) != 0;
    return {std::make_unique<FakeNamedMutex>(openMutexes, name), existed, platform::kErrorSuccess};
}

Win32Result FakeProcesses::SetOwnProcessHighPriority() {
    if (auto error = failures_.Check(Op::SetPriorityClass)) return Win32Result::Failed(*error);
    ownProcessHighPriority = true;
    return {};
}

// ---- the machine -----------------------------------------------------------------------

FakeWindows::FakeWindows()
    : platform_{files, registry, system, ui, shell, processes, spooler} {
    files.AddFolder(files.tempPath);  // every Windows has its temporary folder
}

}  // namespace fake
