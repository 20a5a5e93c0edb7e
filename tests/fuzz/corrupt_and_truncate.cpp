// Every byte of a valid ICO file and of a valid module inverted, zeroed and set to 0xFF, and
// each file cut one byte at a time; under the sanitizers none of it may crash or read outside
// the bytes.
#include "../support/ne_builder.h"
#include "../support/pe_builder.h"
#include "fuzz_checks.h"

#include <cstdio>
#include <functional>

namespace {

using namespace testing_support;
using Check = std::function<void(std::span<const std::uint8_t>)>;

std::size_t CorruptAndTruncate(const ByteVector& valid, const Check& check) {
    std::size_t runs = 0;
    for (std::size_t i = 0; i < valid.size(); ++i) {
        for (const auto change : {+[](std::uint8_t b) { return static_cast<std::uint8_t>(~b); },
                                  +[](std::uint8_t) { return std::uint8_t{0}; },
                                  +[](std::uint8_t) { return std::uint8_t{0xFF}; }}) {
            ByteVector damaged = valid;
            damaged[i] = change(damaged[i]);
            check(damaged);
            ++runs;
        }
    }
    for (std::size_t length = 0; length < valid.size(); ++length) {
        // A copy of exactly that length, so a read past it is a read outside the buffer.
        const ByteVector cut(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
        check(cut);
        ++runs;
    }
    return runs;
}

std::vector<ByteVector> Images() {
    return {BitmapImage(16, 4, 1), BitmapImage(16, 32, 2), BitmapImage(8, 1, 3)};
}

ByteVector ValidModule(bool pe32plus) {
    const auto images = Images();
    std::vector<PeResource> resources = {
        {14, std::string("MAIN"), 0, GroupResource({images[0], images[1]}, {1, 2})},
        {14, std::uint16_t{2}, 0x409, GroupResource({images[2]}, {3})},
    };
    for (std::uint16_t id = 1; id <= 3; ++id) {
        resources.push_back({3, id, 0x409, images[id - 1u]});
    }
    return BuildPeModule(resources, pe32plus).bytes;
}

} // namespace

int main() {
    const auto images = Images();
    std::size_t runs = CorruptAndTruncate(IcoFile(images), fuzz_checks::CheckIcoBytes);
    runs += CorruptAndTruncate(ValidModule(true), fuzz_checks::CheckModuleBytes);
    runs += CorruptAndTruncate(ValidModule(false), fuzz_checks::CheckModuleBytes);
    runs += CorruptAndTruncate(NeIconLibrary({{std::string("LIB"), {images[0]}},
                                              {std::uint16_t{4}, {images[1], images[2]}}}),
                               fuzz_checks::CheckModuleBytes);
    std::printf("corrupt and truncate: %zu inputs, no failure\n", runs);
    return 0;
}
