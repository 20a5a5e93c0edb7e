#include "fuzz_checks.h"

#include "ico_writer.h"
#include "icon_sources.h"
#include "resource_module.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace fuzz_checks {
namespace {

using namespace iconexport;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

void CheckIcoBytes(std::span<const std::uint8_t> bytes) {
    const auto set = ParseIcoFile(bytes, "fuzz.ico");
    if (!set) {
        return;
    }
    const auto written = EncodeIcoFile(*set);
    const auto reread = ParseIcoFile(written, "written.ico");
    Require(reread.has_value());
    Require(reread->imageCount() == set->imageCount());
    for (std::size_t i = 0; i < set->images.size(); ++i) {
        const IconImage& before = set->images[i];
        const IconImage& after = reread->images[i];
        Require(after.isPng == before.isPng && after.width == before.width &&
                after.height == before.height && after.bitsPerPixel == before.bitsPerPixel);
        auto expected = before.data;
        if (!before.isPng) {
            std::memset(expected.data() + kSizeImageOffset, 0, 4);
        }
        Require(after.data == expected);
        // The colour bitmap, where there is one, lies within the image.
        if (const auto dib = ColourBitmapDib(before)) {
            Require(dib->size() <= before.data.size());
        }
    }
    Require(EncodeIcoFile(*reread) == written);
}

void CheckModuleBytes(std::span<const std::uint8_t> bytes) {
    const auto module = ReadPortableResourceModule(bytes);
    if (!module) {
        return;
    }
    for (const ResourceName& name : IconGroupNames(*module)) {
        const auto set = LoadIconGroupFrom(*module, "fuzz.dll", name);
        if (set) {
            Require(ParseIcoFile(EncodeIcoFile(*set), "written.ico").has_value());
        }
    }
}

} // namespace fuzz_checks
