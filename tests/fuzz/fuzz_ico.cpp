// ICO bytes: read them, write the set, read the written file back; the round trip must give
// the same images, with only biSizeImage of bitmap images cleared.
#include "ico_writer.h"
#include "icon_sources.h"

#include <cstdlib>
#include <cstring>

using namespace iconexport;

namespace {

constexpr std::size_t kSizeImageOffset = 20;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto set = ParseIcoFile(Bytes(data, size), "fuzz.ico");
    if (!set) {
        return 0;
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
    }
    Require(EncodeIcoFile(*reread) == written);
    return 0;
}
