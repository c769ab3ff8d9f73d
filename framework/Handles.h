// Owners for Win32 handles: each closes its handle on every path out.
#pragma once

#include <utility>

#include <windows.h>
#include <commctrl.h>

// Traits name the handle type, how to close it, and its "no handle" value.
template <class Traits> class UniqueHandle {
    using H = typename Traits::Handle;

public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept
    {
        if (this != &o)
            reset(std::exchange(o.h_, Traits::Invalid()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    H release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(H h = Traits::Invalid())
    {
        if (h_ != Traits::Invalid())
            Traits::Close(h_);
        h_ = h;
    }

private:
    H h_ = Traits::Invalid();
};

template <class H, auto CloseFn> struct NullInvalidTraits {
    using Handle = H;
    static H Invalid() { return nullptr; }
    static void Close(H h) { CloseFn(h); }
};

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DestroyImageList(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }
inline void DeleteMemoryDc(HDC h) { ::DeleteDC(h); }
inline void FreeLibraryModule(HMODULE h) { ::FreeLibrary(h); }

struct FileHandleTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

using UniqueKernelHandle = UniqueHandle<NullInvalidTraits<HANDLE, CloseKernelHandle>>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueImageList = UniqueHandle<NullInvalidTraits<HIMAGELIST, DestroyImageList>>;
using UniqueBitmap = UniqueHandle<NullInvalidTraits<HBITMAP, DeleteGdiObject>>;
using UniqueBrush = UniqueHandle<NullInvalidTraits<HBRUSH, DeleteGdiObject>>;
using UniqueFont = UniqueHandle<NullInvalidTraits<HFONT, DeleteGdiObject>>;
using UniqueIcon = UniqueHandle<NullInvalidTraits<HICON, DestroyIconHandle>>;
using UniqueMemoryDc = UniqueHandle<NullInvalidTraits<HDC, DeleteMemoryDc>>;
using UniqueModule = UniqueHandle<NullInvalidTraits<HMODULE, FreeLibraryModule>>;

// Selects an object into a device context for one scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectedObject() { ::SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
