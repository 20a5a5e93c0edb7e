// The directory of the running program, found without ever taking the second byte of a
// double-byte character for a backslash.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace app {

using LeadByteTest = bool (*)(unsigned char byte);

// Everything before the last backslash of `path`: "D:\Tools" for "D:\Tools\prog.exe", "D:" for
// "D:\prog.exe". A byte for which `isLeadByte` holds starts a two-byte character that is
// skipped whole. The empty text when there is no backslash.
std::string DirectoryOfPath(std::string_view path, LeadByteTest isLeadByte);

// The full path of a module, asked of `query` with ever larger buffers until it fits. `query`
// keeps GetModuleFileNameA's promise: it returns the length copied, or the buffer's size when
// the path was cut short, or 0 on failure. The empty text on failure.
std::string
FullModulePath(const std::function<std::uint32_t(char* buffer, std::uint32_t size)>& query);

// The program file's directory under the system's ANSI code page, never truncated however
// long the path is.
std::string ProgramDirectory();

} // namespace app
