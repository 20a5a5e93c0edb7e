// The resource table of a 16-bit NE module, such as most .icl icon libraries, read from the
// file's bytes.
#pragma once

#include "resource_module.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace iconexport {

// A view: the bytes must outlive it.
class NeResources final : public ResourceModule {
public:
    // None unless the bytes hold an NE module whose resource table can be read to its end.
    static std::optional<NeResources> Parse(Bytes file);

    bool EnumerateNames(std::uint16_t type,
                        const std::function<bool(const ResourceName&)>& visit) const override;
    // NE has no languages: every resource is language-neutral.
    std::optional<Resource> Find(std::uint16_t type, const ResourceName& name,
                                 std::optional<std::uint16_t> language) const override;

private:
    struct TypeInfo {
        std::uint16_t type; // with the high bit set for a numeric type
        std::uint64_t firstName;
        std::uint16_t count;
    };

    std::optional<ResourceName> NameOf(std::uint64_t nameInfo) const;
    std::optional<Resource> Data(std::uint64_t nameInfo) const;
    const TypeInfo* FindType(std::uint16_t type) const;

    Bytes file_;
    Bytes table_; // the resource table, up to the resident-name table that follows it
    unsigned alignShift_ = 0;
    std::vector<TypeInfo> types_;
};

} // namespace iconexport
