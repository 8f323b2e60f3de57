// The shell: special folders, "open" of a document, and the shell link object.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/result.h"

namespace platform {

enum class SpecialFolder { ProgramFiles, CommonPrograms, UserPrograms };

class PersistFile {
public:
    virtual ~PersistFile() = default;  // Release
    // IPersistFile::Save.
    virtual HResult Save(const std::wstring& path, bool remember) = 0;
};

struct [[nodiscard]] PersistFileResult {
    std::unique_ptr<PersistFile> file;
    HResult result = kS_OK;
};

class ShellLink {
public:
    virtual ~ShellLink() = default;  // Release
    virtual HResult SetPath(const std::string& target) = 0;
    virtual HResult SetDescription(const std::string& description) = 0;
    virtual HResult SetArguments(const std::string& arguments) = 0;
    // QueryInterface for IPersistFile.
    virtual PersistFileResult QueryPersistFile() = 0;
};

struct [[nodiscard]] ShellLinkResult {
    std::unique_ptr<ShellLink> link;
    HResult result = kS_OK;
};

class Shell {
public:
    virtual ~Shell() = default;

    // SHGetSpecialFolderPathA; nothing when the shell gives no folder.
    virtual std::optional<std::string> GetSpecialFolderPath(SpecialFolder folder,
                                                            bool create) = 0;
    // ShellExecuteA with the verb "open", shown normally.
    virtual Win32Result OpenDocument(const std::string& path) = 0;
    // CoInitialize (apartment); S_FALSE when the thread had COM already.
    virtual HResult CoInitialize() = 0;
    virtual void CoUninitialize() = 0;
    // CoCreateInstance of the shell link class for IShellLinkA, in-process server.
    virtual ShellLinkResult CreateShellLink() = 0;
    // MultiByteToWideChar(CP_ACP) into `capacity` wide characters including the NUL.
    virtual Win32Value<std::wstring> AnsiToWide(const std::string& text,
                                                std::size_t capacity) = 0;
};

}  // namespace platform
