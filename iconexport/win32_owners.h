// One move-only owner for each kind of Win32 handle, module and object the program acquires.
// Every Windows source of the program takes its owners from here.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <utility>

namespace win32 {

// Owns a value that `Traits::Release` gives back once, unless it is one of the values that
// mean "nothing": `Traits::Invalid()` or null.
template <typename Traits> class Unique {
public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type value) : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(std::exchange(other.value_, Traits::Invalid())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.value_, Traits::Invalid()));
        }
        return *this;
    }
    ~Unique() { reset(); }

    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid() && value_ != Type{}; }
    Type release() { return std::exchange(value_, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) {
        if (*this) {
            Traits::Release(value_);
        }
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
};

// Owners whose empty value is null.
template <typename T, auto ReleaseFunction> struct NullTraits {
    using Type = T;
    static Type Invalid() { return Type{}; }
    static void Release(Type value) { ReleaseFunction(value); }
};

struct FileTraits {
    using Type = HANDLE;
    // CreateFile reports failure as INVALID_HANDLE_VALUE, not as null.
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Release(Type value) { ::CloseHandle(value); }
};

inline void ReleaseHandle(HANDLE h) {
    ::CloseHandle(h);
}
inline void ReleaseModule(HMODULE m) {
    ::FreeLibrary(m);
}
inline void ReleaseMapView(const void* view) {
    ::UnmapViewOfFile(view);
}
inline void ReleaseGlobal(HGLOBAL g) {
    ::GlobalFree(g);
}
inline void ReleaseGdiObject(HGDIOBJ object) {
    ::DeleteObject(object);
}
inline void ReleaseMemoryDC(HDC dc) {
    ::DeleteDC(dc);
}
inline void ReleaseHook(HHOOK hook) {
    ::UnhookWindowsHookEx(hook);
}
inline void ReleaseWindow(HWND window) {
    ::DestroyWindow(window);
}
inline void ReleaseIcon(HICON icon) {
    ::DestroyIcon(icon);
}

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<NullTraits<HANDLE, ReleaseHandle>>;
using UniqueModule = Unique<NullTraits<HMODULE, ReleaseModule>>;
using UniqueMapView = Unique<NullTraits<const void*, ReleaseMapView>>;
using UniqueGlobal = Unique<NullTraits<HGLOBAL, ReleaseGlobal>>;
// Brushes, pens, bitmaps, fonts and regions: each kind keeps its own handle type.
template <typename T> using UniqueGdi = Unique<NullTraits<T, ReleaseGdiObject>>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
// A DC from CreateCompatibleDC.
using UniqueMemoryDC = Unique<NullTraits<HDC, ReleaseMemoryDC>>;
using UniqueHook = Unique<NullTraits<HHOOK, ReleaseHook>>;
using UniqueWindow = Unique<NullTraits<HWND, ReleaseWindow>>;
// An icon from LoadImage without LR_SHARED, or from CreateIconIndirect.
using UniqueIcon = Unique<NullTraits<HICON, ReleaseIcon>>;

// A DC from GetDC or GetWindowDC, given back to its window.
class WindowDC {
public:
    WindowDC() = default;
    WindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    WindowDC(WindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDC& operator=(WindowDC&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    ~WindowDC() { reset(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset() {
        if (dc_) {
            ::ReleaseDC(window_, std::exchange(dc_, nullptr));
        }
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

inline WindowDC GetClientDC(HWND window) {
    return WindowDC(window, ::GetDC(window));
}
inline WindowDC GetWholeWindowDC(HWND window) {
    return WindowDC(window, ::GetWindowDC(window));
}

// A pen, brush, font or bitmap selected into a DC; the one it replaced is selected back at the
// end. Declare it after the owner of the object, so that the object is out of the DC before it
// is deleted. (Regions are selected with SelectClipRgn, not with this.)
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (old_) {
            ::SelectObject(dc_, old_);
        }
    }
    bool selected() const { return old_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// One WM_PAINT's BeginPaint, ended with EndPaint.
class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    ~PaintSession() { ::EndPaint(window_, &paint_); }

    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The clipboard, open for as long as this lives.
class ClipboardSession {
public:
    ClipboardSession() : open_(::OpenClipboard(nullptr) != FALSE) {}
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() {
        if (open_) {
            ::CloseClipboard();
        }
    }
    bool open() const { return open_; }

private:
    bool open_;
};

// A global memory block locked for as long as this lives.
class GlobalLock {
public:
    explicit GlobalLock(HGLOBAL block) : block_(block), data_(::GlobalLock(block)) {}
    GlobalLock(const GlobalLock&) = delete;
    GlobalLock& operator=(const GlobalLock&) = delete;
    ~GlobalLock() {
        if (data_) {
            ::GlobalUnlock(block_);
        }
    }
    void* data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

// A COM interface pointer that holds one reference.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(T* pointer) : pointer_(pointer) {}
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.pointer_, nullptr));
        }
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset(T* pointer = nullptr) {
        if (T* old = std::exchange(pointer_, pointer)) {
            old->Release();
        }
    }
    // The out parameter of CoCreateInstance and QueryInterface; the old reference goes first.
    void** put_void() {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }

private:
    T* pointer_ = nullptr;
};

// OLE on this thread for as long as this lives; uninitialised only if the initialisation
// succeeded (S_FALSE, already initialised, counts and is balanced too).
class OleSession {
public:
    OleSession() : result_(::OleInitialize(nullptr)) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (SUCCEEDED(result_)) {
            ::OleUninitialize();
        }
    }
    bool initialised() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

// A storage medium that IDataObject::GetData handed out, released with ReleaseStgMedium.
// Adopt only a medium from a call that succeeded: after a failure its contents are undefined.
class StgMedium {
public:
    explicit StgMedium(const STGMEDIUM& medium) : medium_(medium) {}
    StgMedium(const StgMedium&) = delete;
    StgMedium& operator=(const StgMedium&) = delete;
    ~StgMedium() { ::ReleaseStgMedium(&medium_); }

    const STGMEDIUM& get() const { return medium_; }
    // The global memory block, or null when the medium is of another kind.
    HGLOBAL global() const { return medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_;
};

} // namespace win32
