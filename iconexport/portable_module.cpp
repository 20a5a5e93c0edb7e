// Opens a module through its own resource table, whichever kind of executable it is.
#include "file_access.h"
#include "ne_resources.h"
#include "pe_resources.h"

#include <algorithm>

namespace iconexport {
namespace {

constexpr std::uint16_t kNeSignature = 0x454E; // "NE"

// Keeps the mapped file whose bytes the resources view.
class MappedModule final : public ResourceModule {
public:
    MappedModule(MappedFile file, std::unique_ptr<ResourceModule> resources)
        : file_(std::move(file)), resources_(std::move(resources)) {}

    bool EnumerateNames(std::uint16_t type,
                        const std::function<bool(const ResourceName&)>& visit) const override {
        return resources_->EnumerateNames(type, visit);
    }
    std::optional<Resource> Find(std::uint16_t type, const ResourceName& name,
                                 std::optional<std::uint16_t> language) const override {
        return resources_->Find(type, name, language);
    }

private:
    MappedFile file_;
    std::unique_ptr<ResourceModule> resources_;
};

template <typename Reader> std::unique_ptr<ResourceModule> Read(Bytes module) {
    auto resources = Reader::Parse(module);
    if (!resources) {
        return nullptr;
    }
    return std::make_unique<Reader>(std::move(*resources));
}

} // namespace

std::optional<std::uint32_t> NewHeaderOffset(Bytes module) {
    constexpr std::uint16_t kDosMagic = 0x5A4D; // "MZ"
    constexpr std::uint64_t kLfanewOffset = 0x3C;
    const ByteReader header(module);
    const auto dosMagic = header.U16(0);
    if (!dosMagic || *dosMagic != kDosMagic) {
        return std::nullopt;
    }
    return header.U32(kLfanewOffset);
}

bool SameResourceName(const ResourceName& a, const ResourceName& b) {
    if (a.index() != b.index()) {
        return false;
    }
    if (const auto* id = std::get_if<std::uint16_t>(&a)) {
        return *id == std::get<std::uint16_t>(b);
    }
    const auto& x = std::get<std::string>(a);
    const auto& y = std::get<std::string>(b);
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(),
                                              [&](char p, char q) { return lower(p) == lower(q); });
}

bool VisitInEnumerationOrder(const std::vector<ResourceName>& names,
                             const std::function<bool(const ResourceName&)>& visit) {
    std::vector<ResourceName> strings;
    std::vector<std::uint16_t> ids;
    for (const ResourceName& name : names) {
        if (const auto* id = std::get_if<std::uint16_t>(&name)) {
            ids.push_back(*id);
        } else if (std::find(strings.begin(), strings.end(), name) == strings.end()) {
            strings.push_back(name);
        }
    }
    if (strings.empty() && ids.empty()) {
        return false;
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (const ResourceName& name : strings) {
        if (!visit(name)) {
            return true;
        }
    }
    for (std::uint16_t id : ids) {
        if (!visit(id)) {
            return true;
        }
    }
    return true;
}

std::vector<ResourceName> IconGroupNames(const ResourceModule& module) {
    std::vector<ResourceName> names;
    module.EnumerateNames(kResourceTypeGroupIcon, [&names](const ResourceName& name) {
        names.push_back(name);
        return true;
    });
    return names;
}

// The kind is told by the content, never by the file's name: "NE" at e_lfanew is a 16-bit
// module, anything else is tried as PE.
std::unique_ptr<ResourceModule> ReadPortableResourceModule(Bytes module) {
    const auto lfanew = NewHeaderOffset(module);
    if (!lfanew) {
        return nullptr;
    }
    const auto signature = ByteReader(module).U16(*lfanew);
    if (signature && *signature == kNeSignature) {
        return Read<NeResources>(module);
    }
    return Read<PeResources>(module);
}

std::unique_ptr<ResourceModule> OpenPortableResourceModule(const std::string& path) {
    auto file = MappedFile::Open(path);
    auto resources = file ? ReadPortableResourceModule(file->bytes()) : nullptr;
    if (!resources) {
        return nullptr;
    }
    return std::make_unique<MappedModule>(std::move(*file), std::move(resources));
}

} // namespace iconexport
