// Reads the running program's path box from outside, as a test of a drop on it needs:
//   path_box_reader OUTPUT   waits until the box shows something other than its hint, writes
//                            those bytes to OUTPUT, then closes the program.
#include "icon_commands.h"
#include "main_window.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kAttempts = 200;
constexpr DWORD kPauseMs = 50;

std::string PathBoxText(HWND pathBox) {
    const auto length = ::SendMessageA(pathBox, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied = ::SendMessageA(pathBox, WM_GETTEXT, static_cast<WPARAM>(text.size()),
                                       reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: path_box_reader OUTPUT\n");
        return 2;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt, ::Sleep(kPauseMs)) {
        HWND window = ::FindWindowA(app::kMainWindowClassName, nullptr);
        HWND pathBox = window ? ::FindWindowExA(window, nullptr, "Edit", nullptr) : nullptr;
        if (!pathBox) {
            continue;
        }
        const std::string text = PathBoxText(pathBox);
        if (app::IsPathHint(text)) {
            continue;
        }
        FILE* out = std::fopen(argv[1], "wb");
        if (!out) {
            return 1;
        }
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    std::fprintf(stderr, "path_box_reader: the path box never changed\n");
    return 1;
}
