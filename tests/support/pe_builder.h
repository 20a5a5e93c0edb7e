// PE32 and PE32+ modules built in memory for tests: headers, one .rsrc section and a resource
// directory of three levels (type, name, language), with the places of its parts recorded so
// that a test can damage exactly one of them.
#pragma once

#include "icon_images.h"

#include <algorithm>
#include <map>
#include <variant>

namespace testing_support {

using PeName = std::variant<std::uint16_t, std::string>;

struct PeResource {
    std::uint16_t type;
    PeName name;
    std::uint16_t language;
    ByteVector data;
};

struct PeModule {
    ByteVector bytes;
    std::size_t lfanew = 0;
    std::size_t coffHeader = 0;
    std::size_t optionalHeader = 0;
    std::size_t sectionTable = 0;
    std::size_t resourceEntry = 0; // the data directory entry: RVA, size
    std::size_t section = 0;       // file offset of the resource section, the root directory
    std::uint32_t sectionRva = 0;
    // Offsets in the section: "type 14" (its name directory), "type 14 name 2" (its language
    // directory), "data type 14 name 2" (the first data entry), "name LIB" (the string).
    std::map<std::string, std::size_t> at;
};

namespace pe_detail {

constexpr std::size_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSubdirectory = 0x80000000u;

inline std::string Label(const PeName& name) {
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        return std::to_string(*id);
    }
    return std::get<std::string>(name);
}

// Entries of one directory: string names first, then identifiers ascending, as linkers write.
template <typename Key> void SortEntries(std::vector<Key>& keys) {
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.index() != b.index()) {
            return a.index() > b.index();
        }
        return std::holds_alternative<std::uint16_t>(a) &&
               std::get<std::uint16_t>(a) < std::get<std::uint16_t>(b);
    });
}

inline std::size_t Directory(ByteVector& out, std::size_t named, std::size_t ids) {
    const std::size_t at = out.size();
    out.resize(at + 16 + 8 * (named + ids));
    Put16(out, at + 12, static_cast<std::uint32_t>(named));
    Put16(out, at + 14, static_cast<std::uint32_t>(ids));
    return at;
}

} // namespace pe_detail

