// The resource directory of a PE32 or PE32+ module, read from the file's bytes.
#pragma once

#include "resource_module.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace iconexport {

// A view: the bytes must outlive it.
class PeResources final : public ResourceModule {
public:
    // None unless the bytes hold a PE file with a resource directory that can be reached.
    static std::optional<PeResources> Parse(Bytes file);

    bool EnumerateNames(std::uint16_t type,
                        const std::function<bool(const ResourceName&)>& visit) const override;
    std::optional<Resource> Find(std::uint16_t type, const ResourceName& name,
                                 std::optional<std::uint16_t> language) const override;

private:
    struct Section {
        std::uint32_t virtualAddress;
        std::uint32_t rawSize;
        std::uint32_t rawPointer;
    };
    struct Entry {
        std::uint32_t name;
        std::uint32_t target;
    };

    std::optional<Bytes> MapRva(std::uint64_t rva, std::uint64_t length) const;
    // A directory's entries, their bounds checked once, read in place: a type's directory may
    // list thousands of names and is searched once for every image.
    struct DirectoryView {
        std::uint64_t first;
        std::uint64_t count;
        std::uint64_t named; // entries with string names, which come first
    };

    std::optional<DirectoryView> ViewDirectory(std::uint32_t offset) const;
    Entry EntryAt(const DirectoryView& view, std::uint64_t index) const;
    std::optional<std::vector<Entry>> ReadDirectory(std::uint32_t offset) const;
    bool NameMatches(const Entry& entry, const ResourceName& name) const;
    std::optional<std::uint64_t> SearchNumbered(const DirectoryView& view, std::uint16_t id) const;
    std::optional<ResourceName> EntryName(const Entry& entry) const;
    std::optional<std::uint32_t> TypeDirectory(std::uint16_t type) const;
    std::optional<std::uint32_t> NameDirectory(std::uint32_t typeDirectory,
                                               const ResourceName& name) const;
    std::optional<Resource> DataEntry(const Entry& entry) const;

    Bytes file_;
    std::vector<Section> sections_;
    Bytes directory_; // from the resource root to the end of its section
};

} // namespace iconexport
