#include "file_access.h"

#include "win32_owners.h"

#include <limits>

namespace iconexport {
namespace {

constexpr DWORD kMaxSingleRead = std::numeric_limits<DWORD>::max();

// The folder part of an ANSI path; the second byte of a double-byte character is never taken
// for a separator.
std::string DirectoryOf(const std::string& path) {
    const char* end = nullptr;
    for (const char* p = path.c_str(); *p != '\0'; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/') {
            end = p;
        }
    }
    if (!end) {
        return ".";
    }
    // "D:\x.ico" lies in "D:\", not in "D:", which would mean D:'s current directory.
    const auto length = static_cast<std::size_t>(end - path.c_str());
    return (length == 2 && path[1] == ':') ? path.substr(0, 3) : path.substr(0, length);
}

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::optional<std::uint64_t> FileSize(HANDLE file) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(size.QuadPart);
}

} // namespace

struct ExclusiveFile::Handle {
    win32::UniqueFile file;
};

ExclusiveFile::ExclusiveFile(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
ExclusiveFile::ExclusiveFile(ExclusiveFile&&) noexcept = default;
ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&&) noexcept = default;
ExclusiveFile::~ExclusiveFile() = default;

std::optional<ExclusiveFile> ExclusiveFile::Open(const std::string& path) {
    // No sharing: another process cannot change the file while it is read.
    win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    return ExclusiveFile(std::make_unique<Handle>(Handle{std::move(file)}));
}

std::optional<std::uint64_t> ExclusiveFile::Size() const {
    return FileSize(handle_->file.get());
}

bool ExclusiveFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const {
    // A 32-bit distance from the start: offsets in ICO files are 32-bit.
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<LONG>::max()) ||
        into.size() > kMaxSingleRead) {
        return false;
    }
    HANDLE file = handle_->file.get();
    if (::SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER) {
        return false;
    }
    if (into.empty()) {
        return true;
    }
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(into.size());
    return ::ReadFile(file, into.data(), wanted, &read, nullptr) && read == wanted;
}

struct MappedFile::Mapping {
    win32::UniqueMapView view;
    std::size_t size = 0;
};

MappedFile::MappedFile(std::unique_ptr<Mapping> mapping) : mapping_(std::move(mapping)) {}
MappedFile::MappedFile(MappedFile&&) noexcept = default;
MappedFile& MappedFile::operator=(MappedFile&&) noexcept = default;
MappedFile::~MappedFile() = default;

std::optional<MappedFile> MappedFile::Open(const std::string& path) {
    const win32::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const auto size = file ? FileSize(file.get()) : std::nullopt;
    if (!size || *size > std::numeric_limits<std::size_t>::max()) {
        return std::nullopt;
    }
    auto mapping = std::make_unique<Mapping>();
    if (*size == 0) {
        return MappedFile(std::move(mapping));
    }
    // The view keeps the file's data; the file and mapping handles may go once it exists.
    const win32::UniqueHandle section(
        ::CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!section) {
        return std::nullopt;
    }
    mapping->view.reset(::MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, 0));
    if (!mapping->view) {
        return std::nullopt;
    }
    mapping->size = static_cast<std::size_t>(*size);
    return MappedFile(std::move(mapping));
}

Bytes MappedFile::bytes() const {
    return {static_cast<const std::uint8_t*>(mapping_->view.get()), mapping_->size};
}

bool IsExistingFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RemoveFile(const std::string& path) {
    if (::DeleteFileA(path.c_str())) {
        return true;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool ReplaceFileContent(const std::string& path, Bytes bytes) {
    if (IsReadOnlyFile(path) || bytes.size() > kMaxSingleRead) {
        return false;
    }
    char temporary[MAX_PATH] = {};
    if (::GetTempFileNameA(DirectoryOf(path).c_str(), "ico", 0, temporary) == 0) {
        return false;
    }
    bool written = false;
    {
        const win32::UniqueFile file(::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        const auto wanted = static_cast<DWORD>(bytes.size());
        written =
            file && ::WriteFile(file.get(), bytes.data(), wanted, &done, nullptr) && done == wanted;
    }
    if (!written || !::MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileA(temporary);
        return false;
    }
    return true;
}

} // namespace iconexport