inline PeModule BuildPeModule(const std::vector<PeResource>& resources, bool pe32plus = true) {
    using namespace pe_detail;
    PeModule module;
    ByteVector rsrc;

    std::vector<std::uint16_t> types;
    for (const PeResource& r : resources) {
        if (std::find(types.begin(), types.end(), r.type) == types.end()) {
            types.push_back(r.type);
        }
    }
    std::sort(types.begin(), types.end());
    const auto namesOf = [&](std::uint16_t type) {
        std::vector<PeName> names;
        for (const PeResource& r : resources) {
            if (r.type == type && std::find(names.begin(), names.end(), r.name) == names.end()) {
                names.push_back(r.name);
            }
        }
        SortEntries(names);
        return names;
    };
    const auto countStrings = [](const std::vector<PeName>& names) {
        return static_cast<std::size_t>(
            std::count_if(names.begin(), names.end(),
                          [](const auto& n) { return std::holds_alternative<std::string>(n); }));
    };

    // Directories breadth first, then data entries, then names, then the data itself.
    const std::size_t root = Directory(rsrc, 0, types.size());
    struct Pending {
        std::size_t entry;
        PeName name;
    };
    std::vector<Pending> stringNames;
    std::vector<std::pair<std::size_t, const PeResource*>> dataEntries;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const auto names = namesOf(types[t]);
        const std::size_t typeDir =
            Directory(rsrc, countStrings(names), names.size() - countStrings(names));
        module.at["type " + std::to_string(types[t])] = typeDir;
        Put32(rsrc, root + 16 + 8 * t, types[t]);
        Put32(rsrc, root + 16 + 8 * t + 4, static_cast<std::uint32_t>(typeDir) | kSubdirectory);
        for (std::size_t n = 0; n < names.size(); ++n) {
            std::vector<const PeResource*> versions;
            for (const PeResource& r : resources) {
                if (r.type == types[t] && r.name == names[n]) {
                    versions.push_back(&r);
                }
            }
            const std::size_t languageDir = Directory(rsrc, 0, versions.size());
            const std::string key = "type " + std::to_string(types[t]) + " name " + Label(names[n]);
            module.at[key] = languageDir;
            const std::size_t entry = typeDir + 16 + 8 * n;
            if (const auto* id = std::get_if<std::uint16_t>(&names[n])) {
                Put32(rsrc, entry, *id);
            } else {
                stringNames.push_back({entry, names[n]});
            }
            Put32(rsrc, entry + 4, static_cast<std::uint32_t>(languageDir) | kSubdirectory);
            for (std::size_t l = 0; l < versions.size(); ++l) {
                Put32(rsrc, languageDir + 16 + 8 * l, versions[l]->language);
                dataEntries.push_back({languageDir + 16 + 8 * l, versions[l]});
            }
        }
    }
    std::vector<std::size_t> dataEntryAt;
    for (const auto& [entry, resource] : dataEntries) {
        const std::size_t at = rsrc.size();
        rsrc.resize(at + 16);
        Put32(rsrc, entry + 4, static_cast<std::uint32_t>(at));
        dataEntryAt.push_back(at);
        const std::string key =
            "data type " + std::to_string(resource->type) + " name " + Label(resource->name);
        module.at.emplace(key, at);
    }
    for (const Pending& pending : stringNames) {
        const auto& text = std::get<std::string>(pending.name);
        const std::size_t at = rsrc.size();
        module.at["name " + text] = at;
        Append16(rsrc, static_cast<std::uint32_t>(text.size()));
        for (char c : text) {
            Append16(rsrc, static_cast<std::uint8_t>(c));
        }
        Put32(rsrc, pending.entry, static_cast<std::uint32_t>(at) | kSubdirectory);
    }
    for (std::size_t i = 0; i < dataEntries.size(); ++i) {
        rsrc.resize((rsrc.size() + 3) / 4 * 4);
        const ByteVector& data = dataEntries[i].second->data;
        Put32(rsrc, dataEntryAt[i], static_cast<std::uint32_t>(kSectionRva + rsrc.size()));
        Put32(rsrc, dataEntryAt[i] + 4, static_cast<std::uint32_t>(data.size()));
        rsrc.insert(rsrc.end(), data.begin(), data.end());
    }
    const std::size_t rawSize =
        (rsrc.size() + kFileAlignment - 1) / kFileAlignment * kFileAlignment;
    rsrc.resize(rawSize);

    // Headers: DOS stub, signature, COFF header, optional header with 16 data directories.
    const std::size_t optionalSize = pe32plus ? 0xF0 : 0xE0;
    ByteVector& out = module.bytes;
    module.lfanew = 0x40;
    module.coffHeader = module.lfanew + 4;
    module.optionalHeader = module.coffHeader + 20;
    module.sectionTable = module.optionalHeader + optionalSize;
    module.section = kFileAlignment;
    module.sectionRva = kSectionRva;
    out.resize(kFileAlignment);
    out[0] = 'M';
    out[1] = 'Z';
    Put32(out, 0x3C, static_cast<std::uint32_t>(module.lfanew));
    out[module.lfanew] = 'P';
    out[module.lfanew + 1] = 'E';
    Put16(out, module.coffHeader, pe32plus ? 0x8664 : 0x14C);
    Put16(out, module.coffHeader + 2, 1);
    Put16(out, module.coffHeader + 16, static_cast<std::uint32_t>(optionalSize));
    Put16(out, module.coffHeader + 18, 0x2102); // executable, DLL
    Put16(out, module.optionalHeader, pe32plus ? 0x20B : 0x10B);
    const std::size_t directories = module.optionalHeader + (pe32plus ? 112 : 96);
    Put32(out, module.optionalHeader + (pe32plus ? 108 : 92), 16);
    module.resourceEntry = directories + 8 * 2;
    Put32(out, module.resourceEntry, kSectionRva);
    Put32(out, module.resourceEntry + 4, static_cast<std::uint32_t>(rsrc.size()));
    const std::size_t header = module.sectionTable;
    std::copy_n(".rsrc", 5, out.begin() + static_cast<std::ptrdiff_t>(header));
    Put32(out, header + 8, static_cast<std::uint32_t>(rsrc.size()));
    Put32(out, header + 12, kSectionRva);
    Put32(out, header + 16, static_cast<std::uint32_t>(rawSize));
    Put32(out, header + 20, static_cast<std::uint32_t>(module.section));
    Put32(out, header + 36, 0x40000040); // initialised data, readable
    out.insert(out.end(), rsrc.begin(), rsrc.end());
    return module;
}

} // namespace testing_support
