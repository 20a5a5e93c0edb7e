#include "pe_resources.h"

#include <algorithm>

namespace iconexport {
namespace {

constexpr std::uint32_t kPeSignature = 0x4550; // "PE\0\0"
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint64_t kCoffHeaderSize = 20;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint64_t kDirectoryHeaderSize = 16;
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint64_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;

// Where the data directories begin in the optional header, and where their count stands.
struct OptionalHeaderLayout {
    std::uint64_t rvaCountOffset;
    std::uint64_t directoriesOffset;
};

std::optional<OptionalHeaderLayout> LayoutFor(std::uint16_t magic) {
    if (magic == kPe32Magic) {
        return OptionalHeaderLayout{92, 96};
    }
    if (magic == kPe32PlusMagic) {
        return OptionalHeaderLayout{108, 112};
    }
    return std::nullopt;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Resource names are UTF-16; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const ByteReader& text, std::uint64_t offset, std::uint64_t units) {
    std::string out;
    for (std::uint64_t i = 0; i < units; ++i) {
        std::uint32_t code = *text.U16(offset + 2 * i);
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units) {
            const std::uint32_t low = *text.U16(offset + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

bool IsSubdirectory(std::uint32_t target) {
    return (target & kHighBit) != 0;
}
std::uint32_t OffsetOf(std::uint32_t field) {
    return field & ~kHighBit;
}

// An entry of a type's directory leads to that name's language directory; one that points
// back to the root or to the type's own directory would make the walk go round.
bool IsNameDirectory(std::uint32_t entryTarget, std::uint32_t typeDirectory) {
    const std::uint32_t target = OffsetOf(entryTarget);
    return IsSubdirectory(entryTarget) && target != 0 && target != typeDirectory;
}

} // namespace

std::optional<PeResources> PeResources::Parse(Bytes file) {
    const ByteReader pe(file);
    const auto lfanew = NewHeaderOffset(file);
    if (!lfanew) {
        return std::nullopt;
    }
    const std::uint64_t coff = std::uint64_t{*lfanew} + 4;
    const auto signature = pe.U32(*lfanew);
    const auto sectionCount = pe.U16(coff + 2);
    const auto optionalSize = pe.U16(coff + 16);
    const std::uint64_t optionalHeader = coff + kCoffHeaderSize;
    const auto magic = pe.U16(optionalHeader);
    if (!signature || *signature != kPeSignature || !sectionCount || !optionalSize || !magic) {
        return std::nullopt;
    }
    const auto layout = LayoutFor(*magic);
    if (!layout) {
        return std::nullopt;
    }
    const auto rvaCount = pe.U32(optionalHeader + layout->rvaCountOffset);
    const std::uint64_t resourceEntry = layout->directoriesOffset + 8 * kResourceDirectoryIndex;
    // The resource directory's entry must lie within both the stated count and the header.
    if (!rvaCount || *rvaCount <= kResourceDirectoryIndex || resourceEntry + 8 > *optionalSize) {
        return std::nullopt;
    }
    const auto resourceRva = pe.U32(optionalHeader + resourceEntry);
    const std::uint64_t sectionTable = optionalHeader + *optionalSize;
    if (!resourceRva || *resourceRva == 0 ||
        !pe.Has(sectionTable, *sectionCount * kSectionHeaderSize)) {
        return std::nullopt;
    }
    PeResources resources;
    resources.file_ = file;
    resources.sections_.reserve(*sectionCount);
    for (std::uint64_t i = 0; i < *sectionCount; ++i) {
        const std::uint64_t header = sectionTable + i * kSectionHeaderSize;
        resources.sections_.push_back(
            Section{*pe.U32(header + 12), *pe.U32(header + 16), *pe.U32(header + 20)});
    }
    // The directory's stated size is not trusted: it reaches to the end of its section.
    for (const Section& section : resources.sections_) {
        if (*resourceRva < section.virtualAddress ||
            *resourceRva - section.virtualAddress >= section.rawSize) {
            continue;
        }
        const std::uint64_t into = *resourceRva - section.virtualAddress;
        const auto rest = pe.From(std::uint64_t{section.rawPointer} + into);
        if (!rest) {
            return std::nullopt;
        }
        resources.directory_ = rest->first(static_cast<std::size_t>(
            std::min<std::uint64_t>(section.rawSize - into, rest->size())));
        return resources;
    }
    return std::nullopt;
}

// The file bytes behind `length` bytes at `rva`, when a section's raw data holds them all.
std::optional<Bytes> PeResources::MapRva(std::uint64_t rva, std::uint64_t length) const {
    const ByteReader pe(file_);
    for (const Section& section : sections_) {
        if (rva < section.virtualAddress) {
            continue;
        }
        const std::uint64_t into = rva - section.virtualAddress;
        if (into < section.rawSize && length <= section.rawSize - into) {
            return pe.Sub(std::uint64_t{section.rawPointer} + into, length);
        }
    }
    return std::nullopt;
}

std::optional<PeResources::DirectoryView> PeResources::ViewDirectory(std::uint32_t offset) const {
    const ByteReader rsrc(directory_);
    const auto named = rsrc.U16(std::uint64_t{offset} + 12);
    const auto ids = rsrc.U16(std::uint64_t{offset} + 14);
    const std::uint64_t first = std::uint64_t{offset} + kDirectoryHeaderSize;
    if (!named || !ids) {
        return std::nullopt;
    }
    const std::uint64_t count = std::uint64_t{*named} + *ids;
    if (!rsrc.Has(first, count * kDirectoryEntrySize)) {
        return std::nullopt;
    }
    return DirectoryView{first, count, *named};
}

PeResources::Entry PeResources::EntryAt(const DirectoryView& view, std::uint64_t index) const {
    const ByteReader rsrc(directory_);
    const std::uint64_t at = view.first + index * kDirectoryEntrySize;
    return Entry{*rsrc.U32(at), *rsrc.U32(at + 4)};
}

std::optional<std::vector<PeResources::Entry>>
PeResources::ReadDirectory(std::uint32_t offset) const {
    const auto view = ViewDirectory(offset);
    if (!view) {
        return std::nullopt;
    }
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(view->count));
    for (std::uint64_t i = 0; i < view->count; ++i) {
        entries.push_back(EntryAt(*view, i));
    }
    return entries;
}

std::optional<ResourceName> PeResources::EntryName(const Entry& entry) const {
    if (!IsSubdirectory(entry.name)) {
        return static_cast<std::uint16_t>(entry.name & 0xFFFF);
    }
    const ByteReader rsrc(directory_);
    const std::uint64_t offset = OffsetOf(entry.name);
    const auto length = rsrc.U16(offset);
    if (!length || !rsrc.Has(offset + 2, std::uint64_t{*length} * 2)) {
        return std::nullopt;
    }
    return Utf16ToUtf8(rsrc, offset + 2, *length);
}

// Subdirectories lie after the directory that lists them; one that points back to itself or
// an ancestor is refused, and the walk never goes deeper than type, name and language.
std::optional<std::uint32_t> PeResources::TypeDirectory(std::uint16_t type) const {
    const auto types = ReadDirectory(0);
    if (!types) {
        return std::nullopt;
    }
    for (const Entry& entry : *types) {
        if (!IsSubdirectory(entry.name) && (entry.name & 0xFFFF) == type &&
            IsSubdirectory(entry.target) && OffsetOf(entry.target) != 0) {
            return OffsetOf(entry.target);
        }
    }
    return std::nullopt;
}

bool PeResources::EnumerateNames(std::uint16_t type,
                                 const std::function<bool(const ResourceName&)>& visit) const {
    const auto typeDirectory = TypeDirectory(type);
    const auto entries = typeDirectory ? ReadDirectory(*typeDirectory) : std::nullopt;
    if (!entries) {
        return false;
    }
    std::vector<ResourceName> names;
    for (const Entry& entry : *entries) {
        if (!IsNameDirectory(entry.target, *typeDirectory)) {
            continue;
        }
        if (auto name = EntryName(entry)) {
            names.push_back(std::move(*name));
        }
    }
    return VisitInEnumerationOrder(names, visit);
}

// A numeric identifier is compared as it stands; only a string name is decoded.
bool PeResources::NameMatches(const Entry& entry, const ResourceName& name) const {
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        return !IsSubdirectory(entry.name) && (entry.name & 0xFFFF) == *id;
    }
    if (!IsSubdirectory(entry.name)) {
        return false;
    }
    const auto entryName = EntryName(entry);
    return entryName && SameResourceName(*entryName, name);
}

// Numeric identifiers follow the string names in ascending order, as the format requires, so
// one is found by halving; the entry found is the one the walk below would find first.
std::optional<std::uint64_t> PeResources::SearchNumbered(const DirectoryView& view,
                                                         std::uint16_t id) const {
    std::uint64_t low = view.named;
    std::uint64_t high = view.count;
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (EntryAt(view, middle).name < id) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low < view.count && EntryAt(view, low).name == id) {
        return low;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> PeResources::NameDirectory(std::uint32_t typeDirectory,
                                                        const ResourceName& name) const {
    const auto entries = ViewDirectory(typeDirectory);
    if (!entries) {
        return std::nullopt;
    }
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        const auto found = SearchNumbered(*entries, *id);
        const Entry entry = found ? EntryAt(*entries, *found) : Entry{};
        if (found && IsNameDirectory(entry.target, typeDirectory)) {
            return OffsetOf(entry.target);
        }
    }
    // A directory out of order, or a name given as a string, is searched entry by entry.
    for (std::uint64_t i = 0; i < entries->count; ++i) {
        const Entry entry = EntryAt(*entries, i);
        if (IsNameDirectory(entry.target, typeDirectory) && NameMatches(entry, name)) {
            return OffsetOf(entry.target);
        }
    }
    return std::nullopt;
}

std::optional<Resource> PeResources::DataEntry(const Entry& entry) const {
    if (IsSubdirectory(entry.target)) {
        return std::nullopt;
    }
    const ByteReader rsrc(directory_);
    const auto rva = rsrc.U32(entry.target);
    const auto size = rsrc.U32(std::uint64_t{entry.target} + 4);
    if (!rva || !size || !rsrc.Has(entry.target, kDataEntrySize)) {
        return std::nullopt;
    }
    const auto bytes = MapRva(*rva, *size);
    if (!bytes) {
        return std::nullopt;
    }
    return Resource{*bytes, static_cast<std::uint16_t>(entry.name & 0xFFFF)};
}

std::optional<Resource> PeResources::Find(std::uint16_t type, const ResourceName& name,
                                          std::optional<std::uint16_t> language) const {
    const auto typeDirectory = TypeDirectory(type);
    const auto nameDirectory = typeDirectory ? NameDirectory(*typeDirectory, name) : std::nullopt;
    const auto languages = nameDirectory ? ReadDirectory(*nameDirectory) : std::nullopt;
    if (!languages) {
        return std::nullopt;
    }
    std::vector<Resource> versions;
    for (const Entry& entry : *languages) {
        if (!IsSubdirectory(entry.name)) {
            if (auto resource = DataEntry(entry)) {
                versions.push_back(*resource);
            }
        }
    }
    const auto inLanguage = [&](std::uint16_t wanted) -> std::optional<Resource> {
        const auto found = std::find_if(versions.begin(), versions.end(),
                                        [&](const Resource& r) { return r.language == wanted; });
        return found == versions.end() ? std::nullopt : std::optional<Resource>(*found);
    };
    if (language) {
        if (auto resource = inLanguage(*language)) {
            return resource;
        }
    }
    if (auto resource = inLanguage(kLanguageNeutral)) {
        return resource;
    }
    return versions.empty() ? std::nullopt : std::optional<Resource>(versions.front());
}

} // namespace iconexport
