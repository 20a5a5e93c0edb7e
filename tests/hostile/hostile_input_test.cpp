// Hand-built malformed files, each tied to the one outcome it must have: the count ExportIcon
// returns for group 1 and whether a file was saved. Nothing else may happen: no read outside
// the bytes, no allocation of what a file merely claims, no file left half written.
#include "../support/pe_builder.h"
#include "icon_export.h"
#include "icon_sources.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>

// GCC takes the replaced operators below for a mismatch of new and free at every inlined call.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

// The largest single allocation since the last reset, to show that a size claimed by a file is
// refused before anything of that size is asked for.
std::size_t largestAllocation = 0;

} // namespace

void* operator new(std::size_t size) {
    largestAllocation = std::max(largestAllocation, size);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace iconexport;
using namespace testing_support;
namespace fs = std::filesystem;

using Damage = std::function<void(ByteVector&)>;

struct Case {
    const char* what;
    Damage damage;
    std::int32_t count;
    bool saved;
};

class HostileInput : public ::testing::Test {
protected:
    void SetUp() override {
        // One directory per test: CTest runs them side by side.
        directory_ = fs::temp_directory_path() /
                     ("hostile_input_" +
                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }

    std::string Write(const std::string& name, const ByteVector& bytes) const {
        const std::string path = (directory_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Exports group 1 of the damaged file and checks the outcome; only the source and, when
    // saved, the one target may be in the directory afterwards.
    void Expect(const Case& c, const ByteVector& valid, const std::string& sourceName) {
        SCOPED_TRACE(c.what);
        ByteVector bytes = valid;
        c.damage(bytes);
        const std::string source = Write(sourceName, bytes);
        const std::string target = (directory_ / "out.ico").string();
        fs::remove(target);
        ExportOutcome outcome = ExportOutcome::notSelected;
        EXPECT_EQ(ExportIcon(source, 0, target, 1, &outcome), c.count);
        EXPECT_EQ(outcome == ExportOutcome::saved, c.saved);
        EXPECT_EQ(fs::exists(target), c.saved);
        EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()),
                  c.saved ? 2 : 1);
    }

    fs::path directory_;
};

std::vector<ByteVector> Images() {
    return {BitmapImage(16, 4, 1), BitmapImage(32, 32, 2), BitmapImage(16, 1, 3)};
}

// Groups "MAIN" (images 1, 2), 2 (image 3) and 5 (image 1); the images in another language.
PeModule ValidModule() {
    const auto images = Images();
    std::vector<PeResource> resources = {
        {14, std::string("MAIN"), 0, GroupResource({images[0], images[1]}, {1, 2})},
        {14, std::uint16_t{2}, 0, GroupResource({images[2]}, {3})},
        {14, std::uint16_t{5}, 0, GroupResource({images[0]}, {1})},
    };
    for (std::uint16_t id = 1; id <= 3; ++id) {
        resources.push_back({3, id, 0x409, images[id - 1u]});
    }
    return BuildPeModule(resources);
}

std::uint32_t Get32(const ByteVector& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                      (static_cast<std::uint32_t>(bytes[at + 3]) << 24));
}

TEST_F(HostileInput, MalformedModules) {
    const PeModule m = ValidModule();
    const std::size_t rsrc = m.section;
    const std::size_t typeDir = rsrc + m.at.at("type 14");
    const std::size_t mainEntry = typeDir + 16; // the string name comes first
    const std::size_t mainData = rsrc + m.at.at("data type 14 name MAIN");
    const std::size_t mainLanguages = rsrc + m.at.at("type 14 name MAIN");
    const auto groupBytes = [&](const ByteVector& f) {
        return m.section + (Get32(f, mainData) - m.sectionRva);
    };
    const std::size_t sectionEnd = m.bytes.size();
    const auto setMainSize = [&](std::int64_t beyondEnd) {
        return [=](ByteVector& f) {
            const std::size_t start = m.section + (Get32(f, mainData) - m.sectionRva);
            Put32(f, mainData + 4,
                  beyondEnd == INT64_MAX
                      ? 0xFFFFFFFFu
                      : static_cast<std::uint32_t>(static_cast<std::int64_t>(sectionEnd - start) +
                                                   beyondEnd));
        };
    };
    const Case cases[] = {
        {"valid", [](ByteVector&) {}, 3, true},
        {"e_lfanew past the end",
         [](ByteVector& f) { Put32(f, 0x3C, static_cast<std::uint32_t>(f.size() + 8)); }, 0, false},
        {"e_lfanew 0xFFFFFFFF", [](ByteVector& f) { Put32(f, 0x3C, 0xFFFFFFFF); }, 0, false},
        {"huge section count", [&](ByteVector& f) { Put16(f, m.coffHeader + 2, 0xFFFF); }, 0,
         false},
        {"too few data directories", [&](ByteVector& f) { Put32(f, m.optionalHeader + 108, 2); }, 0,
         false},
        {"optional header too short for the resource entry",
         [&](ByteVector& f) { Put16(f, m.coffHeader + 16, 112 + 8 * 2); }, 0, false},
        {"resource RVA outside every section",
         [&](ByteVector& f) { Put32(f, m.resourceEntry, 0x9000); }, 0, false},
        {"resource directory larger than its section (clamped)",
         [&](ByteVector& f) { Put32(f, m.resourceEntry + 4, 0x7FFFFFFF); }, 3, true},
        {"root entry count larger than the bytes left",
         [&](ByteVector& f) { Put16(f, rsrc + 14, 0xFFFF); }, 0, false},
        {"type entry count larger than the bytes left",
         [&](ByteVector& f) { Put16(f, typeDir + 12, 0xFFFF); }, 0, false},
        {"name entry pointing to its own directory",
         [&](ByteVector& f) {
             Put32(f, mainEntry + 4, static_cast<std::uint32_t>(typeDir - rsrc) | 0x80000000u);
         },
         2, true},
        {"name entry pointing to the root",
         [&](ByteVector& f) { Put32(f, mainEntry + 4, 0x80000000u); }, 2, true},
        {"nested deeper than three levels",
         [&](ByteVector& f) {
             Put32(f, mainLanguages + 16 + 4, Get32(f, mainLanguages + 16 + 4) | 0x80000000u);
         },
         3, false},
        {"string name running past the section",
         [&](ByteVector& f) { Put16(f, rsrc + m.at.at("name MAIN"), 0xFFFF); }, 2, true},
        {"string name placed past the section",
         [&](ByteVector& f) { Put32(f, mainEntry, 0xFFFFFFF0u); }, 2, true},
        {"group listing an image that does not exist",
         [&](ByteVector& f) { Put16(f, groupBytes(f) + 6 + 14 + 12, 99); }, 3, false},
        {"group count larger than its bytes",
         [&](ByteVector& f) { Put16(f, groupBytes(f) + 4, 100); }, 3, false},
        {"group data up to the section's end", setMainSize(0), 3, true},
        {"group data one byte past the section's end", setMainSize(1), 3, false},
        {"group data size 0xFFFFFFFF", setMainSize(INT64_MAX), 3, false},
        {"group data RVA outside every section",
         [&](ByteVector& f) { Put32(f, mainData, 0x7FFFFFF0); }, 3, false},
    };
    for (const Case& c : cases) {
        Expect(c, m.bytes, "module.dll");
    }
}

TEST_F(HostileInput, MalformedIcoFiles) {
    const auto images = Images();
    const ByteVector valid = IcoFile(images);
    const std::size_t lastEntry = 6 + 16 * 2;
    const auto setLastSize = [&](std::int64_t beyondEnd) {
        return [=](ByteVector& f) {
            const std::uint32_t offset = Get32(f, lastEntry + 12);
            Put32(f, lastEntry + 8,
                  beyondEnd == INT64_MAX
                      ? 0xFFFFFFFFu
                      : static_cast<std::uint32_t>(static_cast<std::int64_t>(f.size() - offset) +
                                                   beyondEnd));
        };
    };
    const Case cases[] = {
        {"valid", [](ByteVector&) {}, 1, true},
        {"offset 5 with size 0xFFFFFFFF (wraps 2^32)",
         [](ByteVector& f) {
             Put32(f, 6 + 12, 5);
             Put32(f, 6 + 8, 0xFFFFFFFF);
         },
         1, false},
        {"idCount 65535 with a short directory", [](ByteVector& f) { Put16(f, 4, 0xFFFF); }, 1,
         false},
        {"cursor file (idType 2)", [](ByteVector& f) { Put16(f, 2, 2); }, 1, false},
        {"idReserved not 0", [](ByteVector& f) { Put16(f, 0, 1); }, 1, false},
        {"fewer than 6 bytes", [](ByteVector& f) { f.resize(5); }, 1, false},
        {"image shorter than its header", [&](ByteVector& f) { Put32(f, lastEntry + 8, 39); }, 1,
         false},
        {"last image up to the file's end", setLastSize(0), 1, true},
        {"last image one byte past the file's end", setLastSize(1), 1, false},
        {"last image size 0xFFFFFFFF", setLastSize(INT64_MAX), 1, false},
        {"offset 0xFFFFFFFF", [&](ByteVector& f) { Put32(f, lastEntry + 12, 0xFFFFFFFF); }, 1,
         false},
    };
    for (const Case& c : cases) {
        Expect(c, valid, "source.ico");
    }
}

TEST_F(HostileInput, ClaimedSizesAreRefusedBeforeAnyAllocation) {
    ByteVector file = IcoFile({BitmapImage(16, 4, 1)});
    Put32(file, 6 + 8, 0xFFFFFFF0); // "4 GB" of image in a file of a few hundred bytes
    const std::string path = Write("claims.ico", file);
    largestAllocation = 0;
    EXPECT_FALSE(ReadIcoFile(path));
    EXPECT_FALSE(ParseIcoFile(file, path));
    EXPECT_LT(largestAllocation, file.size() + 4096);
}

// Header values the format leaves open pass through unchanged; only where the colour bitmap
// cannot be placed within the image is there no BMP.
TEST_F(HostileInput, OddBitmapHeadersAreKeptAndNeverOverflow) {
    struct HeaderCase {
        const char* what;
        std::size_t field;
        std::uint32_t value;
        bool hasBitmap;
    };
    const HeaderCase cases[] = {
        {"biHeight 0", 8, 0, true},
        {"biHeight odd (33)", 8, 33, true},
        {"biHeight negative (-32)", 8, static_cast<std::uint32_t>(-32), false},
        {"biHeight INT_MIN", 8, 0x80000000u, false},
        {"biWidth 0", 4, 0, true},
        {"biWidth negative", 4, static_cast<std::uint32_t>(-16), false},
        {"biWidth INT_MAX", 4, 0x7FFFFFFFu, false},
        {"biBitCount 3", 14, 3 | (1u << 16), true},
        {"biBitCount 64 with 65535 planes", 12, 0xFFFF | (64u << 16), false},
        {"biClrUsed 17 for 4 bits", 32, 17, true},
        {"biClrUsed 0xFFFFFFFF", 32, 0xFFFFFFFF, false},
        {"biSize 0xFFFFFFFF", 0, 0xFFFFFFFF, false},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        ByteVector image = BitmapImage(16, 4, 7);
        Put32(image, c.field, c.value);
        const std::string source = Write("odd.ico", IcoFile({image}));
        const std::string ico = (directory_ / "odd out.ico").string();
        const std::string bmp = (directory_ / "odd out.bmp").string();
        ExportOutcome outcome = ExportOutcome::notSelected;
        EXPECT_EQ(ExportIcon(source, 0, ico, 1, &outcome), 1);
        EXPECT_EQ(outcome, ExportOutcome::saved);
        std::ifstream written(ico, std::ios::binary);
        const ByteVector bytes{std::istreambuf_iterator<char>(written), {}};
        const auto reread = ParseIcoFile(bytes, ico);
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->images[0].data, AsWritten(image));
        EXPECT_EQ(ExportIcon(source, 0, bmp, 1, &outcome), 1);
        EXPECT_EQ(outcome, c.hasBitmap ? ExportOutcome::saved : ExportOutcome::ignoredTarget);
        EXPECT_EQ(fs::exists(bmp), c.hasBitmap);
        fs::remove(ico);
        fs::remove(bmp);
    }
}

} // namespace
