// Module bytes through the portable resource reader: enumerate the icon groups, load each,
// and encode it as an ICO file, which must read back.
#include "ico_writer.h"
#include "icon_sources.h"
#include "resource_module.h"

#include <cstdlib>
#include <vector>

using namespace iconexport;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto module = ReadPortableResourceModule(Bytes(data, size));
    if (!module) {
        return 0;
    }
    std::vector<ResourceName> names;
    module->EnumerateNames(kResourceTypeGroupIcon, [&names](const ResourceName& name) {
        names.push_back(name);
        return true;
    });
    for (const ResourceName& name : names) {
        const auto set = LoadIconGroupFrom(*module, "fuzz.dll", name);
        if (set && !ParseIcoFile(EncodeIcoFile(*set), "written.ico")) {
            std::abort();
        }
    }
    return 0;
}
