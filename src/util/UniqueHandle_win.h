#pragma once
#include <windows.h>

#include <utility>

#include "util/Registry_win.h"

// One owning wrapper for every handle kind. Each kind states its own invalid
// value and how it is closed; a wrapper is movable, never copyable (a copy
// would close twice).
template <typename Traits>
class UniqueAny {
public:
    using Pointer = typename Traits::Pointer;

    UniqueAny() noexcept = default;
    explicit UniqueAny(Pointer value) noexcept : value_(value) {}
    ~UniqueAny() { reset(); }

    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept
    {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Pointer get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    // Gives up ownership without closing.
    Pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }

    void reset(Pointer value = Traits::invalid()) noexcept
    {
        Pointer old = std::exchange(value_, value);
        if (old != Traits::invalid()) {
            Traits::close(old);
        }
    }

    // Closes what is held, then hands out the address for an out parameter.
    Pointer* put() noexcept
    {
        reset();
        return &value_;
    }

private:
    Pointer value_ = Traits::invalid();
};

struct HandleTraits {
    using Pointer = HANDLE;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer h) noexcept { ::CloseHandle(h); }
};

struct FileHandleTraits {
    using Pointer = HANDLE;
    static Pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Pointer h) noexcept { ::CloseHandle(h); }
};

struct HKeyTraits {
    using Pointer = HKEY;
    static Pointer invalid() noexcept { return nullptr; }
    // A key exists only once advapi32 is loaded.
    static void close(Pointer h) noexcept { registryFunctions()->closeKey(h); }
};

struct HModuleTraits {
    using Pointer = HMODULE;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer h) noexcept { ::FreeLibrary(h); }
};

struct MapViewTraits {
    using Pointer = const void*;
    static Pointer invalid() noexcept { return nullptr; }
    static void close(Pointer p) noexcept { ::UnmapViewOfFile(p); }
};

struct FindHandleTraits {
    using Pointer = HANDLE;
    static Pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Pointer h) noexcept { ::FindClose(h); }
};

using UniqueHandle = UniqueAny<HandleTraits>;
using UniqueFileHandle = UniqueAny<FileHandleTraits>;
using UniqueHKey = UniqueAny<HKeyTraits>;
using UniqueHModule = UniqueAny<HModuleTraits>;
using UniqueMapView = UniqueAny<MapViewTraits>;
using UniqueFindHandle = UniqueAny<FindHandleTraits>;
