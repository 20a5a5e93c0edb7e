// Access to a module's resources: the platform's loader on Windows, and everywhere a reader
// of the module's resource directory itself.
#pragma once

#include "byte_reader.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace iconexport {

// A numeric identifier, or a string name as the module's ANSI text.
using ResourceName = std::variant<std::uint16_t, std::string>;

inline constexpr std::uint16_t kResourceTypeIcon = 3;       // RT_ICON
inline constexpr std::uint16_t kResourceTypeGroupIcon = 14; // RT_GROUP_ICON
inline constexpr std::uint16_t kLanguageNeutral = 0;

struct Resource {
    Bytes bytes; // valid while the module stays open
    std::uint16_t language = kLanguageNeutral;
    // The length is counted in whole alignment units (16-bit modules), so the bytes may run on
    // past the resource's true end.
    bool padded = false;
};

class ResourceModule {
public:
    virtual ~ResourceModule() = default;

    // Calls `visit` once for each name of `type`, names given as strings first in directory
    // order, then numeric identifiers ascending, for as long as it returns true. False when the
    // module has no resources of that type.
    virtual bool EnumerateNames(std::uint16_t type,
                                const std::function<bool(const ResourceName&)>& visit) const = 0;

    // The resource of that type and name. A resource kept in several languages is taken in
    // `language` where given, then language-neutral, then the first there is.
    virtual std::optional<Resource> Find(std::uint16_t type, const ResourceName& name,
                                         std::optional<std::uint16_t> language) const = 0;
};

// String names match as the platform matches them: without regard to ASCII case.
bool SameResourceName(const ResourceName& a, const ResourceName& b);

// Visits the names of a resource table in the platform's order: string names first, in table
// order, then numeric identifiers ascending, each once. False when there are none.
bool VisitInEnumerationOrder(const std::vector<ResourceName>& names,
                             const std::function<bool(const ResourceName&)>& visit);

// Where the new executable header (PE or NE) begins in a file with an MZ header: its e_lfanew.
std::optional<std::uint32_t> NewHeaderOffset(Bytes module);

// The module's icon group names in enumeration order, all of them.
std::vector<ResourceName> IconGroupNames(const ResourceModule& module);

// The module as the platform opens it for its resources only (none of its code runs).
std::unique_ptr<ResourceModule> OpenResourceModule(const std::string& path);

// The module read through its own resource directory, on every platform.
std::unique_ptr<ResourceModule> OpenPortableResourceModule(const std::string& path);

// The same over a module's bytes held by the caller, which must outlive the result.
std::unique_ptr<ResourceModule> ReadPortableResourceModule(Bytes module);

} // namespace iconexport
