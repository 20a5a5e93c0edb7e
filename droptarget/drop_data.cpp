#include "drop_data.h"

#include "win32_owners.h"

#include <shellapi.h>
#include <shlobj.h>

#include <climits>
#include <cstdint>
#include <cstring>

namespace droptarget {

namespace {

constexpr wchar_t kNoBreakSpace = 0x00A0;
constexpr UINT kCountNames = 0xFFFFFFFF;

// Counts the names of a DROPFILES list, each ended by a NUL unit and the whole list by an
// empty name, without reading past `size`. None when any end lies outside the block.
std::optional<std::size_t> CountListedNames(const std::uint8_t* bytes, std::size_t size) {
    if (size < sizeof(DROPFILES)) {
        return std::nullopt;
    }
    DROPFILES header;
    std::memcpy(&header, bytes, sizeof header);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles > size) {
        return std::nullopt;
    }
    const std::size_t unit = header.fWide ? sizeof(wchar_t) : 1;
    const auto is_nul = [&](std::size_t at) {
        for (std::size_t i = 0; i < unit; ++i) {
            if (bytes[at + i] != 0) {
                return false;
            }
        }
        return true;
    };
    std::size_t count = 0;
    std::size_t name_start = header.pFiles;
    for (std::size_t at = header.pFiles; unit <= size - at; at += unit) {
        if (!is_nul(at)) {
            continue;
        }
        if (at == name_start) {
            return count;
        }
        ++count;
        name_start = at + unit;
    }
    return std::nullopt;
}

std::optional<std::size_t> CountValidNames(HGLOBAL drop) {
    const win32::GlobalLock lock(drop);
    if (!lock.data()) {
        return std::nullopt;
    }
    return CountListedNames(static_cast<const std::uint8_t*>(lock.data()), ::GlobalSize(drop));
}

std::optional<std::string> QueryFileName(HDROP drop, UINT index) {
    const UINT length = ::DragQueryFileA(drop, index, nullptr, 0);
    std::string name(length + 1, '\0');
    const UINT copied = ::DragQueryFileA(drop, index, name.data(), length + 1);
    if (copied != length) {
        return std::nullopt;
    }
    name.resize(copied);
    return name;
}

} // namespace

std::optional<std::string> ReadTextBlock(HGLOBAL block) {
    const win32::GlobalLock lock(block);
    if (!lock.data()) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(lock.data());
    const std::size_t size = ::GlobalSize(block);
    const void* nul = std::memchr(bytes, 0, size);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
    return std::string(bytes, length);
}

std::string ConvertHtmlText(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    // UTF-8 never needs more UTF-16 units than it has bytes.
    std::wstring wide(utf8.size(), L'\0');
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), length);
    wide.resize(static_cast<std::size_t>(units > 0 ? units : 0));
    for (wchar_t& c : wide) {
        if (c == kNoBreakSpace) {
            c = L' ';
        }
    }
    if (wide.empty()) {
        return {};
    }
    const int needed = ::WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide.data(), units, nullptr,
                                             0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide.data(), units,
                                              ansi.data(), needed, nullptr, nullptr);
    ansi.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return ansi;
}

std::optional<std::vector<std::string>> ReadDroppedFileNames(HGLOBAL drop) {
    // DragQueryFileA trusts the block; it is asked only once the whole list lies inside it.
    const auto listed = CountValidNames(drop);
    if (!listed) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    // Some DragQueryFileA count an empty list as one name, reading past its end.
    if (*listed == 0) {
        return names;
    }
    const auto handle = static_cast<HDROP>(drop);
    if (::DragQueryFileA(handle, kCountNames, nullptr, 0) != *listed) {
        return std::nullopt;
    }
    names.reserve(*listed);
    for (UINT index = 0; index < *listed; ++index) {
        auto name = QueryFileName(handle, index);
        if (!name) {
            return std::nullopt;
        }
        names.push_back(std::move(*name));
    }
    return names;
}

std::string JoinFileNames(const std::vector<std::string>& names) {
    if (names.size() == 1) {
        return names.front();
    }
    std::string text;
    for (const std::string& name : names) {
        text += name;
        text += "\r\n";
    }
    return text;
}

} // namespace droptarget
