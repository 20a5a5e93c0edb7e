// File access for the icon export: Win32 calls on Windows, POSIX elsewhere.
#pragma once

#include "byte_reader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace iconexport {

// A file opened for reading without sharing: no other process may open it meanwhile.
class ExclusiveFile {
public:
    static std::optional<ExclusiveFile> Open(const std::string& path);
    ExclusiveFile(ExclusiveFile&&) noexcept;
    ExclusiveFile& operator=(ExclusiveFile&&) noexcept;
    ~ExclusiveFile();

    std::optional<std::uint64_t> Size() const;
    // Fills `into` from `offset`; false unless every byte was read.
    bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const;

    struct Handle;

private:
    explicit ExclusiveFile(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle_;
};

// A whole file mapped read-only.
class MappedFile {
public:
    static std::optional<MappedFile> Open(const std::string& path);
    MappedFile(MappedFile&&) noexcept;
    MappedFile& operator=(MappedFile&&) noexcept;
    ~MappedFile();

    Bytes bytes() const;

    struct Mapping;

private:
    explicit MappedFile(std::unique_ptr<Mapping> mapping);
    std::unique_ptr<Mapping> mapping_;
};

bool IsExistingFile(const std::string& path);

// Deletes the file; true when no file of that name is left, also when there was none.
bool RemoveFile(const std::string& path);

// Makes `bytes` the whole content of `path`: written into a new file beside it first, which
// then takes its place. On failure nothing is left behind and an existing file keeps its old
// content; a read-only target is not replaced.
bool ReplaceFileContent(const std::string& path, Bytes bytes);

} // namespace iconexport
