// Writes the seed corpus of the fuzzers: small valid ICO files and modules made here.
#include "../support/ne_builder.h"
#include "../support/pe_builder.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using namespace testing_support;

void Write(const std::string& path, const ByteVector& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_seeds ICO_DIR MODULE_DIR\n");
        return 1;
    }
    const std::string ico = argv[1];
    const std::string module = argv[2];
    const std::vector<ByteVector> images = {BitmapImage(16, 4, 1), BitmapImage(16, 32, 2),
                                            BitmapImage(32, 8, 3), BitmapImage(8, 1, 4)};
    Write(ico + "/four.ico", IcoFile(images));
    Write(ico + "/one.ico", IcoFile({images[3]}));
    Write(ico + "/empty.ico", IcoFile({}));
    std::vector<PeResource> resources = {
        {14, std::string("MAIN"), 0, GroupResource({images[0], images[1]}, {1, 2})},
        {14, std::uint16_t{5}, 0, GroupResource({images[2]}, {3})},
        {14, std::uint16_t{2}, 0x407, GroupResource({images[3]}, {4})},
        {14, std::uint16_t{2}, 0, GroupResource({images[0]}, {1})},
    };
    for (std::uint16_t id = 1; id <= 4; ++id) {
        resources.push_back({3, id, 0x409, images[id - 1u]});
    }
    Write(module + "/pe32plus.dll", BuildPeModule(resources, true).bytes);
    Write(module + "/pe32.dll", BuildPeModule(resources, false).bytes);
    Write(module + "/ne4.icl", NeIconLibrary({{std::string("LIB"), {images[0], images[1]}},
                                              {std::uint16_t{3}, {images[2]}}},
                                             {.alignShift = 4}));
    Write(module + "/ne9.icl", NeIconLibrary({{std::uint16_t{1}, {images[3]}}}, {.alignShift = 9}));
    return 0;
}
