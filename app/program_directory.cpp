#include "program_directory.h"

#include <windows.h>

#include <cstddef>

namespace app {

namespace {

// MAX_PATH first; a longer path makes us ask again with room to spare.
constexpr DWORD kFirstBufferSize = MAX_PATH;
constexpr DWORD kLargestBufferSize = 1U << 16;

bool IsSystemLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByteEx(CP_ACP, byte) != FALSE;
}

} // namespace

std::string
FullModulePath(const std::function<std::uint32_t(char* buffer, std::uint32_t size)>& query) {
    for (DWORD size = kFirstBufferSize; size <= kLargestBufferSize; size *= 2) {
        std::string path(size, '\0');
        const std::uint32_t length = query(path.data(), size);
        if (length == 0) {
            return {};
        }
        // A full buffer means the path was cut short.
        if (length < size) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

std::string DirectoryOfPath(std::string_view path, LeadByteTest isLeadByte) {
    std::size_t lastBackslash = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (isLeadByte(byte) && i + 1 < path.size()) {
            ++i;
        } else if (byte == '\\') {
            lastBackslash = i;
        }
    }
    if (lastBackslash == std::string_view::npos) {
        return {};
    }
    return std::string(path.substr(0, lastBackslash));
}

std::string ProgramDirectory() {
    const std::string path = FullModulePath([](char* buffer, std::uint32_t size) {
        return static_cast<std::uint32_t>(::GetModuleFileNameA(nullptr, buffer, size));
    });
    return DirectoryOfPath(path, IsSystemLeadByte);
}

} // namespace app
