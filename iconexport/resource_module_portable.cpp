#include "resource_module.h"

namespace iconexport {

// Without the platform's loader, a module is read through its own resource directory.
std::unique_ptr<ResourceModule> OpenResourceModule(const std::string& path) {
    return OpenPortableResourceModule(path);
}

} // namespace iconexport
