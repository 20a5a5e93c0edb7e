#include "skin_test_support.h"

#include <array>
#include <cstdio>

namespace skintest {
namespace {

constexpr const char* ParentClass = "SkinTestParent";

ATOM RegisterParentClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = ParentClass;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return ::RegisterClassA(&wc);
}

// Wine does not implement GetGuiResources; its GDI handle table, which the process
// environment block points to as on Windows, tells the same: entries with a type are live.
struct GdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
constexpr std::size_t GdiSharedTableOffset = 0xF8; // in the 64-bit PEB
constexpr std::size_t GdiHandleCount = 0x10000;

std::int64_t CountHandleTable() {
    using GetPeb = void*(WINAPI*)();
    const auto getPeb = reinterpret_cast<GetPeb>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
    if (!getPeb) {
        return -1;
    }
    const auto* peb = static_cast<const std::uint8_t*>(getPeb());
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + GdiSharedTableOffset);
    if (!table) {
        return -1;
    }
    std::int64_t live = 0;
    for (std::size_t i = 0; i < GdiHandleCount; ++i) {
        live += table[i].type != 0;
    }
    return live;
}

} // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_.reset(::CreateCompatibleDC(nullptr));
    bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    selected_.emplace(dc_.get(), bitmap_.get());
    ::SetBkMode(dc_.get(), TRANSPARENT);
}

void Canvas::Fill(COLORREF colour) {
    win32::UniqueBrush brush(::CreateSolidBrush(colour));
    const RECT whole = rect();
    ::FillRect(dc_.get(), &whole, brush.get());
}

win32::UniqueWindow MakeParent(int width, int height) {
    static const ATOM registered = RegisterParentClass();
    (void)registered;
    win32::UniqueWindow window(
        ::CreateWindowExA(0, ParentClass, "skin test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                          width, height, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
    PumpMessages();
    return window;
}

win32::UniqueWindow MakeChild(HWND parent, const char* className, const char* text,
                              std::uint32_t style, int x, int y, int width, int height,
                              std::uint32_t exStyle) {
    return win32::UniqueWindow(::CreateWindowExA(exStyle, className, text, style, x, y, width,
                                                 height, parent, nullptr,
                                                 ::GetModuleHandleA(nullptr), nullptr));
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

std::int64_t GdiObjectCount() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    return reported != 0 ? static_cast<std::int64_t>(reported) : CountHandleTable();
}

bool Near(COLORREF actual, COLORREF expected, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return false;
        }
    }
    return true;
}

std::string Hex(COLORREF colour) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF),
                  static_cast<unsigned>((colour >> 16) & 0xFF));
    return text.data();
}

} // namespace skintest
