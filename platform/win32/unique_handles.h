// Handles that close themselves, after the pattern of WIL's unique_* wrappers.
#pragma once

#include "platform/win32/windows_api.h"

namespace platform::win32 {

template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    void reset(Type value = Traits::Invalid()) noexcept {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }
    Type release() noexcept {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }
    Type* put() noexcept {
        reset();
        return &value_;
    }
    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

private:
    Type value_ = Traits::Invalid();
};

struct KeyTraits {
    using Type = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
using UniqueKey = UniqueResource<KeyTraits>;

struct HandleTraits {  // kernel handles whose "none" is null (processes, threads)
    using Type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using UniqueHandle = UniqueResource<HandleTraits>;

struct FileHandleTraits {  // CreateFile's "none" is INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using UniqueFile = UniqueResource<FileHandleTraits>;

struct FindHandleTraits {  // FindFirstFile's "none" is INVALID_HANDLE_VALUE; FindClose ends it
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};
using UniqueFindHandle = UniqueResource<FindHandleTraits>;

struct ViewTraits {  // a view of a file mapping
    using Type = void*;
    static void* Invalid() { return nullptr; }
    static void Close(void* view) { UnmapViewOfFile(view); }
};
using UniqueView = UniqueResource<ViewTraits>;

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL memory) { LocalFree(memory); }
};
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;

struct ItemListTraits {  // a shell item list handed out by the shell (SHBrowseForFolder)
    using Type = LPITEMIDLIST;
    static LPITEMIDLIST Invalid() { return nullptr; }
    static void Close(LPITEMIDLIST items) { CoTaskMemFree(items); }
};
using UniqueItemList = UniqueResource<ItemListTraits>;

// COM in a single-threaded apartment for as long as it lives. When the thread already has
// COM in another mode, it changes nothing and undoes nothing.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

}  // namespace platform::win32
