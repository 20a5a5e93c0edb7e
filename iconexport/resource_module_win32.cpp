#include "resource_module.h"

#include "win32_owners.h"

namespace iconexport {
namespace {

// A numeric identifier goes to the platform in place of a name, as MAKEINTRESOURCE makes it.
LPCSTR PlatformName(const ResourceName& name) {
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        return MAKEINTRESOURCEA(*id);
    }
    return std::get<std::string>(name).c_str();
}

BOOL CALLBACK VisitName(HMODULE, LPCSTR, LPSTR name, LONG_PTR visitor) {
    const auto& visit = *reinterpret_cast<const std::function<bool(const ResourceName&)>*>(visitor);
    const ResourceName resourceName =
        IS_INTRESOURCE(name)
            ? ResourceName(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(name)))
            : ResourceName(std::string(name));
    return visit(resourceName) ? TRUE : FALSE;
}

class PlatformModule final : public ResourceModule {
public:
    explicit PlatformModule(win32::UniqueModule module) : module_(std::move(module)) {}

    bool EnumerateNames(std::uint16_t type,
                        const std::function<bool(const ResourceName&)>& visit) const override {
        const BOOL done = ::EnumResourceNamesA(module_.get(), MAKEINTRESOURCEA(type), VisitName,
                                               reinterpret_cast<LONG_PTR>(&visit));
        // A visitor that stops the walk makes it report failure; only a missing type counts.
        return done || ::GetLastError() == ERROR_RESOURCE_ENUM_USER_STOP;
    }

    // The platform chooses among languages by its own rule.
    std::optional<Resource> Find(std::uint16_t type, const ResourceName& name,
                                 std::optional<std::uint16_t>) const override {
        HRSRC found = ::FindResourceA(module_.get(), PlatformName(name), MAKEINTRESOURCEA(type));
        HGLOBAL loaded = found ? ::LoadResource(module_.get(), found) : nullptr;
        const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
        if (!bytes) {
            return std::nullopt;
        }
        const DWORD size = ::SizeofResource(module_.get(), found);
        return Resource{Bytes(static_cast<const std::uint8_t*>(bytes), size), kLanguageNeutral};
    }

private:
    win32::UniqueModule module_;
};

} // namespace

std::unique_ptr<ResourceModule> OpenResourceModule(const std::string& path) {
    win32::UniqueModule module(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        // The platform refuses 16-bit icon libraries; their resource table is read directly.
        return OpenPortableResourceModule(path);
    }
    return std::make_unique<PlatformModule>(std::move(module));
}

} // namespace iconexport
